// The few file-system calls that differ between POSIX and Windows, behind one
// seam: making a temporary beside a target, syncing it, and putting it in
// place of the target in one step. Paths are UTF-8 on every platform. No pay
// rule and no file format here.
#pragma once

#include <cstdio>
#include <string>

namespace batch::fs {

// The folder part of a path ("." when it has none), and the name after it.
std::string Folder(const std::string &path);
std::string BaseName(const std::string &path);

// Creates and opens for binary writing a new, hidden temporary in `folder`,
// named after `base`. 0 and the stream and the temporary's path, or an errno.
int CreateTemporary(const std::string &folder, const std::string &base, std::FILE **file, std::string *temp);
// Pushes what the system holds of an open file, or of a closed file by name,
// to the disk. 0 or an errno.
int SyncStream(std::FILE *file);
int SyncPath(const std::string &path);
// Puts `temp` in place of `target` in one step: the target is either what it
// was or the new file, never missing. 0 or an errno.
int Replace(const std::string &temp, const std::string &target);
// Removes a file, ignoring errors (a temporary being given up).
void Remove(const std::string &path);
// Opens an existing file for binary reading (nullptr and errno set when it
// cannot).
std::FILE *OpenForReading(const std::string &path);

} // namespace batch::fs

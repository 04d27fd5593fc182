// A file that is complete or not there: written to a temporary in the same
// folder, flushed and synced with every error checked, then renamed over the
// target. Until Commit() succeeds, whatever was at the target stays untouched;
// a failure at any step removes the temporary.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace batch {

class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile(); // discards an uncommitted temporary
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Creates the temporary beside the target. False, with `error` naming the
    // file, when the folder does not take it.
    bool Open(std::string *error);
    // Appends bytes; false once any write has failed (the error is kept for Commit).
    bool Write(std::string_view bytes);
    // Flushes, syncs, closes and renames the temporary over the target; false,
    // with `error` naming the file, when any step fails (the target is then
    // what it was before and the temporary is gone).
    bool Commit(std::string *error);
    // For a temporary some library writes by name (a spreadsheet): closes our
    // stream without writing, so the library can write at TempPath(); then
    // CommitWritten() syncs and renames it.
    bool ReleaseForWriter(std::string *error);
    bool CommitWritten(std::string *error);
    // Removes the temporary; the target keeps what it had.
    void Discard();

    const std::string &path() const { return path_; }
    const std::string &TempPath() const { return temp_; }

private:
    bool Fail(std::string *error, const std::string &what, int errnum);
    bool SyncAndRename(std::string *error);

    std::string path_;
    std::string temp_;
    std::FILE *file_ = nullptr;
    bool failed_ = false;
    int writeErrno_ = 0;
    bool committed_ = false;
};

} // namespace batch

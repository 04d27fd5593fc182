#include "batch/file_system.h"

#include <windows.h>
#include <io.h>

#include <cerrno>
#include <cstdlib>
#include <random>

namespace batch::fs {

namespace {

// Paths arrive as UTF-8 and go to the system's wide-character calls, so a
// name in Arabic works whatever the machine's code page.
std::wstring Wide(const std::string &utf8)
{
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

int ErrnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    default: return EIO;
    }
}

} // namespace

std::string Folder(const std::string &path)
{
    const auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    if (slash == 0) return path.substr(0, 1);
    if (slash == 2 && path[1] == ':') return path.substr(0, 3); // "C:\"
    return path.substr(0, slash);
}

std::string BaseName(const std::string &path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int CreateTemporary(const std::string &folder, const std::string &base, std::FILE **file, std::string *temp)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device seed;
    std::mt19937 pick(seed());
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = folder + "\\." + base + ".";
        for (int i = 0; i < 6; ++i) name += kLetters[letter(pick)];
        // CREATE_NEW: never opens a file someone else made meanwhile.
        const HANDLE h = ::CreateFileW(Wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                       nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            return ErrnoOf(error);
        }
        const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), 0);
        if (fd < 0) {
            ::CloseHandle(h);
            ::DeleteFileW(Wide(name).c_str());
            return EIO;
        }
        *file = ::_fdopen(fd, "wb");
        if (!*file) {
            const int e = errno;
            ::_close(fd);
            ::DeleteFileW(Wide(name).c_str());
            return e;
        }
        *temp = name;
        return 0;
    }
    return EEXIST;
}

int SyncStream(std::FILE *file) { return ::_commit(::_fileno(file)) == 0 ? 0 : errno; }

int SyncPath(const std::string &path)
{
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return ErrnoOf(::GetLastError());
    const int e = ::FlushFileBuffers(h) ? 0 : ErrnoOf(::GetLastError());
    ::CloseHandle(h);
    return e;
}

int Replace(const std::string &temp, const std::string &target)
{
    // One call that replaces an existing target and returns only once the
    // move is on the disk; never a delete followed by a rename.
    if (!::MoveFileExW(Wide(temp).c_str(), Wide(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ErrnoOf(::GetLastError());
    return 0;
}

void Remove(const std::string &path) { ::DeleteFileW(Wide(path).c_str()); }

std::FILE *OpenForReading(const std::string &path) { return ::_wfopen(Wide(path).c_str(), L"rb"); }

} // namespace batch::fs

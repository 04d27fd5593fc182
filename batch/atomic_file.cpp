#include "batch/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace batch {

namespace {

std::string Folder(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The permissions a newly created file gets: 0666 less the process's umask.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile()
{
    if (!committed_) Discard();
}

bool AtomicFile::Fail(std::string* error, const std::string& what, int errnum)
{
    failed_ = true;
    if (error) *error = "cannot " + what + " " + path_ + ": " + std::strerror(errnum);
    Discard();
    return false;
}

bool AtomicFile::Open(std::string* error)
{
    // A hidden name in the target's own folder, so the rename stays on one file system.
    std::string pattern = Folder(path_) + "/." + BaseName(path_) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return Fail(error, "write", errno);
    temp_.assign(name.data());
    if (::fchmod(fd, NewFileMode()) != 0) {
        const int e = errno;
        ::close(fd);
        return Fail(error, "write", e);
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        const int e = errno;
        ::close(fd);
        return Fail(error, "write", e);
    }
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
    return true;
}

bool AtomicFile::Write(std::string_view bytes)
{
    if (failed_ || !file_) return false;
    if (bytes.empty()) return true;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        failed_ = true;
        writeErrno_ = errno ? errno : EIO;
        return false;
    }
    return true;
}

bool AtomicFile::SyncAndRename(std::string* error)
{
    if (::rename(temp_.c_str(), path_.c_str()) != 0) return Fail(error, "write", errno);
    committed_ = true;
    temp_.clear();
    // The rename itself reaches the disk with the folder's own sync.
    const int dir = ::open(Folder(path_).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool AtomicFile::Commit(std::string* error)
{
    if (!file_) return Fail(error, "write", writeErrno_ ? writeErrno_ : EBADF);
    if (failed_) return Fail(error, "write", writeErrno_ ? writeErrno_ : EIO);
    if (std::fflush(file_) != 0) return Fail(error, "write", errno);
    if (::fsync(::fileno(file_)) != 0) return Fail(error, "write", errno);
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) return Fail(error, "write", errno);
    return SyncAndRename(error);
}

bool AtomicFile::ReleaseForWriter(std::string* error)
{
    if (!file_) return Fail(error, "write", EBADF);
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) return Fail(error, "write", errno);
    return true;
}

bool AtomicFile::CommitWritten(std::string* error)
{
    if (temp_.empty()) return Fail(error, "write", EBADF);
    const int fd = ::open(temp_.c_str(), O_RDONLY);
    if (fd < 0) return Fail(error, "write", errno);
    if (::fsync(fd) != 0) {
        const int e = errno;
        ::close(fd);
        return Fail(error, "write", e);
    }
    ::close(fd);
    return SyncAndRename(error);
}

void AtomicFile::Discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

} // namespace batch

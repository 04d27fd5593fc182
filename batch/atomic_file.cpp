#include "batch/atomic_file.h"

#include <cerrno>
#include <cstring>

#include "batch/file_system.h"

namespace batch {

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile()
{
    if (!committed_) Discard();
}

bool AtomicFile::Fail(std::string *error, const std::string &what, int errnum)
{
    failed_ = true;
    if (error) *error = "cannot " + what + " " + path_ + ": " + std::strerror(errnum);
    Discard();
    return false;
}

bool AtomicFile::Open(std::string *error)
{
    // A hidden name in the target's own folder, so the replace stays on one file system.
    if (const int e = fs::CreateTemporary(fs::Folder(path_), fs::BaseName(path_), &file_, &temp_); e != 0)
        return Fail(error, "write", e);
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

bool AtomicFile::SyncAndRename(std::string *error)
{
    if (const int e = fs::Replace(temp_, path_); e != 0) return Fail(error, "write", e);
    committed_ = true;
    temp_.clear();
    return true;
}

bool AtomicFile::Commit(std::string *error)
{
    if (!file_) return Fail(error, "write", writeErrno_ ? writeErrno_ : EBADF);
    if (failed_) return Fail(error, "write", writeErrno_ ? writeErrno_ : EIO);
    if (std::fflush(file_) != 0) return Fail(error, "write", errno);
    if (const int e = fs::SyncStream(file_); e != 0) return Fail(error, "write", e);
    std::FILE *f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) return Fail(error, "write", errno);
    return SyncAndRename(error);
}

bool AtomicFile::ReleaseForWriter(std::string *error)
{
    if (!file_) return Fail(error, "write", EBADF);
    std::FILE *f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) return Fail(error, "write", errno);
    return true;
}

bool AtomicFile::CommitWritten(std::string *error)
{
    if (temp_.empty()) return Fail(error, "write", EBADF);
    if (const int e = fs::SyncPath(temp_); e != 0) return Fail(error, "write", e);
    return SyncAndRename(error);
}

void AtomicFile::Discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        fs::Remove(temp_);
        temp_.clear();
    }
}

} // namespace batch

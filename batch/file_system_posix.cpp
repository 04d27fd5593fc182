#include "batch/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace batch::fs {

namespace {

// The permissions a newly created file gets: 0666 less the process's umask.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

std::string Folder(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int CreateTemporary(const std::string &folder, const std::string &base, std::FILE **file, std::string *temp)
{
    std::string pattern = folder + "/." + base + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return errno;
    temp->assign(name.data());
    if (::fchmod(fd, NewFileMode()) != 0) {
        const int e = errno;
        ::close(fd);
        return e;
    }
    *file = ::fdopen(fd, "wb");
    if (!*file) {
        const int e = errno;
        ::close(fd);
        return e;
    }
    return 0;
}

int SyncStream(std::FILE *file) { return ::fsync(::fileno(file)) == 0 ? 0 : errno; }

int SyncPath(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return errno;
    const int e = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return e;
}

int Replace(const std::string &temp, const std::string &target)
{
    if (::rename(temp.c_str(), target.c_str()) != 0) return errno;
    // The rename itself reaches the disk with the folder's own sync.
    const int dir = ::open(Folder(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

void Remove(const std::string &path) { ::unlink(path.c_str()); }

std::FILE *OpenForReading(const std::string &path) { return std::fopen(path.c_str(), "rb"); }

} // namespace batch::fs

#include "platform/synced_append.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace amperlog {
namespace {

// A new file's name lives in its folder; the folder is synced once, when the file is made.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    ::fsync(fd);
    ::close(fd);
}

} // namespace

void SyncFileData(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    ::fdatasync(fd);
    ::close(fd);
}

bool AppendSynced(const std::filesystem::path& path, std::string_view bytes) {
    struct stat before {};
    const bool existed = ::stat(path.c_str(), &before) == 0;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    ssize_t written = 0;
    do {
        written = ::write(fd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    const bool whole = written == static_cast<ssize_t>(bytes.size());
    if (whole) {
        ::fdatasync(fd);
    }
    ::close(fd);
    if (whole && !existed) {
        SyncFolder(path.parent_path());
    }
    return whole;
}

} // namespace amperlog

#include "platform/instance_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace amperlog {

InstanceLock::InstanceLock(std::filesystem::path path) : m_path(std::move(path)) {}

InstanceLock::~InstanceLock() {
    Unlock();
}

bool InstanceLock::TryLock() {
    if (m_handle >= 0) {
        return true;
    }
    // A copy that is ending removes the file between another's open and lock; that lock then
    // holds a file no later start sees, so the name is opened again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            return false;
        }
        // A file system without locks (some network or FUSE ones) would otherwise keep the
        // program from ever starting there; it runs, unguarded, as the user asked.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno != ENOLCK && errno != EOPNOTSUPP) {
            ::close(fd);
            return false;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(m_path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            m_handle = fd;
            return true;
        }
        ::close(fd);
    }
    return false;
}

void InstanceLock::Unlock() {
    if (m_handle < 0) {
        return;
    }
    // Removed while still held, so no other copy locks the file on its way out.
    ::unlink(m_path.c_str());
    ::close(static_cast<int>(m_handle));
    m_handle = -1;
}

} // namespace amperlog

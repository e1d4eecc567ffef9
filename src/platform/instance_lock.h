#pragma once

#include <cstdint>
#include <filesystem>

namespace amperlog {

// One running copy per program folder. The file is locked with the system's own lock, which
// the system lets go of when the process ends however it ends, so a killed copy never blocks
// the next start. The path stays the folder's own bytes, whatever their encoding.
class InstanceLock {
public:
    explicit InstanceLock(std::filesystem::path path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Whether this copy holds the lock now: false while another copy holds it, or when the
    // file cannot be made.
    bool TryLock();
    // Lets go of the lock and removes the file.
    void Unlock();

private:
    std::filesystem::path m_path;
    std::intptr_t m_handle = -1; // the open file: a descriptor, or a HANDLE on Windows
};

} // namespace amperlog

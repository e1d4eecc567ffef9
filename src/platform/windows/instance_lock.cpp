#include "platform/instance_lock.h"

#include <utility>
#include <windows.h>

namespace amperlog {

InstanceLock::InstanceLock(std::filesystem::path path) : m_path(std::move(path)) {}

InstanceLock::~InstanceLock() {
    Unlock();
}

bool InstanceLock::TryLock() {
    if (m_handle != -1) {
        return true;
    }
    // Not shared: another copy's open fails while this one holds the file. The system closes
    // the handle, and so removes the file, when the process ends.
    const HANDLE file =
        ::CreateFileW(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

void InstanceLock::Unlock() {
    if (m_handle == -1) {
        return;
    }
    ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
}

} // namespace amperlog

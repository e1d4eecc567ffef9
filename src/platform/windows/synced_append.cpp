#include "platform/synced_append.h"

#include <windows.h>

namespace amperlog {

void SyncFileData(const std::filesystem::path& path) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    ::FlushFileBuffers(file);
    ::CloseHandle(file);
}

bool AppendSynced(const std::filesystem::path& path, std::string_view bytes) {
    // Append access only: every write goes to the end, whoever else appended meanwhile.
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool whole =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
        written == bytes.size();
    if (whole) {
        ::FlushFileBuffers(file);
    }
    ::CloseHandle(file);
    return whole;
}

} // namespace amperlog

#include "platform/windows/run_key_login_start.h"

#include <array>
#include <windows.h>

namespace amperlog {
namespace {

// Task Manager's value starts with an even byte while the start is allowed, an odd one once
// the user switched it off.
bool SwitchedOff(const std::wstring& key, const std::wstring& name) {
    std::array<BYTE, 64> data{};
    DWORD size = data.size();
    const LSTATUS status = ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(),
                                          RRF_RT_REG_BINARY, nullptr, data.data(), &size);
    return status == ERROR_SUCCESS && size > 0 && (data[0] & 1) != 0;
}

bool RemoveValue(const std::wstring& key, const std::wstring& name) {
    const LSTATUS status = ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace

bool RunKeyLoginStart::IsOn() const {
    const LSTATUS status = ::RegGetValueW(HKEY_CURRENT_USER, m_runKey.c_str(), m_valueName.c_str(),
                                          RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                                          nullptr, nullptr, nullptr);
    return status == ERROR_SUCCESS && !SwitchedOff(m_approvedKey, m_valueName);
}

bool RunKeyLoginStart::Set(bool on) {
    if (!on) {
        return RemoveValue(m_runKey, m_valueName) && RemoveValue(m_approvedKey, m_valueName);
    }
    if (m_executable.empty()) {
        return false;
    }
    // Quoted, so that a path with blanks is not read as a program and its arguments.
    const std::wstring command = L"\"" + m_executable.wstring() + L"\"";
    const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    if (::RegSetKeyValueW(HKEY_CURRENT_USER, m_runKey.c_str(), m_valueName.c_str(), REG_SZ,
                          command.c_str(), bytes) != ERROR_SUCCESS) {
        return false;
    }
    RemoveValue(m_approvedKey, m_valueName);
    return IsOn();
}

} // namespace amperlog

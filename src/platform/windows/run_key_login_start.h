#pragma once

#include "platform/login_start.h"

#include <filesystem>
#include <string>

namespace amperlog {

// Where the user's login starts live, under HKEY_CURRENT_USER: the Run key, and the key where
// Task Manager's startup list switches a Run value off without removing it.
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kStartupApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The login start as a value of the user's Run key holding the executable's quoted path.
// It counts as on while the value is there and Task Manager has not switched it off.
class RunKeyLoginStart final : public LoginStart {
public:
    // The keys are paths under HKEY_CURRENT_USER.
    RunKeyLoginStart(std::wstring runKey, std::wstring approvedKey, std::wstring valueName,
                     std::filesystem::path executable)
        : m_runKey(std::move(runKey)), m_approvedKey(std::move(approvedKey)),
          m_valueName(std::move(valueName)), m_executable(std::move(executable)) {}

    bool IsOn() const override;
    // On also clears Task Manager's switch, as the user has just asked for the start; true
    // when the start is then on.
    bool Set(bool on) override;

private:
    std::wstring m_runKey;
    std::wstring m_approvedKey;
    std::wstring m_valueName;
    std::filesystem::path m_executable;
};

} // namespace amperlog

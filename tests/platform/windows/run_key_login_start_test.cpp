#include "platform/windows/run_key_login_start.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace amperlog {
namespace {

// Keys of the test's own under HKEY_CURRENT_USER, removed afterwards: the real Run key stays
// untouched.
class RunKeyLoginStartTest : public ::testing::Test {
protected:
    ~RunKeyLoginStartTest() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, m_root.c_str()); }

    // The value as the Run key holds it; empty when there is none.
    std::wstring RunValue() const {
        wchar_t data[1024] = {};
        DWORD size = sizeof(data);
        if (::RegGetValueW(HKEY_CURRENT_USER, m_run.c_str(), L"Amperlog", RRF_RT_REG_SZ, nullptr,
                           data, &size) != ERROR_SUCCESS) {
            return {};
        }
        return data;
    }

    // Task Manager's record of the value: 02 allowed, 03 switched off, then a time stamp.
    void SetApproved(BYTE first) const {
        const BYTE data[12] = {first};
        ::RegSetKeyValueW(HKEY_CURRENT_USER, m_approved.c_str(), L"Amperlog", REG_BINARY, data,
                          sizeof(data));
    }

    std::wstring m_root = L"Software\\AmperlogTest" + std::to_wstring(::GetCurrentProcessId());
    std::wstring m_run = m_root + L"\\Run";
    std::wstring m_approved = m_root + L"\\Approved";
};

TEST_F(RunKeyLoginStartTest, OnWritesTheQuotedPathAndOffRemovesIt) {
    const std::wstring exe = L"C:\\Program Files\\アンペア ログ\\Amperlog.exe";
    RunKeyLoginStart login(m_run, m_approved, L"Amperlog", exe);
    EXPECT_FALSE(login.IsOn());
    ASSERT_TRUE(login.Set(true));
    EXPECT_TRUE(login.IsOn());
    EXPECT_EQ(RunValue(), L"\"" + exe + L"\"");
    ASSERT_TRUE(login.Set(false));
    EXPECT_FALSE(login.IsOn());
    EXPECT_EQ(RunValue(), L"");
    EXPECT_TRUE(login.Set(false));
}

// Switched off in Task Manager, the value stays but nothing starts: that reads off, and
// choosing the start again clears the switch.
TEST_F(RunKeyLoginStartTest, TaskManagersSwitchCounts) {
    RunKeyLoginStart login(m_run, m_approved, L"Amperlog", L"C:\\Amperlog\\Amperlog.exe");
    ASSERT_TRUE(login.Set(true));
    SetApproved(2);
    EXPECT_TRUE(login.IsOn());
    SetApproved(3);
    EXPECT_FALSE(login.IsOn());
    EXPECT_TRUE(login.Set(true));
    EXPECT_TRUE(login.IsOn());
}

} // namespace
} // namespace amperlog

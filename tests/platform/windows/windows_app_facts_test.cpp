#include "platform/windows/windows_app_facts.h"
#include "temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <windows.h>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

bool IsEmptyFolder(const fs::path& folder) {
    return fs::is_empty(folder);
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : m_name(name) {
        wchar_t buffer[32768];
        const DWORD length = ::GetEnvironmentVariableW(name, buffer, 32768);
        if (length > 0 && length < 32768) {
            m_old = std::wstring(buffer, length);
        }
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironment() { ::SetEnvironmentVariableW(m_name, m_old ? m_old->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const wchar_t* m_name;
    std::optional<std::wstring> m_old;
};

TEST(WindowsAppFactsTest, TheRunningExecutable) {
    const WindowsAppFacts facts;
    EXPECT_EQ(facts.ExeName(), "platform_windows_test");
    // The build folder is writable, so the program's folder is the executable's own.
    EXPECT_TRUE(fs::is_regular_file(facts.ProgramFolder() / (facts.ExeName() + ".exe")));
}

TEST(WindowsAppFactsTest, WritableFolderLeavesNoTrace) {
    test::TempFolder folder;
    EXPECT_TRUE(IsFolderWritable(folder.Path()));
    EXPECT_TRUE(IsEmptyFolder(folder.Path()));
}

TEST(WindowsAppFactsTest, FoldersThatCannotBeWritten) {
    test::TempFolder folder;
    test::WriteFileBytes(folder / "file", "x");
    EXPECT_FALSE(IsFolderWritable(folder / "missing"));
    EXPECT_FALSE(IsFolderWritable(folder / "file"));
    EXPECT_FALSE(IsFolderWritable(fs::path()));
}

TEST(WindowsAppFactsTest, WritableExecutableFolderIsThePrograms) {
    test::TempFolder folder;
    const fs::path user = folder / "user" / "Amperlog";
    EXPECT_EQ(ChooseProgramFolder(folder.Path(), user), folder.Path());
    EXPECT_FALSE(fs::exists(user));
}

TEST(WindowsAppFactsTest, OtherwiseThePerUserFolderIsCreated) {
    test::TempFolder folder;
    const fs::path user = folder / "Local" / "Amperlog";
    EXPECT_EQ(ChooseProgramFolder(folder / "no such folder", user), user);
    EXPECT_TRUE(fs::is_directory(user));
}

TEST(WindowsAppFactsTest, PerUserFolderFollowsLocalAppData) {
    test::TempFolder folder;
    const ScopedEnvironment local(L"LOCALAPPDATA", folder.Path().wstring());
    EXPECT_EQ(UserDataFolder(), folder / "Amperlog");
}

TEST(WindowsAppFactsTest, RelativeLocalAppDataIsIgnored) {
    const ScopedEnvironment local(L"LOCALAPPDATA", L"relative");
    const fs::path user = UserDataFolder();
    EXPECT_TRUE(user.is_absolute()) << user.string();
    EXPECT_EQ(user.filename(), "Amperlog");
}

} // namespace
} // namespace amperlog

// What only a POSIX file system can set up: unreadable modes and named pipes.
#include "editor/editor_session.h"
#include "editor_session_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace amperlog {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

TEST_F(EditorSessionTest, AnExistingFileThatCannotBeReadIsNotOverwritten) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    WriteFileBytes(m_log, "secret\r\n");
    fs::permissions(m_log, fs::perms::owner_write);
    EditorSession session(m_log, m_utf8);
    std::string text;
    EXPECT_EQ(session.Load(text), EditorSession::LoadState::Unreadable);
    EXPECT_FALSE(session.Save("typed\n"));
    fs::permissions(m_log, fs::perms::owner_all);
    EXPECT_EQ(ReadFileBytes(m_log), "secret\r\n");
}

TEST_F(EditorSessionTest, APipeIsNeitherReadNorWritten) {
    const fs::path pipe = m_folder / "Sys.log";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EditorSession session(pipe, m_utf8);
    std::string text;
    // Reading or writing a pipe nobody feeds would block the window for good.
    EXPECT_EQ(session.Load(text), EditorSession::LoadState::Unreadable);
    EXPECT_FALSE(session.Save("typed\n"));
    EXPECT_TRUE(fs::is_fifo(pipe));
}

} // namespace
} // namespace amperlog

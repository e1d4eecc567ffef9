#include "editor/editor_session.h"
#include "editor_session_fixture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace amperlog {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

void Append(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << bytes;
}

TEST_F(EditorSessionTest, LoadingIsNoChangeAndHappensOnce) {
    WriteFileBytes(m_log, "a\r\nb");
    EditorSession session(m_log, m_utf8);
    std::string text;
    EXPECT_EQ(session.Load(text), EditorSession::LoadState::Loaded);
    EXPECT_EQ(text, "a\r\nb\r\n");
    EXPECT_FALSE(session.Changed());
    WriteFileBytes(m_log, "rewritten\r\n");
    std::string again = "kept";
    EXPECT_EQ(session.Load(again), EditorSession::LoadState::Loaded);
    EXPECT_EQ(again, "kept");
}

TEST_F(EditorSessionTest, AMissingFileLoadsNothingAndSavingCreatesIt) {
    const fs::path sysLog = m_folder / "Sys.log";
    EditorSession session(sysLog, m_utf8);
    std::string text = "untouched";
    EXPECT_EQ(session.Load(text), EditorSession::LoadState::Unreadable);
    EXPECT_EQ(text, "untouched");
    EXPECT_FALSE(fs::exists(sysLog));
    session.MarkChanged();
    ASSERT_TRUE(session.Save("note\n"));
    EXPECT_EQ(ReadFileBytes(sysLog), "note\r\n");
    EXPECT_FALSE(session.Changed());
}

TEST_F(EditorSessionTest, SavingKeepsLinesAppendedSinceLoading) {
    WriteFileBytes(m_log, "1/07 00:00:01,Batt,57%,3600,day changed\r\n");
    EditorSession session(m_log, m_utf8);
    std::string text;
    session.Load(text);
    Append(m_log, "1/07 00:00:05,Batt,56%,3500,\r\n");
    ASSERT_TRUE(session.Save("edited\n"));
    EXPECT_EQ(ReadFileBytes(m_log), "edited\r\n1/07 00:00:05,Batt,56%,3500,\r\n");

    // A second save replaces only its own text and keeps every appended line.
    Append(m_log, "1/07 00:08:05,Batt,55%,3400,+\r\n");
    ASSERT_TRUE(session.Save("edited again\n"));
    EXPECT_EQ(ReadFileBytes(m_log), "edited again\r\n1/07 00:00:05,Batt,56%,3500,\r\n"
                                    "1/07 00:08:05,Batt,55%,3400,+\r\n");
}

TEST_F(EditorSessionTest, TheFileIsReplacedNotOverwritten) {
    WriteFileBytes(m_log, "old\r\n");
    const fs::path link = m_folder / "link";
    fs::create_hard_link(m_log, link);
    EditorSession session(m_log, m_utf8);
    std::string text;
    session.Load(text);
    ASSERT_TRUE(session.Save("new\n"));
    EXPECT_EQ(ReadFileBytes(m_log), "new\r\n");
    // The old file was never written into: a crash in the middle would have left it whole.
    EXPECT_EQ(ReadFileBytes(link), "old\r\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_folder.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2); // no temporary file left behind
}

TEST_F(EditorSessionTest, AFailedSaveKeepsTheChangeAndTheFile) {
    const fs::path folder = m_folder / "Data";
    fs::create_directory(folder);
    const fs::path log = folder / "20261207.txt";
    WriteFileBytes(log, "old\r\n");
    EditorSession session(log, m_utf8);
    std::string text;
    session.Load(text);
    session.MarkChanged();
    fs::remove_all(folder);
    EXPECT_FALSE(session.Save("new\n"));
    EXPECT_TRUE(session.Changed());
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(EditorSessionTest, AFileOverTheLimitIsNeitherLoadedNorSaved) {
    WriteFileBytes(m_log, "x");
    fs::resize_file(m_log, EditorSession::kMaxFileBytes + 1);
    EditorSession session(m_log, m_utf8);
    std::string text;
    EXPECT_EQ(session.Load(text), EditorSession::LoadState::TooLarge);
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(session.Save(""));
    EXPECT_EQ(fs::file_size(m_log), EditorSession::kMaxFileBytes + 1);
}

TEST_F(EditorSessionTest, AFileAtTheLimitLoads) {
    WriteFileBytes(m_log, "x");
    fs::resize_file(m_log, EditorSession::kMaxFileBytes);
    EditorSession session(m_log, m_utf8);
    std::string text;
    EXPECT_EQ(session.Load(text), EditorSession::LoadState::Loaded);
}

} // namespace
} // namespace amperlog

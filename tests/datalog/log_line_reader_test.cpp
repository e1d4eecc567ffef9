#include "datalog/log_line_reader.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace amperlog {
namespace {

std::vector<std::string> ReadAll(std::string_view bytes) {
    test::TempFolder folder;
    test::WriteFileBytes(folder / "log.txt", bytes);
    LogLineReader reader(folder / "log.txt");
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) {
        lines.push_back(line);
    }
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LogLineReader, EveryLineEndSplitsLines) {
    struct Case {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"", {}},
        {"torn last line", {"torn last line"}},
        {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAll(c.bytes), c.lines);
    }
}

TEST(LogLineReader, CrLfAcrossTheReadBufferIsOneLineEnd) {
    // The CR ends the 64 KiB chunk and its LF starts the next one.
    const std::string head(64 * 1024 - 1, 'x');
    const Lines lines = ReadAll(head + "\r\nnext\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "next");
}

TEST(LogLineReader, HugeLineKeepsItsHeadAndTheNextLineFollows) {
    const std::string huge = "head" + std::string(10 * 1024 * 1024, 'y');
    const Lines lines = ReadAll(huge + "\r\nafter");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), LogLineReader::kMaxLineBytes);
    EXPECT_EQ(lines[0].substr(0, 5), "heady");
    EXPECT_EQ(lines[1], "after");
}

TEST(LogLineReader, MissingFileAndFolderDoNotOpen) {
    test::TempFolder folder;
    EXPECT_FALSE(LogLineReader(folder / "missing.txt").IsOpen());
    EXPECT_FALSE(LogLineReader(folder.Path()).IsOpen());
}

} // namespace
} // namespace amperlog

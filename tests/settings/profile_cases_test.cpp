// Runs the conformance cases recorded from the platform's own profile functions.
#include "settings/profile_file.h"
#include "temp_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace amperlog {
namespace {

using test::TempFolder;

std::string Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const char code = text[++i];
        if (code == 'r') {
            out.push_back('\r');
        } else if (code == 'n') {
            out.push_back('\n');
        } else if (code == 't') {
            out.push_back('\t');
        } else if (code == 'x' && i + 2 < text.size()) {
            const std::string hex(text.substr(i + 1, 2));
            out.push_back(static_cast<char>(std::strtoul(hex.c_str(), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(code); // "\\" and anything unknown
        }
    }
    return out;
}

std::vector<std::string> SplitTabs(std::string_view line) {
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.emplace_back(line.substr(0, tab));
        if (tab == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(tab + 1);
    }
}

std::vector<std::vector<std::string>> LoadCases() {
    const std::string text = test::ReadFileBytes(test::TestDataDir() / "profile-cases.tsv");
    std::vector<std::vector<std::string>> rows;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        rows.push_back(SplitTabs(line));
    }
    return rows;
}

TEST(ProfileCases, EveryRecordedCaseHolds) {
    const auto rows = LoadCases();
    ASSERT_GE(rows.size(), 40u) << "the case file was not found or not parsed";
    // Rows where the platform loses the value; this module quotes them and reads them back.
    const std::set<std::string> quotedRows = {"blanks only", "blanks around", "value in quotes"};
    std::size_t reads = 0;
    std::size_t writes = 0;
    for (const auto& row : rows) {
        TempFolder folder;
        const auto file = folder / "case.ini";
        if (row[0] == "read") {
            ASSERT_EQ(row.size(), 6u);
            SCOPED_TRACE(row[5]);
            test::WriteFileBytes(file, Unescape(row[1]));
            EXPECT_EQ(ReadProfileText(Unescape(row[2]), Unescape(row[3]), file), Unescape(row[4]));
            ++reads;
        } else {
            ASSERT_EQ(row[0], "write");
            ASSERT_EQ(row.size(), 7u);
            SCOPED_TRACE(row[6]);
            if (row[1] != "<missing>") {
                test::WriteFileBytes(file, Unescape(row[1]));
            }
            const std::string value = Unescape(row[4]);
            const std::string platformReadBack = Unescape(row[5]);
            ASSERT_TRUE(WriteProfileText(Unescape(row[2]), Unescape(row[3]), value, file));
            EXPECT_EQ(ReadProfileText(Unescape(row[2]), Unescape(row[3]), file), value);
            EXPECT_EQ(platformReadBack != value, quotedRows.contains(row[6]));
            ++writes;
        }
    }
    EXPECT_GT(reads, 0u);
    EXPECT_GT(writes, 0u);
}

} // namespace
} // namespace amperlog

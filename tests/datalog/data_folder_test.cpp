#include "datalog/data_folder.h"
#include "state/monitor_state.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace amperlog {
namespace {

TEST(DataFolder, PrepareCreatesOnlyTheLastLevel) {
    test::TempFolder folder;
    MonitorState state;
    EXPECT_TRUE(PrepareDataFolder(state, folder.Path()));
    EXPECT_EQ(state.DataFolder, folder / "Data");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Data"));

    MonitorState missing;
    EXPECT_FALSE(PrepareDataFolder(missing, folder / "no" / "such"));
    EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

TEST(DataFolder, AFileNamedDataIsLeftAlone) {
    test::TempFolder folder;
    test::WriteFileBytes(folder / "Data", "mine");
    MonitorState state;
    EXPECT_FALSE(PrepareDataFolder(state, folder.Path()));
    EXPECT_EQ(test::ReadFileBytes(folder / "Data"), "mine");
    EXPECT_TRUE(ListLogCatalogue(state.DataFolder).empty());
}

TEST(DataFolder, CatalogueListsDailyLogsInNameOrder) {
    test::TempFolder folder;
    for (const char* name : {"20261206.txt", "20251231.txt", "summary-2026.txt", "2026120.txt",
                             "20261207.log", "20260101.txt"}) {
        test::WriteFileBytes(folder / name, "");
    }
    std::filesystem::create_directory(folder / "20261208.txt");
    EXPECT_EQ(ListLogCatalogue(folder.Path()),
              (std::vector<std::string>{"20251231.txt", "20260101.txt", "20261206.txt"}));
}

TEST(DataFolder, AnyTextFileCounts) {
    test::TempFolder folder;
    EXPECT_FALSE(HasAnyTextFile(folder.Path()));
    test::WriteFileBytes(folder / "notes.log", "");
    EXPECT_FALSE(HasAnyTextFile(folder.Path()));
    test::WriteFileBytes(folder / "summary-2026.txt", "");
    EXPECT_TRUE(HasAnyTextFile(folder.Path()));
    EXPECT_TRUE(ListLogCatalogue(folder.Path()).empty());
    EXPECT_FALSE(HasAnyTextFile(folder / "missing"));
}

} // namespace
} // namespace amperlog

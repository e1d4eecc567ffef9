#include "datalog/log_format.h"
#include "state/monitor_state.h"
#include "temp_folder.h"
#include "window/graph_refresh.h"
#include "window/window_model.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace amperlog::test {
namespace {

CivilTime At(int hour, int minute, int second = 0) {
    return *CivilTime::FromParts(2026, 12, 6, hour, minute, second);
}

// The graphed log as the window loads it: the caption names the file in the data folder.
class GraphedDayTest : public ::testing::Test {
protected:
    GraphedDayTest() {
        state.DataFolder = folder.Path();
        window.lblTargetName = "20261206.txt";
    }
    std::int32_t Load() { return LoadDaySamples(state, window, At(18, 0)); }
    void WriteLog(const std::string& bytes) {
        WriteFileBytes(folder / window.lblTargetName, bytes);
    }

    TempFolder folder;
    MonitorState state;
    MainWindowModel window;
};

TEST_F(GraphedDayTest, GraphFilePathIsDataFolderAndCaption) {
    window.lblTargetName = "20261201.txt";
    EXPECT_EQ(GetGraphFilePath(state, window), state.DataFolder / "20261201.txt");
}

TEST_F(GraphedDayTest, LineCountShowsSixthFieldsOverSamples) {
    WriteLog("12/06 14:05:00,Power,85%,Charge\r\n12/06 14:06:00,Batt,84%,3600,,note\r\n");
    ASSERT_EQ(Load(), 2);
    EXPECT_EQ(window.lblLineCount, "データ   1/2");
    EXPECT_EQ(state.GraphFilePath, state.DataFolder / "20261206.txt");
    WriteLog("\r\n\r\n");
    EXPECT_EQ(Load(), 0);
    EXPECT_EQ(window.lblLineCount, "データ   0/0") << "an opened file shows its count";
    EXPECT_EQ(state.DaySamples->size(), 2u) << "and keeps the previous samples";
}

TEST_F(GraphedDayTest, MissingFileChangesNothingButThePath) {
    window.lblLineCount = "データ   0/7";
    window.lblTargetName = "20261130.txt";
    EXPECT_EQ(Load(), 0);
    EXPECT_EQ(window.lblLineCount, "データ   0/7");
    EXPECT_FALSE(state.DaySamples.has_value());
    EXPECT_EQ(state.GraphFilePath, state.DataFolder / "20261130.txt");
}

TEST_F(GraphedDayTest, GraphTimesComeFromTheFirstAndLastRecordInFileOrder) {
    WriteLog(FormatLogStamp(At(14, 5, 30)) + ",Batt,80%\r\n" + FormatLogStamp(At(16, 0)) +
             ",Batt,70%\r\n" + FormatLogStamp(At(15, 0)) + ",Batt,75%\r\n");
    ASSERT_EQ(Load(), 3);
    SetGraphTimes(state);
    EXPECT_EQ(state.GraphStartHour, At(14, 0));
    EXPECT_EQ(state.GraphEndTime, At(15, 0));
}

} // namespace
} // namespace amperlog::test

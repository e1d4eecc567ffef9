#include "datalog/daily_log.h"
#include "fake_services.h"
#include "program/program.h"
#include "recording_views.h"
#include "temp_folder.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace amperlog {
namespace {

CivilTime At(int y, int mo, int d, int h, int mi, int s = 0) {
    return *CivilTime::FromParts(y, mo, d, h, mi, s);
}

class ActionsTest : public ::testing::Test {
protected:
    ActionsTest() {
        program.AttachViews(&views);
        state.LayoutUnit = 15;
        state.DataFolder = folder / "Data";
        std::filesystem::create_directory(state.DataFolder);
    }
    std::string Work(std::string_view key) { return settings.ReadWorkSetting(key); }

    test::TempFolder folder;
    test::FakeServices fakes{folder.Path(), At(2026, 12, 7, 12, 0)};
    FakeClock& clock = fakes.clock;
    FakeMillisecondCounter& counter = fakes.counter;
    test::RecordingViews views;
    Program program{fakes.services, folder.Path(), "amperlog"};
    SettingsStore& settings = program.Settings();
    MonitorState& state = program.State();
    MainWindowModel& model = program.Model();
    MainWindowActions& actions = program.Actions();
};

struct StepCase {
    std::optional<const char*> stored;
    int button;
    const char* result;
};

class SepPressTable : public ActionsTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(SepPressTable, StepsByTwoWithinFourToTwenty) {
    const StepCase& c = GetParam();
    if (c.stored) {
        settings.WriteWorkSetting("SEP", *c.stored);
    }
    actions.SepPress(c.button);
    EXPECT_EQ(Work("SEP"), c.result);
    EXPECT_EQ(model.lblSEP, c.result);
    EXPECT_EQ(std::to_string(state.SepMinutes), c.result);
    EXPECT_EQ(views.refreshes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SepPressTable,
    ::testing::Values(StepCase{"19", kLeftButton, "20"}, StepCase{"20", kLeftButton, "20"},
                      StepCase{"4", kRightButton, "4"}, StepCase{"5", kRightButton, "4"},
                      StepCase{"5", kMiddleButton, "4"}, StepCase{"12", kRightButton, "10"},
                      StepCase{std::nullopt, kLeftButton, "10"},
                      StepCase{std::nullopt, kRightButton, "6"}));

class ToolsPressTable : public ActionsTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(ToolsPressTable, StepsByOneWithinOneToTen) {
    const StepCase& c = GetParam();
    if (c.stored) {
        settings.WriteWorkSetting("Band", *c.stored);
    }
    actions.ToolsPress(c.button);
    EXPECT_EQ(Work("Band"), c.result);
    EXPECT_EQ(model.lblTools, c.result);
    EXPECT_EQ(std::to_string(state.RateBand), c.result);
    EXPECT_EQ(views.rateRefreshes, 1);
}

INSTANTIATE_TEST_SUITE_P(Values, ToolsPressTable,
                         ::testing::Values(StepCase{std::nullopt, kLeftButton, "6"},
                                           StepCase{std::nullopt, kRightButton, "4"},
                                           StepCase{"10", kLeftButton, "10"},
                                           StepCase{"1", kRightButton, "1"},
                                           StepCase{"1", kMiddleButton, "1"}));

TEST_F(ActionsTest, ToolsPressRefreshesTheRateText) {
    state.DaySamples.emplace();
    state.PowerText = "Batt";
    actions.ToolsPress(kLeftButton);
    EXPECT_EQ(model.lblRate, "変化率  0%");
}

TEST_F(ActionsTest, VoiceSaysOkOnlyWhenSwitchedOn) {
    actions.VoiceClick();
    EXPECT_EQ(Work("Voice"), "1");
    EXPECT_EQ(model.imgVoice, Face::VoiceOn);
    EXPECT_EQ(views.spoken, (std::map<std::string, int>{{"OK", 1}}));

    actions.VoiceClick();
    EXPECT_EQ(Work("Voice"), "0");
    EXPECT_EQ(model.imgVoice, Face::VoiceOff);
    EXPECT_EQ(views.spoken, (std::map<std::string, int>{{"OK", 1}}));
}

TEST_F(ActionsTest, VoiceOfFiveTurnsOffSilently) {
    settings.WriteWorkSetting("Voice", "5");
    actions.VoiceClick();
    EXPECT_EQ(Work("Voice"), "0");
    EXPECT_TRUE(views.spoken.empty());
}

TEST_F(ActionsTest, ScaleWithoutExpandGoesToHalfAndDoesNotRedraw) {
    actions.ScaleClick();
    EXPECT_EQ(Work("Expand"), "0.5");
    EXPECT_EQ(state.GraphScale, 0.5F);
    EXPECT_EQ(model.imgScale, Face::Small);
    actions.ScaleClick();
    EXPECT_EQ(Work("Expand"), "1");
    EXPECT_EQ(model.imgScale, Face::Big);
    EXPECT_EQ(views.refreshes, 0);
}

TEST_F(ActionsTest, RemainTogglesAndRedraws) {
    actions.RemainClick();
    EXPECT_EQ(Work("Remain"), "1");
    actions.RemainClick();
    EXPECT_EQ(Work("Remain"), "0");
    EXPECT_EQ(views.refreshes, 2);
}

TEST_F(ActionsTest, GraphModeCyclesFromMissingAndFromOddValues) {
    actions.GraphClick();
    EXPECT_EQ(Work("GraphMode"), "1");
    EXPECT_EQ(model.CurrentGraphMode, 1);
    actions.MonitorRelease(kLeftButton);
    EXPECT_EQ(Work("GraphMode"), "0");
    settings.WriteWorkSetting("GraphMode", "5");
    actions.GraphClick();
    EXPECT_EQ(Work("GraphMode"), "0");
    EXPECT_EQ(views.refreshes, 3);

    actions.MonitorRelease(kRightButton);
    actions.MonitorRelease(kMiddleButton);
    EXPECT_EQ(Work("GraphMode"), "0");
    EXPECT_EQ(views.refreshes, 3);
}

TEST_F(ActionsTest, RefreshDrawsTheStoredModeAndAlwaysTheRateCurve) {
    actions.RefreshGraphs();
    settings.WriteWorkSetting("GraphMode", "1");
    actions.RefreshGraphs();
    settings.WriteWorkSetting("GraphMode", "5");
    actions.RefreshGraphs();
    EXPECT_EQ(views.barGraphs, 1);
    EXPECT_EQ(views.timelineGraphs, 1);
    EXPECT_EQ(views.rateRefreshes, 3);
    EXPECT_EQ(model.CurrentGraphMode, 5);
}

TEST_F(ActionsTest, RefreshRecordsItsDurationAcrossTheCounterWrap) {
    counter.Set(0xFFFFFFF0U);
    views.whileDrawing = [this] {
        counter.Advance(0x20);
    };
    actions.RefreshGraphs();
    EXPECT_EQ(Work("Starting"), "32ms");
    views.whileDrawing = nullptr;
    actions.RefreshGraphs();
    EXPECT_EQ(Work("Starting"), "0ms");
}

TEST_F(ActionsTest, ResizeRedrawsOnlyOnceTheFormIsReady) {
    actions.Resize(635, 324);
    EXPECT_EQ(views.refreshes, 0);
    EXPECT_EQ(state.LayoutUnit, 15);
    EXPECT_EQ(model.geometry.picMonitor.height, 160 * 15);
    model.FormReady = true;
    actions.Resize(700, 400);
    EXPECT_EQ(views.refreshes, 1);
}

TEST_F(ActionsTest, ResizePlacesTheControlsBeforeItRedraws) {
    model.FormReady = true;
    int placedBeforeRefresh = -1;
    views.onRefresh = [&] {
        placedBeforeRefresh = views.placements;
    };
    actions.Resize(700, 400);
    EXPECT_EQ(placedBeforeRefresh, 1);
}

TEST_F(ActionsTest, DelayTickRefreshesOnceAndDisablesItself) {
    model.timDelayEnabled = true;
    actions.DelayTick();
    EXPECT_FALSE(model.timDelayEnabled);
    EXPECT_EQ(views.refreshes, 1);
}

TEST_F(ActionsTest, EscapeReturnsToTodaysLog) {
    model.lblTargetName = "20261130.txt";
    actions.KeyDown(kKeyEscape, kShiftMask | kAltMask);
    EXPECT_EQ(model.lblTargetName, "20261207.txt");
    EXPECT_EQ(views.refreshes, 1);
}

struct KeyCase {
    int key;
    int shift;
    int closes;
    const char* edited; // "" for none, "ini" or "Sys.log"
};

class KeyTable : public ActionsTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTable, ActsOnlyWithTheRightShiftState) {
    const KeyCase& c = GetParam();
    actions.KeyDown(c.key, c.shift);
    EXPECT_EQ(views.closes, c.closes);
    const std::string edited = c.edited;
    if (edited.empty()) {
        EXPECT_TRUE(views.edited.empty());
    } else {
        const auto expected = edited == "ini" ? settings.SettingsPath() : folder.Path() / "Sys.log";
        EXPECT_EQ(views.edited, std::vector<std::filesystem::path>{expected});
    }
    EXPECT_EQ(views.refreshes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTable,
    ::testing::Values(KeyCase{kKeyF4, 0, 0, ""}, KeyCase{kKeyF4, kShiftMask, 1, ""},
                      KeyCase{kKeyF4, kCtrlMask, 1, ""}, KeyCase{kKeyF4, kAltMask, 1, ""},
                      KeyCase{kKeyF4, kCtrlMask | kShiftMask, 1, ""}, KeyCase{kKeyF2, 0, 0, "ini"},
                      KeyCase{kKeyF2, kCtrlMask | kAltMask, 0, "ini"},
                      KeyCase{kKeyS, kCtrlMask, 0, "ini"}, KeyCase{kKeyS, 0, 0, ""},
                      KeyCase{kKeyS, kCtrlMask | kShiftMask, 0, ""},
                      KeyCase{kKeyS, kCtrlMask | kAltMask, 0, ""},
                      KeyCase{kKeyF, kCtrlMask, 0, "Sys.log"},
                      KeyCase{kKeyF, kCtrlMask | kShiftMask, 0, ""}, KeyCase{kKeyF, 0, 0, ""},
                      KeyCase{65, kCtrlMask, 0, ""}, KeyCase{0, 0, 0, ""}));

TEST_F(ActionsTest, StayBeforeTheFormIsReadyDoesNothing) {
    actions.StayClick();
    EXPECT_TRUE(views.tray.empty());
    EXPECT_TRUE(views.spoken.empty());
    EXPECT_EQ(model.timMonitorPanelInterval, 1000);
    EXPECT_EQ(Work("Stay"), "");
}

TEST_F(ActionsTest, StayWithoutANotificationAreaKeepsTheWindowShown) {
    model.FormReady = true;
    model.windowVisible = true;
    views.trayHost = false;
    actions.StayClick();
    EXPECT_TRUE(model.windowVisible);
    EXPECT_EQ(model.timMonitorPanelInterval, 1000);
    EXPECT_EQ(Work("Stay"), "");
    EXPECT_TRUE(views.spoken.empty());
}

TEST_F(ActionsTest, StayAndExitSwitchTheTickInterval) {
    model.FormReady = true;
    model.windowVisible = true;
    actions.StayClick();
    EXPECT_EQ(model.timMonitorPanelInterval, 10000);
    EXPECT_FALSE(model.windowVisible);
    EXPECT_EQ(views.tray, std::vector<std::string>{"add amperlog"});
    EXPECT_EQ(Work("Stay"), "1");
    EXPECT_EQ(views.spoken, (std::map<std::string, int>{{"常駐しました", 1}}));
    EXPECT_GE(views.renders, 1); // hidden before the announcement

    model.StayMode = 1;
    actions.PopupExitClick();
    EXPECT_EQ(model.timMonitorPanelInterval, 1000);
    EXPECT_TRUE(model.windowVisible);
    EXPECT_EQ(views.tray.back(), "remove");
    EXPECT_EQ(model.StayMode, 0);
    EXPECT_EQ(Work("Stay"), "0");
}

TEST_F(ActionsTest, TrayMenuOpensOnlyWhileHidden) {
    model.windowVisible = true;
    actions.TrayMenuRequest();
    EXPECT_EQ(views.trayMenus, 0);
    model.windowVisible = false;
    actions.TrayMenuRequest();
    EXPECT_EQ(views.trayMenus, 1);
}

TEST_F(ActionsTest, ShowRequestBringsTheWindowBackFromTheTrayOnly) {
    // During start-up: nothing, the start-up shows the window itself.
    EXPECT_FALSE(actions.ShowRequest());
    EXPECT_FALSE(model.windowVisible);
    EXPECT_TRUE(views.tray.empty());

    model.FormReady = true;
    model.windowVisible = true;
    EXPECT_TRUE(actions.ShowRequest());
    EXPECT_TRUE(views.tray.empty());
    EXPECT_EQ(Work("Stay"), "");

    actions.StayClick();
    model.StayMode = 1;
    EXPECT_TRUE(actions.ShowRequest());
    EXPECT_TRUE(model.windowVisible);
    EXPECT_EQ(views.tray.back(), "remove");
    EXPECT_EQ(model.timMonitorPanelInterval, 1000);
    EXPECT_EQ(model.StayMode, 0);
    EXPECT_EQ(Work("Stay"), "0");
}

TEST_F(ActionsTest, FileMenuListsLogsInOrderAndKeepsSurplusItems) {
    for (const char* name : {"20261205.txt", "20261203.txt", "20261207.txt", "summary-2026.txt"}) {
        test::WriteFileBytes(state.DataFolder / name, "x\r\n");
    }
    model.lblTargetName = "20261205.txt";
    actions.FileClick();
    EXPECT_EQ(views.fileMenus, 1);
    ASSERT_EQ(model.mnuFileSub.size(), 3U);
    EXPECT_EQ(model.mnuFileSub[0].caption, "20261203.txt");
    EXPECT_EQ(model.mnuFileSub[1].caption, "20261205.txt");
    EXPECT_EQ(model.mnuFileSub[2].caption, "20261207.txt");
    EXPECT_FALSE(model.mnuFileSub[0].checked);
    EXPECT_TRUE(model.mnuFileSub[1].checked);

    actions.FileMenuChoose(2);
    EXPECT_EQ(model.lblTargetName, "20261207.txt");
    EXPECT_EQ(views.refreshes, 1);
    EXPECT_FALSE(model.mnuFileSub[1].checked);
    EXPECT_TRUE(model.mnuFileSub[2].checked);

    std::filesystem::remove(state.DataFolder / "20261203.txt");
    actions.FillFileMenu();
    ASSERT_EQ(model.mnuFileSub.size(), 3U);
    EXPECT_EQ(model.mnuFileSub[0].caption, "20261205.txt");
    EXPECT_EQ(model.mnuFileSub[1].caption, "20261207.txt");
    EXPECT_TRUE(model.mnuFileSub[1].checked);
    EXPECT_EQ(model.mnuFileSub[2].caption, "20261207.txt"); // left from before

    actions.FileMenuChoose(7);
    EXPECT_EQ(views.refreshes, 1);
}

TEST_F(ActionsTest, EmptyCatalogueLeavesTheFirstItem) {
    actions.FileClick();
    ASSERT_EQ(model.mnuFileSub.size(), 1U);
    EXPECT_EQ(model.mnuFileSub[0].caption, "");
}

TEST_F(ActionsTest, PenEditsTheGraphedLogThenRedraws) {
    model.lblTargetName = "20261130.txt";
    views.onRefresh = [this] {
        EXPECT_EQ(views.edited.size(), 1U);
    };
    actions.PenClick();
    EXPECT_EQ(views.edited, std::vector<std::filesystem::path>{state.DataFolder / "20261130.txt"});
    EXPECT_EQ(views.refreshes, 1);
}

TEST_F(ActionsTest, PenWithoutCaptionEditsTodaysLog) {
    actions.PenClick();
    EXPECT_EQ(model.lblTargetName, "20261207.txt");
    EXPECT_EQ(state.TodayFileName, "20261207.txt");
    EXPECT_EQ(views.edited, std::vector<std::filesystem::path>{state.DataFolder / "20261207.txt"});
}

TEST_F(ActionsTest, StopDisablesTheTickAndHidesItself) {
    model.picStopVisible = true;
    actions.StopClick();
    EXPECT_FALSE(model.timMonitorPanelEnabled);
    EXPECT_FALSE(model.picStopVisible);
}

TEST_F(ActionsTest, HoverOverTheGraphsWritesTheReadout) {
    model.picClose = Face::CloseOn;
    actions.MonitorMove(1500, 900, 0);
    EXPECT_EQ(model.lblSys, "timeline@1500.000000");
    EXPECT_EQ(model.picClose, Face::CloseOff);
    actions.PercentRateMove(600);
    EXPECT_EQ(model.lblSys, "rate@600.000000");
    EXPECT_EQ(views.drags, 0);
    EXPECT_EQ(views.refreshes, 0);
}

TEST_F(ActionsTest, GraphTopBandDragsOnlyWithTheLeftButton) {
    actions.MonitorMove(100, 719, kRightButton);
    EXPECT_EQ(views.drags, 0);
    actions.MonitorMove(100, 720, kLeftButton);
    EXPECT_EQ(views.drags, 0);
    actions.MonitorMove(100, 719, kLeftButton);
    EXPECT_EQ(views.drags, 1);
}

TEST_F(ActionsTest, CloseButtonFacesAndAnyButtonCloses) {
    actions.CloseMove();
    EXPECT_EQ(model.picClose, Face::CloseOn);
    actions.DragZoneMove(DragZone::picTitle, 0, 0);
    EXPECT_EQ(model.picClose, Face::CloseOn);
    actions.ClosePress(kMiddleButton);
    actions.ClosePress(kRightButton);
    EXPECT_EQ(views.closes, 2);
}

struct ZoneCase {
    DragZone zone;
    double y;
    int buttons;
    bool visible;
    int drags;
};

class DragZoneTable : public ActionsTest, public ::testing::WithParamInterface<ZoneCase> {};

TEST_P(DragZoneTable, MovesTheWindowWithTheLeftButton) {
    const ZoneCase& c = GetParam();
    model.windowVisible = c.visible;
    actions.DragZoneMove(c.zone, c.y, c.buttons);
    EXPECT_EQ(views.drags, c.drags);
}

INSTANTIATE_TEST_SUITE_P(Zones, DragZoneTable,
                         ::testing::Values(ZoneCase{DragZone::picTitle, 3000, kLeftButton, true, 1},
                                           ZoneCase{DragZone::picTitle, 0, kRightButton, true, 0},
                                           ZoneCase{DragZone::picStatus, 0,
                                                    kLeftButton | kRightButton, true, 1},
                                           ZoneCase{DragZone::Label2, 0, kLeftButton, true, 1},
                                           ZoneCase{DragZone::picBattery, 0, kLeftButton, true, 1},
                                           ZoneCase{DragZone::Background, 0, kLeftButton, true, 1},
                                           ZoneCase{DragZone::Background, 0, kLeftButton, false, 0},
                                           ZoneCase{DragZone::picPanel, 959, kLeftButton, true, 1},
                                           ZoneCase{DragZone::picPanel, 960, kLeftButton, true, 0},
                                           ZoneCase{DragZone::picPanel, 10, 0, true, 0}));

TEST(ElapsedMilliseconds, WrapsAroundTheCounter) {
    EXPECT_EQ(ElapsedMilliseconds(100, 147), 47U);
    EXPECT_EQ(ElapsedMilliseconds(0x7FFFFFFFU, 0x80000010U), 17U);
    EXPECT_EQ(ElapsedMilliseconds(0xFFFFFFFFU, 4), 5U);
}

} // namespace
} // namespace amperlog

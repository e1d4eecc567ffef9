#include "fake_services.h"
#include "mainwindow/input_mapping.h"
#include "program/program.h"
#include "recording_views.h"
#include "temp_folder.h"
#include "window/main_window_layout.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace amperlog {
namespace {

TEST(InputMapping, QtButtonsModifiersAndKeysBecomeTheHandlersCodes) {
    const struct {
        Qt::MouseButton button;
        int code;
    } buttons[] = {{Qt::LeftButton, kLeftButton},
                   {Qt::RightButton, kRightButton},
                   {Qt::MiddleButton, kMiddleButton},
                   {Qt::BackButton, 0},
                   {Qt::NoButton, 0}};
    for (const auto& c : buttons) {
        EXPECT_EQ(ButtonCode(c.button), c.code) << c.button;
    }

    const struct {
        Qt::MouseButtons held;
        int mask;
    } masks[] = {{Qt::NoButton, 0},
                 {Qt::LeftButton | Qt::RightButton, kLeftButton | kRightButton},
                 {Qt::MiddleButton | Qt::LeftButton, kMiddleButton | kLeftButton},
                 {Qt::LeftButton | Qt::ForwardButton, kLeftButton}};
    for (const auto& c : masks) {
        EXPECT_EQ(ButtonMask(c.held), c.mask) << c.held.toInt();
    }

    const struct {
        Qt::KeyboardModifiers modifiers;
        int mask;
    } shifts[] = {{Qt::ShiftModifier, kShiftMask},
                  {Qt::ControlModifier, kCtrlMask},
                  {Qt::AltModifier, kAltMask},
                  {Qt::ShiftModifier | Qt::AltModifier, kShiftMask | kAltMask},
                  {Qt::MetaModifier, 0},
                  {Qt::KeypadModifier | Qt::ControlModifier, kCtrlMask}};
    for (const auto& c : shifts) {
        EXPECT_EQ(ShiftMask(c.modifiers), c.mask) << c.modifiers.toInt();
    }

    const struct {
        int key;
        int code;
    } keys[] = {{Qt::Key_Escape, kKeyEscape},
                {Qt::Key_F2, kKeyF2},
                {Qt::Key_F4, kKeyF4},
                {Qt::Key_F, kKeyF},
                {Qt::Key_S, kKeyS},
                {Qt::Key_F3, 0},
                {Qt::Key_A, 0},
                {Qt::Key_Enter, 0}};
    for (const auto& c : keys) {
        EXPECT_EQ(KeyCode(c.key), c.code) << c.key;
    }
}

// A misspelt name in the table would leave its control deaf without any error.
TEST(InputMapping, EveryHandledControlIsAPlacedControlListedOnce) {
    std::set<std::string_view> seen;
    for (const ControlHandlers& handlers : AllControlHandlers()) {
        EXPECT_NE(FindControlPlace(handlers.name), nullptr) << handlers.name;
        EXPECT_TRUE(seen.insert(handlers.name).second) << handlers.name;
        EXPECT_TRUE(handlers.press != nullptr || handlers.click != nullptr ||
                    handlers.move != nullptr)
            << handlers.name;
        EXPECT_EQ(FindControlHandlers(handlers.name), &handlers);
    }
    for (const char* name : {"imgConsent", "picIcon", "lblRate", "picRt", ""}) {
        EXPECT_EQ(FindControlHandlers(name), nullptr) << name;
    }
}

// Each kind of row reaches the handler its control is meant for.
TEST(InputMapping, RowsReachTheirHandlers) {
    test::TempFolder folder;
    test::FakeServices fakes(folder.Path(), *CivilTime::FromParts(2026, 12, 7, 12, 0, 0));
    test::RecordingViews views;
    Program program(fakes.services, folder.Path(), "amperlog");
    program.AttachViews(&views);
    program.State().LayoutUnit = 15;
    program.Model().windowVisible = true;
    MainWindowActions& actions = program.Actions();

    FindControlHandlers("picClose")->press(actions, kRightButton);
    EXPECT_EQ(views.closes, 1);
    FindControlHandlers("imgSEP")->press(actions, kLeftButton);
    EXPECT_EQ(program.Model().lblSEP, "10");
    FindControlHandlers("imgFile")->click(actions);
    EXPECT_EQ(views.fileMenus, 1);
    FindControlHandlers("picMonitor")->click(actions);
    EXPECT_EQ(program.Settings().ReadWorkSetting("GraphMode"), "1");
    FindControlHandlers("picPercentRate")->move(actions, 300, 0, 0);
    EXPECT_EQ(program.Model().lblSys, "rate@300.000000");
    FindControlHandlers("picMonitor")->move(actions, 450, 0, 0);
    EXPECT_EQ(program.Model().lblSys, "timeline@450.000000");
    FindControlHandlers("lblTargetName")->move(actions, 0, 0, kLeftButton);
    EXPECT_EQ(views.drags, 1);
}

} // namespace
} // namespace amperlog

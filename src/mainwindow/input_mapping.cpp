#include "mainwindow/input_mapping.h"

#include "window/main_window_actions.h"

#include <algorithm>
#include <array>

namespace amperlog {
namespace {

template <DragZone Zone>
void MoveIn(MainWindowActions& actions, double /*x*/, double y, int buttons) {
    actions.DragZoneMove(Zone, y, buttons);
}

const std::array kHandlers{
    ControlHandlers{
        .name = "imgSEP",
        .press = [](MainWindowActions& a, int button) { a.SepPress(button); },
    },
    ControlHandlers{
        .name = "imgTools",
        .press = [](MainWindowActions& a, int button) { a.ToolsPress(button); },
    },
    ControlHandlers{
        .name = "picClose",
        .press = [](MainWindowActions& a, int button) { a.ClosePress(button); },
        .move = [](MainWindowActions& a, double, double, int) { a.CloseMove(); },
    },
    ControlHandlers{
        .name = "picMonitor",
        .click = [](MainWindowActions& a) { a.MonitorRelease(kLeftButton); },
        .move = [](MainWindowActions& a, double x, double y,
                   int buttons) { a.MonitorMove(x, y, buttons); },
    },
    ControlHandlers{
        .name = "picPercentRate",
        .move = [](MainWindowActions& a, double x, double, int) { a.PercentRateMove(x); },
    },
    ControlHandlers{.name = "imgScale",
                    .click =
                        [](MainWindowActions& a) {
                            a.ScaleClick();
                        }},
    ControlHandlers{.name = "imgRemain",
                    .click =
                        [](MainWindowActions& a) {
                            a.RemainClick();
                        }},
    ControlHandlers{.name = "imgGraph",
                    .click =
                        [](MainWindowActions& a) {
                            a.GraphClick();
                        }},
    ControlHandlers{.name = "imgVoice",
                    .click =
                        [](MainWindowActions& a) {
                            a.VoiceClick();
                        }},
    ControlHandlers{.name = "imgStay",
                    .click =
                        [](MainWindowActions& a) {
                            a.StayClick();
                        }},
    ControlHandlers{.name = "imgFile",
                    .click =
                        [](MainWindowActions& a) {
                            a.FileClick();
                        }},
    ControlHandlers{.name = "imgPen",
                    .click =
                        [](MainWindowActions& a) {
                            a.PenClick();
                        }},
    ControlHandlers{.name = "picStop",
                    .click =
                        [](MainWindowActions& a) {
                            a.StopClick();
                        }},
    ControlHandlers{.name = "picTitle", .move = MoveIn<DragZone::picTitle>},
    // The file name is part of the title strip: pressing on it moves the window too.
    ControlHandlers{.name = "lblTargetName", .move = MoveIn<DragZone::picTitle>},
    ControlHandlers{.name = "picStatus", .move = MoveIn<DragZone::picStatus>},
    ControlHandlers{.name = "Label2", .move = MoveIn<DragZone::Label2>},
    ControlHandlers{.name = "picBattery", .move = MoveIn<DragZone::picBattery>},
    ControlHandlers{.name = "picPanel", .move = MoveIn<DragZone::picPanel>},
};

} // namespace

int ButtonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return kLeftButton;
    case Qt::RightButton:
        return kRightButton;
    case Qt::MiddleButton:
        return kMiddleButton;
    default:
        return 0;
    }
}

int ButtonMask(Qt::MouseButtons buttons) {
    int mask = 0;
    mask |= buttons.testFlag(Qt::LeftButton) ? kLeftButton : 0;
    mask |= buttons.testFlag(Qt::RightButton) ? kRightButton : 0;
    mask |= buttons.testFlag(Qt::MiddleButton) ? kMiddleButton : 0;
    return mask;
}

int ShiftMask(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    mask |= modifiers.testFlag(Qt::ShiftModifier) ? kShiftMask : 0;
    mask |= modifiers.testFlag(Qt::ControlModifier) ? kCtrlMask : 0;
    mask |= modifiers.testFlag(Qt::AltModifier) ? kAltMask : 0;
    return mask;
}

int KeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Escape:
        return kKeyEscape;
    case Qt::Key_F2:
        return kKeyF2;
    case Qt::Key_F4:
        return kKeyF4;
    case Qt::Key_F:
        return kKeyF;
    case Qt::Key_S:
        return kKeyS;
    default:
        return 0;
    }
}

bool IsHealthKey(int qtKey, int shiftMask) {
    return qtKey == Qt::Key_H && shiftMask == kCtrlMask;
}

std::span<const ControlHandlers> AllControlHandlers() {
    return kHandlers;
}

const ControlHandlers* FindControlHandlers(std::string_view name) {
    const auto it = std::find_if(kHandlers.begin(), kHandlers.end(),
                                 [name](const ControlHandlers& h) { return h.name == name; });
    return it != kHandlers.end() ? &*it : nullptr;
}

} // namespace amperlog

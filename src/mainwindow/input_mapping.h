#pragma once

#include <Qt>
#include <span>
#include <string_view>

namespace amperlog {

class MainWindowActions;

// Qt's buttons, modifiers and keys as the handlers take them (kLeftButton, kShiftMask,
// kKeyEscape...); 0 for what the handlers do not know.
int ButtonCode(Qt::MouseButton button);
int ButtonMask(Qt::MouseButtons buttons);
int ShiftMask(Qt::KeyboardModifiers modifiers);
int KeyCode(int qtKey);
// Ctrl+H alone, a key the main window's own keys leave free: the battery report.
bool IsHealthKey(int qtKey, int shiftMask);

// What a control's mouse events do; an empty slot lets the event pass. press: a button press
// or double click, with its button; click: a left button released over the control it was
// pressed on; move: the pointer moving (x, y twips within the control, buttons held).
struct ControlHandlers {
    std::string_view name;
    void (*press)(MainWindowActions& actions, int button) = nullptr;
    void (*click)(MainWindowActions& actions) = nullptr;
    void (*move)(MainWindowActions& actions, double x, double y, int buttons) = nullptr;
};

// Every control with handlers; nullptr for a control without.
std::span<const ControlHandlers> AllControlHandlers();
const ControlHandlers* FindControlHandlers(std::string_view name);

} // namespace amperlog

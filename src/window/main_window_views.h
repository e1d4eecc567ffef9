#pragma once

#include "window/monitor_views.h"

#include <filesystem>
#include <string>

namespace amperlog {

// What the main window's handlers ask of the window beyond the monitor's needs: the graph
// drawings and read-outs, the modal editor, the notification icon, pop-up menus, closing and
// moving. The Qt window implements it; the logic's tests record the calls.
class MainWindowViews : public MonitorViews {
public:
    // Clear picMonitor and draw the bar graph (mode 0) or the timeline graph (mode 1).
    virtual void DrawBarGraph() = 0;
    virtual void DrawTimelineGraph() = 0;
    // The hover texts for a pointer at x twips across picMonitor and picPercentRate.
    virtual std::string TimelineReadout(double x) = 0;
    virtual std::string RateReadout(double x) = 0;

    // Shows the file in the data edit window; returns when the user has closed it.
    virtual void OpenInEditor(const std::filesystem::path& path) = 0;
    // The notification-area icon with the tip text, false when the desktop has no notification
    // area to show it in; and its removal (harmless without one).
    virtual bool AddTrayIcon(const std::string& tip) = 0;
    virtual void RemoveTrayIcon() = 0;

    // Moves and sizes the controls to the model's geometry (and its LayoutUnit), so that what
    // is drawn next is drawn at their new size.
    virtual void PlaceControls() = 0;
    // Brings the model's state on screen now, before a call that takes a while.
    virtual void Render() = 0;
    // Pops up mnuFile (the log list) or mnuPopup (the icon's menu) at the pointer.
    virtual void PopupFileMenu() = 0;
    virtual void PopupTrayMenu() = 0;
    // Closes (unloads) the main window: the shutdown runs.
    virtual void CloseWindow() = 0;
    // An interactive move of the window driven by the pointer while the left button is held.
    virtual void StartWindowDrag() = 0;
};

} // namespace amperlog

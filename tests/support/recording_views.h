#pragma once

#include "window/main_window_views.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace amperlog::test {

// Records what the monitor and the main window's handlers ask of the window. Counts rather
// than lists where a long run calls again and again, so that memory stays flat. A rig that
// must also draw derives from it and calls these first.
class RecordingViews : public MainWindowViews {
public:
    void DispPanel() override;
    void RefreshChangeRate() override;
    void RefreshGraphs() override;
    void SpeakText(const std::string& text) override;
    void DrawBarGraph() override;
    void DrawTimelineGraph() override;
    // "timeline@<x>", "rate@<x>".
    std::string TimelineReadout(double x) override;
    std::string RateReadout(double x) override;
    void OpenInEditor(const std::filesystem::path& path) override;
    // Recorded; succeeds while trayHost is set.
    bool AddTrayIcon(const std::string& tip) override;
    void RemoveTrayIcon() override;
    void PlaceControls() override;
    void Render() override;
    void PopupFileMenu() override;
    void PopupTrayMenu() override;
    void CloseWindow() override;
    void StartWindowDrag() override;

    int panels = 0;
    int rateRefreshes = 0;
    int refreshes = 0;
    int barGraphs = 0;
    int timelineGraphs = 0;
    int placements = 0;
    int renders = 0;
    int fileMenus = 0;
    int trayMenus = 0;
    int closes = 0;
    int drags = 0;
    // Each text spoken, with how often.
    std::map<std::string, int> spoken;
    std::vector<std::filesystem::path> edited;
    // "add <tip>", "remove".
    std::vector<std::string> tray;
    bool trayHost = true;
    // Run inside RefreshGraphs and DrawBarGraph, when set.
    std::function<void()> onRefresh;
    std::function<void()> whileDrawing;
};

} // namespace amperlog::test

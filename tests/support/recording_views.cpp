#include "recording_views.h"

namespace amperlog::test {

void RecordingViews::DispPanel() {
    ++panels;
}

void RecordingViews::RefreshChangeRate() {
    ++rateRefreshes;
}

void RecordingViews::RefreshGraphs() {
    ++refreshes;
    if (onRefresh) {
        onRefresh();
    }
}

void RecordingViews::SpeakText(const std::string& text) {
    ++spoken[text];
}

void RecordingViews::DrawBarGraph() {
    ++barGraphs;
    if (whileDrawing) {
        whileDrawing();
    }
}

void RecordingViews::DrawTimelineGraph() {
    ++timelineGraphs;
}

std::string RecordingViews::TimelineReadout(double x) {
    return "timeline@" + std::to_string(x);
}

std::string RecordingViews::RateReadout(double x) {
    return "rate@" + std::to_string(x);
}

void RecordingViews::OpenInEditor(const std::filesystem::path& path) {
    edited.push_back(path);
}

bool RecordingViews::AddTrayIcon(const std::string& tip) {
    tray.push_back("add " + tip);
    return trayHost;
}

void RecordingViews::RemoveTrayIcon() {
    tray.emplace_back("remove");
}

void RecordingViews::PlaceControls() {
    ++placements;
}

void RecordingViews::Render() {
    ++renders;
}

void RecordingViews::PopupFileMenu() {
    ++fileMenus;
}

void RecordingViews::PopupTrayMenu() {
    ++trayMenus;
}

void RecordingViews::CloseWindow() {
    ++closes;
}

void RecordingViews::StartWindowDrag() {
    ++drags;
}

} // namespace amperlog::test

#pragma once

#include "window/main_window_views.h"

namespace amperlog {

// The views the logic is built with. The window that implements them is made after the logic
// it shows, so the logic talks to this stand-in, which passes each call on to the views
// attached and does nothing (reads out nothing) while none are.
class ForwardingViews final : public MainWindowViews {
public:
    void Attach(MainWindowViews* target) { m_target = target; }
    MainWindowViews* Target() const { return m_target; }

    void DispPanel() override;
    void RefreshChangeRate() override;
    void RefreshGraphs() override;
    void SpeakText(const std::string& text) override;
    void DrawBarGraph() override;
    void DrawTimelineGraph() override;
    std::string TimelineReadout(double x) override;
    std::string RateReadout(double x) override;
    void OpenInEditor(const std::filesystem::path& path) override;
    bool AddTrayIcon(const std::string& tip) override;
    void RemoveTrayIcon() override;
    void PlaceControls() override;
    void Render() override;
    void PopupFileMenu() override;
    void PopupTrayMenu() override;
    void CloseWindow() override;
    void StartWindowDrag() override;

private:
    MainWindowViews* m_target = nullptr;
};

} // namespace amperlog

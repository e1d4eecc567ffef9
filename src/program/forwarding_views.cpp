#include "program/forwarding_views.h"

namespace amperlog {

void ForwardingViews::DispPanel() {
    if (m_target != nullptr) {
        m_target->DispPanel();
    }
}

void ForwardingViews::RefreshChangeRate() {
    if (m_target != nullptr) {
        m_target->RefreshChangeRate();
    }
}

void ForwardingViews::RefreshGraphs() {
    if (m_target != nullptr) {
        m_target->RefreshGraphs();
    }
}

void ForwardingViews::SpeakText(const std::string& text) {
    if (m_target != nullptr) {
        m_target->SpeakText(text);
    }
}

void ForwardingViews::DrawBarGraph() {
    if (m_target != nullptr) {
        m_target->DrawBarGraph();
    }
}

void ForwardingViews::DrawTimelineGraph() {
    if (m_target != nullptr) {
        m_target->DrawTimelineGraph();
    }
}

std::string ForwardingViews::TimelineReadout(double x) {
    return m_target != nullptr ? m_target->TimelineReadout(x) : std::string();
}

std::string ForwardingViews::RateReadout(double x) {
    return m_target != nullptr ? m_target->RateReadout(x) : std::string();
}

void ForwardingViews::OpenInEditor(const std::filesystem::path& path) {
    if (m_target != nullptr) {
        m_target->OpenInEditor(path);
    }
}

bool ForwardingViews::AddTrayIcon(const std::string& tip) {
    return m_target != nullptr && m_target->AddTrayIcon(tip);
}

void ForwardingViews::RemoveTrayIcon() {
    if (m_target != nullptr) {
        m_target->RemoveTrayIcon();
    }
}

void ForwardingViews::PlaceControls() {
    if (m_target != nullptr) {
        m_target->PlaceControls();
    }
}

void ForwardingViews::Render() {
    if (m_target != nullptr) {
        m_target->Render();
    }
}

void ForwardingViews::PopupFileMenu() {
    if (m_target != nullptr) {
        m_target->PopupFileMenu();
    }
}

void ForwardingViews::PopupTrayMenu() {
    if (m_target != nullptr) {
        m_target->PopupTrayMenu();
    }
}

void ForwardingViews::CloseWindow() {
    if (m_target != nullptr) {
        m_target->CloseWindow();
    }
}

void ForwardingViews::StartWindowDrag() {
    if (m_target != nullptr) {
        m_target->StartWindowDrag();
    }
}

} // namespace amperlog

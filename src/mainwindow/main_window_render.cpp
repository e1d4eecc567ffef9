#include "mainwindow/main_window.h"
#include "mainwindow/widget_look.h"
#include "platform/qt/qt_picture_surface.h"
#include "window/main_window_layout.h"

#include <QLabel>
#include <algorithm>
#include <cmath>

namespace amperlog {
namespace {

struct CaptionControl {
    const char* name;
    const std::string MainWindowModel::*text;
};

constexpr CaptionControl kCaptionControls[] = {
    {"lblTargetName", &MainWindowModel::lblTargetName},
    {"lblBattPercent", &MainWindowModel::lblBattPercent},
    {"lblRemain", &MainWindowModel::lblRemain},
    {"lblRate", &MainWindowModel::lblRate},
    {"lblLineCount", &MainWindowModel::lblLineCount},
    {"lblCount", &MainWindowModel::lblCount},
    {"lblSys", &MainWindowModel::lblSys},
    {"lblSEP", &MainWindowModel::lblSEP},
    {"lblTools", &MainWindowModel::lblTools},
    {"Label2", &MainWindowModel::Label2},
    {"Label3", &MainWindowModel::Label3},
};

struct FaceControl {
    const char* name;
    Face MainWindowModel::*face;
};

constexpr FaceControl kFaceControls[] = {
    {"imgConsent", &MainWindowModel::imgConsent},
    {"imgVoice", &MainWindowModel::imgVoice},
    {"imgScale", &MainWindowModel::imgScale},
    {"picClose", &MainWindowModel::picClose},
};

// The panels in the window's background colour; picIcon has a colour of its own.
constexpr const char* kBackgroundPanels[] = {"picTitle", "picPanel",  "picRt", "picDebug",
                                             "lblCount", "picStatus", "picAC", "picStop"};

} // namespace

void MainWindow::BindModel() {
    for (const CaptionControl& control : kCaptionControls) {
        m_captions.push_back(
            {static_cast<QLabel*>(m_controls.at(control.name)), control.text, std::nullopt});
    }
    for (const FaceControl& control : kFaceControls) {
        m_faceButtons.push_back(
            {static_cast<QLabel*>(m_controls.at(control.name)), control.face, std::nullopt});
    }
    for (const char* name : kBackgroundPanels) {
        m_backgroundPanels.push_back(m_controls.at(name));
    }
}

void MainWindow::Render() {
    // Render runs after every tick, which changes a caption or two: a widget is only asked
    // for its text, palette or picture when the model's value differs from the one last given.
    bool newLogName = false;
    for (CaptionBinding& caption : m_captions) {
        const std::string& text = m_model.*caption.text;
        if (caption.shown != text) {
            SetCaption(caption.label, text);
            caption.shown = text;
            newLogName = newLogName || caption.text == &MainWindowModel::lblTargetName;
        }
    }
    if (newLogName) {
        RenderGeometry(); // its box follows the text's width
    }
    if (m_shownBattPercentColor != m_model.lblBattPercentColor) {
        SetTextColor(m_controls.at("lblBattPercent"), m_model.lblBattPercentColor);
        m_shownBattPercentColor = m_model.lblBattPercentColor;
    }
    for (FaceBinding& button : m_faceButtons) {
        const Face face = m_model.*button.face;
        if (button.shown != face) {
            button.button->setPixmap(FacePixmap(face));
            button.shown = face;
        }
    }
    m_controls.at("imgPen")->setVisible(m_model.imgPenVisible);
    m_controls.at("picStop")->setVisible(m_model.picStopVisible);

    if (m_shownBackground != m_model.background) {
        SetBackground(this, m_model.background);
        for (QWidget* panel : m_backgroundPanels) {
            SetBackground(panel, m_model.background);
        }
        m_shownBackground = m_model.background;
    }
    if (m_shownIconBackground != m_model.picIconBackground) {
        SetBackground(m_controls.at("picIcon"), m_model.picIconBackground);
        m_shownIconBackground = m_model.picIconBackground;
    }

    RenderTimers();
    if (isVisible() != m_model.windowVisible) {
        setVisible(m_model.windowVisible);
    }
}

void MainWindow::RenderTimers() {
    if (m_timMonitorPanel->interval() != m_model.timMonitorPanelInterval) {
        m_timMonitorPanel->setInterval(m_model.timMonitorPanelInterval);
    }
    if (m_model.timMonitorPanelEnabled != m_timMonitorPanel->isActive()) {
        if (m_model.timMonitorPanelEnabled) {
            m_timMonitorPanel->start();
        } else {
            m_timMonitorPanel->stop();
        }
    }
    if (m_model.timDelayEnabled && !m_timDelay->isActive()) {
        m_timDelay->start();
    } else if (!m_model.timDelayEnabled && m_timDelay->isActive()) {
        m_timDelay->stop();
    }
}

void MainWindow::RenderGeometry() {
    const int unit = m_model.geometry.unit > 0 ? m_model.geometry.unit : 15;
    const auto pixels = [unit](double twips) {
        return static_cast<int>(std::lround(twips / unit));
    };
    for (const ControlPlace& place : kControlPlaces) {
        const auto it = m_controls.find(place.name);
        if (it == m_controls.end()) {
            continue;
        }
        const TwipRect& rect = m_model.geometry.*place.rect;
        QRect target(pixels(rect.left), pixels(rect.top), pixels(rect.width), pixels(rect.height));
        // The title's design box is narrower than "Battery Monitor" at 12 points, and the log's
        // name is wider than its box where the font falls back to a wider one (Windows without
        // the Japanese fonts); both grow to the right rather than cut their text.
        if (place.name == "Label2" || place.name == "lblTargetName") {
            target.setWidth(std::max(target.width(), it->second->sizeHint().width()));
        }
        if (it->second->geometry() != target) {
            it->second->setGeometry(target);
        }
    }
    for (QtPictureSurface* surface : {m_picMonitor, m_picPercentRate, m_picBattery}) {
        surface->SetTwipsPerPixel(unit);
    }
}

} // namespace amperlog

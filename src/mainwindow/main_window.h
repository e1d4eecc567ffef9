#pragma once

#include "mainwindow/window_drag.h"
#include "monitor/monitor.h"
#include "notify/speak_text.h"
#include "window/graph_refresh.h"
#include "window/main_window_actions.h"
#include "window/main_window_views.h"
#include "window/window_model.h"

#include <QEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QMenu;

namespace amperlog {

class Program;
class QtPictureSurface;
class SettingsStore;
class TrayIcon;
struct Services;

// The frameless main window, frmMain: builds the control tree with the controls' names as
// object names, renders the window model and forwards its events to the program's logic
// (MainWindowActions, Monitor), whose views it is while it lives.
//
// Its jobs by file: main_window.cpp construction, start-up, shutdown, placement and the views;
// main_window_controls.cpp the controls and their art; main_window_render.cpp the model on
// screen; main_window_input.cpp the events through input_mapping.h; window_drag.h the moves.
class MainWindow final : public QWidget, public MainWindowViews, public SpeechHost {
    Q_OBJECT
public:
    using EditorOpener = std::function<void(const std::filesystem::path&)>;
    using HealthOpener = std::function<void()>;

    explicit MainWindow(Program& program);
    ~MainWindow() override;

    // The load: placement, the monitor's start-up, show, the first refresh 100 ms later.
    void Startup();
    // The unload: the notification icon goes, the placement is saved. Runs once.
    void Shutdown();

    // One monitor tick, as timMonitorPanel runs it, and the panel brought on screen.
    void MonitorTick();

    // Wiring of the services that other windows provide.
    void SetEditorOpener(EditorOpener opener) { m_editorOpener = std::move(opener); }
    void SetTrayIcon(TrayIcon* tray) { m_tray = tray; }
    // Opens the battery report: Ctrl+H and the pop-up menu's entry.
    void SetHealthOpener(HealthOpener opener) { m_healthOpener = std::move(opener); }
    // A mouse message of the notification icon (513 left, 516 right button down, others).
    void TrayMessage(int message);

    MainWindowActions& Actions() { return m_actions; }
    const GraphState& Graphs() const { return m_graphs; }

    // MonitorViews
    void DispPanel() override;
    void RefreshChangeRate() override;
    void RefreshGraphs() override;
    void SpeakText(const std::string& text) override;
    // MainWindowViews
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
    // SpeechHost
    void ProcessPendingEvents() override;
    void SetCloseCommand(bool restore) override;

signals:
    // The window has been closed and its shutdown has run.
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildImageStore();
    void BuildMenus();
    QWidget* Container(std::string_view name);
    QWidget* Panel(const char* name, QWidget* parent);
    // A label set up as the window's labels are; a new QLabel unless one is given.
    QLabel* Label(const char* name, QWidget* parent, double points, QLabel* label = nullptr);
    // A picture button; ownArt: its picture is the icon of its own name, else a face.
    QLabel* ImageButton(const char* name, QWidget* parent, const QString& tip, bool ownArt = true);
    QPixmap FacePixmap(Face face) const;
    GraphContext Context();

    void ApplyPlacement();
    void RenderGeometry();
    void RenderTimers();
    // Binds each caption and face of the model to its control, once the controls exist.
    void BindModel();
    bool HandleMouse(QObject* watched, QMouseEvent* event, QEvent::Type type);
    double ToTwips(double pixels) const;
    // The screen's twips per pixel, 15 when it cannot tell.
    int ScreenUnit() const;

    Program& m_program;
    MonitorState& m_state;
    MainWindowModel& m_model;
    SettingsStore& m_settings;
    Services& m_services;
    Monitor& m_monitor;
    MainWindowActions& m_actions;
    GraphState m_graphs;
    EditorOpener m_editorOpener;
    HealthOpener m_healthOpener;
    TrayIcon* m_tray = nullptr;

    QTimer* m_timMonitorPanel = nullptr;
    QTimer* m_timDelay = nullptr;
    QTimer* m_timAnalog = nullptr;
    QtPictureSurface* m_picMonitor = nullptr;
    QtPictureSurface* m_picPercentRate = nullptr;
    QtPictureSurface* m_picBattery = nullptr;
    QMenu* m_mnuFile = nullptr;
    QMenu* m_mnuPopup = nullptr;
    std::map<std::string, QWidget*, std::less<>> m_controls;
    std::map<Face, QPixmap> m_faces;
    // A model value and its control, with the value as Render last gave it to the control
    // (empty before the first): the control is only touched when the model's value differs.
    struct CaptionBinding {
        QLabel* label;
        const std::string MainWindowModel::*text;
        std::optional<std::string> shown;
    };
    struct FaceBinding {
        QLabel* button;
        Face MainWindowModel::*face;
        std::optional<Face> shown;
    };
    std::vector<CaptionBinding> m_captions;
    std::vector<FaceBinding> m_faceButtons;
    std::vector<QWidget*> m_backgroundPanels;
    std::optional<Rgb> m_shownBattPercentColor;
    std::optional<Rgb> m_shownBackground;
    std::optional<Rgb> m_shownIconBackground;

    bool m_unloaded = false;
    // While speaking (nested announcements counted), the window system's close requests are
    // refused.
    int m_speaking = 0;
    WindowDrag m_drag;
    QObject* m_pressed = nullptr;
};

} // namespace amperlog

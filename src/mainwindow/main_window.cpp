#include "mainwindow/main_window.h"

#include "helpers/numeric.h"
#include "mainwindow/widget_look.h"
#include "notify/tray_message.h"
#include "platform/qt/qt_picture_surface.h"
#include "platform/qt/qt_text.h"
#include "platform/services.h"
#include "platform/tray_icon.h"
#include "program/program.h"
#include "settings/placement.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "window/graph_refresh.h"
#include "window/status_panel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QResizeEvent>
#include <cmath>

namespace amperlog {

MainWindow::MainWindow(Program& program)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_program(program),
      m_state(program.State()), m_model(program.Model()), m_settings(program.Settings()),
      m_services(program.Platform()), m_monitor(program.Monitor()), m_actions(program.Actions()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QtText(TextId::WindowTitle));
    setWindowIcon(QIcon(RenderIcon("amperlog", QSize(64, 64), 1)));
    setFocusPolicy(Qt::StrongFocus);
    SetBackground(this, m_model.background);

    BuildImageStore();
    BuildControls();
    BuildMenus();
    BindModel();

    m_timMonitorPanel = new QTimer(Container("picPanel"));
    m_timMonitorPanel->setObjectName(QStringLiteral("timMonitorPanel"));
    connect(m_timMonitorPanel, &QTimer::timeout, this, &MainWindow::MonitorTick);
    m_timDelay = new QTimer(this);
    m_timDelay->setObjectName(QStringLiteral("timDelay"));
    m_timDelay->setSingleShot(true);
    m_timDelay->setInterval(kDelayInterval);
    connect(m_timDelay, &QTimer::timeout, this, [this] {
        m_actions.DelayTick();
        Render();
    });
    // No behaviour is attached to it; it exists, stopped, for the control tree's sake.
    m_timAnalog = new QTimer(this);
    m_timAnalog->setObjectName(QStringLiteral("timAnalog"));
    m_timAnalog->setInterval(1000);

    const int unit = ScreenUnit();
    m_state.LayoutUnit = static_cast<std::int16_t>(unit);
    m_model.geometry = DesignGeometry(unit);
    RenderGeometry();
    resize(static_cast<int>(RoundHalfEven(kDesignClientWidth / unit)),
           static_cast<int>(RoundHalfEven(kDesignClientHeight / unit)));
    Render();
    m_program.AttachViews(this);
}

MainWindow::~MainWindow() {
    m_program.AttachViews(nullptr);
}

int MainWindow::ScreenUnit() const {
    const int unit = m_services.screen->TwipsPerPixel();
    return unit > 0 ? unit : 15;
}

double MainWindow::ToTwips(double pixels) const {
    return pixels * m_state.LayoutUnit;
}

GraphContext MainWindow::Context() {
    return GraphContext{m_state,
                        m_model,
                        m_settings,
                        m_graphs,
                        *m_services.screen,
                        *m_picMonitor,
                        *m_picPercentRate,
                        m_services.clock->Now()};
}

void MainWindow::ApplyPlacement() {
    const int screenUnit = ScreenUnit();
    const QRect frame = frameGeometry();
    const WindowRect current{static_cast<double>(frame.x()) * screenUnit,
                             static_cast<double>(frame.y()) * screenUnit,
                             static_cast<double>(frame.width()) * screenUnit,
                             static_cast<double>(frame.height()) * screenUnit};
    const WindowRect placed =
        LoadPlacement(m_settings, kKeyMain, current, m_services.screen->WidthTwips(),
                      m_services.screen->HeightTwips());
    const int unit = m_settings.TwipsPerPixel() > 0 ? m_settings.TwipsPerPixel() : screenUnit;
    const auto pixels = [unit](double twips) {
        return static_cast<int>(std::lround(twips / unit));
    };
    setGeometry(pixels(placed.left), pixels(placed.top), pixels(placed.width),
                pixels(placed.height));
}

void MainWindow::Startup() {
    hide();
    m_model.windowVisible = false;
    ApplyPlacement();
    m_model.background = kWindowBackground;
    m_monitor.Startup();
    m_model.windowVisible = true;
    Render();
    m_model.timDelayEnabled = true;
    RenderTimers();
    m_model.FormReady = true;
}

void MainWindow::Shutdown() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    m_timMonitorPanel->stop();
    m_timDelay->stop();
    RemoveTrayIcon();
    const int unit = ScreenUnit();
    const QRect frame = frameGeometry();
    SavePlacement(m_settings, kKeyMain,
                  WindowRect{static_cast<double>(frame.x()) * unit,
                             static_cast<double>(frame.y()) * unit,
                             static_cast<double>(frame.width()) * unit,
                             static_cast<double>(frame.height()) * unit});
}

void MainWindow::MonitorTick() {
    m_monitor.Tick();
    Render();
}

void MainWindow::TrayMessage(int message) {
    const auto code = static_cast<std::int16_t>(message);
    if (DecideTrayAction(code) == TrayAction::ShowPopupMenu) {
        m_actions.TrayMenuRequest();
    }
}

// ---- what the logic asks of the window ----

void MainWindow::DispPanel() {
    amperlog::DispPanel(m_state, m_model, m_settings, *m_picBattery, m_services.clock->Now());
}

void MainWindow::RefreshChangeRate() {
    GraphContext ctx = Context();
    amperlog::RefreshChangeRate(ctx);
}

void MainWindow::RefreshGraphs() {
    m_actions.RefreshGraphs();
}

void MainWindow::DrawBarGraph() {
    GraphContext ctx = Context();
    amperlog::DrawBarGraph(ctx);
}

void MainWindow::DrawTimelineGraph() {
    GraphContext ctx = Context();
    amperlog::DrawTimelineGraph(ctx);
}

std::string MainWindow::TimelineReadout(double x) {
    return amperlog::TimelineReadout(Context(), x);
}

std::string MainWindow::RateReadout(double x) {
    return amperlog::RateReadout(Context(), x);
}

void MainWindow::SpeakText(const std::string& text) {
    if (m_services.speech) {
        amperlog::SpeakText(text, m_settings, *m_services.speech, *this);
    }
}

void MainWindow::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void MainWindow::SetCloseCommand(bool restore) {
    // Counted, so that an announcement started inside another one does not give the close
    // command back while the outer one is still speaking.
    if (!restore) {
        ++m_speaking;
    } else if (m_speaking > 0) {
        --m_speaking;
    }
}

void MainWindow::OpenInEditor(const std::filesystem::path& path) {
    if (m_editorOpener) {
        m_editorOpener(path);
    }
}

bool MainWindow::AddTrayIcon(const std::string& tip) {
    return m_tray != nullptr && m_tray->Add(tip);
}

void MainWindow::RemoveTrayIcon() {
    if (m_tray != nullptr) {
        m_tray->Remove();
    }
}

void MainWindow::PlaceControls() {
    RenderGeometry();
}

void MainWindow::PopupFileMenu() {
    m_mnuFile->clear();
    for (std::size_t i = 0; i < m_model.mnuFileSub.size(); ++i) {
        const MenuItem& item = m_model.mnuFileSub[i];
        QAction* action = m_mnuFile->addAction(QString::fromStdString(item.caption));
        action->setObjectName(QStringLiteral("mnuFileSub"));
        action->setProperty("index", static_cast<qulonglong>(i));
        action->setCheckable(true);
        action->setChecked(item.checked);
        action->setVisible(item.visible);
        connect(action, &QAction::triggered, this, [this, i] {
            m_actions.FileMenuChoose(i);
            Render();
        });
    }
    m_mnuFile->popup(QCursor::pos());
}

void MainWindow::PopupTrayMenu() {
    m_mnuPopup->popup(QCursor::pos());
}

void MainWindow::CloseWindow() {
    close();
}

void MainWindow::StartWindowDrag() {
    m_drag.Start(*this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // While speaking the window system's Close command is away; the window's own close
    // button and keys still close it.
    if (m_speaking > 0 && event->spontaneous()) {
        event->ignore();
        return;
    }
    Shutdown();
    m_model.windowVisible = false;
    event->accept();
    emit Unloaded();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_actions.Resize(event->size().width(), event->size().height());
    Render();
}

} // namespace amperlog

#include "mainwindow/main_window.h"

#include "graphs/bar_graph.h"
#include "graphs/change_rate_graph.h"
#include "graphs/timeline_graph.h"
#include "helpers/numeric.h"
#include "mainwindow/counter_label.h"
#include "notify/tray_message.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_picture_surface.h"
#include "platform/services.h"
#include "platform/tray_icon.h"
#include "settings/placement.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "window/status_panel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QSvgRenderer>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace amperlog {
namespace {

constexpr double kPanelPoints = 9;
constexpr double kLargePoints = 12;
// Read-outs of the counters panel; the title and status texts are quieter.
constexpr Rgb kReadoutText = kWhite;
constexpr Rgb kQuietText = kTitleText;

QColor ToQColor(Rgb color) {
    return {color.r, color.g, color.b};
}

void SetBackground(QWidget* widget, Rgb color) {
    QPalette palette = widget->palette();
    if (palette.color(QPalette::Window) == ToQColor(color) && widget->autoFillBackground()) {
        return;
    }
    palette.setColor(QPalette::Window, ToQColor(color));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetTextColor(QWidget* widget, Rgb color) {
    QPalette palette = widget->palette();
    if (palette.color(QPalette::WindowText) == ToQColor(color)) {
        return;
    }
    palette.setColor(QPalette::WindowText, ToQColor(color));
    widget->setPalette(palette);
}

void SetCaption(QLabel* label, const std::string& text) {
    const QString caption = QString::fromStdString(text);
    if (label->text() != caption) {
        label->setText(caption);
    }
}

int ButtonMask(Qt::MouseButtons buttons) {
    int mask = 0;
    mask |= buttons.testFlag(Qt::LeftButton) ? kLeftButton : 0;
    mask |= buttons.testFlag(Qt::RightButton) ? kRightButton : 0;
    mask |= buttons.testFlag(Qt::MiddleButton) ? kMiddleButton : 0;
    return mask;
}

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

int ShiftMask(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    mask |= modifiers.testFlag(Qt::ShiftModifier) ? kShiftMask : 0;
    mask |= modifiers.testFlag(Qt::ControlModifier) ? kCtrlMask : 0;
    mask |= modifiers.testFlag(Qt::AltModifier) ? kAltMask : 0;
    return mask;
}

// The key codes the logic knows; 0 for any other key.
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

struct FaceArt {
    Face face;
    const char* name;
};

// The image store: the faces that buttons copy, under the names of their image controls.
constexpr FaceArt kFaceArt[] = {
    {Face::VoiceOn, "imgVoiceON"}, {Face::VoiceOff, "imgVoiceOFF"},
    {Face::Big, "imgBig"},         {Face::Small, "imgSmall"},
    {Face::CloseOn, "imgCloseON"}, {Face::CloseOff, "imgCloseOFF"},
    {Face::Adapter, "imgAdapter"}, {Face::AdapterOff, "imgAdapterOFF"},
};

QString IconPath(const char* name) {
    return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
}

QPixmap RenderSvg(const QString& path, QSize size, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

MainWindow::MainWindow(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
                       Services& services, std::filesystem::path programFolder, std::string exeName)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_state(state), m_model(model),
      m_settings(settings), m_services(services), m_exeName(exeName),
      m_monitor(state, model, settings, *services.power, *services.clock, *this, programFolder),
      m_actions(state, model, settings, *services.clock, *services.counter, *services.screen, *this,
                programFolder, exeName) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Battery Monitor"));
    setWindowIcon(QIcon(RenderSvg(IconPath("amperlog"), QSize(64, 64), 1)));
    setFocusPolicy(Qt::StrongFocus);
    SetBackground(this, m_model.background);

    BuildImageStore();
    BuildControls();
    BuildMenus();

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
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::Container(std::string_view name) {
    if (name.empty()) {
        return this;
    }
    const auto it = m_controls.find(name);
    return it != m_controls.end() ? it->second : this;
}

QWidget* MainWindow::Panel(const char* name, QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QLatin1String(name));
    SetBackground(panel, m_model.background);
    panel->installEventFilter(this);
    m_controls.emplace(name, panel);
    return panel;
}

QLabel* MainWindow::Label(const char* name, QWidget* parent, double points, QLabel* label) {
    if (label == nullptr) {
        label = new QLabel(parent);
    }
    label->setObjectName(QLatin1String(name));
    label->setFont(UiFont(points));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColor(label, kReadoutText);
    label->installEventFilter(this);
    m_controls.emplace(name, label);
    return label;
}

QLabel* MainWindow::ImageButton(const char* name, QWidget* parent, const QString& tip,
                                bool ownArt) {
    auto* button = new QLabel(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (ownArt) {
        button->setPixmap(RenderSvg(IconPath(name), QSize(32, 32), devicePixelRatioF()));
    }
    button->setCursor(Qt::PointingHandCursor);
    button->installEventFilter(this);
    m_controls.emplace(name, button);
    return button;
}

void MainWindow::BuildImageStore() {
    auto* store = new QWidget(this);
    store->setObjectName(QStringLiteral("Picture1"));
    store->hide();
    m_controls.emplace("Picture1", store);
    const qreal ratio = devicePixelRatioF();
    // The close faces fill picClose, 924 x 348 twips: 62 x 23 pixels at 15 twips a pixel.
    const TwipRect& closeDesign = FindControlPlace("picClose")->design;
    const int unit = ScreenUnit();
    const QSize closeSize(static_cast<int>(SnapToPixels(closeDesign.width, unit) / unit),
                          static_cast<int>(SnapToPixels(closeDesign.height, unit) / unit));
    for (const FaceArt& art : kFaceArt) {
        const bool close = art.face == Face::CloseOn || art.face == Face::CloseOff;
        const QSize size = close ? closeSize : QSize(32, 32);
        const QPixmap pixmap = RenderSvg(IconPath(art.name), size, ratio);
        auto* image = new QLabel(store);
        image->setObjectName(QLatin1String(art.name));
        image->setPixmap(pixmap);
        m_faces.emplace(art.face, pixmap);
    }
}

void MainWindow::BuildControls() {
    Panel("picStatus", this);
    Panel("picRt", this);
    QWidget* picPanel = Panel("picPanel", this);
    QWidget* picAC = Panel("picAC", picPanel);
    ImageButton("imgConsent", picAC, QStringLiteral("電源アダプターの接続状態"), false)
        ->setCursor(Qt::ArrowCursor);
    m_picBattery = new QtPictureSurface(picAC);
    m_picBattery->setObjectName(QStringLiteral("picBattery"));
    m_picBattery->hide();
    m_picBattery->installEventFilter(this);
    m_controls.emplace("picBattery", m_picBattery);
    Label("lblBattPercent", picAC, kLargePoints);
    ImageButton("imgStay", picAC, QStringLiteral("通知領域に常駐する"));

    QWidget* picIcon = Panel("picIcon", picPanel);
    ImageButton("imgGraph", picIcon, QStringLiteral("グラフを切り替える (棒グラフ/タイムライン)"));
    ImageButton("imgRemain", picIcon, QStringLiteral("残時間の表示を切り替える"));
    ImageButton("imgVoice", picIcon, QStringLiteral("音声のオン/オフ"), false);
    ImageButton("imgScale", picIcon, QStringLiteral("時間軸を拡大/縮小する"), false);
    ImageButton("imgFile", picIcon, QStringLiteral("表示するログを選ぶ"));
    ImageButton("imgPen", picIcon, QStringLiteral("表示中のログを編集する"));
    SetTextColor(Label("Label3", picPanel, kPanelPoints), kQuietText);
    SetTextColor(Label("Label2", picPanel, kLargePoints), kTitleText);

    QWidget* picTitle = Panel("picTitle", this);
    SetTextColor(Label("lblTargetName", picTitle, kPanelPoints), kQuietText);

    m_picMonitor = new QtPictureSurface(this);
    m_picMonitor->setObjectName(QStringLiteral("picMonitor"));
    m_picPercentRate = new QtPictureSurface(this);
    m_picPercentRate->setObjectName(QStringLiteral("picPercentRate"));
    for (QtPictureSurface* surface : {m_picMonitor, m_picPercentRate}) {
        surface->setMouseTracking(true);
        surface->installEventFilter(this);
        m_controls.emplace(surface->objectName().toStdString(), surface);
    }

    QWidget* picDebug = Panel("picDebug", this);
    Label("lblRate", picDebug, kPanelPoints);
    Label("lblRemain", picDebug, kPanelPoints);
    Label("lblLineCount", picDebug, kPanelPoints);
    ImageButton("imgTools", picDebug,
                QStringLiteral("変化率を求めるデータ数 (左クリックで +1, 右クリックで -1)"));
    Label("lblTools", picDebug, kPanelPoints);
    ImageButton("imgSEP", picDebug,
                QStringLiteral("記録の間隔 (左クリックで +2 分, 右クリックで -2 分)"));
    Label("lblSEP", picDebug, kPanelPoints);
    // The counter changes every second. Painted opaque, its repaint stops at its own edges
    // instead of repainting the panel and lblSEP, which it overlaps by a pixel.
    SetBackground(Label("lblCount", picDebug, kPanelPoints, new CounterLabel(picDebug)),
                  m_model.background);

    ImageButton("picStop", this, QStringLiteral("監視を止める"))->hide();
    QLabel* picClose = ImageButton("picClose", this, QStringLiteral("閉じる"), false);
    picClose->setMouseTracking(true);
    picClose->setCursor(Qt::ArrowCursor);
    // The read-out sits over the bottom edge of the rate graph and the status strip.
    SetTextColor(Label("lblSys", this, kPanelPoints), kQuietText);

    SetBackground(picIcon, m_model.picIconBackground);
}

void MainWindow::BuildMenus() {
    m_mnuFile = new QMenu(this);
    m_mnuFile->setObjectName(QStringLiteral("mnuFile"));
    m_mnuPopup = new QMenu(this);
    m_mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    QAction* exit = m_mnuPopup->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("mnuPopupExit"));
    connect(exit, &QAction::triggered, this, [this] {
        m_actions.PopupExitClick();
        Render();
    });
}

QPixmap MainWindow::FacePixmap(Face face) const {
    const auto it = m_faces.find(face);
    return it != m_faces.end() ? it->second : QPixmap();
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

void MainWindow::AddTrayIcon(const std::string& tip) {
    if (m_tray != nullptr) {
        m_tray->Add(tip);
    }
}

void MainWindow::RemoveTrayIcon() {
    if (m_tray != nullptr) {
        m_tray->Remove();
    }
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
    if (m_dragging) {
        return;
    }
    m_dragging = true;
    QWindow* handle = windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        return;
    }
    // The window system would not move it: follow the pointer until the button is released.
    m_manualDrag = true;
    m_dragOffset = QCursor::pos() - pos();
}

// ---- rendering ----

void MainWindow::Render() {
    const std::pair<const char*, const std::string*> captions[] = {
        {"lblTargetName", &m_model.lblTargetName},
        {"lblBattPercent", &m_model.lblBattPercent},
        {"lblRemain", &m_model.lblRemain},
        {"lblRate", &m_model.lblRate},
        {"lblLineCount", &m_model.lblLineCount},
        {"lblCount", &m_model.lblCount},
        {"lblSys", &m_model.lblSys},
        {"lblSEP", &m_model.lblSEP},
        {"lblTools", &m_model.lblTools},
        {"Label2", &m_model.Label2},
        {"Label3", &m_model.Label3},
    };
    // Render runs after every tick, which changes a caption or two: a widget is only asked
    // for its text, palette or picture when the model's value differs from the one last given.
    static_assert(std::size(captions) == std::tuple_size_v<decltype(m_shown.captions)>);
    for (std::size_t i = 0; i < std::size(captions); ++i) {
        const auto& [name, text] = captions[i];
        if (m_shown.captions[i] != *text) {
            SetCaption(static_cast<QLabel*>(m_controls.at(name)), *text);
            m_shown.captions[i] = *text;
        }
    }
    if (m_shown.battPercentColor != m_model.lblBattPercentColor) {
        SetTextColor(m_controls.at("lblBattPercent"), m_model.lblBattPercentColor);
        m_shown.battPercentColor = m_model.lblBattPercentColor;
    }

    const std::pair<const char*, Face> faces[] = {
        {"imgConsent", m_model.imgConsent},
        {"imgVoice", m_model.imgVoice},
        {"imgScale", m_model.imgScale},
        {"picClose", m_model.picClose},
    };
    static_assert(std::size(faces) == std::tuple_size_v<decltype(m_shown.faces)>);
    for (std::size_t i = 0; i < std::size(faces); ++i) {
        const auto& [name, face] = faces[i];
        if (m_shown.faces[i] != face) {
            static_cast<QLabel*>(m_controls.at(name))->setPixmap(FacePixmap(face));
            m_shown.faces[i] = face;
        }
    }
    m_controls.at("imgPen")->setVisible(m_model.imgPenVisible);
    m_controls.at("picStop")->setVisible(m_model.picStopVisible);

    if (m_shown.background != m_model.background) {
        SetBackground(this, m_model.background);
        for (const char* name : {"picTitle", "picPanel", "picRt", "picDebug", "lblCount",
                                 "picStatus", "picAC", "picStop"}) {
            SetBackground(m_controls.at(name), m_model.background);
        }
        m_shown.background = m_model.background;
    }
    if (m_shown.iconBackground != m_model.picIconBackground) {
        SetBackground(m_controls.at("picIcon"), m_model.picIconBackground);
        m_shown.iconBackground = m_model.picIconBackground;
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
        // The title's design box is narrower than "Battery Monitor" at 12 points; it grows to
        // the right rather than cut its text.
        if (place.name == "Label2") {
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

// ---- events ----

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
    RenderGeometry();
    Render();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const int code = KeyCode(event->key());
    if (code == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_actions.KeyDown(code, ShiftMask(event->modifiers()));
    Render();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (FollowManualDrag(event, QEvent::MouseMove)) {
        return;
    }
    m_actions.DragZoneMove(DragZone::Background, ToTwips(event->position().y()),
                           ButtonMask(event->buttons()));
    Render();
}

bool MainWindow::FollowManualDrag(QMouseEvent* event, QEvent::Type type) {
    if (!m_manualDrag) {
        return false;
    }
    if (type == QEvent::MouseMove && event->buttons().testFlag(Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        return true;
    }
    if (type == QEvent::MouseButtonRelease || !event->buttons().testFlag(Qt::LeftButton)) {
        m_manualDrag = false;
        m_dragging = false;
        return true;
    }
    return false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
        type == QEvent::MouseMove || type == QEvent::MouseButtonDblClick) {
        if (HandleMouse(watched, static_cast<QMouseEvent*>(event), type)) {
            Render();
        }
        // The control had the event: it does not reach the panel under it.
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool MainWindow::HandleMouse(QObject* watched, QMouseEvent* event, QEvent::Type type) {
    const QString name = watched->objectName();
    const double x = ToTwips(event->position().x());
    const double y = ToTwips(event->position().y());

    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        m_dragging = false;
        m_manualDrag = false;
        m_pressed = watched;
        const int button = ButtonCode(event->button());
        if (name == QLatin1String("imgSEP")) {
            m_actions.SepPress(button);
        } else if (name == QLatin1String("imgTools")) {
            m_actions.ToolsPress(button);
        } else if (name == QLatin1String("picClose")) {
            m_actions.ClosePress(button);
        } else {
            return false;
        }
        return true;
    }

    if (FollowManualDrag(event, type)) {
        return false;
    }

    if (type == QEvent::MouseButtonRelease) {
        const bool wasPressed = m_pressed == watched;
        m_pressed = nullptr;
        if (m_dragging) {
            // The press moved the window; its release is no click.
            m_dragging = false;
            return false;
        }
        const auto* widget = static_cast<QWidget*>(watched);
        const bool inside = widget->rect().contains(event->position().toPoint());
        if (!wasPressed || !inside || event->button() != Qt::LeftButton) {
            return false;
        }
        if (name == QLatin1String("picMonitor")) {
            m_actions.MonitorRelease(kLeftButton);
        } else if (name == QLatin1String("imgScale")) {
            m_actions.ScaleClick();
        } else if (name == QLatin1String("imgRemain")) {
            m_actions.RemainClick();
        } else if (name == QLatin1String("imgGraph")) {
            m_actions.GraphClick();
        } else if (name == QLatin1String("imgVoice")) {
            m_actions.VoiceClick();
        } else if (name == QLatin1String("imgStay")) {
            m_actions.StayClick();
        } else if (name == QLatin1String("imgFile")) {
            m_actions.FileClick();
        } else if (name == QLatin1String("imgPen")) {
            m_actions.PenClick();
        } else if (name == QLatin1String("picStop")) {
            m_actions.StopClick();
        } else {
            return false;
        }
        return true;
    }

    const int buttons = ButtonMask(event->buttons());
    if (name == QLatin1String("picMonitor")) {
        m_actions.MonitorMove(x, y, buttons);
    } else if (name == QLatin1String("picPercentRate")) {
        m_actions.PercentRateMove(x);
    } else if (name == QLatin1String("picClose")) {
        m_actions.CloseMove();
    } else if (name == QLatin1String("picTitle") || name == QLatin1String("lblTargetName")) {
        // The file name is part of the title strip: pressing on it moves the window too.
        m_actions.DragZoneMove(DragZone::picTitle, y, buttons);
    } else if (name == QLatin1String("picStatus")) {
        m_actions.DragZoneMove(DragZone::picStatus, y, buttons);
    } else if (name == QLatin1String("Label2")) {
        m_actions.DragZoneMove(DragZone::Label2, y, buttons);
    } else if (name == QLatin1String("picBattery")) {
        m_actions.DragZoneMove(DragZone::picBattery, y, buttons);
    } else if (name == QLatin1String("picPanel")) {
        m_actions.DragZoneMove(DragZone::picPanel, y, buttons);
    } else {
        return false;
    }
    return true;
}

} // namespace amperlog

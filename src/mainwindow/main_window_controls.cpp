#include "mainwindow/counter_label.h"
#include "mainwindow/main_window.h"
#include "mainwindow/widget_look.h"
#include "platform/qt/login_start_action.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_picture_surface.h"
#include "platform/qt/qt_text.h"
#include "platform/services.h"
#include "window/main_window_layout.h"

#include <QLabel>
#include <QMenu>
#include <QPainter>

namespace amperlog {
namespace {

constexpr double kPanelPoints = 9;
constexpr double kLargePoints = 12;
// Read-outs of the counters panel; the title and status texts are quieter.
constexpr Rgb kReadoutText = kWhite;
constexpr Rgb kQuietText = kTitleText;

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

} // namespace

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
        button->setPixmap(RenderIcon(name, QSize(32, 32), devicePixelRatioF()));
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
        const QPixmap pixmap = RenderIcon(art.name, size, ratio);
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
    ImageButton("imgConsent", picAC, QtText(TextId::TipAdapter), false)->setCursor(Qt::ArrowCursor);
    m_picBattery = new QtPictureSurface(picAC);
    m_picBattery->setObjectName(QStringLiteral("picBattery"));
    m_picBattery->hide();
    m_picBattery->installEventFilter(this);
    m_controls.emplace("picBattery", m_picBattery);
    Label("lblBattPercent", picAC, kLargePoints);
    ImageButton("imgStay", picAC, QtText(TextId::TipStay));

    QWidget* picIcon = Panel("picIcon", picPanel);
    ImageButton("imgGraph", picIcon, QtText(TextId::TipGraph));
    ImageButton("imgRemain", picIcon, QtText(TextId::TipRemain));
    ImageButton("imgVoice", picIcon, QtText(TextId::TipVoice), false);
    ImageButton("imgScale", picIcon, QtText(TextId::TipScale), false);
    ImageButton("imgFile", picIcon, QtText(TextId::TipFile));
    ImageButton("imgPen", picIcon, QtText(TextId::TipPen));
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
    ImageButton("imgTools", picDebug, QtText(TextId::TipTools));
    Label("lblTools", picDebug, kPanelPoints);
    ImageButton("imgSEP", picDebug, QtText(TextId::TipSep));
    Label("lblSEP", picDebug, kPanelPoints);
    // The counter changes every second. Painted opaque, its repaint stops at its own edges
    // instead of repainting the panel and lblSEP, which it overlaps by a pixel.
    SetBackground(Label("lblCount", picDebug, kPanelPoints, new CounterLabel(picDebug)),
                  m_model.background);

    ImageButton("picStop", this, QtText(TextId::TipStop))->hide();
    QLabel* picClose = ImageButton("picClose", this, QtText(TextId::TipClose), false);
    picClose->setMouseTracking(true);
    picClose->setCursor(Qt::ArrowCursor);
    // The read-out sits over the bottom edge of the rate graph and the status strip: the
    // pointer goes through it to them, for their read-out and the drag.
    QLabel* lblSys = Label("lblSys", this, kPanelPoints);
    SetTextColor(lblSys, kQuietText);
    lblSys->setAttribute(Qt::WA_TransparentForMouseEvents);

    SetBackground(picIcon, m_model.picIconBackground);
}

void MainWindow::BuildMenus() {
    m_mnuFile = new QMenu(this);
    m_mnuFile->setObjectName(QStringLiteral("mnuFile"));
    m_mnuPopup = new QMenu(this);
    m_mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    QAction* health = m_mnuPopup->addAction(QtText(TextId::HealthMenu));
    health->setObjectName(QStringLiteral("mnuPopupHealth"));
    connect(health, &QAction::triggered, this, [this] {
        if (m_healthOpener) {
            m_healthOpener();
        }
    });
    if (m_services.loginStart) {
        AddLoginStartAction(*m_mnuPopup, *m_services.loginStart);
    }
    QAction* exit = m_mnuPopup->addAction(QtText(TextId::MenuExit));
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

} // namespace amperlog

#include "fake_services.h"
#include "mainwindow/main_window.h"
#include "platform/fake/recording_tray_icon.h"
#include "platform/qt/qt_picture_surface.h"
#include "program/program.h"
#include "qt_test_application.h"
#include "shown_texts.h"
#include "temp_folder.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

namespace amperlog {
namespace {

constexpr PowerStatus kOnBattery{0, 1, 85, 3600, 10800};

CivilTime At(int h, int mi, int s = 0) {
    return *CivilTime::FromParts(2026, 12, 7, h, mi, s);
}

QColor Q(Rgb c) {
    return {c.r, c.g, c.b};
}

// Today's log: a sample every ten minutes from 09:00, 90 % falling by one each time.
std::string TodayLog() {
    std::string text;
    for (int i = 0; i < 18; ++i) {
        const int h = 9 + i / 6;
        const int m = (i % 6) * 10;
        char line[64];
        std::snprintf(line, sizeof line, "12/07 %02d:%02d:00,Batt,%d%%,%d,\r\n", h, m, 90 - i,
                      5400 - 60 * i);
        text += line;
    }
    return text;
}

class MainWindowWidgetTest : public ::testing::Test {
protected:
    MainWindowWidgetTest() {
        std::filesystem::create_directory(folder / "Data");
        test::WriteFileBytes(folder / "Data" / "20261207.txt", TodayLog());
        test::WriteFileBytes(folder / "Data" / "20261201.txt", "12/01 08:00:00,Batt,50%,,\r\n");
        power->Set(kOnBattery);
        window = std::make_unique<MainWindow>(program);
        window->SetTrayIcon(&tray);
        window->SetEditorOpener(
            [this](const std::filesystem::path& path) { edited.push_back(path); });
    }

    void Start() {
        window->Startup();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename T = QWidget>
    T* Find(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }

    QString Caption(const char* name) { return Find<QLabel>(name)->text(); }
    std::string Work(std::string_view key) { return settings->ReadWorkSetting(key); }

    test::TempFolder folder;
    test::FakeServices fakes{folder.Path(), At(12, 0)};
    ScriptedPowerSource* power = &fakes.power;
    FakeClock* clock = &fakes.clock;
    RecordingTrayIcon tray;
    std::vector<std::filesystem::path> edited;
    Program program{fakes.services, folder.Path(), "amperlog"};
    SettingsStore* settings = &program.Settings();
    MainWindowModel& model = program.Model();
    std::unique_ptr<MainWindow> window;
};

struct Place {
    const char* name;
    const char* container;
    QRect rect;
};

// Every placed control at 15 twips a pixel in the design client area (635 x 324) on a
// 1920 x 1080 screen.
const Place kPlaces[] = {
    {"picStatus", "frmMain", {0, 299, 635, 25}},
    {"picRt", "frmMain", {618, 0, 17, 299}},
    {"picPanel", "frmMain", {4, 0, 185, 290}},
    {"picTitle", "frmMain", {185, 0, 433, 25}},
    {"picMonitor", "frmMain", {185, 25, 433, 160}},
    {"picPercentRate", "frmMain", {185, 193, 433, 106}},
    {"picDebug", "frmMain", {20, 172, 157, 113}},
    {"Picture1", "frmMain", {376, 32, 234, 77}},
    {"picStop", "frmMain", {571, 284, 32, 32}},
    {"picClose", "frmMain", {573, 0, 62, 23}},
    {"lblSys", "frmMain", {204, 292, 221, 13}},
    {"lblRate", "picDebug", {12, 4, 125, 17}},
    {"lblRemain", "picDebug", {12, 24, 121, 17}},
    {"lblLineCount", "picDebug", {12, 44, 125, 21}},
    {"imgTools", "picDebug", {8, 72, 32, 32}},
    {"lblTools", "picDebug", {40, 76, 33, 17}},
    {"imgSEP", "picDebug", {68, 72, 32, 32}},
    {"lblSEP", "picDebug", {100, 76, 25, 17}},
    {"lblCount", "picDebug", {124, 76, 45, 17}},
    {"lblTargetName", "picTitle", {48, 8, 77, 21}},
    {"picAC", "picPanel", {16, 24, 161, 45}},
    {"picIcon", "picPanel", {16, 76, 161, 89}},
    {"Label3", "picPanel", {108, 196, 73, 17}},
    {"imgConsent", "picAC", {8, 8, 32, 32}},
    {"picBattery", "picAC", {48, 8, 29, 25}},
    {"lblBattPercent", "picAC", {88, 14, 33, 21}},
    {"imgStay", "picAC", {128, 8, 32, 32}},
    {"imgGraph", "picIcon", {8, 8, 32, 32}},
    {"imgRemain", "picIcon", {48, 8, 32, 32}},
    {"imgVoice", "picIcon", {88, 8, 32, 32}},
    {"imgScale", "picIcon", {128, 8, 32, 32}},
    {"imgFile", "picIcon", {8, 48, 32, 32}},
    {"imgPen", "picIcon", {48, 48, 32, 32}},
};

TEST_F(MainWindowWidgetTest, EveryControlSitsAtItsPlace) {
    Start();
    EXPECT_EQ(window->size(), QSize(635, 324));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    for (const Place& place : kPlaces) {
        const QWidget* control = Find(place.name);
        ASSERT_NE(control, nullptr) << place.name;
        EXPECT_EQ(control->parentWidget()->objectName(), QLatin1String(place.container))
            << place.name;
        QRect shown = control->geometry();
        if (place.name == std::string_view("lblTargetName")) {
            // Its text may need more than the design's width; it grows to the right.
            EXPECT_GE(shown.width(), place.rect.width());
            shown.setWidth(place.rect.width());
        }
        EXPECT_EQ(shown, place.rect) << place.name;
    }
    // The title grows to the right to show its whole text.
    const auto* title = Find<QLabel>("Label2");
    EXPECT_EQ(title->text(), QStringLiteral("Battery Monitor"));
    EXPECT_EQ(title->pos(), QPoint(24, 4));
    EXPECT_GE(title->width(), 106);
    EXPECT_GE(title->width(), title->sizeHint().width());

    // A wider font than the design's, as on Windows without the Japanese fonts: the log's name
    // grows rather than lose its last letter.
    auto* name = Find<QLabel>("lblTargetName");
    QFont wide = name->font();
    wide.setPointSizeF(wide.pointSizeF() * 1.5);
    name->setFont(wide);
    model.lblTargetName = "20261201.txt";
    window->Render();
    EXPECT_GE(name->width(), name->sizeHint().width());
    EXPECT_EQ(name->pos(), QPoint(48, 8));
}

TEST_F(MainWindowWidgetTest, StartupShowsTheWindowCentredWithTodaysLog) {
    Start();
    EXPECT_EQ(window->pos(), QPoint((1920 - 635) / 2, (1080 - 324) / 2));
    EXPECT_EQ(Caption("lblTargetName"), QStringLiteral("20261207.txt"));
    EXPECT_EQ(Caption("lblSEP"), QStringLiteral("8"));
    EXPECT_EQ(Caption("lblTools"), QStringLiteral("5"));
    EXPECT_TRUE(model.FormReady);
    EXPECT_TRUE(Find("imgPen")->isVisible());
    EXPECT_FALSE(Find("picBattery")->isVisible());
    EXPECT_FALSE(Find("picStop")->isVisible());
    EXPECT_FALSE(Find("Picture1")->isVisible());
    EXPECT_TRUE(window->findChild<QTimer*>(QStringLiteral("timDelay"))->isActive());
    EXPECT_EQ(window->findChild<QTimer*>(QStringLiteral("timMonitorPanel"))->interval(), 1000);
}

TEST_F(MainWindowWidgetTest, PanelColoursAndTextColours) {
    Start();
    const QColor teal = Q(kWindowBackground);
    EXPECT_EQ(window->palette().color(QPalette::Window), teal);
    for (const char* name : {"picTitle", "picPanel", "picRt", "picDebug", "picStatus"}) {
        EXPECT_EQ(Find(name)->palette().color(QPalette::Window), teal) << name;
    }
    EXPECT_EQ(Find("picIcon")->palette().color(QPalette::Window), QColor(0, 0, 0));
    EXPECT_EQ(Find("Label2")->palette().color(QPalette::WindowText), QColor(192, 192, 192));
    EXPECT_EQ(Find("lblRate")->palette().color(QPalette::WindowText), QColor(255, 255, 255));

    // What is on screen: the panel, the button grid and the graph surface.
    window->RefreshGraphs();
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 310), teal);
    EXPECT_EQ(shot.pixelColor(16 + 4 + 2, 76 + 85), QColor(0, 0, 0));
    EXPECT_EQ(shot.pixelColor(185 + 2, 25 + 2), QColor(0, 0, 0));
}

TEST_F(MainWindowWidgetTest, TickShowsTheStatusPanel) {
    Start();
    window->MonitorTick();
    EXPECT_EQ(Caption("lblBattPercent"), QStringLiteral("85"));
    EXPECT_EQ(Find("lblBattPercent")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(Caption("lblRemain"), QStringLiteral("残時間  1+0"));
    EXPECT_EQ(Caption("lblCount"), QStringLiteral("0:01"));
    auto* battery = Find<QtPictureSurface>("picBattery");
    EXPECT_TRUE(battery->isVisible());
    EXPECT_EQ(battery->geometry(), QRect(48, 8, 32, 32));
    // The level bar: 17 pixels of amber at 85 %.
    const QImage gauge = battery->Picture();
    EXPECT_EQ(gauge.pixelColor(4, 14), QColor(240, 180, 0));
    EXPECT_EQ(gauge.pixelColor(3 + 17, 14), QColor(0, 0, 0));
    // The outline and the nub in the 3-D face colour.
    EXPECT_EQ(gauge.pixelColor(0, 15), QColor(240, 240, 240));
    EXPECT_EQ(gauge.pixelColor(13, 22), QColor(240, 240, 240));
    EXPECT_EQ(gauge.pixelColor(30, 15), QColor(240, 240, 240));

    power->Set(PowerStatus{0, 1, 50, 5400, 10800});
    window->MonitorTick();
    EXPECT_EQ(Caption("lblBattPercent"), QStringLiteral("50"));
    EXPECT_EQ(Find("lblBattPercent")->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(Caption("lblRemain"), QStringLiteral("残時間  1+30"));
    QApplication::processEvents();
    window->MonitorTick();
    EXPECT_EQ(battery->Picture().pixelColor(0, 15), QColor(240, 240, 240));
    EXPECT_EQ(battery->Picture().pixelColor(4, 14), QColor(0, 255, 0));
    // A resize does not undo the gauge's own size.
    window->resize(700, 400);
    EXPECT_EQ(battery->size(), QSize(32, 32));
}

TEST_F(MainWindowWidgetTest, ClickOnImgGraphSwitchesTheGraph) {
    Start();
    window->RefreshGraphs();
    auto* monitor = Find<QtPictureSurface>("picMonitor");
    const QImage bars = monitor->Picture();
    QTest::mouseClick(Find("imgGraph"), Qt::LeftButton, {}, QPoint(16, 16));
    EXPECT_EQ(Work("GraphMode"), "1");
    EXPECT_EQ(model.CurrentGraphMode, 1);
    EXPECT_NE(monitor->Picture(), bars);

    // A right click does nothing; a left release over the graph switches back.
    QTest::mouseClick(Find("imgGraph"), Qt::RightButton, {}, QPoint(16, 16));
    EXPECT_EQ(Work("GraphMode"), "1");
    QTest::mouseClick(monitor, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_EQ(Work("GraphMode"), "0");
    EXPECT_EQ(monitor->Picture(), bars);
}

TEST_F(MainWindowWidgetTest, HoverOverTheGraphWritesTheReadout) {
    settings->WriteWorkSetting("GraphMode", "1");
    Start();
    window->RefreshGraphs();
    auto* monitor = Find<QtPictureSurface>("picMonitor");
    // One pixel a minute from the graph's left edge: 60 pixels in is 10:00, 84 %.
    const int left = static_cast<int>(window->Graphs().GraphLeft / 15);
    QTest::mouseMove(monitor, QPoint(left + 60, 100));
    EXPECT_EQ(Caption("lblSys"), QStringLiteral("10:00   84"));
    EXPECT_EQ(Work("GraphMode"), "1");
}

TEST_F(MainWindowWidgetTest, CloseButtonFaceFollowsThePointerAndAnyButtonCloses) {
    Start();
    auto* close = Find<QLabel>("picClose");
    const QImage on = Find<QLabel>("imgCloseON")->pixmap().toImage();
    const QImage off = Find<QLabel>("imgCloseOFF")->pixmap().toImage();
    EXPECT_EQ(close->pixmap().toImage(), off);
    QTest::mouseMove(close, QPoint(30, 10));
    EXPECT_EQ(close->pixmap().toImage(), on);
    QTest::mouseMove(Find("picTitle"), QPoint(30, 10));
    EXPECT_EQ(close->pixmap().toImage(), on);
    QTest::mouseMove(Find("picMonitor"), QPoint(200, 100));
    EXPECT_EQ(close->pixmap().toImage(), off);

    QSignalSpy unloaded(window.get(), &MainWindow::Unloaded);
    window->move(300, 200);
    QTest::mousePress(close, Qt::RightButton, {}, QPoint(30, 10));
    // Let go, so that the next test starts with no button held.
    QTest::mouseRelease(close, Qt::RightButton, {}, QPoint(30, 10));
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(settings->ReadSetting("Windows", "Main"), "4500,3000,9525,4860");
    EXPECT_EQ(tray.Events().back().kind, RecordingTrayIcon::Event::Kind::Remove);
}

TEST_F(MainWindowWidgetTest, KeysFollowTheirShiftRules) {
    Start();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    model.lblTargetName = "20261201.txt";
    window->Render();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(Caption("lblTargetName"), QStringLiteral("20261207.txt"));

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_TRUE(edited.empty());
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_F2, Qt::AltModifier);
    EXPECT_EQ(edited, (std::vector<std::filesystem::path>{
                          folder / "Sys.log", settings->SettingsPath(), settings->SettingsPath()}));
    QTest::keyClick(window.get(), Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_FALSE(window->isVisible());
}

// The health view has a key of its own (Ctrl alone) and the menu's first entry.
TEST_F(MainWindowWidgetTest, HealthViewOpensFromCtrlHAndThePopupMenu) {
    int opened = 0;
    window->SetHealthOpener([&opened] { ++opened; });
    Start();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_H);
    QTest::keyClick(window.get(), Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(opened, 0);
    QTest::keyClick(window.get(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(opened, 1);
    const QList<QAction*> entries = Find<QMenu>("mnuPopup")->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries.back()->objectName(), QStringLiteral("mnuPopupExit"));
    entries.front()->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(edited.empty());
}

TEST_F(MainWindowWidgetTest, PenOpensTheGraphedLogAndFileMenuChoosesOne) {
    Start();
    QTest::mouseClick(Find("imgFile"), Qt::LeftButton, {}, QPoint(16, 16));
    auto* menu = Find<QMenu>("mnuFile");
    ASSERT_TRUE(menu->isVisible());
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("20261201.txt"));
    EXPECT_TRUE(items[1]->isChecked());
    items[0]->trigger();
    menu->hide();
    EXPECT_EQ(Caption("lblTargetName"), QStringLiteral("20261201.txt"));

    QTest::mouseClick(Find("imgPen"), Qt::LeftButton, {}, QPoint(16, 16));
    EXPECT_EQ(edited, std::vector<std::filesystem::path>{folder / "Data" / "20261201.txt"});
}

TEST_F(MainWindowWidgetTest, StayHidesTheWindowUntilExit) {
    Start();
    QTest::mouseClick(Find("imgStay"), Qt::LeftButton, {}, QPoint(16, 16));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->findChild<QTimer*>(QStringLiteral("timMonitorPanel"))->interval(), 10000);
    EXPECT_EQ(tray.Events(), (std::vector<RecordingTrayIcon::Event>{
                                 {RecordingTrayIcon::Event::Kind::Add, "amperlog"}}));
    EXPECT_EQ(Work("Stay"), "1");

    window->TrayMessage(513);
    auto* popup = Find<QMenu>("mnuPopup");
    EXPECT_FALSE(popup->isVisible());
    window->TrayMessage(516);
    EXPECT_TRUE(popup->isVisible());
    popup->hide();
    window->findChild<QAction*>(QStringLiteral("mnuPopupExit"))->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->findChild<QTimer*>(QStringLiteral("timMonitorPanel"))->interval(), 1000);
    EXPECT_FALSE(tray.Shown());
    EXPECT_EQ(Work("Stay"), "0");
}

// Between the health view and "Exit"; the check mark is the system's as the menu opens.
TEST_F(MainWindowWidgetTest, StartAtLoginShowsWhatTheSystemSays) {
    Start();
    QTest::mouseClick(Find("imgStay"), Qt::LeftButton, {}, QPoint(16, 16));
    auto* popup = Find<QMenu>("mnuPopup");
    auto* login = window->findChild<QAction*>(QStringLiteral("mnuPopupLogin"));
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(popup->actions().indexOf(login), 1);
    fakes.loginStart.SetOutside(true);
    window->TrayMessage(516);
    EXPECT_TRUE(login->isChecked());
    login->trigger();
    EXPECT_FALSE(fakes.loginStart.IsOn());
    popup->hide();
}

class EnglishFirst {
protected:
    test::InterfaceLanguageScope m_english{Language::English};
};

class MainWindowInEnglishTest : private EnglishFirst, public MainWindowWidgetTest {};

TEST_F(MainWindowInEnglishTest, NoJapaneseInAnyCaptionTooltipOrMenu) {
    Start();
    window->MonitorTick();
    EXPECT_EQ(Caption("lblRemain"), QStringLiteral("Left  1+0"));
    EXPECT_EQ(Caption("lblLineCount"), QStringLiteral("Data  0/19"));
    const QStringList texts = test::ShownTexts(*window);
    EXPECT_TRUE(texts.contains(QStringLiteral("mnuPopupExit: Show window")));
    EXPECT_EQ(test::JapaneseIn(texts), QStringList());
}

TEST_F(MainWindowWidgetTest, StayWithoutANotificationAreaKeepsTheWindowShown) {
    tray.SetHostPresent(false);
    Start();
    QTest::mouseClick(Find("imgStay"), Qt::LeftButton, {}, QPoint(16, 16));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(tray.Shown());
    EXPECT_EQ(window->findChild<QTimer*>(QStringLiteral("timMonitorPanel"))->interval(), 1000);
    EXPECT_NE(Work("Stay"), "1");
}

// A drag as the window system delivers it: pressed at a point of the window, moved by
// `by` with the left button held, released. The offscreen platform has no move of its own, so
// the window follows the pointer; the move starts at the first motion.
void Drag(QWidget& window, QPoint at, QPoint by) {
    QWindow* handle = window.windowHandle();
    QTest::mousePress(handle, Qt::LeftButton, {}, at);
    QTest::mouseMove(handle, at + QPoint(1, 0));
    QTest::mouseMove(handle, at + by);
    // The window has moved under the pointer: the same point of the window again.
    QTest::mouseRelease(handle, Qt::LeftButton, {}, at);
}

TEST_F(MainWindowWidgetTest, EveryDragFromTheBackgroundMovesTheWindow) {
    Start();
    // In the gap between the two graphs, at different places: a drag that kept the last
    // one's grip would jump by their distance.
    const struct {
        QPoint at;
        QPoint by;
    } drags[] = {{{300, 189}, {40, 30}}, {{500, 189}, {-20, 25}}, {{250, 188}, {-35, -50}}};
    for (const auto& drag : drags) {
        ASSERT_EQ(window->childAt(drag.at), nullptr) << drag.at.x();
        const QPoint from = window->pos();
        Drag(*window, drag.at, drag.by);
        EXPECT_EQ(window->pos(), from + drag.by) << drag.at.x();
    }
}

TEST_F(MainWindowWidgetTest, ThePointerGoesThroughLblSys) {
    Start();
    window->RefreshGraphs();
    const QRect label = Find("lblSys")->geometry();
    const QRect overRate = label & Find("picPercentRate")->geometry();
    const QRect overStatus = label & Find("picStatus")->geometry();
    ASSERT_FALSE(overRate.isEmpty());
    ASSERT_FALSE(overStatus.isEmpty());

    // The rate graph's read-out where lblSys covers it, the same as above lblSys.
    QTest::mouseMove(window->windowHandle(), overRate.center());
    const QString covered = Caption("lblSys");
    QTest::mouseMove(window->windowHandle(), QPoint(overRate.center().x(), overRate.top() - 40));
    EXPECT_FALSE(covered.isEmpty());
    EXPECT_EQ(covered, Caption("lblSys"));

    // The status strip under it is a drag zone.
    const QPoint from = window->pos();
    Drag(*window, overStatus.center(), QPoint(-30, -20));
    EXPECT_EQ(window->pos(), from + QPoint(-30, -20));
}

TEST_F(MainWindowWidgetTest, AResizeDrawsTheGraphsAtTheNewSize) {
    Start();
    window->RefreshGraphs();
    auto* monitor = Find<QtPictureSurface>("picMonitor");
    auto* rate = Find<QtPictureSurface>("picPercentRate");
    // Larger, smaller, and larger on a screen of another scale.
    const struct {
        QSize size;
        int twipsPerPixel;
    } resizes[] = {{{900, 500}, 15}, {{700, 360}, 15}, {{800, 420}, 12}};
    for (const auto& resize : resizes) {
        fakes.screen.SetTwipsPerPixel(resize.twipsPerPixel);
        window->resize(resize.size);
        ASSERT_EQ(window->size(), resize.size);
        const QImage graph = monitor->Picture();
        const QImage curve = rate->Picture();
        // As a redraw at the size they have now draws them.
        window->RefreshGraphs();
        EXPECT_EQ(monitor->Picture(), graph) << resize.size.width();
        EXPECT_EQ(rate->Picture(), curve) << resize.size.width();
    }
}

TEST_F(MainWindowWidgetTest, SepAndToolsButtonsStepOnPress) {
    Start();
    QTest::mousePress(Find("imgSEP"), Qt::LeftButton, {}, QPoint(16, 16));
    QTest::mouseRelease(Find("imgSEP"), Qt::LeftButton, {}, QPoint(16, 16));
    QTest::mousePress(Find("imgTools"), Qt::RightButton, {}, QPoint(16, 16));
    EXPECT_EQ(Caption("lblSEP"), QStringLiteral("10"));
    EXPECT_EQ(Caption("lblTools"), QStringLiteral("4"));
    EXPECT_EQ(Work("SEP"), "10");
    EXPECT_EQ(Work("Band"), "4");
}

TEST_F(MainWindowWidgetTest, StoredPlacementOffScreenIsPulledBack) {
    settings->WriteSetting("Windows", "Main", "99999,99999,9525,4860");
    Start();
    // 64 pixels inside the right and bottom edges of the 1920 x 1080 screen.
    EXPECT_EQ(window->pos(), QPoint(1920 - 64, 1080 - 64));
}

TEST_F(MainWindowWidgetTest, CorruptPlacementPutsTheWindowInTheCorner) {
    settings->WriteSetting("Windows", "Main", "abc,,x");
    Start();
    EXPECT_EQ(window->pos(), QPoint(0, 0));
    EXPECT_EQ(window->size(), QSize(635, 324));
}

TEST_F(MainWindowWidgetTest, TinyWindowKeepsTheGraphsWhereTheyWere) {
    Start();
    window->resize(700, 400);
    const QRect monitor = Find("picMonitor")->geometry();
    const QRect rate = Find("picPercentRate")->geometry();
    // Too small for either graph: their moves are refused, the strips still follow.
    window->resize(200, 40);
    EXPECT_EQ(Find("picMonitor")->geometry(), monitor);
    EXPECT_EQ(Find("picPercentRate")->geometry(), rate);
    EXPECT_EQ(Find("picStatus")->geometry(), QRect(0, 15, 200, 25));
    window->resize(635, 324);
    EXPECT_EQ(Find("picMonitor")->geometry(), QRect(185, 25, 433, 160));
}

} // namespace
} // namespace amperlog

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no window system, which the emulator of a cross build may lack.
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    amperlog::test::ChooseTestPlatform();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

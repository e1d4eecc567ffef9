#include "interface_language_scope.h"
#include "platform/fake/fake_login_start.h"
#include "platform/qt/qt_tray_icon.h"
#include "qt_test_application.h"

#include <QAction>
#include <QMenu>
#include <QPixmap>
#include <gtest/gtest.h>
#include <vector>

namespace amperlog {
namespace {

class QtTrayIconTest : public ::testing::Test {
protected:
    QtTrayIconTest() { test::TestApplication(); }

    static QIcon Picture() {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::green);
        return QIcon(pixmap);
    }
    // The offscreen platform has no notification area: the tests say whether there is one.
    static bool Host() { return true; }
    static bool NoHost() { return false; }
};

TEST_F(QtTrayIconTest, AddShowsTheTipAndRemoveHidesTheIcon) {
    QtTrayIcon tray(Picture(), &Host);
    tray.Remove(); // before any Add: no effect
    EXPECT_FALSE(tray.Icon().isVisible());
    EXPECT_TRUE(tray.Add("amperlog"));
    EXPECT_TRUE(tray.Icon().isVisible());
    EXPECT_EQ(tray.Icon().toolTip(), QStringLiteral("amperlog"));
    EXPECT_FALSE(tray.Icon().icon().isNull());
    tray.Remove();
    EXPECT_FALSE(tray.Icon().isVisible());
}

TEST_F(QtTrayIconTest, WithoutANotificationAreaAddFailsAndShowsNothing) {
    QtTrayIcon tray(Picture(), &NoHost);
    EXPECT_FALSE(tray.Add("amperlog"));
    EXPECT_FALSE(tray.Icon().isVisible());
}

TEST_F(QtTrayIconTest, WithoutAnIconItTakesTheApplicationsWindowIcon) {
    QApplication::setWindowIcon(Picture());
    QtTrayIcon tray({}, &Host);
    tray.Add("amperlog");
    EXPECT_FALSE(tray.Icon().icon().isNull());
    QApplication::setWindowIcon(QIcon());
}

TEST_F(QtTrayIconTest, ActivationReasonsBecomeMouseMessages) {
    const std::vector<std::pair<QSystemTrayIcon::ActivationReason, std::int16_t>> cases = {
        {QSystemTrayIcon::Trigger, 513},     {QSystemTrayIcon::Context, 516},
        {QSystemTrayIcon::DoubleClick, 515}, {QSystemTrayIcon::MiddleClick, 519},
        {QSystemTrayIcon::Unknown, 0},
    };
    QtTrayIcon tray(Picture());
    std::vector<std::int16_t> received;
    tray.SetMessageHandler([&received](std::int16_t message) { received.push_back(message); });
    std::vector<std::int16_t> expected;
    for (const auto& [reason, message] : cases) {
        Q_EMIT tray.Icon().activated(reason);
        expected.push_back(message);
    }
    EXPECT_EQ(received, expected);
}

TEST_F(QtTrayIconTest, OnlyTheRightButtonOpensTheMenuWithItsOneItem) {
    QtTrayIcon tray(Picture(), &Host);
    tray.Add("amperlog");
    Q_EMIT tray.Icon().activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(tray.PopupMenu().isVisible());
    Q_EMIT tray.Icon().activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(tray.PopupMenu().isVisible());
    ASSERT_EQ(tray.PopupMenu().actions().size(), 1);
    EXPECT_EQ(tray.PopupMenu().actions().front()->text(), QStringLiteral("Exit"));
    tray.Remove();
    EXPECT_FALSE(tray.PopupMenu().isVisible());
}

// The item brings the window back; "Exit" is the name it keeps in Japanese.
TEST_F(QtTrayIconTest, TheWindowItemSaysWhatItDoesInEnglish) {
    const test::InterfaceLanguageScope english(Language::English);
    QtTrayIcon tray(Picture(), &Host);
    auto* exit = tray.PopupMenu().findChild<QAction*>(QStringLiteral("mnuPopupExit"));
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), QStringLiteral("Show window"));
}

TEST_F(QtTrayIconTest, ExitCallsBack) {
    QtTrayIcon tray(Picture());
    int exits = 0;
    tray.SetExitHandler([&exits] { ++exits; });
    auto* exit = tray.PopupMenu().findChild<QAction*>(QStringLiteral("mnuPopupExit"));
    ASSERT_NE(exit, nullptr);
    exit->trigger();
    EXPECT_EQ(exits, 1);
}

// The check mark is read from the system as the menu opens and after a choice: a change the
// system refused leaves it as it was.
TEST_F(QtTrayIconTest, StartAtLoginFollowsTheSystem) {
    struct Case {
        bool before;
        bool refused;
        bool after;
    };
    const std::vector<Case> cases = {
        {false, false, true}, {true, false, false}, {false, true, false}, {true, true, true}};
    QtTrayIcon tray(Picture(), &Host);
    FakeLoginStart login;
    tray.AddLoginStartEntry(login);
    auto* entry = tray.PopupMenu().findChild<QAction*>(QStringLiteral("mnuPopupLogin"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(tray.PopupMenu().actions().back()->objectName(), QStringLiteral("mnuPopupExit"));
    for (const Case& c : cases) {
        login.SetOutside(c.before);
        login.Refuse(c.refused);
        tray.ShowPopupMenu({});
        EXPECT_EQ(entry->isChecked(), c.before);
        entry->trigger();
        EXPECT_EQ(login.IsOn(), c.after);
        EXPECT_EQ(entry->isChecked(), c.after);
        tray.PopupMenu().hide();
    }
}

} // namespace
} // namespace amperlog

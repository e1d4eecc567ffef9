#include "app/application.h"

#include "app/instance_channel.h"
#include "app/outside_requests.h"
#include "editor/editor_window.h"
#include "health/health_diary.h"
#include "mainwindow/main_window.h"
#include "mainwindow/widget_look.h"
#include "platform/instance_lock.h"
#include "platform/qt/qt_time_zone.h"
#include "platform/qt/qt_tray_icon.h"
#include "program/program.h"
#include "reportwindow/battery_report_window.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "texts/catalogue.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <optional>
#include <string>
#include <vector>

namespace amperlog {
namespace {

// Qt's own texts (the buttons of a question) follow the interface language, where the
// system has Qt's translations.
void ChooseInterfaceLanguage(const std::filesystem::path& settingsPath) {
    if (ChooseTextLanguage(settingsPath) != Language::Japanese) {
        return;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    }
}

} // namespace

Language ChooseTextLanguage(const std::filesystem::path& settingsPath) {
    SettingsStore settings(settingsPath, nullptr);
    std::vector<std::string> desktop;
    for (const QString& name : QLocale::system().uiLanguages()) {
        desktop.push_back(name.toStdString());
    }
    const Language language = ChooseLanguage(ReadLanguageSetting(settings), desktop);
    SetInterfaceLanguage(language);
    return language;
}

int RunApplication(Services services) {
    const std::filesystem::path folder = services.facts->ProgramFolder();
    const std::string exeName = services.facts->ExeName();

    // One copy per program folder.
    const QString channel = InstanceChannelName(folder);
    InstanceLock lock(folder / (exeName + ".lock"));
    if (!lock.TryLock()) {
        // The running copy comes forward instead, as the user meant by starting again.
        AskToShow(channel);
        return 0;
    }

    // The program ends when its main window is closed, not when the last window happens to
    // be hidden (the main window sits hidden in the notification area).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());

    ChooseInterfaceLanguage(folder / (exeName + ".ini"));
    Program program(services, folder, exeName);
    MainWindow window(program);

    QtTrayIcon tray(window.windowIcon());
    tray.SetMessageHandler([&window](std::int16_t message) { window.TrayMessage(message); });
    window.SetTrayIcon(&tray);
    window.SetEditorOpener([&window, &program, &services](const std::filesystem::path& path) {
        OpenInEditor(&window, path, program.Settings(), *services.screen, *services.text);
    });

    // The health diary's day is looked at once a minute; the batteries are read once a day.
    const std::filesystem::path diaryPath = HealthDiaryPath(folder);
    std::optional<HealthKeeper> healthKeeper;
    QTimer healthTimer;
    if (services.health) {
        healthKeeper.emplace(*services.health, diaryPath);
        QObject::connect(&healthTimer, &QTimer::timeout, &window,
                         [&] { healthKeeper->Tick(services.clock->Now()); });
        healthTimer.start(60 * 1000);
    }
    // The report reads the program folder again each time it is opened, at the interval in
    // force: the days' figures count a line's state for up to that long.
    const QtTimeZoneRules zone;
    QPointer<BatteryReportWindow> reportWindow;
    const auto openReport = [&] {
        if (reportWindow == nullptr) {
            reportWindow = new BatteryReportWindow(services.health.get(), folder, zone, &window);
            reportWindow->setAttribute(Qt::WA_DeleteOnClose);
        }
        reportWindow->Refresh(services.clock->Now(), program.State().SepMinutes);
        reportWindow->show();
        reportWindow->raise();
        reportWindow->activateWindow();
    };
    window.SetHealthOpener(openReport);
    tray.AddMenuEntry(std::string(Text(TextId::HealthMenu)), "mnuPopupHealth", openReport);
    if (services.loginStart) {
        tray.AddLoginStartEntry(*services.loginStart);
    }

    QObject::connect(&window, &MainWindow::Unloaded, &window, [] { QApplication::quit(); });
    const OutsideRequests outside(window, lock, channel);
    window.Startup();
    if (healthKeeper) {
        healthKeeper->Tick(services.clock->Now());
    }
    const int code = QApplication::exec();
    window.Shutdown();
    return code;
}

} // namespace amperlog

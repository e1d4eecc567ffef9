#include "application.h"

#include "editor_window.h"
#include "main_window.h"
#include "monitor.h"
#include "qt_tray_icon.h"
#include "settings_store.h"

#include <QApplication>
#include <QIcon>
#include <QLockFile>

namespace amperlog {

int RunApplication(Services services) {
    const std::filesystem::path folder = services.facts->ProgramFolder();
    const std::string exeName = services.facts->ExeName();

    // One copy per program folder. QLockFile takes over a lock whose owner is gone, so a
    // killed copy never blocks the next start.
    QLockFile lock(QString::fromStdString((folder / (exeName + ".lock")).string()));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) {
        return 0;
    }

    // The program ends when its main window is closed, not when the last window happens to
    // be hidden (the main window sits hidden in the notification area).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/amperlog.svg")));

    SettingsStore settings(folder / (exeName + ".ini"), services.screen.get());
    MonitorState state;
    MainWindowModel model;
    MainWindow window(state, model, settings, services, folder, exeName);

    QtTrayIcon tray(window.windowIcon());
    tray.SetMessageHandler([&window](std::int16_t message) { window.TrayMessage(message); });
    window.SetTrayIcon(&tray);
    window.SetEditorOpener([&window, &settings, &services](const std::filesystem::path& path) {
        OpenInEditor(&window, path, settings, *services.screen);
    });

    QObject::connect(&window, &MainWindow::Unloaded, &window, [] { QApplication::quit(); });
    window.Startup();
    const int code = QApplication::exec();
    window.Shutdown();
    return code;
}

} // namespace amperlog

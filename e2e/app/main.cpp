// The end-to-end test build: the same program with its power status and clock scripted
// through files in its program folder ("power.txt", "clock-offset.txt", "sleep-offset.txt",
// seconds the machine seems to have slept) and announcements
// written to "spoken.txt", so the suite can unplug the adapter or jump to midnight. On SIGUSR1
// it writes its widgets (with their texts and tooltips) to "widgets.txt" for the suite to read.
// "--health" prints the health report and "--report FILE" writes the battery report as the
// program's do, on the scripted clock.
// Desktop notifications go to the session bus as the program's do, where the suite runs a
// notification server of its own.
// Never installed.
#include "app/application.h"
#include "app/command_line.h"
#include "app/health_command.h"
#include "app/report_command.h"
#include "file_services.h"
#include "platform/platform_factory.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_screen_metrics.h"
#include "platform/qt/qt_time_zone.h"
#include "widget_dump.h"

#include <QApplication>
#include <algorithm>
#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char* argv[]) {
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
    const amperlog::CommandLine command = amperlog::ParseCommandLine(args);
    if (command.action == amperlog::CommandAction::Report) {
        const auto facts = amperlog::CreateAppFacts();
        const auto folder = facts->ProgramFolder();
        const amperlog::Language language =
            amperlog::ChooseTextLanguage(folder / (facts->ExeName() + ".ini"));
        const amperlog::QtClock realClock;
        const amperlog::e2e::OffsetClock clock(realClock, folder / "clock-offset.txt");
        return amperlog::RunReportCommand(folder, facts->ExeName(), command.reportFile, clock.Now(),
                                          amperlog::QtTimeZoneRules(), language, std::cerr);
    }
    if (command.action == amperlog::CommandAction::Health) {
        // The report as the program prints it, on the scripted clock.
        const auto facts = amperlog::CreateAppFacts();
        const auto folder = facts->ProgramFolder();
        const auto health = amperlog::CreateBatteryHealthSource();
        amperlog::ChooseTextLanguage(folder / (facts->ExeName() + ".ini"));
        const amperlog::QtClock realClock;
        const amperlog::e2e::OffsetClock clock(realClock, folder / "clock-offset.txt");
        return amperlog::RunHealthCommand(*health, folder, clock.Now(), std::cout);
    }
    amperlog::PrepareDisplayEnvironment();
    QApplication app(argc, argv);
    static const amperlog::QtClock realClock;
    amperlog::Services services;
    services.facts = amperlog::CreateAppFacts();
    const auto folder = services.facts->ProgramFolder();
    services.power = std::make_unique<amperlog::e2e::FilePowerSource>(folder / "power.txt");
    services.clock =
        std::make_unique<amperlog::e2e::OffsetClock>(realClock, folder / "clock-offset.txt");
    services.counter = std::make_unique<amperlog::QtMillisecondCounter>();
    services.screen = std::make_unique<amperlog::QtScreenMetrics>();
    services.speech = std::make_unique<amperlog::e2e::FileSpeechEngine>(folder / "spoken.txt");
    services.text = amperlog::CreateTextCodec();
    services.health = amperlog::CreateBatteryHealthSource();
    services.sleepClocks = std::make_unique<amperlog::e2e::OffsetSleepClocks>(
        amperlog::CreateSleepClocks(), folder / "sleep-offset.txt");
    services.notifier = amperlog::CreateDesktopNotifier();
    // The real autostart entry, under the XDG_CONFIG_HOME the suite gives.
    services.loginStart = amperlog::CreateLoginStart();
    const amperlog::e2e::WidgetDump dump(QString::fromStdString((folder / "widgets.txt").string()));
    return amperlog::RunApplication(std::move(services));
}

#include "app/application.h"
#include "app/command_line.h"
#include "app/health_command.h"
#include "app/report_command.h"
#include "platform/platform_factory.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_screen_metrics.h"
#include "platform/qt/qt_time_zone.h"

#include <QApplication>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char* argv[]) {
    // Everything but the monitor itself answers before any window, lock or file, so it
    // needs no display.
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
    const amperlog::CommandLine command = amperlog::ParseCommandLine(args);
    switch (command.action) {
    case amperlog::CommandAction::Error:
        amperlog::PrepareConsoleOutput();
        std::cerr << command.error << '\n';
        return amperlog::kUsageErrorExit;
    case amperlog::CommandAction::Help:
        amperlog::PrepareConsoleOutput();
        std::cout << amperlog::UsageText() << std::flush;
        return 0;
    case amperlog::CommandAction::Version:
        amperlog::PrepareConsoleOutput();
        std::cout << amperlog::VersionText() << std::flush;
        return 0;
    case amperlog::CommandAction::Health: {
        amperlog::PrepareConsoleOutput();
        const auto facts = amperlog::CreateAppFacts();
        const auto health = amperlog::CreateBatteryHealthSource();
        amperlog::ChooseTextLanguage(facts->ProgramFolder() / (facts->ExeName() + ".ini"));
        return amperlog::RunHealthCommand(*health, facts->ProgramFolder(),
                                          amperlog::QtClock().Now(), std::cout);
    }
    case amperlog::CommandAction::Report: {
        amperlog::PrepareConsoleOutput();
        const auto facts = amperlog::CreateAppFacts();
        const std::filesystem::path folder = facts->ProgramFolder();
        const amperlog::Language language =
            amperlog::ChooseTextLanguage(folder / (facts->ExeName() + ".ini"));
        return amperlog::RunReportCommand(folder, facts->ExeName(), command.reportFile,
                                          amperlog::QtClock().Now(), amperlog::QtTimeZoneRules(),
                                          language, std::cerr);
    }
    case amperlog::CommandAction::Monitor:
        break;
    }
    amperlog::PrepareDisplayEnvironment();
    QApplication app(argc, argv);
    amperlog::Services services;
    services.facts = amperlog::CreateAppFacts();
    services.clock = std::make_unique<amperlog::QtClock>();
    services.counter = std::make_unique<amperlog::QtMillisecondCounter>();
    services.power = amperlog::CreatePowerSource(*services.counter);
    services.screen = std::make_unique<amperlog::QtScreenMetrics>();
    services.speech = amperlog::CreateSpeechEngine();
    services.text = amperlog::CreateTextCodec();
    services.health = amperlog::CreateBatteryHealthSource();
    services.sleepClocks = amperlog::CreateSleepClocks();
    services.notifier = amperlog::CreateDesktopNotifier();
    services.loginStart = amperlog::CreateLoginStart();
    return amperlog::RunApplication(std::move(services));
}

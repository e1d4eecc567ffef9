#include "app/application.h"
#include "app/health_command.h"
#include "platform/platform_factory.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_screen_metrics.h"

#include <QApplication>
#include <iostream>

int main(int argc, char* argv[]) {
    if (amperlog::IsHealthCommand(argc, argv)) {
        amperlog::PrepareConsoleOutput();
        const auto facts = amperlog::CreateAppFacts();
        const auto health = amperlog::CreateBatteryHealthSource();
        amperlog::ChooseTextLanguage(facts->ProgramFolder() / (facts->ExeName() + ".ini"));
        return amperlog::RunHealthCommand(*health, facts->ProgramFolder(),
                                          amperlog::QtClock().Now(), std::cout);
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
    services.notifier = amperlog::CreateDesktopNotifier();
    services.loginStart = amperlog::CreateLoginStart();
    return amperlog::RunApplication(std::move(services));
}

#include "app/application.h"
#include "platform/platform_factory.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_screen_metrics.h"

#include <QApplication>

int main(int argc, char* argv[]) {
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
    return amperlog::RunApplication(std::move(services));
}

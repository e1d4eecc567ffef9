#pragma once

#include "platform/app_facts.h"
#include "platform/battery_health.h"
#include "platform/clock.h"
#include "platform/desktop_notifier.h"
#include "platform/login_start.h"
#include "platform/power_source.h"
#include "platform/screen_metrics.h"
#include "platform/speech_engine.h"
#include "platform/text_codec.h"

#include <memory>

namespace amperlog {

// The platform services one run of the program uses. The program users run gets the real
// ones; the end-to-end test build gets scripted ones.
struct Services {
    std::unique_ptr<AppFacts> facts;
    std::unique_ptr<Clock> clock;
    // Declared before the power source, which may time its readings with it: outlives it.
    std::unique_ptr<MillisecondCounter> counter;
    std::unique_ptr<PowerSource> power;
    std::unique_ptr<ScreenMetrics> screen;
    std::unique_ptr<SpeechEngine> speech;
    // The encoding of the files the editor opens.
    std::unique_ptr<TextCodec> text;
    // The batteries' wear, for the health diary; may be absent.
    std::unique_ptr<BatteryHealthSource> health;
    // May be null: no notifications.
    std::unique_ptr<DesktopNotifier> notifier;
    // May be null: sleeps go unnoticed.
    std::unique_ptr<SleepClocks> sleepClocks;
    // May be null: no "Start at login" item.
    std::unique_ptr<LoginStart> loginStart;
};

} // namespace amperlog

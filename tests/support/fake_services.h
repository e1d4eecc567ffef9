#pragma once

#include "helpers/civil_time.h"
#include "platform/fake/fake_app_facts.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_login_start.h"
#include "platform/fake/fake_screen_metrics.h"
#include "platform/fake/recording_desktop_notifier.h"
#include "platform/fake/recording_speech_engine.h"
#include "platform/fake/scripted_power_source.h"
#include "platform/services.h"

#include <filesystem>
#include <string>

namespace amperlog::test {

// A Services bundle of test doubles for a program in `folder` called `exeName`, with each
// double at hand under its own type.
struct FakeServices {
    FakeServices(const std::filesystem::path& folder, CivilTime now,
                 const std::string& exeName = "amperlog");

    Services services;
    FakeAppFacts& facts;
    ScriptedPowerSource& power;
    FakeClock& clock;
    FakeMillisecondCounter& counter;
    FakeScreenMetrics& screen;
    RecordingSpeechEngine& speech;
    RecordingDesktopNotifier& notifier;
    FakeLoginStart& loginStart;
};

} // namespace amperlog::test

#pragma once

#include "platform/app_facts.h"
#include "platform/battery_health.h"
#include "platform/clock.h"
#include "platform/desktop_notifier.h"
#include "platform/login_start.h"
#include "platform/power_source.h"
#include "platform/speech_engine.h"
#include "platform/text_codec.h"

#include <memory>

namespace amperlog {

// The real services of the platform the program was built for.
std::unique_ptr<AppFacts> CreateAppFacts();
// counter, when the source needs one, must outlive it.
std::unique_ptr<PowerSource> CreatePowerSource(const MillisecondCounter& counter);
std::unique_ptr<SpeechEngine> CreateSpeechEngine();
// The encoding of the program's text files and of a user's own.
std::unique_ptr<TextCodec> CreateTextCodec();
std::unique_ptr<BatteryHealthSource> CreateBatteryHealthSource();
// The counters that tell a sleep: CLOCK_MONOTONIC and CLOCK_BOOTTIME on Linux, the unbiased
// and the plain interrupt time on Windows.
std::unique_ptr<SleepClocks> CreateSleepClocks();
// The desktop's notifications: the freedesktop service over D-Bus (made in platform/qt, as it
// talks through Qt), the notification area's balloon on Windows.
std::unique_ptr<DesktopNotifier> CreateDesktopNotifier();
// The login start of the running executable: the desktop's autostart folder on Linux, the
// user's Run key on Windows.
std::unique_ptr<LoginStart> CreateLoginStart();

// Lets a run without a window print to the terminal it was started from: a Windows program
// with windows has no standard output of its own.
void PrepareConsoleOutput();

// Adjusts the environment before the GUI starts; on Linux, asks for X11 under Wayland when
// XWayland is there, since Wayland does not let a window restore its own position.
void PrepareDisplayEnvironment();

} // namespace amperlog

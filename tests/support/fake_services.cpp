#include "fake_services.h"

#include <memory>

namespace amperlog::test {
namespace {

// Puts the double into the bundle's slot and hands it back under its own type.
template <typename Slot, typename Double, typename... Args>
Double& Install(std::unique_ptr<Slot>& slot, Args&&... args) {
    auto made = std::make_unique<Double>(std::forward<Args>(args)...);
    Double& installed = *made;
    slot = std::move(made);
    return installed;
}

} // namespace

FakeServices::FakeServices(const std::filesystem::path& folder, CivilTime now,
                           const std::string& exeName)
    : facts(Install<AppFacts, FakeAppFacts>(services.facts, folder, exeName)),
      power(Install<PowerSource, ScriptedPowerSource>(services.power)),
      clock(Install<Clock, FakeClock>(services.clock, now)),
      counter(Install<MillisecondCounter, FakeMillisecondCounter>(services.counter)),
      screen(Install<ScreenMetrics, FakeScreenMetrics>(services.screen)),
      speech(Install<SpeechEngine, RecordingSpeechEngine>(services.speech)),
      notifier(Install<DesktopNotifier, RecordingDesktopNotifier>(services.notifier)),
      loginStart(Install<LoginStart, FakeLoginStart>(services.loginStart)) {}

} // namespace amperlog::test

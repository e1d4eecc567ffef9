// A hand-edited window placement on a screen of any size: the window comes back within the
// reach rules (at most 64 pixels off the left or top edge, its corner on the screen), with a
// size of at least one pixel or the one it had, and saving that placement and loading it
// again puts the window at the same spot.
#include "fuzz_support.h"
#include "platform/fake/fake_screen_metrics.h"
#include "settings/placement.h"
#include "settings/settings_store.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

using amperlog::fuzz::ScratchFolder;

bool IsFinite(const amperlog::WindowRect& r) {
    return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.width) &&
           std::isfinite(r.height);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int twipsPerPixel = input.ConsumeIntegralInRange<int>(1, 60);
    const double screenWidth = input.ConsumeFloatingPointInRange<double>(0, 1e7);
    const double screenHeight = input.ConsumeFloatingPointInRange<double>(0, 1e7);
    amperlog::WindowRect current;
    current.width = input.ConsumeFloatingPointInRange<double>(-1e6, 1e6);
    current.height = input.ConsumeFloatingPointInRange<double>(-1e6, 1e6);
    const std::string stored = input.ConsumeRemainingBytesAsString();

    const auto path = ScratchFolder() / "amperlog.ini";
    amperlog::fuzz::WriteBytes(path, "[Windows]\r\nMain=" + stored + "\r\n");
    amperlog::FakeScreenMetrics screen(twipsPerPixel, screenWidth, screenHeight);
    amperlog::SettingsStore settings(path, &screen);

    const amperlog::WindowRect placed =
        amperlog::LoadPlacement(settings, "Main", current, screenWidth, screenHeight);
    AMPERLOG_FUZZ_CHECK(IsFinite(placed));
    const bool centred = settings.ReadSetting("Windows", "Main").empty();
    const double margin = 64.0 * twipsPerPixel;
    if (!centred) {
        AMPERLOG_FUZZ_CHECK(placed.left >= -margin);
        AMPERLOG_FUZZ_CHECK(placed.left <= screenWidth);
        AMPERLOG_FUZZ_CHECK(placed.top >= -margin);
        AMPERLOG_FUZZ_CHECK(placed.top <= screenHeight - margin);
    }
    for (const auto& [extent, was] :
         {std::pair{placed.width, current.width}, std::pair{placed.height, current.height}}) {
        AMPERLOG_FUZZ_CHECK(extent == was ||
                            (extent >= twipsPerPixel && extent <= 32767.0 * twipsPerPixel));
    }

    if (centred) {
        return 0; // a centred window wider than the screen is pulled in at the next start
    }
    amperlog::SavePlacement(settings, "Main", placed);
    const amperlog::WindowRect again =
        amperlog::LoadPlacement(settings, "Main", current, screenWidth, screenHeight);
    AMPERLOG_FUZZ_CHECK(again == placed);
    return 0;
}

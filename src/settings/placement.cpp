#include "settings/placement.h"

#include "helpers/numeric.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace amperlog {
namespace {

constexpr double kMarginPixels = 64;
constexpr double kMaxSizePixels = 32767;

// Integer division of the rounded difference, truncating toward zero.
double CentredStart(double screenExtent, double windowExtent) {
    constexpr double kLimit = 1e15; // keeps the conversion defined for absurd sizes
    const double difference =
        std::clamp(RoundHalfEven(screenExtent - windowExtent), -kLimit, kLimit);
    const std::int64_t half = static_cast<std::int64_t>(difference) / 2;
    return static_cast<double>(half);
}

// The first four pieces of text split at ","; missing ones are empty.
std::array<std::string_view, 4> SplitPieces(std::string_view text) {
    std::array<std::string_view, 4> pieces{};
    for (std::string_view& piece : pieces) {
        const std::size_t comma = text.find(',');
        if (comma == std::string_view::npos) {
            piece = text;
            text = {};
        } else {
            piece = text.substr(0, comma);
            text.remove_prefix(comma + 1);
        }
    }
    return pieces;
}

double SizeOrCurrent(std::string_view piece, double current, double twipsPerPixel) {
    if (piece.empty()) {
        return current;
    }
    const double size = NumericValue(piece);
    if (size < twipsPerPixel || size > kMaxSizePixels * twipsPerPixel) {
        return current;
    }
    return size;
}

} // namespace

WindowRect LoadPlacement(SettingsStore& store, std::string_view key, const WindowRect& current,
                         double screenWidthTwips, double screenHeightTwips) {
    const std::string text = store.ReadSetting(kSectionWindows, key);
    WindowRect placed = current;
    if (text.empty()) {
        placed.left = CentredStart(screenWidthTwips, current.width);
        placed.top = CentredStart(screenHeightTwips, current.height);
        return placed;
    }
    const double twipsPerPixel = store.TwipsPerPixel();
    const double margin = kMarginPixels * twipsPerPixel;
    const auto pieces = SplitPieces(text);

    placed.left = NumericValue(pieces[0]);
    if (placed.left < -margin) {
        placed.left = -margin;
    }
    // Only a corner beyond the right edge is pulled back; the bottom edge is stricter.
    if (placed.left > screenWidthTwips) {
        placed.left = screenWidthTwips - margin;
    }
    placed.top = NumericValue(pieces[1]);
    if (placed.top < -margin) {
        placed.top = -margin;
    }
    if (placed.top > screenHeightTwips - margin) {
        placed.top = screenHeightTwips - margin;
    }
    placed.width = SizeOrCurrent(pieces[2], current.width, twipsPerPixel);
    placed.height = SizeOrCurrent(pieces[3], current.height, twipsPerPixel);
    return placed;
}

void SavePlacement(SettingsStore& store, std::string_view key, const WindowRect& rect) {
    std::string text = FormatNumber(rect.left);
    for (const double value : {rect.top, rect.width, rect.height}) {
        text.push_back(',');
        text.append(FormatNumber(value));
    }
    store.WriteSetting(kSectionWindows, key, text);
}

} // namespace amperlog

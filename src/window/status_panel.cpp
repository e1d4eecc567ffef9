#include "window/status_panel.h"

#include "graphs/battery_gauge.h"
#include "helpers/numeric.h"
#include "platform/drawing_surface.h"
#include "power/change_rate.h"
#include "power/power_sampler.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "texts/catalogue.h"
#include "window/window_model.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace amperlog {
namespace {

constexpr std::string_view kOnMains = "Power";
// Beyond any remaining time a battery reports; keeps the arithmetic in range.
constexpr double kMaxRemainSeconds = 1e12;

std::string FormatInteger(std::int64_t value) {
    return std::to_string(value);
}

// The shortest text that reads back as the same single: 85, 85.5.
std::string FormatSingle(float value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

} // namespace

std::string FormatRemainTime(std::string_view seconds) {
    const double value = NumericValue(seconds);
    if (!(value > 0) || value > kMaxRemainSeconds) {
        return {};
    }
    const auto total = static_cast<std::int64_t>(RoundHalfEven(value));
    std::int64_t hours = total / 3600;
    const std::int64_t rest = total - 3600 * hours;
    auto minutes = static_cast<std::int64_t>(RoundHalfEven(static_cast<double>(rest) / 60.0));
    if (hours < 1) {
        return FormatInteger(minutes);
    }
    if (minutes == 60) {
        ++hours;
        minutes = 0;
    }
    return FormatInteger(hours) + "+" + FormatInteger(minutes);
}

void ShowChangeRate(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
                    CivilTime now) {
    if (!state.DaySamples) {
        return;
    }
    std::string text;
    if (state.PowerText != kOnMains) {
        state.RateBand = ReadWorkInt16(settings, kKeyBand);
        const double perHour = static_cast<double>(GetEstimateRate(state, now)) * 60.0;
        const double whole = RoundHalfAway(perHour);
        // No "-0%" for a rate that rounds to nothing.
        text = FormatInteger(whole == 0 ? 0 : static_cast<std::int64_t>(whole)) + "%";
    } else {
        text = Text(TextId::RateOnMains);
    }
    model.lblRate = FormatText(TextId::RateCaption, text);
}

void DispPanel(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
               DrawingSurface& picBattery, CivilTime now) {
    const auto charge = static_cast<float>(NumericValue(state.PercentText));
    const int unit = state.LayoutUnit > 0 ? state.LayoutUnit : picBattery.TwipsPerPixel();
    DrawBatteryGauge(picBattery, charge, unit);
    // The gauge sizes its picture itself; the layout keeps that size.
    model.geometry.picBattery.width = picBattery.Width();
    model.geometry.picBattery.height = picBattery.Height();

    // Where no time is shown it reads "Charging" only while the battery charges; Japanese
    // has one word for both.
    const bool charging = state.BatteryStatusText == kBatteryStatusCharging;
    std::string remaining(Text(charging ? TextId::RemainCharging : TextId::RemainUnknown));
    if (state.PowerText != kOnMains) {
        if (NumericValue(state.RemainText) != 0) {
            remaining = FormatRemainTime(state.RemainText);
        }
        model.imgConsent = Face::AdapterOff;
    } else {
        model.imgConsent = Face::Adapter;
    }
    model.lblRemain = FormatText(TextId::RemainCaption, remaining);

    model.lblBattPercent = FormatSingle(charge);
    model.lblBattPercentColor = charge > 20.0F && charge < 80.0F ? kWhite : kYellow;

    model.imgVoice = ReadWorkSwitch(settings, kKeyVoice) ? Face::VoiceOn : Face::VoiceOff;
    ShowChangeRate(state, model, settings, now);
}

} // namespace amperlog

#include "power/power_sampler.h"

#include "settings/settings_store.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace amperlog {
namespace {

constexpr std::string_view kUnknownText = "   ";

struct StoredText {
    std::string_view key;
    std::string MonitorState::*text;
    SampleChange change;
};

// In the order of comparison: with several differences the last one names the change.
constexpr std::array<StoredText, 5> kStoredTexts{{
    {"BattPercent", &MonitorState::PercentText, SampleChange::Percent},
    {"RemainTime", &MonitorState::RemainText, SampleChange::Remain},
    {"ACStatus", &MonitorState::PowerText, SampleChange::Power},
    {"BattStatus", &MonitorState::BatteryStatusText, SampleChange::BatteryStatus},
    {"LifeTime", &MonitorState::FullLifeText, SampleChange::FullLife},
}};

// Indexes into kStoredTexts in the order the keys are written.
constexpr std::array<std::size_t, 5> kWriteOrder{4, 3, 1, 2, 0};

void SetPowerText(std::uint8_t acLineStatus, std::string& text) {
    switch (acLineStatus) {
    case kAcOffline:
        text = "Batt";
        break;
    case kAcOnline:
        text = "Power";
        break;
    case kAcUnknown:
        text = kUnknownText;
        break;
    default:
        break; // a value the platform does not define keeps the previous text
    }
}

std::string BatteryFlagText(std::uint8_t flag) {
    if (flag == kBatteryUnknown) {
        return "Unkown";
    }
    // Later tests win: a charging battery reads "Charge" whatever its level.
    std::string text;
    if ((flag & kBatteryNone) != 0) {
        text = "No batt";
    }
    if ((flag & kBatteryHigh) != 0) {
        text = "66%+";
    }
    if ((flag & kBatteryLow) != 0) {
        text = "33%-";
    }
    if ((flag & kBatteryCritical) != 0) {
        text = "5%-";
    }
    if ((flag & kBatteryCharging) != 0) {
        text = kBatteryStatusCharging;
    }
    return text;
}

} // namespace

std::int16_t SamplePowerStatus(PowerSource& source, SettingsStore& settings, MonitorState& state) {
    return SamplePowerStatus(source.Query(), settings, state);
}

std::int16_t SamplePowerStatus(const std::optional<PowerStatus>& status, SettingsStore& settings,
                               MonitorState& state) {
    if (!status) {
        state.PowerText = "Error";
        return 0;
    }

    SetPowerText(status->acLineStatus, state.PowerText);
    state.BatteryStatusText = BatteryFlagText(status->batteryFlag);
    state.FullLifeText = status->batteryFullLifeTime == kLifeTimeUnknown
                             ? std::string("Unknown")
                             : std::to_string(status->batteryFullLifeTime);
    if (status->batteryLifeTime != kLifeTimeUnknown) {
        state.RemainText = std::to_string(status->batteryLifeTime);
    } else {
        state.RemainText = state.PowerText == "Power" ? "Charge" : "";
    }
    state.PercentText = status->batteryLifePercent == kPercentUnknown
                            ? std::string(kUnknownText)
                            : std::to_string(status->batteryLifePercent) + "%";

    // Ten accesses in a row, once a second: one look at the file is enough.
    const SettingsStore::Burst burst(settings);
    SampleChange change = SampleChange::None;
    for (std::size_t i = 0; i < kStoredTexts.size(); ++i) {
        const StoredText& stored = kStoredTexts[i];
        const std::string previous = state.UnstoredSample ? (*state.UnstoredSample)[i]
                                                          : settings.ReadWorkSetting(stored.key);
        if (previous != state.*stored.text) {
            change = stored.change;
        }
    }
    bool allStored = true;
    for (const std::size_t index : kWriteOrder) {
        const StoredText& stored = kStoredTexts[index];
        allStored = settings.WriteWorkSetting(stored.key, state.*stored.text) && allStored;
    }
    if (allStored) {
        state.UnstoredSample.reset();
    } else {
        std::array<std::string, 5> texts;
        for (std::size_t i = 0; i < kStoredTexts.size(); ++i) {
            texts[i] = state.*kStoredTexts[i].text;
        }
        state.UnstoredSample = std::move(texts);
    }
    return static_cast<std::int16_t>(change);
}

} // namespace amperlog

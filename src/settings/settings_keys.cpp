#include "settings/settings_keys.h"

#include "helpers/ascii.h"
#include "helpers/numeric.h"
#include "settings/settings_store.h"

#include <algorithm>
#include <string>

namespace amperlog {
namespace {

// A text the user meant as a number: blanks, a sign, then a digit or a point and a digit.
bool StartsWithNumber(std::string_view text) {
    std::size_t at = text.find_first_not_of(" \t");
    if (at != std::string_view::npos && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    const auto isDigit = [&](std::size_t i) {
        return i < text.size() && text[i] >= '0' && text[i] <= '9';
    };
    return at != std::string_view::npos &&
           (isDigit(at) || (at < text.size() && text[at] == '.' && isDigit(at + 1)));
}

int ReadAlertKey(SettingsStore& store, const AlertKey& key) {
    const std::string text = store.ReadSetting(kSectionAlerts, key.name);
    if (!StartsWithNumber(text)) {
        return key.defaultValue;
    }
    const double value =
        std::clamp(RoundHalfEven(NumericValue(text)), static_cast<double>(key.minimum),
                   static_cast<double>(key.maximum));
    return static_cast<int>(value);
}

} // namespace

const WorkInt16Key* FindWorkInt16Key(std::string_view key) {
    for (const WorkInt16Key& entry : kWorkInt16Keys) {
        if (EqualsNoCase(entry.name, key)) {
            return &entry;
        }
    }
    return nullptr;
}

std::int16_t ReadWorkInt16(SettingsStore& store, std::string_view key, std::int16_t fallback) {
    const std::int16_t value = ToInt16Clamped(store.ReadWorkNumber(key, fallback));
    const WorkInt16Key* entry = FindWorkInt16Key(key);
    if (entry == nullptr) {
        return value;
    }
    return std::clamp(value, entry->minimum, entry->maximum);
}

std::int16_t ReadWorkInt16(SettingsStore& store, std::string_view key) {
    const WorkInt16Key* entry = FindWorkInt16Key(key);
    return ReadWorkInt16(store, key, entry != nullptr ? entry->defaultValue : std::int16_t{0});
}

bool ReadWorkSwitch(SettingsStore& store, std::string_view key) {
    const WorkInt16Key* entry = FindWorkInt16Key(key);
    return store.ReadWorkNumber(key, entry != nullptr ? entry->defaultValue : 0) == 1;
}

float ReadGraphScale(SettingsStore& store) {
    const float scale = store.ReadWorkNumber(kKeyExpand, kExpandDefault) == 1 ? 1.0F : 0.5F;
    store.WriteWorkSetting(kKeyExpand, scale == 1.0F ? "1" : "0.5");
    return scale;
}

std::string ReadLanguageSetting(SettingsStore& store) {
    return store.ReadSetting(kSectionInterface, kKeyLanguage);
}

AlertThresholds ReadAlertThresholds(SettingsStore& store) {
    const SettingsStore::Burst burst(store);
    AlertThresholds limits;
    for (const AlertKey& key : kAlertKeys) {
        limits.*key.value = ReadAlertKey(store, key);
    }
    limits.critical = std::min(limits.critical, limits.low - 1);
    return limits;
}

void WriteMissingAlertKeys(SettingsStore& store) {
    for (const AlertKey& key : kAlertKeys) {
        if (store.ReadSetting(kSectionAlerts, key.name).empty()) {
            store.WriteSetting(kSectionAlerts, key.name, std::to_string(key.defaultValue));
        }
    }
}

} // namespace amperlog

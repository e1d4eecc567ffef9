#include "settings/settings_keys.h"

#include "helpers/numeric.h"
#include "settings/settings_store.h"

#include <algorithm>

namespace amperlog {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
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

} // namespace amperlog

#include "settings/settings_store.h"

#include "helpers/numeric.h"
#include "platform/screen_metrics.h"
#include "settings/settings_keys.h"

#include <utility>

namespace amperlog {

SettingsStore::SettingsStore(std::filesystem::path settingsPath, const ScreenMetrics* screen)
    : m_path(std::move(settingsPath)), m_screen(screen), m_file(m_path) {}

std::string SettingsStore::ReadSetting(std::string_view section, std::string_view key) {
    if (m_screen != nullptr) {
        // A screen that reports no pixels keeps the last good scale: every margin and
        // conversion divides or multiplies by it.
        const int twipsPerPixel = m_screen->TwipsPerPixel();
        if (twipsPerPixel > 0) {
            m_twipsPerPixel = twipsPerPixel;
        }
    }
    return m_file.Read(section, key);
}

bool SettingsStore::WriteSetting(std::string_view section, std::string_view key,
                                 std::string_view value) {
    return m_file.Write(section, key, value);
}

std::string SettingsStore::ReadWorkSetting(std::string_view key) {
    return m_file.Read(kSectionWork, key);
}

bool SettingsStore::WriteWorkSetting(std::string_view key, std::string_view value) {
    return m_file.Write(kSectionWork, key, value);
}

double SettingsStore::ReadWorkNumber(std::string_view key, double fallback) {
    const std::string text = ReadWorkSetting(key);
    if (text.empty()) {
        return fallback;
    }
    return NumericValue(text);
}

} // namespace amperlog

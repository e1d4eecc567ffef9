#pragma once

#include "settings/profile_file.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace amperlog {

class ScreenMetrics;

// The settings file: section "Work" for settings and run-time state, "Windows" for window
// placements, "Interface" for the language. Write-through and never stale: every read sees the
// file, every write reaches it before the call returns.
class SettingsStore {
public:
    // screen may be null (tests); TwipsPerPixel then stays 15.
    SettingsStore(std::filesystem::path settingsPath, const ScreenMetrics* screen);

    const std::filesystem::path& SettingsPath() const { return m_path; }
    // Refreshed by every ReadSetting.
    int TwipsPerPixel() const { return m_twipsPerPixel; }

    std::string ReadSetting(std::string_view section, std::string_view key);
    // False when the file refused the write and keeps its old value.
    bool WriteSetting(std::string_view section, std::string_view key, std::string_view value);
    std::string ReadWorkSetting(std::string_view key);
    bool WriteWorkSetting(std::string_view key, std::string_view value);
    // The numeric value of the stored text, or fallback when the text is empty.
    double ReadWorkNumber(std::string_view key, double fallback);

    // Reads and writes made while one lives look at the file once: for a burst of accesses
    // that calls no other code (which could let another writer in) between them.
    class Burst {
    public:
        explicit Burst(SettingsStore& store) : m_file(store.m_file) { m_file.Hold(); }
        ~Burst() { m_file.Release(); }
        Burst(const Burst&) = delete;
        Burst& operator=(const Burst&) = delete;

    private:
        ProfileFile& m_file;
    };

private:
    std::filesystem::path m_path;
    const ScreenMetrics* m_screen;
    int m_twipsPerPixel = 15;
    ProfileFile m_file;
};

} // namespace amperlog

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace amperlog {

class SettingsStore;

inline constexpr std::string_view kSectionWork = "Work";
inline constexpr std::string_view kSectionWindows = "Windows";
inline constexpr std::string_view kSectionInterface = "Interface";

// Keys of "Work". Names match without regard to case in the file.
inline constexpr std::string_view kKeySep = "SEP";
inline constexpr std::string_view kKeyBand = "Band";
inline constexpr std::string_view kKeyExpand = "Expand";
inline constexpr std::string_view kKeyRemain = "Remain";
inline constexpr std::string_view kKeyStay = "Stay";
inline constexpr std::string_view kKeyVoice = "Voice";
inline constexpr std::string_view kKeyGraphMode = "GraphMode";
// The time of the last log line, spelt the way the log writer puts it into a new file;
// readers match it without regard to case, so the one spelling serves both.
inline constexpr std::string_view kKeyLogTime = "Logtime";
inline constexpr std::string_view kKeyStarting = "Starting";
inline constexpr std::string_view kKeyBattPercent = "BattPercent";
inline constexpr std::string_view kKeyRemainTime = "RemainTime";
inline constexpr std::string_view kKeyAcStatus = "ACStatus";
inline constexpr std::string_view kKeyBattStatus = "BattStatus";
inline constexpr std::string_view kKeyLifeTime = "LifeTime";

// Keys of "Windows": window placements.
inline constexpr std::string_view kKeyMain = "Main";
inline constexpr std::string_view kKeyEditor = "Editor";

// Key of "Interface": the language of the program's texts, "auto" (the desktop's), "ja" or
// "en". Never written: a missing key means "auto", and so does any other value.
inline constexpr std::string_view kKeyLanguage = "Language";

// The 16-bit "Work" settings: default when missing and the range the program handles.
// A hand-edited value outside it is brought to the nearest end, so that no value makes the
// program log every second, loop without end or divide by zero. The mode and switch keys
// keep the whole 16-bit range: the code that reads them treats every value sensibly (a
// "GraphMode" of 5 leaves the graph alone, a "Voice" of 5 counts as off).
struct WorkInt16Key {
    std::string_view name;
    std::int16_t defaultValue;
    std::int16_t minimum;
    std::int16_t maximum;
};

inline constexpr std::int16_t kInt16Min = -32768;
inline constexpr std::int16_t kInt16Max = 32767;

inline constexpr std::array<WorkInt16Key, 6> kWorkInt16Keys{{
    // Minutes between interval lines; a day has no more minutes since its last line.
    {kKeySep, 8, 1, 1440},
    // Samples the change-rate estimate covers; the change-rate tracker passes 3 as default.
    {kKeyBand, 5, 1, 10},
    {kKeyRemain, 0, kInt16Min, kInt16Max},
    {kKeyStay, 0, kInt16Min, kInt16Max},
    {kKeyVoice, 0, kInt16Min, kInt16Max},
    {kKeyGraphMode, 0, kInt16Min, kInt16Max},
}};

// "Expand" is a scale, not a 16-bit value: 1 when missing, normalised to 1 or 0.5 at start-up.
inline constexpr double kExpandDefault = 1.0;
// Start-up reads "Expand" once with this default before the normalising read replaces it.
inline constexpr double kExpandStartupDefault = 0.5;

// The table entry of key (matched without regard to case), or null.
const WorkInt16Key* FindWorkInt16Key(std::string_view key);

// The stored number of key rounded half-to-even, fallback when the key is missing or empty,
// then clamped to 16 bits and to the key's range from the table (16 bits only for a key that
// is not in the table). A stored text that is no number reads as 0 before clamping.
std::int16_t ReadWorkInt16(SettingsStore& store, std::string_view key, std::int16_t fallback);
// The same with the table's default (0 for a key that is not in the table).
std::int16_t ReadWorkInt16(SettingsStore& store, std::string_view key);

// An on/off key of the table ("Remain", "Voice"): on when the stored number, unrounded, is 1.
bool ReadWorkSwitch(SettingsStore& store, std::string_view key);

// "Expand" normalised to 1 or 0.5 and written back in that form.
float ReadGraphScale(SettingsStore& store);

// "Language" as it stands in the file; empty when missing.
std::string ReadLanguageSetting(SettingsStore& store);

// The alert thresholds, a section of our own. Percent, except "Repeat" in minutes.
inline constexpr std::string_view kSectionAlerts = "Alerts";
inline constexpr std::string_view kKeyAlertLow = "Low";
inline constexpr std::string_view kKeyAlertCritical = "Critical";
inline constexpr std::string_view kKeyAlertCharged = "Charged";
inline constexpr std::string_view kKeyAlertRepeat = "Repeat";

struct AlertThresholds {
    int low = 0;
    int critical = 0;
    int charged = 0;       // 0: no alert when charged
    int repeatMinutes = 0; // minutes between repeats of the critical alert; 0: once
};

struct AlertKey {
    std::string_view name;
    int AlertThresholds::*value;
    int defaultValue;
    int minimum;
    int maximum;
};

inline constexpr std::array<AlertKey, 4> kAlertKeys{{
    {kKeyAlertLow, &AlertThresholds::low, 20, 1, 99},
    {kKeyAlertCritical, &AlertThresholds::critical, 10, 1, 99},
    {kKeyAlertCharged, &AlertThresholds::charged, 0, 0, 99},
    {kKeyAlertRepeat, &AlertThresholds::repeatMinutes, 5, 0, 1440},
}};

// The thresholds as stored: a missing, empty or non-numeric value gives the default, a number
// is rounded half-to-even and clamped to its range, and "Critical" is brought below "Low"
// (to 0, an empty battery, when "Low" is 1).
AlertThresholds ReadAlertThresholds(SettingsStore& store);
// Writes the default of each alert key that the file does not hold yet, so that a user finds
// them there; touches no other section.
void WriteMissingAlertKeys(SettingsStore& store);

} // namespace amperlog

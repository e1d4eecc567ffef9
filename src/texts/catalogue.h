#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace amperlog {

// The languages the program speaks and writes. Japanese texts are the program's own; every
// other desktop gets English.
enum class Language : std::uint8_t { Japanese, English };

// Every text the program shows or speaks. Files (logs, settings) never use these: a log
// written under one language reads under the other.
enum class TextId : std::uint16_t {
    // Main window read-outs; "{}" stands for the value.
    RateCaption,
    RemainCaption,
    LineCountCaption,
    LineCountEmpty,
    // The remaining time while the battery charges, and where it is unknown otherwise.
    RemainCharging,
    RemainUnknown,
    RateOnMains,
    // Main window tooltips and menus.
    TipAdapter,
    TipStay,
    TipGraph,
    TipRemain,
    TipVoice,
    TipScale,
    TipFile,
    TipPen,
    TipTools,
    TipSep,
    TipStop,
    TipClose,
    // Brings the window back from the notification area; the name is the designed one.
    MenuExit,
    MenuStartAtLogin,
    WindowTitle,
    // Announcements.
    SpokenStaying,
    SpokenOk,
    SpokenMinutesPassed,
    SpokenOneMinutePassed,
    // The data editor.
    EditorTitle,
    EditorSave,
    EditorTooBig,
    EditorSaveQuestion,

    // Alerts.
    // Spoken and the notification's title; the details take the charge in percent.
    AlertLow,
    AlertLowDetail,
    AlertCritical,
    AlertCriticalDetail,
    AlertCharged,
    AlertChargedDetail,

    // Battery health.
    HealthMenu,
    HealthReading,
    HealthReadingRatio,
    HealthUnknown,
    HealthTrend,
    HealthTrendWithDate,
    HealthTrendTooShort,
    HealthNoReading,
    HealthNoDiary,
    // Battery report window.
    ReportTitle,
    ReportPageHealth,
    ReportPageUsage,
    ReportPageSleep,
    UsageOnBattery,
    UsageOnMains,
    UsageAsleep,
    UsageUnseen,
    UsageHours,
    UsagePercentPerHour,
    UsageWatts,
    // How long a full charge lasts: hours at today's capacity, at design capacity, and the
    // hours on battery the figure goes by.
    UsageEstimate,
    UsageEstimateNoDesign,
    UsageEstimateTooLittle,
    SleepColumnStart,
    SleepColumnLength,
    SleepColumnLost,
    SleepColumnRate,
    SleepColumnWatts,
    SleepMedian,
    SleepNone,

    // Report page.
    ReportMadeAt,
    ReportFolder,
    ReportBatteries,
    ReportBattery,
    ReportDate,
    ReportDesignWh,
    ReportFullWh,
    ReportHealthPercent,
    ReportCycles,
    ReportEstimates,
    ReportEstimateFull,
    ReportEstimateDesign,
    ReportEstimateBasis,
    ReportEstimateTooLittle,
    ReportCapacityHistory,
    ReportUsage,
    ReportOnBattery,
    ReportOnMains,
    ReportAsleep,
    ReportUnseen,
    ReportUsedPercent,
    ReportDrainPercentPerHour,
    ReportDrainWatts,
    ReportUsageNote,
    ReportSleeps,
    ReportSleepWhen,
    ReportSleepLength,
    ReportSleepLost,
    ReportSleepMedian,
    ReportNoSleeps,
    ReportNoDays,

    Count
};

// The text in the given language, UTF-8.
std::string_view Text(TextId id, Language language);
// The text in the interface language.
std::string_view Text(TextId id);
// The text with each "{}" replaced by the next argument, in order; missing arguments leave
// the rest as they stand.
std::string FormatText(TextId id, std::span<const std::string> args);
std::string FormatText(TextId id, std::string_view arg);

// The interface language of this run: chosen once at start, before any window exists.
Language InterfaceLanguage();
void SetInterfaceLanguage(Language language);

// The "Language" setting ("auto", "ja", "en", any case; anything else counts as "auto")
// over the desktop's interface languages, most preferred first ("ja_JP", "en-US", "C").
// Auto is Japanese when the first of them is Japanese, else English.
Language ChooseLanguage(std::string_view setting, std::span<const std::string> desktopLanguages);

} // namespace amperlog

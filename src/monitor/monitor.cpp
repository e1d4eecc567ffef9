#include "monitor/monitor.h"

#include "alerts/alert_message.h"
#include "datalog/daily_log.h"
#include "datalog/data_folder.h"
#include "helpers/numeric.h"
#include "platform/clock.h"
#include "platform/desktop_notifier.h"
#include "platform/power_source.h"
#include "power/power_sampler.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "sleep/sleep_diary.h"
#include "texts/catalogue.h"
#include "window/monitor_views.h"

#include <limits>

namespace amperlog {
namespace {

// A clock set back by more than this leaves a "LogTime" in the future; the interval then
// restarts with a line at once instead of falling silent until the clock catches up.
constexpr std::int64_t kClockBackTolerance = 60;
// Longer than the longest interval: the interval line is due.
constexpr std::int32_t kWholeDay = 24 * 60 * 60;

} // namespace

Monitor::Monitor(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
                 PowerSource& power, const Clock& clock, MonitorViews& views,
                 std::filesystem::path programFolder, DesktopNotifier* notifier)
    : m_state(state), m_model(model), m_settings(settings), m_power(power), m_clock(clock),
      m_views(views), m_programFolder(std::move(programFolder)), m_notifier(notifier) {}

std::string Monitor::TodayFileName() const {
    return LogFileName(m_clock.Now());
}

void Monitor::Startup() {
    m_model.MonitorDay = m_clock.Today();
    PrepareDataFolder(m_state, m_programFolder);
    LoadConfig();
    WriteStartupLine();
    WriteMissingAlertKeys(m_settings);
}

void Monitor::LoadConfig() {
    m_state.DataFolder = GetDatafolder(m_programFolder);
    m_state.TodayFileName = TodayFileName();
    m_model.lblTargetName = m_state.TodayFileName;

    m_model.StayMode = ReadWorkInt16(m_settings, kKeyStay);
    m_state.GraphScale =
        static_cast<float>(m_settings.ReadWorkNumber(kKeyExpand, kExpandStartupDefault));
    m_state.SepMinutes = ReadWorkInt16(m_settings, kKeySep);
    m_state.RemainMode = ReadWorkInt16(m_settings, kKeyRemain);
    if (const auto t = ParseSettingsTime(m_settings.ReadWorkSetting(kKeyLogTime))) {
        m_state.LastLogTime = t;
    }
    m_model.lblSEP = std::to_string(m_state.SepMinutes);

    m_state.GraphScale = ReadGraphScale(m_settings);
    m_model.imgScale = m_state.GraphScale == 1.0F ? Face::Big : Face::Small;
    m_model.imgVoice = ReadWorkSwitch(m_settings, kKeyVoice) ? Face::VoiceOn : Face::VoiceOff;
    m_model.imgPenVisible = HasAnyTextFile(m_state.DataFolder);
    m_model.lblTools = std::to_string(ReadWorkInt16(m_settings, kKeyBand));

    m_model.background = kWindowBackground;
    m_model.picIconBackground = kBlack;
    for (std::string* caption : {&m_model.lblBattPercent, &m_model.lblRemain, &m_model.lblRate,
                                 &m_model.lblLineCount, &m_model.lblCount, &m_model.lblSys}) {
        caption->clear();
    }
}

void Monitor::WriteStartupLine() {
    const CivilTime now = m_clock.Now();
    const auto path = m_state.DataFolder / LogFileName(now);
    if (!ReadLastLogTime(path, now.Year())) {
        SamplePowerStatus(m_power, m_settings, m_state);
        WriteLogLine(m_state, m_settings, now, kMarkerStartup);
    }
}

void Monitor::WatchSleeps(const SleepClocks& clocks, BatteryHealthSource* energy) {
    m_sleeps.emplace(clocks, energy);
}

void Monitor::Tick() {
    // One query for both: the alerts judge the very status the tick logged, and a scripted
    // source answers each query with its next entry.
    const std::optional<PowerStatus> status = m_power.Query();
    const std::int16_t change = SamplePowerStatus(status, m_settings, m_state);

    const CivilTime now = m_clock.Now();
    if (now.Date() != m_model.MonitorDay) {
        m_state.TodayFileName = LogFileName(now);
        m_model.lblTargetName = m_state.TodayFileName;
        WriteLogLine(m_state, m_settings, now, kMarkerDayChanged);
        m_model.MonitorDay = now.Date();
    }
    // Before anything is announced: an announcement lets the next ticks run inside it.
    if (m_sleeps) {
        m_sleeps->Tick(now, status, m_state.DataFolder / kSleepDiaryName);
    }

    m_views.RefreshChangeRate();
    m_views.DispPanel();
    UpdateElapsedCounter();

    // A line that could not be written changes nothing on screen and is not announced: with
    // the data folder gone, the interval line is tried again at every tick.
    if (change > 0 && WriteLogLine(m_state, m_settings, m_clock.Now(), kMarkerChange)) {
        m_views.RefreshGraphs();
        m_model.SecondsSinceLog = 0;
    }

    const std::int32_t seconds = SecondsSinceLastLine();
    const double minutes = RoundHalfEven(seconds / 60.0);
    if (minutes >= m_state.SepMinutes &&
        WriteLogLine(m_state, m_settings, m_clock.Now(), kMarkerInterval)) {
        m_views.RefreshGraphs();
        const TextId spoken =
            m_state.SepMinutes == 1 ? TextId::SpokenOneMinutePassed : TextId::SpokenMinutesPassed;
        m_views.SpeakText(FormatText(spoken, std::to_string(m_state.SepMinutes)));
        m_model.SecondsSinceLog = 0;
    }

    CheckAlerts(status, now);
}

void Monitor::CheckAlerts(const std::optional<PowerStatus>& status, CivilTime now) {
    // A critical notification may stay until dismissed; the adapter has answered it.
    if (m_criticalShown && status && status->acLineStatus == kAcOnline) {
        m_criticalShown = false;
        if (m_notifier != nullptr) {
            m_notifier->Withdraw();
        }
    }
    // A machine without a battery reads no thresholds at every tick.
    if (!status || status->batteryLifePercent == kPercentUnknown) {
        return;
    }
    const Alert alert = m_alerts.Update(*status, ReadAlertThresholds(m_settings), now);
    if (alert == Alert::None) {
        return;
    }
    // The ladder has moved on before anything is said: an announcement lets the next ticks
    // run inside it.
    const AlertMessage message = MessageFor(alert, status->batteryLifePercent);
    if (m_notifier != nullptr) {
        m_notifier->Notify(message.title, message.body, message.kind);
    }
    m_criticalShown = message.kind == NotificationKind::Critical;
    m_views.SpeakText(message.title);
}

std::int32_t Monitor::SecondsSinceLastLine() {
    // A time the settings file refused is measured from memory; the file's is older.
    if (!m_state.LogTimeUnstored) {
        const std::string text = m_settings.ReadWorkSetting(kKeyLogTime);
        if (text.empty()) {
            return 0;
        }
        if (const auto t = ParseSettingsTime(text)) {
            m_state.LastLogTime = t;
        }
    }
    const CivilTime now = m_clock.Now();
    if (!m_state.LastLogTime) {
        return 0;
    }
    if (m_state.LastLogTime->Date() != now.Date()) {
        m_state.LastLogTime = now;
        m_model.lblTargetName = LogFileName(now);
        m_state.GraphFilePath = m_state.DataFolder / m_model.lblTargetName;
    }
    // Counted in full width: every interval up to a whole day can fall due, and an old
    // "LogTime" makes the line due rather than wrapping around. Both times lie on one day.
    const std::int64_t seconds = SecondsBetween(*m_state.LastLogTime, now);
    if (seconds < 0) {
        return seconds < -kClockBackTolerance ? kWholeDay : 0;
    }
    return static_cast<std::int32_t>(seconds);
}

void Monitor::UpdateElapsedCounter() {
    if (m_model.SecondsSinceLog < std::numeric_limits<std::int32_t>::max()) {
        ++m_model.SecondsSinceLog;
    }
    if (m_state.SepMinutes <= 0) {
        return;
    }
    const int m = m_model.SecondsSinceLog / 60;
    const int s = m_model.SecondsSinceLog - 60 * m;
    m_model.lblCount = std::to_string(m) + ":" + (s < 10 ? "0" : "") + std::to_string(s);
}

} // namespace amperlog

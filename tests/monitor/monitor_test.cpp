#include "interface_language_scope.h"
#include "monitor_fixture.h"
#include "texts/catalogue.h"

#include <functional>
#include <map>

namespace amperlog {
namespace {

using namespace test;

TEST_F(MonitorTest, FirstStartCreatesFolderLogAndSettings) {
    monitor.Startup();
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Data"));
    EXPECT_EQ(Lines(LogOf(clock.Now())),
              std::vector<std::string>{"12/06 09:00:00,Batt,85%,3600,Monitor"});
    EXPECT_EQ(settings.ReadWorkSetting("Expand"), "1");
    EXPECT_EQ(settings.ReadWorkSetting("LogTime"), "2026/12/06 9:00:00");
    EXPECT_EQ(settings.ReadWorkSetting("BattPercent"), "85%");
    EXPECT_EQ(settings.ReadWorkSetting("LifeTime"), "10800");
    EXPECT_EQ(state.SepMinutes, 8);
    EXPECT_EQ(state.GraphScale, 1.0F);
    EXPECT_EQ(model.lblTargetName, "20261206.txt");
    EXPECT_EQ(model.lblSEP, "8");
    EXPECT_EQ(model.lblTools, "5");
    EXPECT_EQ(model.imgScale, Face::Big);
    EXPECT_EQ(model.imgVoice, Face::VoiceOff);
    // The catalogue was looked at before the first line created the file.
    EXPECT_FALSE(model.imgPenVisible);
}

TEST_F(MonitorTest, RestartOnTheSameDayWritesNoMonitorLine) {
    monitor.Startup();
    Monitor second(state, model, settings, power, clock, views, folder.Path());
    clock.Advance(60);
    second.Startup();
    EXPECT_EQ(Lines(LogOf(clock.Now())).size(), 1U);
    EXPECT_TRUE(model.imgPenVisible);
}

TEST_F(MonitorTest, LoadConfigReadsStoredSettings) {
    settings.WriteWorkSetting("SEP", "7.5");
    settings.WriteWorkSetting("Expand", "2");
    settings.WriteWorkSetting("Voice", "1");
    settings.WriteWorkSetting("Band", "7");
    monitor.LoadConfig();
    EXPECT_EQ(state.SepMinutes, 8);
    EXPECT_EQ(state.GraphScale, 0.5F);
    EXPECT_EQ(settings.ReadWorkSetting("Expand"), "0.5");
    EXPECT_EQ(model.imgScale, Face::Small);
    EXPECT_EQ(model.imgVoice, Face::VoiceOn);
    EXPECT_EQ(model.lblTools, "7");
}

TEST_F(MonitorTest, UnchangedStatusWritesNothingUntilTheInterval) {
    monitor.Startup();
    TickFor(449);
    EXPECT_EQ(Lines(LogOf(clock.Now())).size(), 1U);
    EXPECT_EQ(views.refreshes, 0);
    EXPECT_EQ(views.panels, 449);
    TickFor(1); // 450 s: 7.5 minutes round to 8
    const auto lines = Lines(LogOf(clock.Now()));
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[1], "12/06 09:07:30,Batt,85%,3600,+");
    EXPECT_EQ(views.spoken, (std::map<std::string, int>{{"8分経過しました", 1}}));
    EXPECT_EQ(views.refreshes, 1);
    EXPECT_EQ(model.SecondsSinceLog, 0);
}

TEST_F(MonitorTest, AStatusChangeWritesALineAndRestartsTheInterval) {
    monitor.Startup();
    TickFor(100);
    power.Set({0, 1, 84, 3500, 10800});
    TickFor(1);
    auto lines = Lines(LogOf(clock.Now()));
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[1], "12/06 09:01:41,Batt,84%,3500,");
    EXPECT_EQ(views.refreshes, 1);
    EXPECT_EQ(model.SecondsSinceLog, 0);
    TickFor(449);
    EXPECT_EQ(Lines(LogOf(clock.Now())).size(), 2U);
    TickFor(1);
    EXPECT_EQ(Marker(Lines(LogOf(clock.Now())).back()), "+");
}

TEST_F(MonitorTest, IntervalAnnouncementUsesTheStoredInterval) {
    settings.WriteWorkSetting("SEP", "12");
    monitor.Startup();
    TickFor(12 * 60);
    EXPECT_EQ(views.spoken, (std::map<std::string, int>{{"12分経過しました", 1}}));
}

TEST_F(MonitorTest, IntervalAnnouncementInEnglishReadsTheCountNaturally) {
    const test::InterfaceLanguageScope english(Language::English);
    const struct {
        const char* sep;
        const char* spoken;
    } cases[] = {{"1", "One minute has passed"}, {"8", "8 minutes have passed"}};
    for (const auto& c : cases) {
        settings.WriteWorkSetting("SEP", c.sep);
        views.spoken.clear();
        monitor.Startup();
        TickFor(static_cast<int>(std::stoi(c.sep)) * 60);
        EXPECT_EQ(views.spoken, (std::map<std::string, int>{{c.spoken, 1}})) << c.sep;
    }
}

TEST_F(MonitorTest, ElapsedCounterShowsMinutesAndSeconds) {
    settings.WriteWorkSetting("SEP", "20");
    monitor.Startup();
    struct Case {
        int ticks;
        const char* caption;
    } cases[] = {{1, "0:01"}, {59, "1:00"}, {419, "7:59"}};
    for (const auto& c : cases) {
        TickFor(c.ticks);
        EXPECT_EQ(model.lblCount, c.caption);
    }
}

TEST_F(MonitorTest, MidnightWritesDayChangedToTheNewFile) {
    clock.SetNow(At(2026, 12, 6, 23, 59, 0));
    monitor.Startup();
    TickFor(60);
    const CivilTime tomorrow = clock.Now();
    ASSERT_EQ(tomorrow.Day(), 7);
    EXPECT_EQ(Lines(LogOf(tomorrow)),
              std::vector<std::string>{"12/07 00:00:00,Batt,85%,3600,day changed"});
    EXPECT_EQ(model.lblTargetName, "20261207.txt");
    EXPECT_EQ(model.MonitorDay, tomorrow.Date());
    EXPECT_EQ(Lines(LogOf(At(2026, 12, 6, 0, 0, 0))).size(), 1U);
}

TEST_F(MonitorTest, AStaleLogTimeOnTheSameDayStartsTheIntervalLineAtOnce) {
    monitor.Startup();
    clock.SetNow(At(2026, 12, 6, 19, 0, 0)); // ten hours later, still no line
    monitor.Tick();
    EXPECT_EQ(Marker(Lines(LogOf(clock.Now())).back()), "+");
}

TEST_F(MonitorTest, AClockSetBackRestartsTheInterval) {
    monitor.Startup();
    clock.SetNow(At(2026, 12, 6, 8, 0, 0));
    monitor.Tick();
    const auto lines = Lines(LogOf(clock.Now()));
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[1], "12/06 08:00:00,Batt,85%,3600,+");
    TickFor(449);
    EXPECT_EQ(Lines(LogOf(clock.Now())).size(), 2U);
}

TEST_F(MonitorTest, EmptyLogTimeGivesNoIntervalLineAndAnUnreadableOneKeepsTheLastTime) {
    monitor.Startup(); // "LogTime" 9:00:00
    settings.WriteWorkSetting("LogTime", "");
    TickFor(450);
    EXPECT_EQ(monitor.SecondsSinceLastLine(), 0);
    EXPECT_EQ(Lines(LogOf(clock.Now())).size(), 1U);
    // The time read last, 9:00:00, still counts: the interval has passed.
    settings.WriteWorkSetting("LogTime", "not a time");
    EXPECT_EQ(monitor.SecondsSinceLastLine(), 450);
    monitor.Tick();
    EXPECT_EQ(Lines(LogOf(clock.Now())).back(), "12/06 09:07:30,Batt,85%,3600,+");
}

TEST_F(MonitorTest, QueryFailureLogsNothingButTheInterval) {
    monitor.Startup();
    power.SetFailure();
    TickFor(449);
    EXPECT_EQ(state.PowerText, "Error");
    EXPECT_EQ(Lines(LogOf(clock.Now())).size(), 1U);
    TickFor(1);
    EXPECT_EQ(Lines(LogOf(clock.Now())).back(), "12/06 09:07:30,Error,85%,3600,+");
}

TEST_F(MonitorTest, WithoutABatteryAnUnchangedTickTouchesNoFile) {
    power.Set(kNoBattery);
    monitor.Startup();
    monitor.Tick();
    const auto ini = test::ReadFileBytes(folder / "amperlog.ini");
    const auto log = test::ReadFileBytes(LogOf(clock.Now()));
    const auto iniTime = std::filesystem::last_write_time(folder / "amperlog.ini");
    TickFor(300);
    EXPECT_EQ(test::ReadFileBytes(folder / "amperlog.ini"), ini);
    EXPECT_EQ(test::ReadFileBytes(LogOf(clock.Now())), log);
    EXPECT_EQ(std::filesystem::last_write_time(folder / "amperlog.ini"), iniTime);
    EXPECT_EQ(state.PercentText, "   ");
}

TEST_F(MonitorTest, IntervalsBeyondSixteenBitsOfSecondsFallDue) {
    struct Case {
        const char* sep;
        CivilTime start;
        CivilTime justBefore;
    } cases[] = {
        // 599.48 minutes round to 599, 599.5 to 600.
        {"600", At(2026, 12, 6, 9, 0, 0), At(2026, 12, 6, 18, 59, 29)},
        {"1440", At(2026, 12, 7, 0, 0, 0), At(2026, 12, 7, 23, 59, 29)},
    };
    for (const Case& c : cases) {
        settings.WriteWorkSetting("SEP", c.sep);
        clock.SetNow(c.start);
        monitor.Startup();
        clock.SetNow(c.justBefore);
        monitor.Tick();
        EXPECT_EQ(Marker(Lines(LogOf(clock.Now())).back()), "Monitor") << c.sep;
        views.spoken.clear();
        TickFor(1);
        EXPECT_EQ(Marker(Lines(LogOf(clock.Now())).back()), "+") << c.sep;
        EXPECT_EQ(views.spoken,
                  (std::map<std::string, int>{{std::string(c.sep) + "分経過しました", 1}}));
    }
}

TEST_F(MonitorTest, ElapsedCounterCountsPastSixteenBits) {
    monitor.Startup();
    model.SecondsSinceLog = 32767;
    monitor.UpdateElapsedCounter();
    EXPECT_EQ(model.lblCount, "546:08");
}

// Where the log line or its time cannot be stored, nothing is redrawn or announced without a
// written line, and an unwritable settings file does not make every tick a change.
struct UnstorableCase {
    const char* what;
    std::function<void(const std::filesystem::path& folder)> beforeStart;
    std::function<void(const std::filesystem::path& folder)> afterStart;
    std::vector<std::string> markers; // of today's log after 900 ticks
    int graphs;
    int spoken;        // times "8分経過しました" was spoken
    const char* count; // lblCount: seconds since the last line written
};

void PrintTo(const UnstorableCase& c, std::ostream* out) {
    *out << c.what;
}

class UnstorableTest : public MonitorTest, public ::testing::WithParamInterface<UnstorableCase> {};

void Nothing(const std::filesystem::path&) {}

void DataFolderReplacedByAFile(const std::filesystem::path& folder) {
    std::filesystem::remove_all(folder / "Data");
    test::WriteFileBytes(folder / "Data", "not a folder");
}

void SettingsFileReadOnly(const std::filesystem::path& folder) {
    const auto path = folder / "amperlog.ini";
    test::WriteFileBytes(path, "[Work]\r\nSEP=8\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
}

void SettingsFileIsAFolder(const std::filesystem::path& folder) {
    std::filesystem::create_directory(folder / "amperlog.ini");
}

TEST_P(UnstorableTest, OneLinePerRealChangeAndNoRepeatedAnnouncement) {
    const UnstorableCase& c = GetParam();
    c.beforeStart(folder.Path());
    monitor.Startup();
    c.afterStart(folder.Path());
    TickFor(100);
    power.Set({0, 1, 84, 3500, 10800});
    TickFor(800);
    std::vector<std::string> markers;
    for (const std::string& line : Lines(LogOf(clock.Now()))) {
        markers.push_back(Marker(line));
    }
    EXPECT_EQ(markers, c.markers);
    EXPECT_EQ(views.refreshes, c.graphs);
    EXPECT_EQ(views.spoken["8分経過しました"], c.spoken);
    EXPECT_EQ(model.lblCount, std::string(c.count));
}

std::string CaseName(const ::testing::TestParamInfo<UnstorableCase>& param) {
    return param.param.what;
}

// A change at 101 s, the interval line 450 s later, none more before 1001 s.
const UnstorableCase kUnstorableCases[] = {
    {"DataFolderReplacedByAFile", Nothing, DataFolderReplacedByAFile, {}, 0, 0, "15:00"},
    {"SettingsFileReadOnly", SettingsFileReadOnly, Nothing, {"Monitor", "", "+"}, 2, 1, "5:49"},
    {"SettingsFileIsAFolder", SettingsFileIsAFolder, Nothing, {"Monitor", "", "+"}, 2, 1, "5:49"},
};
INSTANTIATE_TEST_SUITE_P(Table, UnstorableTest, ::testing::ValuesIn(kUnstorableCases), CaseName);

using Notification = RecordingDesktopNotifier::Notification;

class AlertsMonitorTest : public MonitorTest {
protected:
    void TickAt(int percent, std::uint8_t ac = kAcOffline) {
        power.Set({ac, 1, static_cast<std::uint8_t>(percent), 3600, 10800});
        TickFor(1);
    }
    RecordingDesktopNotifier& notifier = fakes.notifier;
};

TEST_F(AlertsMonitorTest, TheTickSpeaksAndNotifiesEachAlertOnceAndLogsNothingMore) {
    monitor.Startup();
    TickAt(25);
    TickAt(19);
    TickAt(19);
    TickAt(9);
    const std::string low(Text(TextId::AlertLow));
    const std::string critical(Text(TextId::AlertCritical));
    EXPECT_EQ(views.spoken, (std::map<std::string, int>{{low, 1}, {critical, 1}}));
    EXPECT_EQ(
        notifier.Shown(),
        (std::vector<Notification>{
            {low, FormatText(TextId::AlertLowDetail, "19"), NotificationKind::Warning},
            {critical, FormatText(TextId::AlertCriticalDetail, "9"), NotificationKind::Critical}}));
    // One line for each change of the charge, as without alerts.
    for (const std::string& line : Lines(LogOf(clock.Now()))) {
        EXPECT_TRUE(Marker(line) == "Monitor" || Marker(line).empty()) << line;
    }
}

TEST_F(AlertsMonitorTest, StartupWritesTheMissingThresholdsAndTheTickReadsThemAsStored) {
    settings.WriteSetting(kSectionAlerts, kKeyAlertCharged, "80");
    monitor.Startup();
    EXPECT_EQ(settings.ReadSetting(kSectionAlerts, kKeyAlertLow), "20");
    EXPECT_EQ(settings.ReadSetting(kSectionAlerts, kKeyAlertRepeat), "5");
    EXPECT_EQ(settings.ReadSetting(kSectionAlerts, kKeyAlertCharged), "80");
    TickAt(79, kAcOnline);
    TickAt(80, kAcOnline);
    ASSERT_EQ(notifier.Shown().size(), 1U);
    EXPECT_EQ(notifier.Shown()[0].title, Text(TextId::AlertCharged));
    EXPECT_EQ(notifier.Shown()[0].kind, NotificationKind::Info);
}

// A critical notification that stays until dismissed must not outlive the adapter's return.
TEST_F(AlertsMonitorTest, PluggingInWithdrawsTheCriticalNotificationOnce) {
    monitor.Startup();
    TickAt(19);
    TickAt(19, kAcOnline);
    EXPECT_TRUE(notifier.Withdrawals().empty());
    TickAt(9);
    TickAt(9);
    TickAt(9, kAcOnline);
    TickAt(9, kAcOnline);
    ASSERT_EQ(notifier.Shown().size(), 2U);
    EXPECT_EQ(notifier.Shown()[1].kind, NotificationKind::Critical);
    // Withdrawn once, after the second notification.
    EXPECT_EQ(notifier.Withdrawals(), std::vector<std::size_t>{2});
}

} // namespace
} // namespace amperlog

#include "texts/catalogue.h"

#include "helpers/ascii.h"

#include <array>
#include <atomic>
#include <cstddef>

namespace amperlog {
namespace {

struct Entry {
    TextId id;
    std::string_view japanese;
    std::string_view english;
};

// The Japanese texts are the reference and stay byte for byte as they are, blanks included.
// The English ones fit the same label widths at the same fonts.
constexpr std::array kEntries{
    Entry{TextId::RateCaption, "変化率  {}", "Rate  {}"},
    Entry{TextId::RemainCaption, "残時間  {}", "Left  {}"},
    Entry{TextId::LineCountCaption, "データ   {}", "Data  {}"},
    Entry{TextId::LineCountEmpty, "データ数", "Data"},
    Entry{TextId::RemainCharging, "Charge", "Charging"},
    // Japanese says "Charge" for any unknown time; English says only what is true.
    Entry{TextId::RemainUnknown, "Charge", "—"},
    Entry{TextId::RateOnMains, "Connect ", "On AC"},
    Entry{TextId::TipAdapter, "電源アダプターの接続状態", "Power adapter"},
    Entry{TextId::TipStay, "通知領域に常駐する", "Keep in the notification area"},
    Entry{TextId::TipGraph, "グラフを切り替える (棒グラフ/タイムライン)",
          "Switch the graph (bars/timeline)"},
    Entry{TextId::TipRemain, "残時間の表示を切り替える", "Show or hide the time left"},
    Entry{TextId::TipVoice, "音声のオン/オフ", "Voice on/off"},
    Entry{TextId::TipScale, "時間軸を拡大/縮小する", "Zoom the time axis in/out"},
    Entry{TextId::TipFile, "表示するログを選ぶ", "Choose the log to show"},
    Entry{TextId::TipPen, "表示中のログを編集する", "Edit the log shown"},
    Entry{TextId::TipTools, "変化率を求めるデータ数 (左クリックで +1, 右クリックで -1)",
          "Samples for the change rate (left click +1, right click -1)"},
    Entry{TextId::TipSep, "記録の間隔 (左クリックで +2 分, 右クリックで -2 分)",
          "Logging interval (left click +2 min, right click -2 min)"},
    Entry{TextId::TipStop, "監視を止める", "Stop monitoring"},
    Entry{TextId::TipClose, "閉じる", "Close"},
    Entry{TextId::MenuExit, "Exit", "Show window"},
    Entry{TextId::MenuStartAtLogin, "ログイン時に起動", "Start at login"},
    Entry{TextId::WindowTitle, "Battery Monitor", "Battery Monitor"},
    Entry{TextId::SpokenStaying, "常駐しました", "Now in the notification area"},
    Entry{TextId::SpokenOk, "OK", "OK"},
    Entry{TextId::SpokenMinutesPassed, "{}分経過しました", "{} minutes have passed"},
    Entry{TextId::SpokenOneMinutePassed, "{}分経過しました", "One minute has passed"},
    Entry{TextId::EditorTitle, "データ編集", "Edit data"},
    Entry{TextId::EditorSave, "保存", "Save"},
    Entry{TextId::EditorTooBig, "このファイルは大きすぎるため編集できません（8 MB まで）。",
          "This file is too large to edit (8 MB at most)."},
    Entry{TextId::EditorSaveQuestion, "変更があります。保存しますか？", "Save your changes?"},
    Entry{TextId::AlertLow, "バッテリー残量が少なくなりました", "Battery low"},
    Entry{TextId::AlertLowDetail, "残り {}%", "{}% left"},
    Entry{TextId::AlertCritical, "バッテリー残量がわずかになりました", "Battery critically low"},
    Entry{TextId::AlertCriticalDetail, "残り {}%。電源につないでください",
          "{}% left. Plug in the power adapter."},
    Entry{TextId::AlertCharged, "充電が十分になりました", "Battery charged"},
    Entry{TextId::AlertChargedDetail, "{}%まで充電しました。電源を外せます",
          "Charged to {}%. You may unplug the adapter."},
    Entry{TextId::HealthMenu, "バッテリーレポート...", "Battery report..."},
    Entry{TextId::HealthReading, "{}: 設計容量 {} Wh, 満充電容量 {} Wh, 健康度 {} %, サイクル数 {}",
          "{}: design {} Wh, full {} Wh, health {} %, cycles {}"},
    Entry{TextId::HealthReadingRatio, "{}: 健康度 {} %, サイクル数 {}",
          "{}: health {} %, cycles {}"},
    Entry{TextId::HealthUnknown, "不明", "unknown"},
    Entry{TextId::HealthTrend, "劣化 {} % / 100日", "Wear {} % per 100 days"},
    Entry{TextId::HealthTrendWithDate, "劣化 {} % / 100日, 80 % になるのは {} ごろ",
          "Wear {} % per 100 days, 80 % around {}"},
    Entry{TextId::HealthTrendTooShort, "傾向は30日以上, 10日分の記録がたまると表示します",
          "Trend after 30 days and 10 readings"},
    Entry{TextId::HealthNoReading, "バッテリーの容量を読み取れません",
          "No battery capacity to read"},
    Entry{TextId::HealthNoDiary, "まだ記録がありません", "No readings recorded yet"},
    // Battery report window.
    Entry{TextId::ReportTitle, "バッテリーレポート", "Battery report"},
    Entry{TextId::ReportPageHealth, "健康状態", "Health"},
    Entry{TextId::ReportPageUsage, "使用状況", "Usage"},
    Entry{TextId::ReportPageSleep, "スリープ", "Sleep"},
    Entry{TextId::UsageOnBattery, "バッテリー", "On battery"},
    Entry{TextId::UsageOnMains, "AC電源", "On mains"},
    Entry{TextId::UsageAsleep, "スリープ", "Asleep"},
    Entry{TextId::UsageUnseen, "記録なし", "Not seen"},
    Entry{TextId::UsageHours, "{} 時間", "{} h"},
    Entry{TextId::UsagePercentPerHour, "%/時間", "%/h"},
    Entry{TextId::UsageWatts, "W", "W"},
    Entry{TextId::UsageEstimate,
          "満充電で約 {} 時間, 設計容量なら約 {} 時間 (直近7日間のバッテリー駆動 {} 時間から)",
          "A full charge lasts about {} h, {} h at design capacity (from {} h on battery in "
          "the last 7 days)"},
    Entry{TextId::UsageEstimateNoDesign,
          "満充電で約 {} 時間 (直近7日間のバッテリー駆動 {} 時間から)",
          "A full charge lasts about {} h (from {} h on battery in the last 7 days)"},
    Entry{TextId::UsageEstimateTooLittle,
          "直近7日間のバッテリー駆動は {} 時間だけで, 持ち時間はまだ見積もれません",
          "Only {} h on battery in the last 7 days: too little to tell how long a charge lasts"},
    Entry{TextId::SleepColumnStart, "スリープした日時", "Went to sleep"},
    Entry{TextId::SleepColumnLength, "長さ", "Length"},
    Entry{TextId::SleepColumnLost, "減った量", "Lost"},
    Entry{TextId::SleepColumnRate, "1時間あたり", "Per hour"},
    Entry{TextId::SleepColumnWatts, "電力", "Power"},
    Entry{TextId::SleepMedian, "スリープ中に減る量 (中央値): 1時間あたり {} %",
          "Median drain asleep: {} % per hour"},
    Entry{TextId::SleepNone, "スリープの記録はまだありません", "No sleep recorded yet"},

    // Report page.
    Entry{TextId::ReportMadeAt, "作成日時 {}", "Made {}"},
    Entry{TextId::ReportFolder, "プログラムのフォルダー: {}", "Program folder: {}"},
    Entry{TextId::ReportBatteries, "バッテリー", "Batteries"},
    Entry{TextId::ReportBattery, "バッテリー", "Battery"},
    Entry{TextId::ReportDate, "日付", "Date"},
    Entry{TextId::ReportDesignWh, "設計容量 (Wh)", "Design (Wh)"},
    Entry{TextId::ReportFullWh, "満充電容量 (Wh)", "Full (Wh)"},
    Entry{TextId::ReportHealthPercent, "健康度 (%)", "Health (%)"},
    Entry{TextId::ReportCycles, "サイクル数", "Cycles"},
    Entry{TextId::ReportEstimates, "満充電でもつ時間", "How long a full charge lasts"},
    Entry{TextId::ReportEstimateFull, "今の満充電容量で: {} 時間",
          "At today's full capacity: {} hours"},
    Entry{TextId::ReportEstimateDesign, "設計容量で: {} 時間", "At design capacity: {} hours"},
    Entry{TextId::ReportEstimateBasis, "直近7日間のバッテリー駆動 {} 時間の消費から",
          "From the drain of {} hours on battery in the last 7 days"},
    Entry{TextId::ReportEstimateTooLittle,
          "直近7日間のバッテリー駆動が2時間に満たないため, 見積もれません",
          "Fewer than 2 hours on battery in the last 7 days: too little to go by"},
    Entry{TextId::ReportCapacityHistory, "容量の推移", "Capacity history"},
    Entry{TextId::ReportUsage, "日ごとの使い方", "Usage per day"},
    Entry{TextId::ReportOnBattery, "バッテリー駆動", "On battery"},
    Entry{TextId::ReportOnMains, "AC電源", "On mains"},
    Entry{TextId::ReportAsleep, "スリープ", "Asleep"},
    Entry{TextId::ReportUnseen, "記録なし", "Not seen"},
    Entry{TextId::ReportUsedPercent, "使用量 (%)", "Used (%)"},
    Entry{TextId::ReportDrainPercentPerHour, "消費 (%/時)", "Drain (%/h)"},
    Entry{TextId::ReportDrainWatts, "消費 (W)", "Drain (W)"},
    Entry{TextId::ReportUsageNote,
          "時間は 時:分 で表示. 記録なし: プログラムが動いていなかった時間. "
          "一度も記録のない日は表に載せません",
          "Times in hours:minutes. Not seen: the program was not running. Days it never ran "
          "are left out of the table"},
    Entry{TextId::ReportSleeps, "スリープ", "Sleeps"},
    Entry{TextId::ReportSleepWhen, "日時", "When"},
    Entry{TextId::ReportSleepLength, "長さ", "How long"},
    Entry{TextId::ReportSleepLost, "減少 (%)", "Lost (%)"},
    Entry{TextId::ReportSleepMedian, "スリープ中の消費の中央値: {} %/時",
          "Median drain asleep: {} % per hour"},
    Entry{TextId::ReportNoSleeps, "スリープの記録がありません", "No sleep recorded"},
    Entry{TextId::ReportNoDays, "日ごとの記録がありません", "No daily logs in these days"},
};

// The table is in the enum's order, so a lookup is an index; the test checks both.
constexpr bool InEnumOrder() {
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        if (static_cast<std::size_t>(kEntries[i].id) != i) {
            return false;
        }
    }
    return kEntries.size() == static_cast<std::size_t>(TextId::Count);
}
static_assert(InEnumOrder(), "every text once, in the order of TextId");

std::atomic<Language> g_language{Language::Japanese};

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::string_view Text(TextId id, Language language) {
    const auto index = static_cast<std::size_t>(id);
    if (index >= kEntries.size()) {
        return {};
    }
    return language == Language::Japanese ? kEntries[index].japanese : kEntries[index].english;
}

std::string_view Text(TextId id) {
    return Text(id, InterfaceLanguage());
}

std::string FormatText(TextId id, std::span<const std::string> args) {
    const std::string_view pattern = Text(id);
    std::string out;
    out.reserve(pattern.size() + 16);
    std::size_t next = 0;
    std::size_t at = 0;
    while (at < pattern.size()) {
        const auto hole = pattern.find("{}", at);
        if (hole == std::string_view::npos || next == args.size()) {
            out.append(pattern.substr(at));
            break;
        }
        out.append(pattern.substr(at, hole - at));
        out.append(args[next++]);
        at = hole + 2;
    }
    return out;
}

std::string FormatText(TextId id, std::string_view arg) {
    const std::string args[] = {std::string(arg)};
    return FormatText(id, args);
}

Language InterfaceLanguage() {
    return g_language.load(std::memory_order_relaxed);
}

void SetInterfaceLanguage(Language language) {
    g_language.store(language, std::memory_order_relaxed);
}

Language ChooseLanguage(std::string_view setting, std::span<const std::string> desktopLanguages) {
    const std::string_view value = Trimmed(setting);
    if (EqualsNoCase(value, "ja")) {
        return Language::Japanese;
    }
    if (EqualsNoCase(value, "en")) {
        return Language::English;
    }
    if (desktopLanguages.empty()) {
        return Language::English;
    }
    const std::string_view first = desktopLanguages.front();
    const bool japanese = EqualsNoCase(first.substr(0, 2), "ja") &&
                          (first.size() == 2 || first[2] == '_' || first[2] == '-' ||
                           first[2] == '.' || first[2] == '@');
    return japanese ? Language::Japanese : Language::English;
}

} // namespace amperlog

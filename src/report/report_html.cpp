#include "report/report_html.h"

#include "health/health_trend.h"
#include "helpers/civil_time.h"
#include "helpers/numeric.h"
#include "report/markup.h"
#include "report/report_charts.h"

#include <initializer_list>
#include <optional>
#include <vector>

namespace amperlog {
namespace {

// Light on screen and on paper; the charts take the page's width, A4's when printed.
constexpr std::string_view kStyle = R"(
@page { size: A4; margin: 14mm; }
html { background: #fff; color: #1b1b1b; }
body { font-family: "DejaVu Sans", "Noto Sans", Arial, "IPAPGothic", "Noto Sans CJK JP",
       sans-serif; font-size: 14px; line-height: 1.45; max-width: 182mm; margin: 0 auto;
       padding: 18px; }
html:lang(ja) body { font-family: "IPAPGothic", "Noto Sans CJK JP", "DejaVu Sans",
       sans-serif; }
h1 { font-size: 24px; margin: 0 0 4px; }
h2 { font-size: 17px; margin: 26px 0 8px; padding-bottom: 3px; border-bottom: 2px solid #ccc;
     break-after: avoid; }
p { margin: 4px 0; }
.meta { color: #555; font-size: 13px; overflow-wrap: anywhere; }
.note { color: #555; font-size: 12px; }
table { border-collapse: collapse; width: 100%; font-size: 12.5px;
        font-variant-numeric: tabular-nums; }
th, td { padding: 3px 7px; border-bottom: 1px solid #ddd; text-align: right;
         white-space: nowrap; }
th { border-bottom: 1px solid #999; font-weight: 600; }
th:first-child, td:first-child { text-align: left; white-space: normal;
                                 overflow-wrap: anywhere; }
tr { break-inside: avoid; }
svg { display: block; width: 100%; height: auto; margin: 6px 0 10px; break-inside: avoid; }
svg text { font-size: 12px; fill: #333; }
svg text.legend { font-size: 14px; }
svg .grid { stroke: #e3e3e3; stroke-width: 1; }
svg .base { stroke: #888; stroke-width: 1; }
svg .worn { stroke: #c0392b; stroke-width: 1; stroke-dasharray: 4 3; }
svg .series { fill: none; stroke-width: 2; }
svg .trend { stroke-width: 1.5; stroke-dasharray: 7 4; }
.swatch { display: inline-block; width: 0.8em; height: 0.8em; margin-right: 0.4em;
          border-radius: 2px; print-color-adjust: exact; -webkit-print-color-adjust: exact; }
.estimate { font-size: 16px; }
@media print {
  body { max-width: none; padding: 0; font-size: 11pt; }
  h2 { margin-top: 16px; }
}
)";

// pattern with each "{}" replaced by the next argument.
std::string Fill(std::string_view pattern, std::initializer_list<std::string> args) {
    std::string out;
    auto next = args.begin();
    for (std::size_t at = 0; at < pattern.size();) {
        const std::size_t hole = pattern.find("{}", at);
        if (hole == std::string_view::npos || next == args.end()) {
            out.append(pattern.substr(at));
            break;
        }
        out.append(pattern.substr(at, hole - at));
        out.append(*next++);
        at = hole + 2;
    }
    return out;
}

// A figure the page does not know.
constexpr std::string_view kUnknown = "–";

std::string Decimal(std::optional<double> value, int decimals) {
    return value ? FormatDecimal(*value, decimals) : std::string(kUnknown);
}

// "yyyy-MM-dd HH:mm".
std::string DayAndTime(CivilTime t) {
    return FormatDiaryDate(t.DayNumber()) + " " + FormatHourMinute(t);
}

class Page {
public:
    explicit Page(Language language) : m_language(language) {}

    std::string_view T(TextId id) const { return Text(id, m_language); }
    // An escaped catalogue text: the texts are ours, but one may hold a "<" some day.
    std::string Html(TextId id) const { return EscapeHtml(T(id)); }

    void Add(std::string_view html) { m_out += html; }
    void Heading(TextId id) { m_out += "<h2>" + Html(id) + "</h2>\n"; }
    void Paragraph(std::string_view text, std::string_view cls = {}) {
        m_out += cls.empty() ? "<p>" : "<p class=\"" + std::string(cls) + "\">";
        m_out += EscapeHtml(text) + "</p>\n";
    }
    void TableHead(std::initializer_list<TextId> columns) {
        m_out += "<table>\n<thead><tr>";
        for (const TextId id : columns) {
            m_out += "<th>" + Html(id) + "</th>";
        }
        m_out += "</tr></thead>\n<tbody>\n";
    }
    // Cells already escaped where they come from the system.
    void Row(std::initializer_list<std::string> cells) {
        m_out += "<tr>";
        for (const std::string& cell : cells) {
            m_out += "<td>" + cell + "</td>";
        }
        m_out += "</tr>\n";
    }
    void TableEnd() { m_out += "</tbody>\n</table>\n"; }

    std::string Take() { return std::move(m_out); }

private:
    Language m_language;
    std::string m_out;
};

void Batteries(Page& page, const BatteryReport& report) {
    page.Heading(TextId::ReportBatteries);
    if (report.batteries.empty()) {
        page.Paragraph(page.T(TextId::HealthNoDiary));
        return;
    }
    page.TableHead({TextId::ReportBattery, TextId::ReportDate, TextId::ReportDesignWh,
                    TextId::ReportFullWh, TextId::ReportHealthPercent, TextId::ReportCycles});
    for (const HealthEntry& entry : report.batteries) {
        page.Row({EscapeHtml(entry.identity), FormatDiaryDate(entry.day),
                  Decimal(entry.designWh, 2), Decimal(entry.fullWh, 2),
                  FormatDecimal(entry.healthPercent, 1),
                  entry.cycles > 0 ? std::to_string(entry.cycles) : std::string(kUnknown)});
    }
    page.TableEnd();
}

void Estimates(Page& page, const LifeEstimate& estimate) {
    page.Heading(TextId::ReportEstimates);
    if (!estimate.fullChargeHours) {
        page.Paragraph(page.T(TextId::ReportEstimateTooLittle), "estimate");
        return;
    }
    page.Paragraph(
        Fill(page.T(TextId::ReportEstimateFull), {FormatDecimal(*estimate.fullChargeHours, 1)}),
        "estimate");
    const std::string design = estimate.designChargeHours
                                   ? FormatDecimal(*estimate.designChargeHours, 1)
                                   : std::string(page.T(TextId::HealthUnknown));
    page.Paragraph(Fill(page.T(TextId::ReportEstimateDesign), {design}), "estimate");
    page.Paragraph(
        Fill(page.T(TextId::ReportEstimateBasis), {FormatDecimal(estimate.batteryHours, 1)}),
        "note");
}

std::string TrendLine(Page& page, const std::optional<HealthTrend>& trend) {
    if (!trend) {
        return std::string(page.T(TextId::HealthTrendTooShort));
    }
    const std::string wear = FormatDecimal(trend->wearPer100Days, 1);
    if (trend->wornOutDay) {
        return Fill(page.T(TextId::HealthTrendWithDate),
                    {wear, FormatDiaryDate(*trend->wornOutDay)});
    }
    return Fill(page.T(TextId::HealthTrend), {wear});
}

void CapacityHistory(Page& page, const BatteryReport& report) {
    page.Heading(TextId::ReportCapacityHistory);
    const std::int64_t today = report.madeAt.DayNumber();
    const std::vector<HealthSeries> series = SplitByBattery(report.diary, today);
    if (series.empty()) {
        page.Paragraph(page.T(TextId::HealthNoDiary));
        return;
    }
    std::vector<std::optional<HealthTrend>> trends;
    trends.reserve(series.size());
    for (const HealthSeries& one : series) {
        trends.push_back(FitHealthTrend(one.entries, today));
    }
    page.Add(HealthChartSvg(series, trends, today));
    for (std::size_t i = 0; i < series.size(); ++i) {
        const std::string swatch = Tag(
            "span", {{"class", "swatch"}, {"style", "background:" + std::string(SeriesColor(i))}});
        page.Add("<p>" + swatch + "</span>" + EscapeHtml(series[i].identity) + ": " +
                 EscapeHtml(TrendLine(page, trends[i])) + "</p>\n");
    }
}

void Usage(Page& page, const BatteryReport& report, Language language) {
    page.Heading(TextId::ReportUsage);
    if (report.days.empty()) {
        page.Paragraph(page.T(TextId::ReportNoDays));
        return;
    }
    page.Add(UsageChartSvg(report.days, language));
    page.TableHead({TextId::ReportDate, TextId::ReportOnBattery, TextId::ReportOnMains,
                    TextId::ReportAsleep, TextId::ReportUnseen, TextId::ReportUsedPercent,
                    TextId::ReportDrainPercentPerHour, TextId::ReportDrainWatts});
    // Newest first: today is what a reader looks for. A day the program never saw says
    // nothing the chart does not show.
    for (std::size_t i = report.days.size(); i-- > 0;) {
        const DayUsage& day = report.days[i];
        if (day.batterySeconds + day.mainsSeconds + day.asleepSeconds == 0) {
            continue;
        }
        page.Row({FormatDiaryDate(day.day), HoursMinutes(day.batterySeconds),
                  HoursMinutes(day.mainsSeconds), HoursMinutes(day.asleepSeconds),
                  HoursMinutes(day.unseenSeconds), FormatDecimal(day.usedPercent, 1),
                  Decimal(day.drainPercentPerHour, 1), Decimal(day.drainWatts, 1)});
    }
    page.TableEnd();
    page.Paragraph(page.T(TextId::ReportUsageNote), "note");
}

void Sleeps(Page& page, const BatteryReport& report) {
    page.Heading(TextId::ReportSleeps);
    if (report.sleeps.empty()) {
        page.Paragraph(page.T(TextId::ReportNoSleeps));
        return;
    }
    page.TableHead({TextId::ReportSleepWhen, TextId::ReportSleepLength, TextId::ReportSleepLost,
                    TextId::ReportDrainPercentPerHour, TextId::ReportDrainWatts});
    for (std::size_t i = report.sleeps.size(); i-- > 0;) {
        const SleepDrain& drain = report.sleeps[i];
        const SleepRecord& sleep = drain.sleep;
        // A sleep on mains costs the battery nothing: said beside its time.
        const std::string when =
            DayAndTime(sleep.start) + " – " + FormatHourMinute(sleep.end) +
            (sleep.onMainsBefore.value_or(false) ? " (" + page.Html(TextId::ReportOnMains) + ")"
                                                 : std::string());
        page.Row({when, HoursMinutes(sleep.seconds), Decimal(drain.percentLost, 0),
                  Decimal(drain.percentPerHour, 2), Decimal(drain.watts, 2)});
    }
    page.TableEnd();
    if (report.medianPercentPerHourAsleep) {
        page.Paragraph(Fill(page.T(TextId::ReportSleepMedian),
                            {FormatDecimal(*report.medianPercentPerHourAsleep, 2)}));
    }
}

} // namespace

std::string ReportHtml(const BatteryReport& report, std::string_view programFolder,
                       Language language) {
    Page page(language);
    const std::string title = page.Html(TextId::ReportTitle);
    page.Add(std::string("<!DOCTYPE html>\n<html lang=\"") +
             (language == Language::Japanese ? "ja" : "en") +
             "\">\n<head>\n<meta charset=\"utf-8\">\n"
             "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
             title + "</title>\n<style>" + std::string(kStyle) + "</style>\n</head>\n<body>\n");
    page.Add("<h1>" + title + "</h1>\n");
    page.Paragraph(Fill(page.T(TextId::ReportMadeAt), {DayAndTime(report.madeAt)}), "meta");
    page.Paragraph(Fill(page.T(TextId::ReportFolder), {std::string(programFolder)}), "meta");
    Batteries(page, report);
    Estimates(page, report.estimate);
    CapacityHistory(page, report);
    Usage(page, report, language);
    Sleeps(page, report);
    page.Add("</body>\n</html>\n");
    return page.Take();
}

} // namespace amperlog

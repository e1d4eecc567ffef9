#include "usage/battery_report.h"

#include "datalog/data_folder.h"
#include "datalog/day_file.h"
#include "datalog/log_format.h"
#include "helpers/numeric.h"
#include "platform/time_zone.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kDay = CivilTime::kSecondsPerDay;
constexpr std::int64_t kHour = 3600;

// The monitor writes a line once the interval has passed on its once-a-second tick; a busy
// machine or a slow disk can hold a tick back by seconds. A minute covers that, and is the
// least gap the sleep watch calls a sleep, so a longer silence is a sleep or the program away.
constexpr std::int64_t kLineMarginSeconds = 60;

// The median leaves out shorter sleeps: with whole percentage points a few minutes asleep
// give a drain per hour of tens of percent.
constexpr std::int64_t kMinMedianSleepSeconds = kHour;

enum class Use { Battery, Mains, Asleep, Unseen };

// The instants a local time can be: two in the hour a clock goes back. A local time the
// clock skipped reads with the offset before the change, as a clock not yet moved shows it.
struct Instants {
    std::int64_t earlier = 0;
    std::int64_t later = 0;
};

Instants ToInstants(CivilTime local, const TimeZoneRules& zone) {
    const std::int64_t wall = local.Serial();
    const std::int64_t before = zone.UtcOffsetAt(wall - kDay);
    const std::int64_t after = zone.UtcOffsetAt(wall + kDay);
    std::optional<Instants> found;
    for (const std::int64_t offset : {before, after}) {
        const std::int64_t at = wall - offset;
        if (zone.UtcOffsetAt(at) != offset) {
            continue;
        }
        found = found ? Instants{std::min(found->earlier, at), std::max(found->later, at)}
                      : Instants{at, at};
    }
    return found.value_or(Instants{wall - before, wall - before});
}

struct Line {
    std::int64_t at = 0;
    std::optional<Use> use; // none where the status could not be read ("Error")
    std::optional<double> percent;
};

// "Error" (the status query failed) and a status the system did not know say nothing about
// the power: the time after such a line is not seen.
std::optional<Use> UseOf(const DaySample& sample) {
    if (sample.Power == "Batt") {
        return Use::Battery;
    }
    if (sample.Power == "Power") {
        return Use::Mains;
    }
    return std::nullopt;
}

// The lines of the given days in file order, each at its real instant. In an hour the clock
// repeats, a local time is the first pass until the lines go back in time, then the second.
std::vector<Line> ReadLines(const fs::path& dataFolder, std::int64_t firstDay, std::int64_t lastDay,
                            const TimeZoneRules& zone) {
    std::vector<Line> lines;
    std::optional<std::vector<DaySample>> samples;
    for (std::int64_t day = firstDay; day <= lastDay; ++day) {
        const CivilTime date = CivilTime::FromSerial(day * kDay);
        samples.reset();
        LoadDayFile(dataFolder / LogFileName(date), date.Year(), samples);
        if (!samples) {
            continue;
        }
        for (const DaySample& sample : *samples) {
            // The writer names the file after each line's day; a line of another day is a
            // hand edit that would move the count far off.
            if (sample.Time.DayNumber() != day) {
                continue;
            }
            const Instants instants = ToInstants(sample.Time, zone);
            Line line;
            line.at = !lines.empty() && instants.earlier < lines.back().at ? instants.later
                                                                           : instants.earlier;
            line.use = UseOf(sample);
            // Blanks (a percentage the system did not give) read as 0; a running machine is
            // never at 0 %.
            if (sample.Percent > 0) {
                line.percent = sample.Percent;
            }
            lines.push_back(line);
        }
    }
    return lines;
}

struct Span {
    std::int64_t from = 0;
    std::int64_t to = 0;
};

// Adds pieces of time to the days they fall in, each real second once.
class DayTally {
public:
    DayTally(std::int64_t firstDay, std::int64_t lastDay, std::optional<std::int64_t> end,
             const TimeZoneRules& zone) {
        for (std::int64_t day = firstDay; day <= lastDay + 1; ++day) {
            m_starts.push_back(ToInstants(CivilTime::FromSerial(day * kDay), zone).earlier);
        }
        m_end = end ? std::min(*end, m_starts.back()) : m_starts.back();
        m_covered = m_starts.front();
        for (std::int64_t day = firstDay; day <= lastDay; ++day) {
            DayUsage usage;
            usage.day = day;
            m_days.push_back(usage);
        }
    }

    std::int64_t Start() const { return m_starts.front(); }
    std::int64_t End() const { return m_end; }

    // usedPercent is spread over the piece by time.
    void Add(Span span, Use use, double usedPercent) {
        const std::int64_t from = std::max(span.from, m_covered);
        const std::int64_t to = std::min(span.to, m_end);
        if (to <= from) {
            return;
        }
        m_covered = to;
        const double perSecond = usedPercent / static_cast<double>(span.to - span.from);
        for (std::size_t i = 0; i < m_days.size(); ++i) {
            const std::int64_t seconds =
                std::min(to, m_starts[i + 1]) - std::max(from, m_starts[i]);
            if (seconds <= 0) {
                continue;
            }
            DayUsage& day = m_days[i];
            (use == Use::Battery  ? day.batterySeconds
             : use == Use::Mains  ? day.mainsSeconds
             : use == Use::Asleep ? day.asleepSeconds
                                  : day.unseenSeconds) += seconds;
            day.usedPercent += perSecond * static_cast<double>(seconds);
        }
    }

    // What no piece covered, up to the end, was not seen.
    std::vector<DayUsage> Finish() {
        Add({m_covered, m_end}, Use::Unseen, 0);
        return std::move(m_days);
    }

private:
    std::vector<std::int64_t> m_starts; // each day's first instant, and the one after the last
    std::int64_t m_end = 0;
    std::int64_t m_covered = 0;
    std::vector<DayUsage> m_days;
};

// The time from one line (or the start) to the next (or the end).
class Timeline {
public:
    Timeline(DayTally& tally, std::vector<Span> sleeps, std::int64_t limit)
        : m_tally(tally), m_sleeps(std::move(sleeps)), m_limit(limit) {}

    // `use` holds from `from` for at most the limit, and again after each sleep; drop is what
    // the battery lost from the line at `from` to the next.
    void Gap(Span gap, std::optional<Use> use, std::optional<double> drop) {
        if (gap.to <= gap.from) {
            return; // a line back in time: its seconds were counted already
        }
        std::vector<std::pair<Span, Use>> pieces;
        std::int64_t cursor = gap.from;
        std::int64_t evidence = gap.from;
        const auto awake = [&](std::int64_t until) {
            const std::int64_t counted =
                use ? std::clamp(evidence + m_limit, cursor, until) : cursor;
            pieces.push_back({{cursor, counted}, use.value_or(Use::Unseen)});
            pieces.push_back({{counted, until}, Use::Unseen});
            cursor = until;
        };
        while (m_nextSleep < m_sleeps.size() && m_sleeps[m_nextSleep].to <= gap.from) {
            ++m_nextSleep;
        }
        for (std::size_t i = m_nextSleep; i < m_sleeps.size() && m_sleeps[i].from < gap.to; ++i) {
            const std::int64_t from = std::max(m_sleeps[i].from, cursor);
            const std::int64_t to = std::min(m_sleeps[i].to, gap.to);
            if (to <= from) {
                continue;
            }
            awake(from);
            pieces.push_back({{from, to}, Use::Asleep});
            cursor = evidence = to;
        }
        awake(gap.to);

        // A fall counts where the battery was watched or asleep all along.
        std::int64_t drained = 0;
        bool watched = true;
        for (const auto& [span, pieceUse] : pieces) {
            const std::int64_t seconds = span.to - span.from;
            drained += pieceUse == Use::Battery || pieceUse == Use::Asleep ? seconds : 0;
            watched = watched && (pieceUse != Use::Unseen || seconds == 0);
        }
        const double used =
            use == Use::Battery && watched && drop && *drop > 0 && drained > 0 ? *drop : 0;
        for (const auto& [span, pieceUse] : pieces) {
            const bool drains = pieceUse == Use::Battery || pieceUse == Use::Asleep;
            m_tally.Add(span, pieceUse,
                        drains ? used * static_cast<double>(span.to - span.from) /
                                     static_cast<double>(drained)
                               : 0);
        }
    }

private:
    DayTally& m_tally;
    std::vector<Span> m_sleeps;
    std::int64_t m_limit;
    std::size_t m_nextSleep = 0;
};

std::vector<Span> SleepSpans(const std::vector<SleepRecord>& sleeps, const TimeZoneRules& zone) {
    std::vector<Span> spans;
    for (const SleepRecord& sleep : sleeps) {
        // The length the clocks measured is the real one, also across a clock change; in a
        // repeated hour the start is the pass whose end falls on the end written.
        const Instants starts = ToInstants(sleep.start, zone);
        const auto endsRight = [&](std::int64_t start) {
            const std::int64_t end = start + sleep.seconds;
            return end + zone.UtcOffsetAt(end) == sleep.end.Serial();
        };
        const std::int64_t from =
            !endsRight(starts.earlier) && endsRight(starts.later) ? starts.later : starts.earlier;
        spans.push_back({from, from + sleep.seconds});
    }
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.from < b.from; });
    return spans;
}

// The batteries' capacities of the diary's latest day up to `day`, summed; none where a
// battery of that day gives no Wh or there is no such day.
struct Capacity {
    double fullWh = 0;
    double designWh = 0;
};

std::optional<Capacity> CapacityOn(const std::vector<HealthEntry>& entries, std::int64_t day) {
    std::optional<std::int64_t> latest;
    for (const HealthEntry& entry : entries) {
        if (entry.day <= day && (!latest || entry.day > *latest)) {
            latest = entry.day;
        }
    }
    if (!latest) {
        return std::nullopt;
    }
    Capacity capacity;
    std::map<std::string, const HealthEntry*> batteries; // a battery's last line that day
    for (const HealthEntry& entry : entries) {
        if (entry.day == *latest) {
            batteries[entry.identity] = &entry;
        }
    }
    for (const auto& [identity, entry] : batteries) {
        if (!entry->fullWh || !entry->designWh) {
            return std::nullopt;
        }
        capacity.fullWh += *entry->fullWh;
        capacity.designWh += *entry->designWh;
    }
    return capacity;
}

double Hours(std::int64_t seconds) {
    return static_cast<double>(seconds) / kHour;
}

} // namespace

std::vector<DayUsage> ComputeDayUsage(const fs::path& dataFolder, std::int64_t firstDay,
                                      std::int64_t lastDay, int loggingIntervalMinutes,
                                      const std::vector<SleepRecord>& sleeps,
                                      const std::vector<HealthEntry>& diary,
                                      const TimeZoneRules& zone, std::optional<CivilTime> now) {
    if (lastDay < firstDay) {
        return {};
    }
    // The day before carries its last state across midnight; the day after closes the last.
    const std::vector<Line> lines = ReadLines(dataFolder, firstDay - 1, lastDay + 1, zone);
    std::optional<std::int64_t> end;
    if (now) {
        // In a repeated hour, now is the second pass once a line was written there.
        const Instants instants = ToInstants(*now, zone);
        end = !lines.empty() && lines.back().at > instants.earlier ? instants.later
                                                                   : instants.earlier;
    }
    DayTally tally(firstDay, lastDay, end, zone);
    const std::int64_t limit =
        static_cast<std::int64_t>(std::max(loggingIntervalMinutes, 0)) * 60 + kLineMarginSeconds;
    Timeline timeline(tally, SleepSpans(sleeps, zone), limit);

    std::int64_t from = tally.Start();
    const Line* previous = nullptr;
    for (const Line& line : lines) {
        if (previous) {
            std::optional<double> drop;
            if (previous->percent && line.percent) {
                drop = *previous->percent - *line.percent;
            }
            timeline.Gap({previous->at, line.at}, previous->use, drop);
        } else if (line.at > from) {
            timeline.Gap({from, line.at}, std::nullopt, std::nullopt);
        }
        previous = &line;
    }
    if (previous) {
        from = previous->at;
    }
    timeline.Gap({std::max(from, tally.Start()), std::max(tally.End(), from)},
                 previous ? previous->use : std::nullopt, std::nullopt);

    std::vector<DayUsage> days = tally.Finish();
    for (DayUsage& day : days) {
        if (day.batterySeconds == 0) {
            continue;
        }
        day.drainPercentPerHour = day.usedPercent / Hours(day.batterySeconds);
        if (const std::optional<Capacity> capacity = CapacityOn(diary, day.day)) {
            day.drainWatts = *day.drainPercentPerHour / 100 * capacity->fullWh;
        }
    }
    return days;
}

std::vector<SleepDrain> SleepDrains(const std::vector<SleepRecord>& sleeps) {
    std::vector<SleepDrain> drains;
    for (const SleepRecord& sleep : sleeps) {
        SleepDrain drain;
        drain.sleep = sleep;
        const double hours = Hours(sleep.seconds);
        if (sleep.percentBefore && sleep.percentAfter) {
            drain.percentLost = *sleep.percentBefore - *sleep.percentAfter;
            if (hours > 0) {
                drain.percentPerHour = *drain.percentLost / hours;
            }
        }
        if (sleep.whBefore && sleep.whAfter && hours > 0) {
            drain.watts = (*sleep.whBefore - *sleep.whAfter) / hours;
        }
        drains.push_back(drain);
    }
    return drains;
}

std::optional<double> MedianPercentPerHourAsleep(const std::vector<SleepDrain>& sleeps) {
    std::vector<double> rates;
    for (const SleepDrain& drain : sleeps) {
        // On mains the battery charges or holds: no drain to go by.
        const bool onBattery =
            drain.sleep.onMainsBefore != true && drain.sleep.onMainsAfter != true;
        if (onBattery && drain.percentPerHour && drain.sleep.seconds >= kMinMedianSleepSeconds) {
            rates.push_back(*drain.percentPerHour);
        }
    }
    if (rates.empty()) {
        return std::nullopt;
    }
    std::sort(rates.begin(), rates.end());
    const std::size_t middle = rates.size() / 2;
    return rates.size() % 2 == 1 ? rates[middle] : (rates[middle - 1] + rates[middle]) / 2;
}

LifeEstimate EstimateLife(const std::vector<DayUsage>& days,
                          const std::vector<HealthEntry>& batteries) {
    LifeEstimate estimate;
    std::int64_t seconds = 0;
    double usedPercent = 0;
    double usedWh = 0;
    bool inWatts = true;
    for (const DayUsage& day : days) {
        seconds += day.batterySeconds;
        usedPercent += day.usedPercent;
        if (day.usedPercent > 0) {
            inWatts = inWatts && day.drainWatts;
            usedWh += day.drainWatts.value_or(0) * Hours(day.batterySeconds);
        }
    }
    estimate.batteryHours = Hours(seconds);
    if (estimate.batteryHours < kMinEstimateBatteryHours || usedPercent <= 0) {
        return estimate;
    }
    std::optional<std::int64_t> today;
    for (const HealthEntry& entry : batteries) {
        today = std::max(today.value_or(entry.day), entry.day);
    }
    const std::optional<Capacity> capacity = today ? CapacityOn(batteries, *today) : std::nullopt;
    if (inWatts && capacity && usedWh > 0) {
        const double watts = usedWh / estimate.batteryHours;
        estimate.fullChargeHours = capacity->fullWh / watts;
        estimate.designChargeHours = capacity->designWh / watts;
    } else {
        estimate.fullChargeHours = 100 / (usedPercent / estimate.batteryHours);
    }
    return estimate;
}

namespace {

// The day of the newest daily log up to today; none without one.
std::optional<std::int64_t> LastLogDay(const fs::path& dataFolder, std::int64_t today) {
    std::optional<std::int64_t> last;
    for (const std::string& name : ListLogCatalogue(dataFolder)) {
        const auto number = [&name](std::size_t at, std::size_t width) {
            return ParseWholeNumber(std::string_view(name).substr(at, width));
        };
        const auto year = number(0, 4);
        const auto month = number(4, 2);
        const auto dayOfMonth = number(6, 2);
        if (!year || !month || !dayOfMonth) {
            continue;
        }
        const auto date = CivilTime::FromParts(static_cast<int>(*year), static_cast<int>(*month),
                                               static_cast<int>(*dayOfMonth));
        if (date && date->DayNumber() <= today) {
            last = std::max(last.value_or(date->DayNumber()), date->DayNumber());
        }
    }
    return last;
}

} // namespace

BatteryReport BuildBatteryReport(const fs::path& programFolder, CivilTime now,
                                 int loggingIntervalMinutes, const TimeZoneRules& zone) {
    BatteryReport report;
    report.madeAt = now;
    report.diary = ReadHealthDiary(HealthDiaryPath(programFolder));
    for (const HealthEntry& entry : report.diary) {
        const auto same = std::find_if(
            report.batteries.begin(), report.batteries.end(),
            [&entry](const HealthEntry& known) { return known.identity == entry.identity; });
        if (same == report.batteries.end()) {
            report.batteries.push_back(entry);
        } else if (entry.day >= same->day) {
            *same = entry;
        }
    }

    const fs::path dataFolder = GetDatafolder(programFolder);
    const std::vector<SleepRecord> sleeps = ReadSleepDiary(dataFolder / kSleepDiaryName);
    // A folder whose monitor stopped long ago, or a copy from another machine, is reported up to
    // its last log rather than as 30 days not seen.
    const std::int64_t lastDay = LastLogDay(dataFolder, now.DayNumber()).value_or(now.DayNumber());
    const std::int64_t firstDay = lastDay - kReportDays + 1;
    report.days = ComputeDayUsage(dataFolder, firstDay, lastDay, loggingIntervalMinutes, sleeps,
                                  report.diary, zone, now);

    std::vector<SleepRecord> recent;
    std::copy_if(
        sleeps.begin(), sleeps.end(), std::back_inserter(recent),
        [firstDay](const SleepRecord& sleep) { return sleep.end.DayNumber() >= firstDay; });
    report.sleeps = SleepDrains(recent);
    report.medianPercentPerHourAsleep = MedianPercentPerHourAsleep(report.sleeps);

    constexpr std::size_t kEstimateDays = 7;
    const std::size_t skip =
        report.days.size() > kEstimateDays ? report.days.size() - kEstimateDays : 0;
    report.estimate =
        EstimateLife(std::vector<DayUsage>(report.days.begin() + static_cast<std::ptrdiff_t>(skip),
                                           report.days.end()),
                     report.batteries);
    return report;
}

} // namespace amperlog

#include "datalog/day_file.h"

#include "datalog/log_format.h"
#include "datalog/log_line_reader.h"

#include <string>

namespace amperlog {

DayFileLoad LoadDayFile(const std::filesystem::path& path, int fallbackYear,
                        std::optional<std::vector<DaySample>>& samples) {
    const std::u8string u8name = path.filename().u8string();
    const int year =
        YearFromLogFileName(std::string(u8name.begin(), u8name.end())).value_or(fallbackYear);
    LogLineReader reader(path);
    DayFileLoad load;
    if (!reader.IsOpen()) {
        return load;
    }
    load.opened = true;
    // Records overwrite the previous ones from index 0 and the table is cut to the new count
    // at the end, so a file without a sample leaves the previous samples in place; reusing
    // the storage spares a refresh most of its allocations.
    const bool wasLoaded = samples.has_value();
    std::vector<DaySample>& table = wasLoaded ? *samples : samples.emplace();
    std::size_t count = 0;
    std::string line;
    while (count < kMaxDaySamples && reader.Next(line)) {
        auto parsed = ParseDaySampleLine(line, year);
        if (!parsed) {
            continue;
        }
        if (parsed->hasSixthField) {
            ++load.sixthFieldCount;
        }
        if (count < table.size()) {
            table[count] = std::move(parsed->sample);
        } else {
            table.push_back(std::move(parsed->sample));
        }
        ++count;
    }
    if (count > 0) {
        table.resize(count);
    } else if (!wasLoaded) {
        samples.reset(); // still never loaded
    }
    load.count = static_cast<std::int32_t>(count);
    return load;
}

} // namespace amperlog

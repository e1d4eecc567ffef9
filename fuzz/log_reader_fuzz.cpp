// The daily log readers against a plain model of the line rules: a line ends at CR LF, LF
// or a lone CR, a last line without an end is still a line, and no byte is taken for
// anything else. Inputs longer than the readers' chunks cross their buffer boundaries.
#include "datalog/daily_log.h"
#include "datalog/log_line_reader.h"
#include "fuzz_support.h"
#include "helpers/civil_time.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using amperlog::fuzz::ScratchFolder;

std::vector<std::string_view> ModelLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back(bytes.substr(pos));
            break;
        }
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 1;
        if (bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') {
            ++pos;
        }
    }
    return lines;
}

// Every CR and every LF ends a line here: the blank "line" inside a CR LF is skipped by
// the reader anyway.
std::optional<amperlog::CivilTime> ModelLastTime(std::string_view bytes, int year) {
    constexpr std::size_t kLongest = 4096; // longer lines are not ours
    std::optional<amperlog::CivilTime> last;
    std::size_t pos = 0;
    while (pos <= bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = bytes.substr(pos, end - pos);
        if (!line.empty() && line.size() <= kLongest) {
            const std::string_view stamp = line.substr(0, line.find(','));
            if (const auto t = amperlog::ParseLogStamp(stamp, year)) {
                last = t;
            }
        }
        pos = end + 1;
    }
    return last;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto path = ScratchFolder() / "20240229.txt";
    amperlog::fuzz::WriteBytes(path, bytes);

    const std::vector<std::string_view> expected = ModelLines(bytes);
    amperlog::LogLineReader reader(path);
    AMPERLOG_FUZZ_CHECK(reader.IsOpen());
    std::string line;
    std::size_t count = 0;
    while (reader.Next(line)) {
        AMPERLOG_FUZZ_CHECK(count < expected.size());
        const std::string_view want =
            expected[count].substr(0, amperlog::LogLineReader::kMaxLineBytes);
        AMPERLOG_FUZZ_CHECK(line == want);
        ++count;
    }
    AMPERLOG_FUZZ_CHECK(count == expected.size());
    AMPERLOG_FUZZ_CHECK(!reader.Next(line)); // stays at the end

    // The year comes from the file's name: 29 February parses.
    const auto last = amperlog::ReadLastLogTime(path, 2023);
    const auto model = ModelLastTime(bytes, 2024);
    AMPERLOG_FUZZ_CHECK(last == model);
    return 0;
}

#include "file_services.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace amperlog::e2e {
namespace {

// Read every second: with C stdio rather than streams, whose locale machinery would cost the
// test build more than the real program's power query costs it.
std::string ReadFirstLine(const std::filesystem::path& file) {
    std::FILE* in = std::fopen(file.string().c_str(), "rb");
    if (in == nullptr) {
        return {};
    }
    std::array<char, 256> buffer{};
    const bool read = std::fgets(buffer.data(), static_cast<int>(buffer.size()), in) != nullptr;
    std::fclose(in);
    if (!read) {
        return {};
    }
    std::string line(buffer.data());
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

} // namespace

const std::string& ScriptFile::FirstLine() {
    // Asked several times within a tick: one look a tick is enough, as the suite changes
    // the file between ticks.
    const auto now = std::chrono::steady_clock::now();
    if (m_lookedAt && now - *m_lookedAt < std::chrono::milliseconds(100)) {
        return m_line;
    }
    m_lookedAt = now;
    std::error_code error;
    const auto stamp = std::filesystem::last_write_time(m_file, error);
    // A stamp within the last second could be shared by a second write in the same tick of
    // the file system's clock: such a file is read every time.
    const bool settled =
        !error && std::filesystem::file_time_type::clock::now() - stamp > std::chrono::seconds(1);
    if (settled && m_stamp == stamp) {
        return m_line;
    }
    m_line = ReadFirstLine(m_file);
    m_stamp.reset();
    if (settled) {
        m_stamp = stamp;
    }
    return m_line;
}

std::optional<PowerStatus> FilePowerSource::Query() {
    const std::string& line = m_file.FirstLine();
    if (line.rfind("fail", 0) == 0) {
        return std::nullopt;
    }
    int ac = 1;
    int flag = 128;
    int percent = 255;
    long life = -1;
    long full = -1;
    PowerStatus status{1, 128, 255, -1, -1};
    if (std::sscanf(line.c_str(), "%d %d %d %ld %ld", &ac, &flag, &percent, &life, &full) == 5) {
        status = {static_cast<std::uint8_t>(ac), static_cast<std::uint8_t>(flag),
                  static_cast<std::uint8_t>(percent), static_cast<std::int32_t>(life),
                  static_cast<std::int32_t>(full)};
    }
    return status;
}

CivilTime OffsetClock::Now() const {
    const std::string& line = m_file.FirstLine();
    if (line != m_parsedLine) {
        m_offset = 0;
        if (std::sscanf(line.c_str(), "%lld", &m_offset) != 1) {
            m_offset = 0;
        }
        m_parsedLine = line;
    }
    return m_real.Now().AddSeconds(m_offset);
}

SleepClockReading OffsetSleepClocks::Read() const {
    SleepClockReading reading = m_real->Read();
    long long seconds = 0;
    if (std::sscanf(m_file.FirstLine().c_str(), "%lld", &seconds) == 1) {
        reading.sinceBootMs += seconds * 1000;
    }
    return reading;
}

void FileSpeechEngine::Speak(const std::string& text) {
    std::ofstream out(m_file, std::ios::app | std::ios::binary);
    out << text << '\n';
}

} // namespace amperlog::e2e

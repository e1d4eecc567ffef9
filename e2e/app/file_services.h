#pragma once

#include "platform/clock.h"
#include "platform/power_source.h"
#include "platform/speech_engine.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace amperlog::e2e {

// The first line of a file that the suite replaces now and then. The program asks several
// times a second; the file is read again only when its modification time says it may have
// changed, so that the test build costs about what the real one does.
class ScriptFile {
public:
    explicit ScriptFile(std::filesystem::path file) : m_file(std::move(file)) {}
    // Empty for a missing or empty file.
    const std::string& FirstLine();

private:
    std::filesystem::path m_file;
    std::optional<std::filesystem::file_time_type> m_stamp;
    std::optional<std::chrono::steady_clock::time_point> m_lookedAt;
    std::string m_line;
};

// A power source that the end-to-end suite scripts through a file: one line
// "<ac> <flag> <percent> <lifetime> <full lifetime>", or "fail" for a failed query.
// A missing or unreadable file reads as a desktop on mains without a battery.
class FilePowerSource final : public PowerSource {
public:
    explicit FilePowerSource(std::filesystem::path file) : m_file(std::move(file)) {}
    std::optional<PowerStatus> Query() override;

private:
    ScriptFile m_file;
};

// The system clock moved by the number of seconds in a file, so the suite can jump to the
// next interval line or to midnight.
class OffsetClock final : public Clock {
public:
    OffsetClock(const Clock& real, std::filesystem::path file)
        : m_real(real), m_file(std::move(file)) {}
    CivilTime Now() const override;

private:
    const Clock& m_real;
    mutable ScriptFile m_file;
    // The offset as read from m_parsedLine.
    mutable std::string m_parsedLine;
    mutable long long m_offset = 0;
};

// The real sleep clocks, the one that runs through sleep moved on by the number of seconds in
// a file: raising it looks like a sleep of that many seconds to the next tick.
class OffsetSleepClocks final : public SleepClocks {
public:
    OffsetSleepClocks(std::unique_ptr<SleepClocks> real, std::filesystem::path file)
        : m_real(std::move(real)), m_file(std::move(file)) {}
    SleepClockReading Read() const override;

private:
    std::unique_ptr<SleepClocks> m_real;
    mutable ScriptFile m_file;
};

// Writes each announcement as a line to a file instead of speaking it.
class FileSpeechEngine final : public SpeechEngine {
public:
    explicit FileSpeechEngine(std::filesystem::path file) : m_file(std::move(file)) {}
    void Speak(const std::string& text) override;

private:
    std::filesystem::path m_file;
};

} // namespace amperlog::e2e

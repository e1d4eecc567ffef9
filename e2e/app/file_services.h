#pragma once

#include "clock.h"
#include "power_source.h"
#include "speech_engine.h"

#include <filesystem>

namespace amperlog::e2e {

// A power source that the end-to-end suite scripts through a file: one line
// "<ac> <flag> <percent> <lifetime> <full lifetime>", or "fail" for a failed query.
// A missing or unreadable file reads as a desktop on mains without a battery.
class FilePowerSource final : public PowerSource {
public:
    explicit FilePowerSource(std::filesystem::path file) : m_file(std::move(file)) {}
    std::optional<PowerStatus> Query() override;

private:
    std::filesystem::path m_file;
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
    std::filesystem::path m_file;
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

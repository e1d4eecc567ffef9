#pragma once

#include "state/day_sample.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace amperlog {

// A day logged once a second holds 86,400 lines; this leaves room for restarts and clock
// changes while keeping a hostile file from filling the memory.
inline constexpr std::size_t kMaxDaySamples = 262'144;

struct DayFileLoad {
    bool opened = false;
    std::int32_t count = 0;           // samples read
    std::int32_t sixthFieldCount = 0; // of them, lines with a sixth field
};

// Reads a daily log into `samples`, at most kMaxDaySamples. Time stamps take their year from
// the file's name when it is a valid date, else fallbackYear. A read that finds no sample
// keeps the previous samples (and a never-loaded table stays nullopt); the storage is reused.
DayFileLoad LoadDayFile(const std::filesystem::path& path, int fallbackYear,
                        std::optional<std::vector<DaySample>>& samples);

} // namespace amperlog

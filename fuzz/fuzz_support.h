#pragma once

#include "counting_surface.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace amperlog::fuzz {

// A folder of this process's own, on a memory file system where there is one; removed when
// the process ends normally.
const std::filesystem::path& ScratchFolder();

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// A property that failed: libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(const char* what, const char* file, int line);

#define AMPERLOG_FUZZ_CHECK(condition)                                                             \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::amperlog::fuzz::Fail(#condition, __FILE__, __LINE__);                                \
        }                                                                                          \
    } while (false)

} // namespace amperlog::fuzz

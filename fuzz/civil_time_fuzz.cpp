// The date-time readers on hostile text: a text they accept is a real date (no 2/30, no
// 13/45, no 24:00), and what the program writes for it reads back as the same time.
#include "datalog/log_format.h"
#include "fuzz_support.h"
#include "helpers/civil_time.h"

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int year = input.ConsumeIntegralInRange<int>(-2, 10001);
    const std::string text = input.ConsumeRemainingBytesAsString();

    // The writer's spelling has a parser of its own: it must read as the general one does.
    AMPERLOG_FUZZ_CHECK(amperlog::ParseLogStamp(text, year) ==
                        amperlog::ParseMonthDayTime(text, year));
    if (const auto stamp = amperlog::ParseLogStamp(text, year)) {
        AMPERLOG_FUZZ_CHECK(stamp->Year() == year);
        AMPERLOG_FUZZ_CHECK(amperlog::CivilTime::FromParts(
                                stamp->Year(), stamp->Month(), stamp->Day(), stamp->Hour(),
                                stamp->Minute(), stamp->Second()) == stamp);
        AMPERLOG_FUZZ_CHECK(amperlog::ParseLogStamp(amperlog::FormatLogStamp(*stamp), year) ==
                            stamp);
    }
    if (const auto time = amperlog::ParseSettingsTime(text)) {
        AMPERLOG_FUZZ_CHECK(time->Year() >= 1 && time->Year() <= 9999);
        AMPERLOG_FUZZ_CHECK(amperlog::ParseSettingsTime(amperlog::FormatSettingsTime(*time)) ==
                            time);
        AMPERLOG_FUZZ_CHECK(amperlog::FormatFileDate(*time).size() == 8);
        const auto fromName =
            amperlog::YearFromLogFileName(amperlog::FormatFileDate(*time) + ".txt");
        AMPERLOG_FUZZ_CHECK(fromName == time->Year());
    }
    if (const auto fileYear = amperlog::YearFromLogFileName(text)) {
        AMPERLOG_FUZZ_CHECK(*fileYear >= 1 && *fileYear <= 9999);
    }
    return 0;
}

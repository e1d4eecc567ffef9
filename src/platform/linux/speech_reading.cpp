#include "platform/linux/speech_reading.h"

#include <array>
#include <charconv>

namespace amperlog {
namespace {

// Index = minutes. The counter 分 changes its sound after 1, 3, 4, 6, 8 and 10.
constexpr std::array<std::string_view, 21> kMinuteReadings = {
    "",
    "いっぷん",
    "にふん",
    "さんぷん",
    "よんぷん",
    "ごふん",
    "ろっぷん",
    "ななふん",
    "はっぷん",
    "きゅうふん",
    "じゅっぷん",
    "じゅういっぷん",
    "じゅうにふん",
    "じゅうさんぷん",
    "じゅうよんぷん",
    "じゅうごふん",
    "じゅうろっぷん",
    "じゅうななふん",
    "じゅうはっぷん",
    "じゅうきゅうふん",
    "にじゅっぷん",
};

struct FixedReading {
    std::string_view text;
    std::string_view reading;
};

// The battery alerts.
constexpr std::array<FixedReading, 3> kAlertReadings{{
    {"バッテリー残量が少なくなりました", "バッテリー ざんりょうが すくなく なりました"},
    {"バッテリー残量がわずかになりました", "バッテリー ざんりょうが わずかに なりました"},
    {"充電が十分になりました", "じゅうでんが じゅうぶんに なりました"},
}};

constexpr std::string_view kElapsedSuffix = "分経過しました";
constexpr std::string_view kElapsedReading = " けいか しました";

} // namespace

std::string SpeechReading(std::string_view text) {
    if (text == "常駐しました") {
        return "じょうちゅう しました";
    }
    if (text == "OK") {
        return "オーケー";
    }
    for (const FixedReading& fixed : kAlertReadings) {
        if (text == fixed.text) {
            return std::string(fixed.reading);
        }
    }
    if (text.size() > kElapsedSuffix.size() && text.ends_with(kElapsedSuffix)) {
        const std::string_view digits = text.substr(0, text.size() - kElapsedSuffix.size());
        std::size_t minutes = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), minutes);
        if (error == std::errc() && end == digits.data() + digits.size() && minutes >= 1 &&
            minutes < kMinuteReadings.size()) {
            return std::string(kMinuteReadings[minutes]) + std::string(kElapsedReading);
        }
    }
    return std::string(text);
}

} // namespace amperlog

#include "platform/linux/speech_reading.h"

#include "texts/catalogue.h"

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

// The readings of the catalogue's fixed announcements, by the text's id.
struct FixedReading {
    TextId id;
    std::string_view reading;
};

constexpr std::array<FixedReading, 5> kFixedReadings{{
    {TextId::SpokenStaying, "じょうちゅう しました"},
    {TextId::SpokenOk, "オーケー"},
    {TextId::AlertLow, "バッテリー ざんりょうが すくなく なりました"},
    {TextId::AlertCritical, "バッテリー ざんりょうが わずかに なりました"},
    {TextId::AlertCharged, "じゅうでんが じゅうぶんに なりました"},
}};

// The elapsed minutes: the catalogue's pattern with the count read from the table above.
constexpr std::array kElapsedIds{TextId::SpokenMinutesPassed, TextId::SpokenOneMinutePassed};
constexpr std::string_view kElapsedReading = " けいか しました";

// The minutes of an elapsed announcement made from pattern, or 0.
std::size_t ElapsedMinutes(std::string_view text, std::string_view pattern) {
    const auto hole = pattern.find("{}");
    if (hole == std::string_view::npos) {
        return 0;
    }
    const std::string_view before = pattern.substr(0, hole);
    const std::string_view after = pattern.substr(hole + 2);
    if (text.size() <= before.size() + after.size() || !text.starts_with(before) ||
        !text.ends_with(after)) {
        return 0;
    }
    const std::string_view digits =
        text.substr(before.size(), text.size() - before.size() - after.size());
    std::size_t minutes = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), minutes);
    return error == std::errc() && end == digits.data() + digits.size() ? minutes : 0;
}

} // namespace

std::string SpeechReading(std::string_view text) {
    for (const FixedReading& fixed : kFixedReadings) {
        if (text == Text(fixed.id, Language::Japanese)) {
            return std::string(fixed.reading);
        }
    }
    for (const TextId id : kElapsedIds) {
        const std::size_t minutes = ElapsedMinutes(text, Text(id, Language::Japanese));
        if (minutes >= 1 && minutes < kMinuteReadings.size()) {
            return std::string(kMinuteReadings[minutes]) + std::string(kElapsedReading);
        }
    }
    return std::string(text);
}

} // namespace amperlog

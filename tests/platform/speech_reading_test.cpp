#include "interface_language_scope.h"
#include "platform/linux/speech_reading.h"
#include "texts/catalogue.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace amperlog {
namespace {

struct ReadingCase {
    std::string text;
    std::string reading;
};

void PrintTo(const ReadingCase& c, std::ostream* os) {
    *os << c.text;
}

class SpeechReadingTest : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(SpeechReadingTest, ReadsTheAnnouncementInKana) {
    EXPECT_EQ(SpeechReading(GetParam().text), GetParam().reading);
}

INSTANTIATE_TEST_SUITE_P(
    Announcements, SpeechReadingTest,
    ::testing::Values(ReadingCase{"1分経過しました", "いっぷん けいか しました"},
                      ReadingCase{"2分経過しました", "にふん けいか しました"},
                      ReadingCase{"3分経過しました", "さんぷん けいか しました"},
                      ReadingCase{"4分経過しました", "よんぷん けいか しました"},
                      ReadingCase{"5分経過しました", "ごふん けいか しました"},
                      ReadingCase{"6分経過しました", "ろっぷん けいか しました"},
                      ReadingCase{"7分経過しました", "ななふん けいか しました"},
                      ReadingCase{"8分経過しました", "はっぷん けいか しました"},
                      ReadingCase{"9分経過しました", "きゅうふん けいか しました"},
                      ReadingCase{"10分経過しました", "じゅっぷん けいか しました"},
                      ReadingCase{"11分経過しました", "じゅういっぷん けいか しました"},
                      ReadingCase{"12分経過しました", "じゅうにふん けいか しました"},
                      ReadingCase{"13分経過しました", "じゅうさんぷん けいか しました"},
                      ReadingCase{"14分経過しました", "じゅうよんぷん けいか しました"},
                      ReadingCase{"15分経過しました", "じゅうごふん けいか しました"},
                      ReadingCase{"16分経過しました", "じゅうろっぷん けいか しました"},
                      ReadingCase{"17分経過しました", "じゅうななふん けいか しました"},
                      ReadingCase{"18分経過しました", "じゅうはっぷん けいか しました"},
                      ReadingCase{"19分経過しました", "じゅうきゅうふん けいか しました"},
                      ReadingCase{"20分経過しました", "にじゅっぷん けいか しました"},
                      ReadingCase{"常駐しました", "じょうちゅう しました"},
                      ReadingCase{"OK", "オーケー"}));

// Texts outside the table go to the engine as they are.
INSTANTIATE_TEST_SUITE_P(PassThrough, SpeechReadingTest,
                         ::testing::Values(ReadingCase{"", ""},
                                           ReadingCase{"21分経過しました", "21分経過しました"},
                                           ReadingCase{"0分経過しました", "0分経過しました"},
                                           ReadingCase{"分経過しました", "分経過しました"},
                                           ReadingCase{"-8分経過しました", "-8分経過しました"},
                                           ReadingCase{"8 分経過しました", "8 分経過しました"},
                                           ReadingCase{"8分経過しました。", "8分経過しました。"},
                                           ReadingCase{"ok", "ok"},
                                           ReadingCase{"こんにちは", "こんにちは"}));

bool HasKanji(std::string_view text) {
    // The common kanji, U+4E00 to U+9FFF, begin with a lead byte of 0xE4 to 0xE9.
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xE4 && byte <= 0xE9) {
            return true;
        }
    }
    return false;
}

// Every Japanese text the program speaks reads in kana, taken from the catalogue as spoken.
TEST(SpeechReading, SpokenCatalogueTextsReadWithoutKanji) {
    std::vector<std::string> spoken;
    for (const TextId id : {TextId::AlertLow, TextId::AlertCritical, TextId::AlertCharged,
                            TextId::SpokenStaying, TextId::SpokenOk}) {
        spoken.emplace_back(Text(id, Language::Japanese));
    }
    const test::InterfaceLanguageScope japanese(Language::Japanese);
    for (const TextId id : {TextId::SpokenMinutesPassed, TextId::SpokenOneMinutePassed}) {
        for (const char* minutes : {"1", "20"}) {
            spoken.push_back(FormatText(id, minutes));
        }
    }
    for (const std::string& text : spoken) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(HasKanji(SpeechReading(text)));
    }
}

} // namespace
} // namespace amperlog

#include "texts/catalogue.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace amperlog {
namespace {

std::size_t Holes(std::string_view text) {
    std::size_t count = 0;
    for (auto at = text.find("{}"); at != std::string_view::npos; at = text.find("{}", at + 2)) {
        ++count;
    }
    return count;
}

bool HasJapanese(std::string_view text) {
    // Every kana and kanji, and the full-width forms, begin with a lead byte of 0xE3 to 0xEF.
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xE3 && byte <= 0xEF) {
            return true;
        }
    }
    return false;
}

TEST(Catalogue, EveryTextInBothLanguages) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(TextId::Count); ++i) {
        const auto id = static_cast<TextId>(i);
        const std::string_view ja = Text(id, Language::Japanese);
        const std::string_view en = Text(id, Language::English);
        SCOPED_TRACE(std::string(ja));
        EXPECT_FALSE(ja.empty());
        EXPECT_FALSE(en.empty());
        EXPECT_FALSE(HasJapanese(en));
        // A value the Japanese shows must show in English too, except where English spells
        // the number out ("One minute has passed").
        if (id != TextId::SpokenOneMinutePassed) {
            EXPECT_EQ(Holes(ja), Holes(en));
        }
    }
}

TEST(Catalogue, FormatFillsHolesInOrder) {
    const Language before = InterfaceLanguage();
    SetInterfaceLanguage(Language::Japanese);
    EXPECT_EQ(FormatText(TextId::RateCaption, "-7%"), "変化率  -7%");
    EXPECT_EQ(FormatText(TextId::SpokenMinutesPassed, "8"), "8分経過しました");
    SetInterfaceLanguage(Language::English);
    EXPECT_EQ(FormatText(TextId::RateCaption, "-7%"), "Rate  -7%");
    const std::vector<std::string> none;
    EXPECT_EQ(FormatText(TextId::RateCaption, none), "Rate  {}");
    SetInterfaceLanguage(before);
}

TEST(Catalogue, ChooseLanguage) {
    struct Case {
        std::string_view setting;
        std::vector<std::string> desktop;
        Language expected;
    };
    const Case cases[] = {
        {"auto", {"ja_JP"}, Language::Japanese}, {"", {"ja-JP", "en-US"}, Language::Japanese},
        {"auto", {"ja"}, Language::Japanese},    {"auto", {"en-US", "ja-JP"}, Language::English},
        {"auto", {"de_DE"}, Language::English},  {"auto", {"jam"}, Language::English},
        {"auto", {}, Language::English},         {"auto", {"C"}, Language::English},
        {"JA", {"en-GB"}, Language::Japanese},   {" en ", {"ja_JP"}, Language::English},
        {"fr", {"ja_JP"}, Language::Japanese},   {"1", {"en_US"}, Language::English},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setting));
        EXPECT_EQ(ChooseLanguage(c.setting, c.desktop), c.expected);
    }
}

} // namespace
} // namespace amperlog

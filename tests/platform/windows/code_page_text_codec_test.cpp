#include "platform/windows/code_page_text_codec.h"

#include <gtest/gtest.h>
#include <string>

namespace amperlog {
namespace {

constexpr unsigned int kShiftJis = 932;

TEST(CodePageTextCodecTest, ShiftJisBothWays) {
    struct Case {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"", ""},
        {"12/07 09:00:00,Batt,85%,3600,\r\n", "12/07 09:00:00,Batt,85%,3600,\r\n"},
        {"\x93\xFA\x96\x7B\x8C\xEA", "日本語"},
        {"\x83\x6F\x83\x62\x83\x65\x83\x8A\x81\x5B", "バッテリー"},
        {"\x95\xDB\x91\xB6\x82\xB5\x82\xDC\x82\xB5\x82\xBD\r\n", "保存しました\r\n"},
        {"\xB1", "ｱ"}, // half-width katakana: one byte
    };
    const CodePageTextCodec codec(kShiftJis);
    for (const Case& c : cases) {
        EXPECT_EQ(codec.Decode(c.bytes), c.text) << c.text;
        EXPECT_EQ(codec.Encode(c.text), c.bytes) << c.text;
    }
}

TEST(CodePageTextCodecTest, BytesThatDoNotDecodeAreKept) {
    const CodePageTextCodec codec(kShiftJis);
    // A lead byte before a byte it does not take, and one cut off at the end: the lead alone
    // is kept (U+EF00 + byte), what follows is read as usual.
    EXPECT_EQ(codec.Decode("\x81 x"), "\uEF81 x");
    EXPECT_EQ(codec.Decode("A\x82"), "A\uEF82");
    // A UTF-8 line in a Shift-JIS file, bytes without a character of their own, and a kept
    // byte written as text: all come back as they were.
    const std::string files[] = {
        "\xE6\x97\xA5\xE6\x9C\xAC\r\n\x93\xFA\x96\x7B\r\n",
        std::string("\x80\xA0\xFD\xFE\xFF\x00\x7F", 7),
        "\xEE\xBE\x81\x81",
    };
    for (const std::string& bytes : files) {
        EXPECT_EQ(codec.Encode(codec.Decode(bytes)), bytes);
    }
}

TEST(CodePageTextCodecTest, UnicodeCodePageKeepsWhatIsNotUtf8) {
    const CodePageTextCodec codec(65001);
    EXPECT_EQ(codec.Decode("日本\xFF"), "日本\uEFFF");
    EXPECT_EQ(codec.Encode("日本\uEFFF"), "日本\xFF");
}

} // namespace
} // namespace amperlog

#include "editor/editor_text.h"
#include "platform/linux/utf8_text_codec.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>
#include <string>

namespace amperlog {
namespace {

using namespace std::string_literals;

const Utf8TextCodec kUtf8;

struct TextCase {
    std::string from;
    std::string to;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.from);
}

class DecodeFileTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DecodeFileTextTest, EveryLineEndsInCrLf) {
    EXPECT_EQ(DecodeFileText(GetParam().from, kUtf8), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DecodeFileTextTest,
    ::testing::Values(TextCase{"", ""}, TextCase{"a", "a\r\n"}, TextCase{"a\r\nb", "a\r\nb\r\n"},
                      TextCase{"a\r\nb\r\n", "a\r\nb\r\n"}, TextCase{"a\nb\n", "a\r\nb\r\n"},
                      TextCase{"a\rb", "a\r\nb\r\n"}, TextCase{"\r\n", "\r\n"},
                      TextCase{"a\r\n\r\n", "a\r\n\r\n"}, TextCase{"\n\r", "\r\n\r\n"},
                      TextCase{"12/06 08:00:03,Power,100%,Charge,Monitor",
                               "12/06 08:00:03,Power,100%,Charge,Monitor\r\n"},
                      TextCase{"[Work]\r\nVoice=1", "[Work]\r\nVoice=1\r\n"},
                      TextCase{"データ", "データ\r\n"}));

// Shift-JIS "あ" (82 A0) is not UTF-8: each byte becomes U+EF00 + byte.
TEST(DecodeFileTextTest, BytesThatAreNotUtf8BecomePrivateUseCharacters) {
    EXPECT_EQ(DecodeFileText("\x82\xa0", kUtf8), "\xee\xbe\x82\xee\xbe\xa0\r\n");
}

class RoundTripTest : public ::testing::TestWithParam<std::string> {};

// A line the user does not touch is written back byte for byte, and the box only ever gets
// valid text without the characters it would change.
TEST_P(RoundTripTest, UntouchedLinesKeepTheirBytes) {
    const std::string file = GetParam() + "\r\n";
    const std::string text = DecodeFileText(file, kUtf8);
    EXPECT_EQ(EncodeEditorText(text, kUtf8), file);
    EXPECT_EQ(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdString(),
              text);
    for (const std::string& altered :
         {"\xe2\x80\xa8"s, "\xe2\x80\xa9"s, "\xef\xbb\xbf"s, "\xef\xbf\xbc"s}) {
        EXPECT_EQ(text.find(altered), std::string::npos);
    }
}

std::string AllBytesButLineEnds() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n') {
            bytes += static_cast<char>(b);
        }
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Bytes, RoundTripTest,
                         ::testing::Values("plain ASCII"s, "日本語のテキスト"s,
                                           "\x93\xfa\x96\x7b\x8c\xea"s,   // Shift-JIS 日本語
                                           "ok \x80 stray continuation"s, // lone continuation byte
                                           "cut \xe3\x81"s, // truncated at the line's end
                                           "\xc0\xaf overlong slash"s,          // overlong form
                                           "\xed\xa0\x80 surrogate"s,           // encoded surrogate
                                           "\xf4\x90\x80\x80 beyond U+10FFFF"s, // out of range
                                           "nul\0inside"s,                      // NUL
                                           "\xef\xbb\xbf"
                                           "byte order mark"s,           // BOM
                                           "line\xe2\x80\xa8separator"s, // U+2028
                                           "para\xe2\x80\xa9separator"s, // U+2029
                                           "object \xef\xbf\xbc"s,       // U+FFFC
                                           "nonchar \xef\xb7\x90"s,      // U+FDD0
                                           "escape range \xee\xbe\x80"s, // a real U+EF80
                                           "no-break\xc2\xa0space"s,
                                           "tab\tand\x1b"
                                           "escape"s,
                                           AllBytesButLineEnds()));

TEST(EncodeEditorTextTest, LineEndsBecomeCrLfAndNothingIsAdded) {
    EXPECT_EQ(EncodeEditorText("", kUtf8), "");
    EXPECT_EQ(EncodeEditorText("a", kUtf8), "a");
    EXPECT_EQ(EncodeEditorText("a\nb\n", kUtf8), "a\r\nb\r\n");
    EXPECT_EQ(EncodeEditorText("a\rb", kUtf8), "a\r\nb");
    EXPECT_EQ(EncodeEditorText("a\r\nb\r\n", kUtf8), "a\r\nb\r\n");
    EXPECT_EQ(EncodeEditorText("\n\n", kUtf8), "\r\n\r\n");
}

struct MergeCase {
    std::string name;
    std::string edited;
    std::string loaded;
    std::string current;
    std::string written;
};

class MergeAppendedTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeAppendedTest, KeepsWhatWasAppendedAfterLoading) {
    const MergeCase& c = GetParam();
    EXPECT_EQ(MergeAppended(c.edited, c.loaded, c.current), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeAppendedTest,
    ::testing::Values(
        MergeCase{"NothingAppended", "E\r\n", "L\r\n", "L\r\n", "E\r\n"},
        MergeCase{"LinesAppended", "E\r\n", "L\r\n", "L\r\nA1\r\nA2\r\n", "E\r\nA1\r\nA2\r\n"},
        MergeCase{"RewrittenMeanwhile", "E\r\n", "L\r\n", "M\r\n", "E\r\n"},
        MergeCase{"ShrunkMeanwhile", "E\r\n", "L1\r\nL2\r\n", "L1\r\n", "E\r\n"},
        MergeCase{"GoneMeanwhile", "E\r\n", "L\r\n", "", "E\r\n"},
        MergeCase{"MissingWhenLoaded", "E\r\n", "", "A\r\n", "E\r\nA\r\n"},
        MergeCase{"TornLineClosedByTheMonitor", "L\r\n", "L", "L\r\nA\r\n", "L\r\nA\r\n"},
        MergeCase{"EditedWithoutLastLineEnd", "E", "L\r\n", "L\r\nA\r\n", "E\r\nA\r\n"},
        MergeCase{"EverythingDeleted", "", "L\r\n", "L\r\nA\r\n", "A\r\n"}),
    [](const ::testing::TestParamInfo<MergeCase>& param) { return param.param.name; });

struct CloseCase {
    bool changed;
    CloseAnswer answer;
    bool saveWorks;
    bool closes;
    int questions;
    int saves;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << (c.changed ? "changed" : "unchanged") << ", answer " << static_cast<int>(c.answer)
        << (c.saveWorks ? "" : ", save fails");
}

class ResolveCloseTest : public ::testing::TestWithParam<CloseCase> {};

TEST_P(ResolveCloseTest, AsksOnlyAboutUnsavedChanges) {
    const CloseCase& c = GetParam();
    int questions = 0;
    int saves = 0;
    const bool closes = ResolveClose(
        c.changed,
        [&] {
            ++questions;
            return c.answer;
        },
        [&] {
            ++saves;
            return c.saveWorks;
        });
    EXPECT_EQ(closes, c.closes);
    EXPECT_EQ(questions, c.questions);
    EXPECT_EQ(saves, c.saves);
}

INSTANTIATE_TEST_SUITE_P(Answers, ResolveCloseTest,
                         ::testing::Values(CloseCase{false, CloseAnswer::Yes, true, true, 0, 0},
                                           CloseCase{true, CloseAnswer::Yes, true, true, 1, 1},
                                           CloseCase{true, CloseAnswer::Yes, false, false, 1, 1},
                                           CloseCase{true, CloseAnswer::No, true, true, 1, 0},
                                           CloseCase{true, CloseAnswer::Cancel, true, false, 1,
                                                     0}));

} // namespace
} // namespace amperlog

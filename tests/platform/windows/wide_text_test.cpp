#include "platform/windows/wide_text.h"

#include <gtest/gtest.h>
#include <string>

namespace amperlog {
namespace {

TEST(WideTextTest, Utf8ToUtf16) {
    struct Case {
        std::string utf8;
        std::wstring wide;
    } cases[] = {
        {"", L""},
        {"OK", L"OK"},
        {"8分経過しました", L"8\u5206\u7d4c\u904e\u3057\u307e\u3057\u305f"},
        {"常駐しました", L"\u5e38\u99d0\u3057\u307e\u3057\u305f"},
        // Outside the basic plane: a surrogate pair.
        {"\xF0\x9F\x94\x8B", L"\xD83D\xDD0B"},
        // A stray continuation byte and a cut sequence are replaced, the rest kept.
        {"a\x80"
         "b",
         L"a\xFFFD"
         L"b"},
        {"x\xE5\x88", L"x\xFFFD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideFromUtf8(c.utf8), c.wide) << c.utf8;
    }
}

TEST(WideTextTest, Utf16ToUtf8) {
    EXPECT_EQ(Utf8FromWide(L"\u5e38\u99d0\u3057\u307e\u3057\u305f"), "常駐しました");
    EXPECT_EQ(Utf8FromWide(L"\xD83D\xDD0B"), "\xF0\x9F\x94\x8B");
    EXPECT_EQ(Utf8FromWide(L"Amperlog"), "Amperlog");
    EXPECT_EQ(Utf8FromWide(L""), "");
}

} // namespace
} // namespace amperlog

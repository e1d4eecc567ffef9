#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace amperlog {

// A file byte that a text conversion keeps as it was stands in the text as this private-use
// character plus the byte (U+EF00..U+EFFF), and turns back into the byte when written.
inline constexpr char32_t kKeptByteBase = 0xEF00;

constexpr bool IsKeptByte(char32_t c) {
    return c >= kKeptByteBase && c <= kKeptByteBase + 0xFF;
}

// Length of the valid UTF-8 sequence at the start of bytes and its code point; 0 when the
// first byte does not start one (overlong forms, surrogates and values beyond U+10FFFF
// included).
std::size_t ReadUtf8(std::string_view bytes, char32_t& codePoint);
void AppendUtf8(std::string& out, char32_t c);
// Each byte as its kept-byte character.
void AppendKeptBytes(std::string& out, std::string_view bytes);

// UTF-8 file bytes as text: valid characters as they are, every other byte kept, and the
// bytes of characters in the kept range kept too, so that EncodeKeepingBytes gives the very
// same bytes back.
std::string DecodeUtf8KeepingBytes(std::string_view bytes);
// Text as UTF-8 file bytes: kept-byte characters become their bytes, bytes that are not
// valid UTF-8 are copied.
std::string EncodeUtf8KeepingBytes(std::string_view text);

} // namespace amperlog

#pragma once

#include <string>
#include <string_view>

namespace amperlog {

// The system's encoding of text files (the program's own and a user's): UTF-8 on Linux, the
// ANSI code page on Windows. Nothing is lost either way: a byte that is not part of a
// character that encodes back to the very same bytes is kept as a kept-byte character (see
// helpers/utf8.h), and so are the bytes of a character that itself lies in that range.
class TextCodec {
public:
    virtual ~TextCodec() = default;

    // File bytes as UTF-8 text.
    virtual std::string Decode(std::string_view bytes) const = 0;
    // UTF-8 text as file bytes: kept-byte characters become their bytes again. A character
    // the encoding lacks becomes its stand-in ('?' in a code page).
    virtual std::string Encode(std::string_view text) const = 0;
};

} // namespace amperlog

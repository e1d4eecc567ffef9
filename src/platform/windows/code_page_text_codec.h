#pragma once

#include "platform/text_codec.h"

namespace amperlog {

// Text files in a Windows code page, normally the ANSI one (GetACP) in which the program's
// files and a user's notes are written: Shift-JIS on a Japanese system.
class CodePageTextCodec final : public TextCodec {
public:
    explicit CodePageTextCodec(unsigned int codePage) : m_codePage(codePage) {}

    std::string Decode(std::string_view bytes) const override;
    std::string Encode(std::string_view text) const override;

private:
    unsigned int m_codePage;
};

} // namespace amperlog

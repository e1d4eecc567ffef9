#pragma once

#include "platform/text_codec.h"

namespace amperlog {

// Linux's text files are UTF-8; bytes that are not (a Shift-JIS line, a stray byte) are kept.
class Utf8TextCodec final : public TextCodec {
public:
    std::string Decode(std::string_view bytes) const override;
    std::string Encode(std::string_view text) const override;
};

} // namespace amperlog

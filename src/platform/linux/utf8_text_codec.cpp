#include "platform/linux/utf8_text_codec.h"

#include "helpers/utf8.h"

namespace amperlog {

std::string Utf8TextCodec::Decode(std::string_view bytes) const {
    return DecodeUtf8KeepingBytes(bytes);
}

std::string Utf8TextCodec::Encode(std::string_view text) const {
    return EncodeUtf8KeepingBytes(text);
}

} // namespace amperlog

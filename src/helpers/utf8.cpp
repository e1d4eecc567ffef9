#include "helpers/utf8.h"

#include <cstdint>

namespace amperlog {

std::size_t ReadUtf8(std::string_view bytes, char32_t& codePoint) {
    if (bytes.empty()) {
        return 0;
    }
    const auto byte = [&bytes](std::size_t i) {
        return static_cast<std::uint8_t>(bytes[i]);
    };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendKeptBytes(std::string& out, std::string_view bytes) {
    for (const char b : bytes) {
        AppendUtf8(out, kKeptByteBase + static_cast<std::uint8_t>(b));
    }
}

std::string DecodeUtf8KeepingBytes(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t c = 0;
        std::size_t length = ReadUtf8(bytes, c);
        if (length == 0) {
            AppendKeptBytes(text, bytes.substr(0, 1));
            length = 1;
        } else if (IsKeptByte(c)) {
            AppendKeptBytes(text, bytes.substr(0, length));
        } else {
            text.append(bytes.substr(0, length));
        }
        bytes.remove_prefix(length);
    }
    return text;
}

std::string EncodeUtf8KeepingBytes(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    while (!text.empty()) {
        char32_t c = 0;
        std::size_t length = ReadUtf8(text, c);
        if (length == 0) {
            bytes += text.front();
            length = 1;
        } else if (IsKeptByte(c)) {
            bytes += static_cast<char>(c - kKeptByteBase);
        } else {
            bytes.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return bytes;
}

} // namespace amperlog

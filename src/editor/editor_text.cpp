#include "editor/editor_text.h"

#include <cstdint>

namespace amperlog {
namespace {

constexpr char32_t kEscapeBase = 0xEF00;
constexpr std::string_view kLineEnd = "\r\n";

// Length of the valid UTF-8 sequence at the start of bytes and its code point; 0 when the
// first byte does not start one (overlong forms, surrogates and values beyond U+10FFFF
// included).
std::size_t ReadUtf8(std::string_view bytes, char32_t& codePoint) {
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

// Characters the edit box splits lines on or treats as objects, the byte order mark (Qt's
// UTF-8 decoding drops it at the start of a text), and the escapes themselves.
bool NeedsEscape(char32_t c) {
    return c == 0x2028 || c == 0x2029 || c == 0xFFFC || c == 0xFEFF ||
           (c >= 0xFDD0 && c <= 0xFDEF) || (c >= kEscapeBase && c <= kEscapeBase + 0xFF);
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

void AppendEscaped(std::string& out, std::string_view bytes) {
    for (const char b : bytes) {
        AppendUtf8(out, kEscapeBase + static_cast<std::uint8_t>(b));
    }
}

void DecodeLine(std::string& out, std::string_view line) {
    while (!line.empty()) {
        char32_t c = 0;
        std::size_t length = ReadUtf8(line, c);
        if (length == 0) {
            AppendEscaped(out, line.substr(0, 1));
            length = 1;
        } else if (NeedsEscape(c)) {
            AppendEscaped(out, line.substr(0, length));
        } else {
            out.append(line.substr(0, length));
        }
        line.remove_prefix(length);
    }
}

bool IsLineEndByte(char c) {
    return c == '\r' || c == '\n';
}

std::size_t LeadingLineEndLength(std::string_view bytes) {
    if (bytes.starts_with(kLineEnd)) {
        return 2;
    }
    return !bytes.empty() && IsLineEndByte(bytes.front()) ? 1 : 0;
}

} // namespace

std::string DecodeFileText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    while (!bytes.empty()) {
        std::size_t end = 0;
        while (end < bytes.size() && !IsLineEndByte(bytes[end])) {
            ++end;
        }
        DecodeLine(text, bytes.substr(0, end));
        text.append(kLineEnd);
        bytes.remove_prefix(end);
        bytes.remove_prefix(LeadingLineEndLength(bytes));
    }
    return text;
}

std::string EncodeEditorText(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    while (!text.empty()) {
        if (const std::size_t lineEnd = LeadingLineEndLength(text); lineEnd > 0) {
            bytes.append(kLineEnd);
            text.remove_prefix(lineEnd);
            continue;
        }
        char32_t c = 0;
        std::size_t length = ReadUtf8(text, c);
        if (length == 0) {
            // Not from the edit box, which only hands out valid text; keep the byte.
            bytes += text.front();
            length = 1;
        } else if (c >= kEscapeBase && c <= kEscapeBase + 0xFF) {
            bytes += static_cast<char>(c - kEscapeBase);
        } else {
            bytes.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return bytes;
}

std::string MergeAppended(std::string_view edited, std::string_view loaded,
                          std::string_view current) {
    if (current.size() <= loaded.size() || !current.starts_with(loaded)) {
        return std::string(edited);
    }
    std::string_view appended = current.substr(loaded.size());
    // The monitor ends a torn last line before adding its own; the edited text already ends
    // every line, so that line end would leave an empty line.
    if (!loaded.empty() && !IsLineEndByte(loaded.back())) {
        appended.remove_prefix(LeadingLineEndLength(appended));
    }
    std::string merged(edited);
    if (!merged.empty() && !appended.empty() && !IsLineEndByte(merged.back())) {
        merged.append(kLineEnd);
    }
    merged.append(appended);
    return merged;
}

bool ResolveClose(bool changed, const std::function<CloseAnswer()>& ask,
                  const std::function<bool()>& save) {
    if (!changed) {
        return true;
    }
    switch (ask()) {
    case CloseAnswer::Yes:
        return save();
    case CloseAnswer::No:
        return true;
    case CloseAnswer::Cancel:
        break;
    }
    return false;
}

} // namespace amperlog

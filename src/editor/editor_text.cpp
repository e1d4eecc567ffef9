#include "editor/editor_text.h"

#include "helpers/utf8.h"
#include "platform/text_codec.h"

#include <cstdint>

namespace amperlog {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Characters the edit box splits lines on or treats as objects, and the byte order mark (Qt's
// UTF-8 decoding drops it at the start of a text). Kept bytes are escaped by the codec.
bool NeedsEscape(char32_t c) {
    return c == 0x2028 || c == 0x2029 || c == 0xFFFC || c == 0xFEFF || (c >= 0xFDD0 && c <= 0xFDEF);
}

// line is the codec's text: valid UTF-8 throughout.
void AppendLine(std::string& out, std::string_view line, const TextCodec& codec) {
    while (!line.empty()) {
        char32_t c = 0;
        std::size_t length = ReadUtf8(line, c);
        if (length == 0) {
            out += line.front(); // not from a codec, which hands out valid text only
            length = 1;
        } else if (NeedsEscape(c)) {
            AppendKeptBytes(out, codec.Encode(line.substr(0, length)));
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

std::string DecodeFileText(std::string_view bytes, const TextCodec& codec) {
    const std::string decoded = codec.Decode(bytes);
    std::string_view rest = decoded;
    std::string text;
    text.reserve(decoded.size() + decoded.size() / 8);
    while (!rest.empty()) {
        std::size_t end = 0;
        while (end < rest.size() && !IsLineEndByte(rest[end])) {
            ++end;
        }
        AppendLine(text, rest.substr(0, end), codec);
        text.append(kLineEnd);
        rest.remove_prefix(end);
        rest.remove_prefix(LeadingLineEndLength(rest));
    }
    return text;
}

std::string EncodeEditorText(std::string_view text, const TextCodec& codec) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 16);
    while (!text.empty()) {
        if (const std::size_t lineEnd = LeadingLineEndLength(text); lineEnd > 0) {
            lines.append(kLineEnd);
            text.remove_prefix(lineEnd);
            continue;
        }
        std::size_t end = 0;
        while (end < text.size() && !IsLineEndByte(text[end])) {
            ++end;
        }
        lines.append(text.substr(0, end));
        text.remove_prefix(end);
    }
    return codec.Encode(lines);
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

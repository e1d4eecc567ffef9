#include "report/markup.h"

#include "helpers/utf8.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace amperlog {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Calls emit for each character of text, an invalid byte as U+FFFD.
template <typename Emit>
void ForEachCharacter(std::string_view text, Emit emit) {
    while (!text.empty()) {
        char32_t c = 0;
        std::size_t length = ReadUtf8(text, c);
        if (length == 0) {
            c = kReplacement;
            length = 1;
        }
        emit(c);
        text.remove_prefix(length);
    }
}

} // namespace

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCharacter(text, [&out](char32_t c) {
        switch (c) {
        case U'&':
            out += "&amp;";
            break;
        case U'<':
            out += "&lt;";
            break;
        case U'>':
            out += "&gt;";
            break;
        case U'"':
            out += "&quot;";
            break;
        case U'\'':
            out += "&#39;";
            break;
        default:
            AppendUtf8(out, c);
        }
    });
    return out;
}

std::string Tag(std::string_view name, Attributes attributes, bool empty) {
    constexpr char kQuote = '"';
    std::string out = "<";
    out += name;
    for (const auto& [key, value] : attributes) {
        if (value.empty()) {
            continue;
        }
        out.append(" ").append(key).append("=");
        out.append(1, kQuote).append(EscapeHtml(value)).append(1, kQuote);
    }
    out += empty ? "/>" : ">";
    return out;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    ForEachCharacter(text, [&out](char32_t c) {
        if (c == U'"' || c == U'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F || c == 0x2028 || c == 0x2029) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
            out += buffer;
        } else {
            AppendUtf8(out, c);
        }
    });
    out += '"';
    return out;
}

std::string JsonNumber(std::optional<double> value, int decimals) {
    if (!value || !std::isfinite(*value)) {
        return "null";
    }
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(*value * scale) / scale;
    if (rounded == 0) {
        rounded = 0; // no "-0"
    }
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, rounded);
    return error == std::errc() ? std::string(buffer, end) : std::string("null");
}

} // namespace amperlog

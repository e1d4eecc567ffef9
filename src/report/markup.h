#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace amperlog {

// Texts from the system (battery names, folder names) go into the report pages through these:
// a name such as "<script>" must arrive as text. Bytes that are not UTF-8 become U+FFFD, so
// a page or a JSON file never holds an invalid sequence.

// For HTML text and quoted attribute values: & < > " ' as references.
std::string EscapeHtml(std::string_view text);

// A JSON string with its quotes: " and \ escaped, control characters and the line and
// paragraph separators as \u escapes.
std::string JsonString(std::string_view text);

// A start tag, <name key="value" ...>, each value escaped and one left empty left out; closed
// at once ("/>") when empty.
using Attributes = std::initializer_list<std::pair<std::string_view, std::string>>;
std::string Tag(std::string_view name, Attributes attributes, bool empty = false);

// A JSON number rounded to the given decimals in its shortest form (12.5, not 12.50), with a
// point whatever the locale; null without a value or for NaN and infinities.
std::string JsonNumber(std::optional<double> value, int decimals);

} // namespace amperlog

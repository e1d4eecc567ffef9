#include "settings/profile_text.h"

#include "helpers/ascii.h"

#include <istream>
#include <vector>

namespace amperlog::profile {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
// Lines of a file too large to keep are judged by this many leading bytes.
constexpr std::size_t kStreamLineKeep = std::size_t{64} * 1024;
constexpr std::size_t kReadChunk = std::size_t{64} * 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}
bool IsQuote(char c) {
    return c == '"' || c == '\'';
}
bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Trim(std::string_view text) {
    return TrimRight(TrimLeft(text));
}

// The first count characters of UTF-8 text; never splits a character. Stray continuation
// bytes count for nothing, so the byte length is capped as well.
std::string_view CutToChars(std::string_view text, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i >= count * 4) {
            return text.substr(0, i);
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0u) != 0x80u) {
            if (chars == count) {
                return text.substr(0, i);
            }
            ++chars;
        }
    }
    return text;
}

enum class LineKind { Blank, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;
    std::string_view value; // trimmed, quotes still on
    bool hasEquals = false;
};

// Every non-blank line that is no section header is a key: comment lines are found by their
// text, and a line without "=" is a key without value, as the platform's reader has it.
ParsedLine ParseLine(std::string_view content) {
    ParsedLine line;
    const std::string_view text = Trim(content);
    if (text.empty()) {
        return line;
    }
    if (text.front() == '[') {
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.kind = LineKind::Section;
            line.name = Trim(text.substr(1, close - 1));
            return line;
        }
    }
    line.kind = LineKind::Key;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.name = text;
        return line;
    }
    line.name = TrimRight(text.substr(0, equals));
    line.value = TrimLeft(text.substr(equals + 1));
    line.hasEquals = true;
    return line;
}

std::string ValueOf(const ParsedLine& line) {
    if (!line.hasEquals) {
        return {};
    }
    std::string_view value = CutAtNul(line.value);
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(CutToChars(value, kMaxValueChars));
}

enum class Place { Outside, WantedHeader, Inside, Match, End };

// Follows the lines of a file to the first section of the wanted name and, in it, the first
// key of the wanted name. The keys before any header form the section "".
class KeyFinder {
public:
    KeyFinder(std::string_view section, std::string_view key)
        : m_section(section), m_key(key), m_inside(section.empty()) {}

    Place Feed(const ParsedLine& line) {
        if (line.kind == LineKind::Section) {
            if (m_inside) {
                return Place::End; // later sections of the same name are never looked at
            }
            if (EqualsNoCase(line.name, m_section)) {
                m_inside = true;
                return Place::WantedHeader;
            }
            return Place::Outside;
        }
        if (!m_inside) {
            return Place::Outside;
        }
        if (line.kind == LineKind::Key && EqualsNoCase(line.name, m_key)) {
            return Place::Match;
        }
        return Place::Inside;
    }

private:
    std::string_view m_section;
    std::string_view m_key;
    bool m_inside;
};

struct LineSpan {
    std::size_t begin;
    std::size_t contentEnd; // where the line break starts
    std::size_t end;        // after the line break
};

std::size_t BomLength(std::string_view text) {
    return text.starts_with(kBom) ? kBom.size() : 0;
}

// Calls visit(span) for every line until it returns false. CR LF, LF and CR end a line.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    std::size_t pos = BomLength(text);
    while (pos < text.size()) {
        const std::size_t lineBreak = text.find_first_of(kLineEnd, pos);
        if (lineBreak == std::string_view::npos) {
            visit(LineSpan{pos, text.size(), text.size()});
            return;
        }
        std::size_t end = lineBreak + 1;
        if (text[lineBreak] == '\r' && end < text.size() && text[end] == '\n') {
            ++end;
        }
        if (!visit(LineSpan{pos, lineBreak, end})) {
            return;
        }
        pos = end;
    }
}

std::string_view ContentOf(std::string_view text, const LineSpan& span) {
    return text.substr(span.begin, span.contentEnd - span.begin);
}

} // namespace

std::string_view CutAtNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

std::string_view NormaliseName(std::string_view name) {
    return TrimRight(CutToChars(Trim(CutAtNul(name)), kMaxNameChars));
}

std::string StoredForm(std::string_view value) {
    const bool needsQuotes =
        !value.empty() &&
        (IsBlank(value.front()) || IsBlank(value.back()) ||
         (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
    if (!needsQuotes) {
        return std::string(value);
    }
    std::string stored;
    stored.reserve(value.size() + 2);
    stored.push_back('"');
    stored.append(value);
    stored.push_back('"');
    return stored;
}

std::string FindInText(std::string_view text, std::string_view section, std::string_view key) {
    KeyFinder finder(section, key);
    std::string result;
    ForEachLine(text, [&](const LineSpan& span) {
        const ParsedLine line = ParseLine(ContentOf(text, span));
        const Place place = finder.Feed(line);
        if (place == Place::Match) {
            result = ValueOf(line);
            return false;
        }
        return place != Place::End;
    });
    return result;
}

std::string FindInStream(std::istream& in, std::string_view section, std::string_view key) {
    KeyFinder finder(section, key);
    std::string result;
    bool stop = false;
    bool firstLine = true;
    std::string line;
    bool overflow = false;
    std::optional<char> lastNonBlank;
    const auto finishLine = [&] {
        if (overflow && lastNonBlank) {
            line.push_back(*lastNonBlank); // keeps a closing quote visible
        }
        std::string_view content = line;
        if (firstLine && content.starts_with(kBom)) {
            content.remove_prefix(kBom.size());
        }
        firstLine = false;
        const ParsedLine parsed = ParseLine(content);
        const Place place = finder.Feed(parsed);
        if (place == Place::Match) {
            result = ValueOf(parsed);
        }
        stop = place == Place::Match || place == Place::End;
        line.clear();
        overflow = false;
        lastNonBlank.reset();
    };
    std::vector<char> buffer(kReadChunk);
    while (!stop && in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        for (std::size_t i = 0; i < got && !stop; ++i) {
            const char c = buffer[i];
            if (IsLineBreak(c)) {
                finishLine(); // the LF of a CR LF makes a blank line, which nobody sees
            } else if (line.size() < kStreamLineKeep) {
                line.push_back(c);
            } else {
                overflow = true;
                if (!IsBlank(c)) {
                    lastNonBlank = c;
                }
            }
        }
    }
    if (!stop) {
        finishLine();
    }
    return result;
}

std::optional<std::string> EditText(std::string_view text, std::string_view section,
                                    std::string_view key, const std::string& keyLine,
                                    const std::string& stored) {
    KeyFinder finder(section, key);
    std::optional<LineSpan> match;
    std::optional<LineSpan> anchor; // the new key goes after this line
    bool sectionFound = section.empty();
    bool matchHasEquals = false;
    ForEachLine(text, [&](const LineSpan& span) {
        const ParsedLine line = ParseLine(ContentOf(text, span));
        switch (finder.Feed(line)) {
        case Place::WantedHeader:
            sectionFound = true;
            anchor = span;
            return true;
        case Place::Inside:
            if (line.kind != LineKind::Blank) {
                anchor = span; // trailing blank lines stay between sections
            }
            return true;
        case Place::Match:
            match = span;
            matchHasEquals = line.hasEquals;
            return false;
        case Place::End:
            return false;
        case Place::Outside:
            return true;
        }
        return true;
    });

    std::string edited;
    if (match) {
        const std::string_view content = ContentOf(text, *match);
        std::string replacement;
        if (matchHasEquals) {
            // The key keeps its spelling and indentation; only what follows "=" changes.
            replacement.append(content.substr(0, content.find('=') + 1));
        } else {
            replacement.append(TrimRight(content));
            replacement.push_back('=');
        }
        replacement.append(stored);
        if (replacement == content) {
            return std::nullopt;
        }
        edited.reserve(text.size() + replacement.size());
        edited.append(text.substr(0, match->begin));
        edited.append(replacement);
        edited.append(text.substr(match->contentEnd));
        return edited;
    }
    if (sectionFound) {
        std::size_t at = BomLength(text);
        bool needsBreakBefore = false;
        if (anchor) {
            at = anchor->end;
            needsBreakBefore = anchor->end == anchor->contentEnd; // last line without break
        }
        edited.reserve(text.size() + keyLine.size() + 4);
        edited.append(text.substr(0, at));
        if (needsBreakBefore) {
            edited.append(kLineEnd);
        }
        edited.append(keyLine);
        edited.append(kLineEnd);
        edited.append(text.substr(at));
        return edited;
    }
    edited.reserve(text.size() + section.size() + keyLine.size() + 8);
    edited.append(text);
    if (text.size() > BomLength(text) && !IsLineBreak(text.back())) {
        edited.append(kLineEnd);
    }
    edited.push_back('[');
    edited.append(section);
    edited.push_back(']');
    edited.append(kLineEnd);
    edited.append(keyLine);
    edited.append(kLineEnd);
    return edited;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of(kLineEnd) != std::string_view::npos;
}

bool NamesReadBack(std::string_view section, std::string_view key, std::string_view keyLine) {
    const ParsedLine keyCheck = ParseLine(keyLine);
    if (keyCheck.kind != LineKind::Key || keyCheck.name != key) {
        return false;
    }
    // At the start of a file such a key would read as a byte-order mark and a shorter name.
    if (key.starts_with(kBom)) {
        return false;
    }
    if (!section.empty()) {
        const std::string header = "[" + std::string(section) + "]";
        const ParsedLine headerCheck = ParseLine(header);
        if (headerCheck.kind != LineKind::Section || headerCheck.name != section) {
            return false;
        }
    }
    return true;
}

} // namespace amperlog::profile

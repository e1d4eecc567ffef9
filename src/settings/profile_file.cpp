#include "settings/profile_file.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

namespace amperlog {
namespace fs = std::filesystem;

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

// The platform passes C strings: a NUL ends the text.
std::string_view CutAtNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
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

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = LowerAscii(c);
    }
    return lower;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view NormaliseName(std::string_view name) {
    return TrimRight(CutToChars(Trim(CutAtNul(name)), ProfileFile::kMaxNameChars));
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
    return std::string(CutToChars(value, ProfileFile::kMaxValueChars));
}

// Quotes a value whose blanks or quotes the reader would otherwise take away.
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

// The same lookup over a file too large to keep, with bounded memory.
std::string FindInStream(const fs::path& path, std::string_view section, std::string_view key) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
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

// The text of the file after storing the value, or nullopt when the stored line already
// says exactly that.
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

} // namespace

ProfileFile::ProfileFile(fs::path path) : m_path(std::move(path)) {}

bool ProfileFile::IsRacy() const {
    // Time stamps without a fraction of a second come from a coarse clock (FAT keeps two
    // seconds); fine ones still advance only with the system tick.
    const auto stamp = m_stamp.time_since_epoch();
    const bool coarse = stamp % std::chrono::seconds(1) == decltype(stamp)::zero();
    const auto window =
        coarse ? std::chrono::duration_cast<fs::file_time_type::duration>(std::chrono::seconds(3))
               : std::chrono::duration_cast<fs::file_time_type::duration>(
                     std::chrono::milliseconds(50));
    return m_stamp >= m_loadedAt - window;
}

void ProfileFile::Refresh() {
    if (m_held) {
        // A write that failed half way leaves Unknown: that is looked at again.
        if (m_lookedWhileHeld && m_state != State::Unknown) {
            return;
        }
        m_lookedWhileHeld = true;
    }
    // One system call per read or write: the time stamp. The size is not compared, as it
    // would cost a second call and only helps against an edit that also puts back the
    // file's old time stamp, which this check does not see either way.
    std::error_code error;
    const fs::file_time_type stamp = fs::last_write_time(m_path, error);
    if (error) {
        ++m_version;
        m_state =
            error == std::errc::no_such_file_or_directory ? State::Missing : State::Unreadable;
        m_text.clear();
        return;
    }
    if ((m_state == State::Loaded || m_state == State::TooLarge) && stamp == m_stamp && !IsRacy()) {
        return;
    }
    ++m_version;
    Load(stamp);
}

void ProfileFile::Load(fs::file_time_type stamp) {
    const auto loadedAt = fs::file_time_type::clock::now();
    std::error_code error;
    const fs::file_status status = fs::status(m_path, error);
    if (error || !fs::is_regular_file(status)) {
        m_state = State::Unreadable;
        std::string().swap(m_text);
        return;
    }
    const std::uintmax_t size = fs::file_size(m_path, error);
    if (!error && size > kMaxLoadedBytes) {
        KeepTooLarge(stamp, loadedAt);
        return;
    }
    std::ifstream in(m_path, std::ios::binary);
    if (!in) {
        m_state = State::Unreadable;
        std::string().swap(m_text);
        return;
    }
    std::string bytes;
    bytes.reserve(error ? 0 : static_cast<std::size_t>(size));
    std::vector<char> buffer(kReadChunk);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        bytes.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kMaxLoadedBytes) {
            KeepTooLarge(stamp, loadedAt); // grew since it was measured
            return;
        }
    }
    if (in.bad()) {
        m_state = State::Unreadable;
        std::string().swap(m_text);
        return;
    }
    m_text = std::move(bytes);
    m_stamp = stamp;
    m_loadedAt = loadedAt;
    m_state = State::Loaded;
}

void ProfileFile::KeepTooLarge(fs::file_time_type stamp, fs::file_time_type loadedAt) {
    m_state = State::TooLarge;
    std::string().swap(m_text);
    m_scanned.clear();
    m_stamp = stamp;
    m_loadedAt = loadedAt;
}

bool ProfileFile::Replace(std::string text) {
    ++m_version;
    std::error_code error;
    fs::path target = m_path;
    if (fs::is_symlink(m_path, error)) {
        // Keep the link; replace the file it points to.
        fs::path resolved = fs::weakly_canonical(m_path, error);
        if (!error) {
            target = std::move(resolved);
        }
    }
    std::optional<fs::perms> keptPerms;
    if (m_state == State::Loaded) {
        const fs::perms perms = fs::status(target, error).permissions();
        if (error || (perms & fs::perms::owner_write) == fs::perms::none) {
            return false; // a read-only settings file stays as the user made it
        }
        keptPerms = perms;
    }

    fs::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return false;
        }
    }
    if (keptPerms) {
        fs::permissions(temporary, *keptPerms, fs::perm_options::replace, error);
    }
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        m_state = State::Unknown;
        m_text.clear();
        return false;
    }

    const fs::file_time_type stamp = fs::last_write_time(m_path, error);
    if (error) {
        m_state = State::Unknown; // stored, but the next call reads it afresh
        m_text.clear();
        return true;
    }
    m_text = std::move(text);
    m_stamp = stamp;
    m_loadedAt = fs::file_time_type::clock::now();
    m_state = State::Loaded;
    return true;
}

std::string ProfileFile::Read(std::string_view section, std::string_view key) {
    Refresh();
    const std::string_view sectionName = NormaliseName(section);
    const std::string_view keyName = NormaliseName(key);
    switch (m_state) {
    case State::Loaded:
        return FindInText(m_text, sectionName, keyName);
    case State::TooLarge: {
        // A scan passes over every byte of the file; the program asks for a dozen keys a
        // second, and only a few different ones.
        constexpr std::size_t kMaxScannedKeys = 64;
        auto id = std::make_pair(LowerAscii(sectionName), LowerAscii(keyName));
        if (const auto found = m_scanned.find(id); found != m_scanned.end()) {
            return found->second;
        }
        std::string value = FindInStream(m_path, sectionName, keyName);
        if (m_scanned.size() >= kMaxScannedKeys) {
            m_scanned.clear();
        }
        m_scanned.emplace(std::move(id), value);
        return value;
    }
    case State::Unknown:
    case State::Missing:
    case State::Unreadable:
        break;
    }
    return {};
}

bool ProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sectionName = NormaliseName(section);
    const std::string_view keyName = NormaliseName(key);
    value = CutAtNul(value);
    if (HasLineBreak(sectionName) || HasLineBreak(keyName) || HasLineBreak(value)) {
        return false;
    }
    const std::string stored = StoredForm(value);
    std::string keyLine(keyName);
    keyLine.push_back('=');
    keyLine.append(stored);

    Refresh();
    if (m_state != State::Loaded && m_state != State::Missing) {
        return false; // never replace a file whose lines we could not keep
    }
    // The program writes the same few values every second: a write already found in place
    // in these very bytes is in place still, and passed its checks then.
    if (m_inPlaceVersion != m_version) {
        m_inPlace.clear();
        m_inPlaceVersion = m_version;
    }
    std::string id(sectionName);
    id.push_back('\n');
    id.append(keyLine);
    if (std::find(m_inPlace.begin(), m_inPlace.end(), id) != m_inPlace.end()) {
        return true;
    }

    // A name that the reader would take apart differently could never be found again, and
    // every later write would add another line.
    const ParsedLine keyCheck = ParseLine(keyLine);
    if (keyCheck.kind != LineKind::Key || keyCheck.name != keyName) {
        return false;
    }
    // At the start of a file such a key would read as a byte-order mark and a shorter name.
    if (keyName.starts_with(kBom)) {
        return false;
    }
    if (!sectionName.empty()) {
        const std::string header = "[" + std::string(sectionName) + "]";
        const ParsedLine headerCheck = ParseLine(header);
        if (headerCheck.kind != LineKind::Section || headerCheck.name != sectionName) {
            return false;
        }
    }

    std::optional<std::string> edited = EditText(m_text, sectionName, keyName, keyLine, stored);
    if (!edited) {
        constexpr std::size_t kMaxInPlace = 64;
        if (m_inPlace.size() >= kMaxInPlace) {
            m_inPlace.clear();
        }
        m_inPlace.push_back(std::move(id));
        return true;
    }
    return Replace(std::move(*edited));
}

std::string ReadProfileText(std::string_view section, std::string_view key, const fs::path& file) {
    return ProfileFile(file).Read(section, key);
}

bool WriteProfileText(std::string_view section, std::string_view key, std::string_view value,
                      const fs::path& file) {
    return ProfileFile(file).Write(section, key, value);
}

} // namespace amperlog

// The settings file's reader and writer on a hostile file, section, key and value:
// - a value the writer accepts reads back as written (cut at a NUL and to 255 characters),
//   through the same object and through a fresh one that reads the disk;
// - the write changes one line or inserts the key (and its section), every other line stays
//   byte for byte; a refused write leaves the file untouched, and so does a repeated one.
#include "fuzz_support.h"
#include "settings/profile_file.h"

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

using amperlog::fuzz::ScratchFolder;

struct Line {
    std::string_view content;
    std::string_view end; // "", "\r", "\n" or "\r\n"

    bool operator==(const Line&) const = default;
};

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back({text.substr(pos), {}});
            break;
        }
        std::size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n') {
            ++next;
        }
        lines.push_back({text.substr(pos, end - pos), text.substr(end, next - end)});
        pos = next;
    }
    return lines;
}

// The edit changed one line's content, or inserted one or two lines (the key, or a section
// header and the key); an old last line without a line end may have gained one.
bool IsOneLineEdit(std::string_view before, std::string_view after) {
    const bool bom = before.starts_with(kBom);
    if (bom != after.starts_with(kBom)) {
        return false;
    }
    if (bom) {
        before.remove_prefix(kBom.size());
        after.remove_prefix(kBom.size());
    }
    const std::vector<Line> old = SplitLines(before);
    const std::vector<Line> now = SplitLines(after);
    if (now.size() < old.size()) {
        return false;
    }
    std::size_t prefix = 0;
    while (prefix < old.size() && old[prefix] == now[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < old.size() - prefix &&
           old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::size_t oldChanged = old.size() - prefix - suffix;
    const std::size_t added = now.size() - old.size();
    if (added == 0) {
        return oldChanged == 1 && old[prefix].end == now[prefix].end &&
               old[prefix].content != now[prefix].content;
    }
    if (added > 2) {
        return false;
    }
    if (oldChanged == 0) {
        return true;
    }
    // The old last line gained the line end that the inserted lines need.
    return oldChanged == 1 && prefix == old.size() - 1 && old[prefix].end.empty() &&
           now[prefix].content == old[prefix].content && now[prefix].end == "\r\n";
}

// The value a read gives back after the writer accepted value: cut at a NUL and to 255
// characters of UTF-8 (a stray continuation byte counts for nothing, so a byte cap too).
std::string_view ExpectedRead(std::string_view value) {
    value = value.substr(0, value.find('\0'));
    std::size_t chars = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (i >= 255 * 4) {
            return value.substr(0, i);
        }
        if ((static_cast<unsigned char>(value[i]) & 0xC0u) != 0x80u) {
            if (chars == 255) {
                return value.substr(0, i);
            }
            ++chars;
        }
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(40);
    const std::string key = input.ConsumeRandomLengthString(40);
    const std::string value = input.ConsumeRandomLengthString(600);
    const bool fileExists = input.ConsumeBool();
    const std::string before = input.ConsumeRemainingBytesAsString();

    const auto path = ScratchFolder() / "amperlog.ini";
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (fileExists) {
        amperlog::fuzz::WriteBytes(path, before);
    }

    amperlog::ProfileFile file(path);
    const std::string oldValue = file.Read(section, key);
    AMPERLOG_FUZZ_CHECK(oldValue.size() <= 255 * 4);
    const bool stored = file.Write(section, key, value);
    const std::string after = amperlog::fuzz::ReadBytes(path);
    AMPERLOG_FUZZ_CHECK(!std::filesystem::exists(path.string() + ".tmp"));
    if (!stored) {
        AMPERLOG_FUZZ_CHECK(after == (fileExists ? before : std::string()));
        AMPERLOG_FUZZ_CHECK(file.Read(section, key) == oldValue);
        return 0;
    }
    AMPERLOG_FUZZ_CHECK(IsOneLineEdit(fileExists ? before : std::string_view(), after) ||
                        after == before);

    const std::string_view expected = ExpectedRead(value);
    AMPERLOG_FUZZ_CHECK(file.Read(section, key) == expected);
    AMPERLOG_FUZZ_CHECK(amperlog::ProfileFile(path).Read(section, key) == expected);

    // Storing the same value again does not touch the file.
    AMPERLOG_FUZZ_CHECK(amperlog::ProfileFile(path).Write(section, key, value));
    AMPERLOG_FUZZ_CHECK(amperlog::fuzz::ReadBytes(path) == after);
    return 0;
}

#pragma once

#include "settings/profile_text.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace amperlog {

// A private-profile (INI) file read and written with the semantics of the platform's profile
// functions:
// - section and key names match without regard to ASCII case, blanks around them ignored;
//   names are cut to 128 characters; the first matching section and, in it, the first
//   matching key win; keys before the first section header form the section "";
// - a read value is trimmed of blanks, loses one pair of matching surrounding quotes
//   (" or '), ends at a NUL, and is cut to 255 characters; a missing file, section or key
//   reads as empty text;
// - a write changes only the line of the key, or inserts "key=value" after the last
//   non-blank line of the section, or appends the section at the end of the file; every
//   other byte is kept; new lines end in CR LF; CR LF, LF and CR are all read;
// - the writer quotes a value that the reader would otherwise change (edge blanks, or a
//   value wrapped in matching quotes), so every value of up to 255 characters without line
//   breaks reads back exactly as written.
//
// Every write reaches the file before it returns, through a temporary file in the same
// folder that is renamed over the old one, so a crash never leaves the file half written.
// A write that would not change the stored line touches nothing.
//
// ProfileFile keeps the file's bytes between calls and checks the file's modification time
// before every read and write, so it sees edits made by other programs. A modification time
// that is not clearly older than the moment the bytes were read could hide a later edit
// within the same tick of the file system's clock; the bytes are then read again. Not seen:
// an edit that also sets the file's time stamp back to the one it had.
//
// Hostile files: a file larger than kMaxLoadedBytes is not kept in memory; its keys are
// still read by scanning it (each over-long line judged by its first 64 KiB and its last
// non-blank character), once per key while its time stamp stays, but writes to it are
// refused and leave it untouched. Binary bytes and NULs are carried along as they are.
class ProfileFile {
public:
    static constexpr std::uintmax_t kMaxLoadedBytes = std::uintmax_t{16} * 1024 * 1024;
    static constexpr std::size_t kMaxValueChars = profile::kMaxValueChars;
    static constexpr std::size_t kMaxNameChars = profile::kMaxNameChars;

    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return m_path; }

    std::string Read(std::string_view section, std::string_view key);
    // False when nothing could be stored: the folder or file is not writable, the file is
    // unreadable or too large, or the value, key or section holds a line break (or the key
    // could never be found again, such as one containing "="). A NUL ends every text.
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    // For a burst of calls that runs no other code in between: while held, the file is
    // looked at by the first call only, and the rest trust what it found.
    void Hold() { m_held = true; }
    void Release() {
        m_held = false;
        m_lookedWhileHeld = false;
    }

private:
    enum class State { Unknown, Missing, Loaded, TooLarge, Unreadable };

    void Refresh();
    void Load(std::filesystem::file_time_type stamp);
    void KeepTooLarge(std::filesystem::file_time_type stamp,
                      std::filesystem::file_time_type loadedAt);
    bool Replace(std::string text);
    bool IsRacy() const;

    std::filesystem::path m_path;
    State m_state = State::Unknown;
    std::string m_text;
    // Values found by scanning a file too large to keep, by section and key in lower case.
    std::map<std::pair<std::string, std::string>, std::string> m_scanned;
    bool m_held = false;
    bool m_lookedWhileHeld = false;
    // Counts the changes of m_text and m_state.
    std::uint64_t m_version = 0;
    // Writes that found their line in place, as "section\nkey=value", while m_version was
    // m_inPlaceVersion.
    std::vector<std::string> m_inPlace;
    std::uint64_t m_inPlaceVersion = 0;
    std::filesystem::file_time_type m_stamp{};
    // File clock reading taken just before m_text was read or written.
    std::filesystem::file_time_type m_loadedAt{};
};

// One-shot access without keeping the file between calls.
std::string ReadProfileText(std::string_view section, std::string_view key,
                            const std::filesystem::path& file);
bool WriteProfileText(std::string_view section, std::string_view key, std::string_view value,
                      const std::filesystem::path& file);

} // namespace amperlog

#include "settings/profile_file.h"

#include "helpers/ascii.h"
#include "helpers/atomic_file.h"
#include "settings/profile_text.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

namespace amperlog {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kReadChunk = std::size_t{64} * 1024;

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
    switch (ReplaceFileAtomically(m_path, text)) {
    case ReplaceResult::Replaced:
        break;
    case ReplaceResult::Untouched:
        return false;
    case ReplaceResult::RenameFailed:
        m_state = State::Unknown;
        m_text.clear();
        return false;
    }
    std::error_code error;
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
    const std::string_view sectionName = profile::NormaliseName(section);
    const std::string_view keyName = profile::NormaliseName(key);
    switch (m_state) {
    case State::Loaded:
        return profile::FindInText(m_text, sectionName, keyName);
    case State::TooLarge: {
        // A scan passes over every byte of the file; the program asks for a dozen keys a
        // second, and only a few different ones.
        constexpr std::size_t kMaxScannedKeys = 64;
        auto id = std::make_pair(LowerAscii(sectionName), LowerAscii(keyName));
        if (const auto found = m_scanned.find(id); found != m_scanned.end()) {
            return found->second;
        }
        std::ifstream in(m_path, std::ios::binary);
        std::string value = in ? profile::FindInStream(in, sectionName, keyName) : std::string();
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
    const std::string_view sectionName = profile::NormaliseName(section);
    const std::string_view keyName = profile::NormaliseName(key);
    value = profile::CutAtNul(value);
    if (profile::HasLineBreak(sectionName) || profile::HasLineBreak(keyName) ||
        profile::HasLineBreak(value)) {
        return false;
    }
    const std::string stored = profile::StoredForm(value);
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
    if (!profile::NamesReadBack(sectionName, keyName, keyLine)) {
        return false;
    }

    std::optional<std::string> edited =
        profile::EditText(m_text, sectionName, keyName, keyLine, stored);
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

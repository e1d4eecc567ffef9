#include "editor/editor_session.h"

#include "editor/editor_text.h"
#include "helpers/atomic_file.h"
#include "platform/synced_append.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <utility>

namespace amperlog {
namespace {

// The whole file, or nullopt when it cannot be read.
std::optional<std::string> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(bytes).str();
}

} // namespace

EditorSession::EditorSession(std::filesystem::path target, const TextCodec& codec)
    : m_target(std::move(target)), m_codec(codec) {}

EditorSession::LoadState EditorSession::Load(std::string& text) {
    if (m_state != LoadState::NotLoaded) {
        return m_state;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(m_target, ec)) {
        m_state = LoadState::Unreadable;
        return m_state;
    }
    const std::uintmax_t size = std::filesystem::file_size(m_target, ec);
    if (!ec && size > kMaxFileBytes) {
        m_state = LoadState::TooLarge;
        return m_state;
    }
    std::optional<std::string> bytes = ReadBytes(m_target);
    if (!bytes) {
        m_state = LoadState::Unreadable;
        return m_state;
    }
    if (bytes->size() > kMaxFileBytes) { // grew since its size was asked
        m_state = LoadState::TooLarge;
        return m_state;
    }
    m_base = std::move(*bytes);
    text = DecodeFileText(m_base, m_codec);
    m_state = LoadState::Loaded;
    return m_state;
}

bool EditorSession::Save(std::string_view text) {
    if (m_state == LoadState::TooLarge) {
        return false;
    }
    std::string current;
    std::error_code ec;
    if (std::filesystem::exists(m_target, ec)) {
        // A pipe or device would block the read or take no replacement.
        if (!std::filesystem::is_regular_file(m_target, ec)) {
            return false;
        }
        std::optional<std::string> bytes = ReadBytes(m_target);
        if (!bytes) {
            return false;
        }
        current = std::move(*bytes);
    }
    std::string edited = EncodeEditorText(text, m_codec);
    // A save is rare and is the user's work: on the disk before it replaces the file.
    if (ReplaceFileAtomically(m_target, MergeAppended(edited, m_base, current), SyncFileData) !=
        ReplaceResult::Replaced) {
        return false;
    }
    m_base = std::move(edited);
    m_changed = false;
    return true;
}

} // namespace amperlog

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace amperlog {

class TextCodec;

// One file opened in the data edit window: what was read, whether the text changed since, and
// saving it back. The file is read once; a save keeps what was appended to the file since and
// replaces it atomically, so a crash or a full disk never leaves it half written.
class EditorSession {
public:
    // A day's log at one line a second stays far below this; a larger file would freeze the
    // window while the box takes it in, so it is shown read-only instead of loaded.
    static constexpr std::uintmax_t kMaxFileBytes = 8u * 1024u * 1024u;

    enum class LoadState { NotLoaded, Loaded, Unreadable, TooLarge };

    // The path is kept as given, in the system's own bytes, for reading and saving alike. codec
    // (the files' encoding) must outlive the session.
    EditorSession(std::filesystem::path target, const TextCodec& codec);
    EditorSession(std::filesystem::path target, const TextCodec&& codec) = delete;

    const std::filesystem::path& Target() const { return m_target; }
    LoadState State() const { return m_state; }

    // Reads the file into text (the edit box's form, see DecodeFileText). Unreadable (a
    // missing file included) and TooLarge leave text as it was. Reads only the first time.
    LoadState Load(std::string& text);

    // Writes text to the file. False when nothing was written: the file is too large to have
    // been loaded, exists but cannot be read (its content could not be kept), or cannot be
    // replaced. A missing file is created.
    bool Save(std::string_view text);

    // True after a change of the text that has not been saved; loading is no change.
    bool Changed() const { return m_changed; }
    void MarkChanged() { m_changed = true; }
    void DropChanges() { m_changed = false; }

private:
    std::filesystem::path m_target;
    const TextCodec& m_codec;
    LoadState m_state = LoadState::NotLoaded;
    // The bytes the edit box stands for: what was read, then what the last save wrote of it.
    std::string m_base;
    bool m_changed = false;
};

} // namespace amperlog

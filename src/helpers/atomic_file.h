#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace amperlog {

enum class ReplaceResult {
    Replaced,
    // Nothing was changed: the file is read-only, or the temporary could not be written in
    // full (a full disk), and no temporary is left behind.
    Untouched,
    // The finished temporary could not take the file's place; the file is as it was, as far
    // as can be told, but is best read again.
    RenameFailed,
};

// Gives path the content bytes so that a crash at any moment leaves either the old file or
// the new one whole: the bytes go to "<name>.tmp" in the same folder, which is then renamed
// over the file (replacing it on every platform). A symbolic link stays a link and its target
// is replaced; an existing file keeps its permissions, and one without the owner's write
// permission is left as the user made it. A missing file is created. beforeRename, when given,
// runs on the written temporary just before it takes the file's place (a sync to the disk).
ReplaceResult
ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                      const std::function<void(const std::filesystem::path&)>& beforeRename = {});

} // namespace amperlog

#include "helpers/atomic_file.h"

#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

namespace amperlog {
namespace fs = std::filesystem;

ReplaceResult ReplaceFileAtomically(const fs::path& path, std::string_view bytes,
                                    const std::function<void(const fs::path&)>& beforeRename) {
    std::error_code error;
    fs::path target = path;
    if (fs::is_symlink(path, error)) {
        fs::path resolved = fs::weakly_canonical(path, error);
        if (!error) {
            target = std::move(resolved);
        }
    }
    std::optional<fs::perms> keptPerms;
    const fs::file_status status = fs::status(target, error);
    if (status.type() != fs::file_type::not_found) {
        if (error || (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
            return ReplaceResult::Untouched;
        }
        keptPerms = status.permissions();
    }

    fs::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return ReplaceResult::Untouched;
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return ReplaceResult::Untouched;
        }
    }
    if (keptPerms) {
        fs::permissions(temporary, *keptPerms, fs::perm_options::replace, error);
    }
    if (beforeRename) {
        beforeRename(temporary);
    }
    // Windows's rename refuses an existing target; std::filesystem's replaces it there too.
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return ReplaceResult::RenameFailed;
    }
    return ReplaceResult::Replaced;
}

} // namespace amperlog

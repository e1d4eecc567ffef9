#pragma once

#include <filesystem>
#include <string_view>

namespace amperlog {

// Appends bytes to a file, creating it, with one write call, and has them on the disk before
// returning: a battery that dies right after must not take them along. False when the file
// could not be opened or the write did not take every byte; a failed sync after a whole
// write still returns true, the bytes are in the file as far as any reader can tell.
bool AppendSynced(const std::filesystem::path& path, std::string_view bytes);

// Has a written file's data on the disk; nothing happens when it cannot be opened.
void SyncFileData(const std::filesystem::path& path);

} // namespace amperlog

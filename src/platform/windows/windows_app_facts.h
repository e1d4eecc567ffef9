#pragma once

#include "platform/app_facts.h"

#include <filesystem>
#include <string>

namespace amperlog {

// The running executable's full path from GetModuleFileNameW; empty when it cannot be told.
std::filesystem::path ExecutablePath();

// True when a file can be created in folder (and it is removed again). Asked by trying:
// on Windows the read-only attribute of a folder does not stop writes, while its access list,
// a protected "Program Files" or a read-only medium do, and only a real write tells.
bool IsFolderWritable(const std::filesystem::path& folder);

// The per-user folder for the program's files: %LOCALAPPDATA%\Amperlog (not created here).
std::filesystem::path UserDataFolder();

// exeFolder when it is writable (portable use), else userFolder, created when missing.
std::filesystem::path ChooseProgramFolder(const std::filesystem::path& exeFolder,
                                          const std::filesystem::path& userFolder);

// The running executable's folder and name from GetModuleFileNameW: its folder when that is
// writable, else %LOCALAPPDATA%\Amperlog.
class WindowsAppFacts final : public AppFacts {
public:
    WindowsAppFacts();
    std::filesystem::path ProgramFolder() const override { return m_folder; }
    std::string ExeName() const override { return m_exeName; }

private:
    std::filesystem::path m_folder;
    std::string m_exeName;
};

} // namespace amperlog

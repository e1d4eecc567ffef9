#include "platform/linux/linux_app_facts.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace amperlog {
namespace {

std::filesystem::path UserDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        return std::filesystem::path(xdg) / "amperlog";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".local" / "share" / "amperlog";
    }
    return std::filesystem::temp_directory_path() / "amperlog";
}

} // namespace

LinuxAppFacts::LinuxAppFacts() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    m_exeName = ec ? std::string("amperlog") : exe.stem().string();
    const auto exeFolder = exe.parent_path();
    if (!ec && ::access(exeFolder.c_str(), W_OK) == 0) {
        m_folder = exeFolder;
        return;
    }
    m_folder = UserDataFolder();
    std::filesystem::create_directories(m_folder, ec);
}

} // namespace amperlog

#include "platform/linux/xdg_autostart.h"

#include "helpers/atomic_file.h"
#include "helpers/utf8.h"
#include "platform/synced_append.h"

#include <array>
#include <fstream>
#include <string_view>
#include <system_error>

namespace amperlog {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Keys of the main group that keep an entry in the folder from being started.
struct OffKey {
    std::string_view key;
    std::string_view value;
};
constexpr std::array kOffKeys{OffKey{"Hidden", "true"},
                              OffKey{"X-GNOME-Autostart-enabled", "false"}};

bool SaysOff(std::istream& in) {
    std::string line;
    bool inMainGroup = false;
    while (std::getline(in, line)) {
        const std::string_view text = Trimmed(line);
        if (text.starts_with('[')) {
            inMainGroup = text == "[Desktop Entry]";
            continue;
        }
        const auto equals = text.find('=');
        if (!inMainGroup || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trimmed(text.substr(0, equals));
        const std::string_view value = Trimmed(text.substr(equals + 1));
        for (const OffKey& off : kOffKeys) {
            if (key == off.key && value == off.value) {
                return true;
            }
        }
    }
    return false;
}

// The path as one argument of Exec: in double quotes, with ", `, $ and \ escaped by a
// backslash; then % doubled (a field code otherwise) and every backslash doubled again, as
// the file's string escapes are undone before the quoting is read.
std::string QuotedExec(std::string_view path) {
    std::string quoted = "\"";
    for (std::size_t at = 0; at < path.size();) {
        char32_t c = 0;
        const std::size_t length = ReadUtf8(path.substr(at), c);
        if (length == 0 || c < 0x20 || c == 0x7F) {
            return {};
        }
        switch (c) {
        case '"':
        case '`':
        case '$':
            quoted += R"(\\)";
            break;
        case '\\':
            quoted += R"(\\\)";
            break;
        case '%':
            quoted += '%';
            break;
        default:
            break;
        }
        quoted += path.substr(at, length);
        at += length;
    }
    return quoted + "\"";
}

} // namespace

bool XdgAutostart::IsOn() const {
    std::ifstream in(m_entry, std::ios::binary);
    return in.is_open() && !SaysOff(in);
}

bool XdgAutostart::Set(bool on) {
    std::error_code error;
    if (!on) {
        std::filesystem::remove(m_entry, error);
        return !error;
    }
    const std::string text = AutostartEntryText(m_executable);
    if (text.empty()) {
        return false;
    }
    std::filesystem::create_directories(m_entry.parent_path(), error);
    return ReplaceFileAtomically(m_entry, text, SyncFileData) == ReplaceResult::Replaced;
}

std::filesystem::path AutostartEntryPath(const char* configHome, const char* home) {
    std::filesystem::path config;
    if (configHome != nullptr && *configHome == '/') {
        config = configHome;
    } else {
        config = std::filesystem::path(home != nullptr ? home : "") / ".config";
    }
    return config / "autostart" / "amperlog.desktop";
}

std::string AutostartEntryText(const std::filesystem::path& executable) {
    const std::string exec = QuotedExec(executable.native());
    if (exec.empty()) {
        return {};
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Amperlog\n"
           "Exec=" +
           exec +
           "\n"
           "Icon=amperlog\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

} // namespace amperlog

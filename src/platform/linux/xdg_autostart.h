#pragma once

#include "platform/login_start.h"

#include <filesystem>
#include <string>

namespace amperlog {

// The login start as the desktop's autostart entry: a desktop entry file that runs the
// executable, in the user's autostart folder. Desktops that follow the XDG autostart rules
// start what the folder holds unless the entry says Hidden=true (or, for GNOME,
// X-GNOME-Autostart-enabled=false).
class XdgAutostart final : public LoginStart {
public:
    XdgAutostart(std::filesystem::path entry, std::filesystem::path executable)
        : m_entry(std::move(entry)), m_executable(std::move(executable)) {}

    bool IsOn() const override;
    // On writes the entry whole or not at all, creating the folder; off removes it.
    bool Set(bool on) override;

private:
    std::filesystem::path m_entry;
    std::filesystem::path m_executable;
};

// "<XDG_CONFIG_HOME>/autostart/amperlog.desktop"; configHome counts only when it is an
// absolute path, else it is "<home>/.config". Either may be null.
std::filesystem::path AutostartEntryPath(const char* configHome, const char* home);

// The entry's text, its Exec line the executable quoted by the desktop entry rules (and the
// file's own escapes on top). Empty when the path cannot stand in a desktop entry: not
// UTF-8, or with a control character.
std::string AutostartEntryText(const std::filesystem::path& executable);

} // namespace amperlog

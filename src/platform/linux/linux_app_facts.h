#pragma once

#include "platform/app_facts.h"

namespace amperlog {

// The executable's folder when it is writable (portable use); otherwise
// $XDG_DATA_HOME/amperlog (~/.local/share/amperlog), created on demand.
class LinuxAppFacts final : public AppFacts {
public:
    LinuxAppFacts();
    std::filesystem::path ProgramFolder() const override { return m_folder; }
    std::string ExeName() const override { return m_exeName; }

private:
    std::filesystem::path m_folder;
    std::string m_exeName;
};

} // namespace amperlog

#pragma once

#include "platform/app_facts.h"

#include <filesystem>
#include <string>
#include <utility>

namespace amperlog {

class FakeAppFacts final : public AppFacts {
public:
    FakeAppFacts(std::filesystem::path folder, std::string exeName)
        : m_folder(std::move(folder)), m_exeName(std::move(exeName)) {}

    std::filesystem::path ProgramFolder() const override { return m_folder; }
    std::string ExeName() const override { return m_exeName; }

    void SetProgramFolder(std::filesystem::path folder) { m_folder = std::move(folder); }
    void SetExeName(std::string exeName) { m_exeName = std::move(exeName); }

private:
    std::filesystem::path m_folder;
    std::string m_exeName;
};

} // namespace amperlog

#pragma once

#include <filesystem>
#include <string>

namespace amperlog {

// Where the program keeps its files and what it is called.
class AppFacts {
public:
    virtual ~AppFacts() = default;
    // The folder that holds the settings file, "Data" and "Sys.log": the executable's folder
    // when writable, else the per-user data folder.
    virtual std::filesystem::path ProgramFolder() const = 0;
    // The executable's name without extension: "amperlog", "Amperlog".
    virtual std::string ExeName() const = 0;
};

} // namespace amperlog

#pragma once

#include <span>
#include <string>
#include <string_view>

namespace amperlog {

enum class CommandAction {
    Monitor, // no option: the resident monitor
    Help,
    Version,
    Health,
    Report, // the battery report written to reportFile
    Error,  // an unknown option or a stray argument
};

// What the command line asks for. An option that later takes a value keeps it here.
struct CommandLine {
    CommandAction action = CommandAction::Monitor;
    std::string reportFile; // --report's file, as given
    std::string error;      // the one line for standard error, when action is Error
};

// args are the arguments after the program's name. The first thing that is not an option
// is an error, whatever else is given; otherwise --help before --version before --report
// before --health. "--report FILE" and "--report=FILE" both name the file; the last one
// given counts.
CommandLine ParseCommandLine(std::span<const std::string_view> args);

// The text of --help: the options, the exit codes, the environment and the files.
std::string UsageText();

// The text of --version: "amperlog <version>".
std::string VersionText();

// The exit code of a command line that could not be understood.
inline constexpr int kUsageErrorExit = 2;

} // namespace amperlog

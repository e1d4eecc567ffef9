#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace amperlog::test {

// How a test starts one of the built programs as a child (POSIX).
struct ChildRequest {
    std::vector<std::string> arguments;
    // "NAME=value" entries, each in place of the inherited one.
    std::vector<std::string> set;
    // Inherited entries that begin with one of these ("DISPLAY=", "LC_") are left out.
    std::vector<std::string> drop;
    // Where stdout and stderr go; inherited when empty. stdout is truncated, stderr too
    // unless appendErr.
    std::filesystem::path out;
    std::filesystem::path err;
    bool appendErr = false;
};

// The child's pid, 0 when it did not start.
pid_t SpawnChild(const std::filesystem::path& program, const ChildRequest& request);

// Waits for the child to end: its exit code, or 128 + the signal that ended it.
int WaitForExit(pid_t pid);

// Starts program on Qt's offscreen platform (no X server) with the leak check off, as a copy
// that the test will kill never reaches it; stdout goes nowhere, stderr is appended to
// stderrFile or goes nowhere when it is empty. The child's pid, 0 when it did not start.
pid_t SpawnOffscreen(const std::filesystem::path& program,
                     const std::filesystem::path& stderrFile = {});

} // namespace amperlog::test

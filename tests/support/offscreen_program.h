#pragma once

#include <filesystem>
#include <sys/types.h>

namespace amperlog::test {

// Starts program on Qt's offscreen platform (no X server) with the leak check off, as a copy
// that the test will kill never reaches it; stdout goes nowhere, stderr is appended to
// stderrFile or goes nowhere when it is empty. The child's pid, 0 when it did not start.
pid_t SpawnOffscreen(const std::filesystem::path& program,
                     const std::filesystem::path& stderrFile = {});

} // namespace amperlog::test

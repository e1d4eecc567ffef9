#include "offscreen_program.h"
#include "temp_folder.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

std::string OutputOf(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        output += buffer.data();
    }
    ::pclose(pipe);
    return output;
}

// The program itself on a saved supply tree: its day's diary line holds full ÷ design, and
// --health prints it while that copy still runs (it takes no lock).
TEST(HealthCommandTest, RunningProgramWritesTheDiaryAndHealthPrintsIt) {
    test::TempFolder folder;
    const fs::path program = folder.Path() / "amperlog";
    fs::copy_file(AMPERLOG_PROGRAM, program);
    ::setenv("AMPERLOG_SYSFS_ROOT", AMPERLOG_TEST_DATA_DIR "/sysfs-health", 1);
    const pid_t pid = test::SpawnOffscreen(program);
    ASSERT_NE(pid, 0);

    const fs::path diary = folder.Path() / "Data" / "health.csv";
    const std::string line = ",SMP 01AV421 1422,24.05,20.17,83.9,317\n";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::string text;
    while (text.find(line) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // polling the file
        text = fs::exists(diary) ? test::ReadFileBytes(diary) : std::string();
    }
    const std::string report = OutputOf(program.string() + " --health");
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);

    EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_NE(report.find("SMP 01AV421 1422: "), std::string::npos) << report;
    EXPECT_NE(report.find(" 83.9 %"), std::string::npos) << report;
    EXPECT_NE(report.find(" 91.9 %"), std::string::npos) << report;
}

} // namespace
} // namespace amperlog

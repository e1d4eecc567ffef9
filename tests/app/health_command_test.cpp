#include "child_program.h"
#include "temp_folder.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <locale.h>
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

struct ProgramRun {
    std::string diary;
    std::string report;
};

// The program itself on a saved supply tree on a desktop of the given locale, until its day's
// diary holds both batteries; then --health while that copy still runs (it takes no lock).
ProgramRun RunProgram(const char* locale) {
    test::TempFolder folder;
    const fs::path program = folder.Path() / "amperlog";
    fs::copy_file(AMPERLOG_PROGRAM, program);
    ::setenv("AMPERLOG_SYSFS_ROOT", AMPERLOG_TEST_DATA_DIR "/sysfs-health", 1);
    ::setenv("LANG", locale, 1);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_NUMERIC");
    ::unsetenv("LANGUAGE");
    ProgramRun run;
    const pid_t pid = test::SpawnOffscreen(program);
    if (pid == 0) {
        return run;
    }
    const fs::path diary = folder.Path() / "Data" / "health.csv";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    // The header and a line for each battery.
    while (std::count(run.diary.begin(), run.diary.end(), '\n') < 3 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // polling the file
        run.diary = fs::exists(diary) ? test::ReadFileBytes(diary) : std::string();
    }
    run.report = OutputOf(program.string() + " --health");
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return run;
}

// The day's diary line holds full / design, and --health prints it and the diary's series.
TEST(HealthCommandTest, RunningProgramWritesTheDiaryAndHealthPrintsIt) {
    const ProgramRun run = RunProgram("C.UTF-8");
    EXPECT_NE(run.diary.find(",SMP 01AV421 1422,24.05,20.17,83.9,317\n"), std::string::npos)
        << run.diary;
    EXPECT_NE(run.report.find("SMP 01AV421 1422: "), std::string::npos) << run.report;
    EXPECT_NE(run.report.find(" 83.9 %"), std::string::npos) << run.report;
    EXPECT_NE(run.report.find(" 91.9 %"), std::string::npos) << run.report;
}

// A desktop with a decimal comma writes the bytes a desktop with a point writes, and its
// --health reads them back.
TEST(HealthCommandTest, DecimalCommaDesktopWritesTheSameDiary) {
    locale_t german = ::newlocale(LC_ALL_MASK, "de_DE.UTF-8", locale_t{});
    ASSERT_NE(german, locale_t{}) << "de_DE.UTF-8 is missing: scripts/install-deps.sh --test";
    ::freelocale(german);
    const ProgramRun point = RunProgram("C.UTF-8");
    const ProgramRun comma = RunProgram("de_DE.UTF-8");
    EXPECT_EQ(comma.diary, point.diary);
    EXPECT_EQ(comma.report, point.report);
    EXPECT_NE(comma.report.find("SMP 01AV421 1422: "), std::string::npos) << comma.report;
}

} // namespace
} // namespace amperlog

#include "child_program.h"
#include "temp_folder.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

bool HasDailyLog(const fs::path& data) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(data, ec)) {
        if (entry.path().extension() == ".txt") {
            return true;
        }
    }
    return false;
}

// A folder whose name is not UTF-8 (Latin-1 here): the program takes its lock there, not in
// a folder of a look-alike name, runs, and removes the lock when it ends.
TEST(ProgramFolderTest, RunsAndLocksInAFolderWhoseNameIsNotUtf8) {
    test::TempFolder root;
    const fs::path folder = root.Path() / "caf\xe9";
    fs::create_directory(folder);
    const fs::path program = folder / "amperlog";
    fs::copy_file(AMPERLOG_PROGRAM, program);
    ::setenv("AMPERLOG_SYSFS_ROOT", AMPERLOG_TEST_DATA_DIR "/sysfs-health", 1);
    const pid_t pid = test::SpawnOffscreen(program);
    ASSERT_NE(pid, 0);

    const fs::path lock = folder / "amperlog.lock";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool running = false;
    int status = 0;
    while (!running && std::chrono::steady_clock::now() < deadline &&
           ::waitpid(pid, &status, WNOHANG) == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // polling the folder
        running = fs::exists(lock) && HasDailyLog(folder / "Data");
    }
    if (running) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, &status, 0);
    }

    EXPECT_TRUE(running) << "the program ended, or wrote no lock and log, in its folder";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(fs::exists(lock));
    std::vector<std::string> strays;
    for (const auto& entry : fs::directory_iterator(root.Path())) {
        strays.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(strays, std::vector<std::string>{folder.filename().string()});
}

} // namespace
} // namespace amperlog

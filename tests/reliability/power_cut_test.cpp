// The end-to-end build of the program running from an ext4 file system in an image file
// while the power status changes every second, so that every tick writes a log line. The
// image is copied without a sync while lines are being written: the copy is the disk as a
// sudden power loss would leave it. Checked and mounted, it must hold every line written
// more than a tick before the copy, whole.
#include "child_program.h"
#include "small_disk.h"
#include "temp_folder.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace amperlog::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kProgram = "amperlog-e2e";
constexpr std::size_t kLines = 6;

// Runs the program in folder; killed at the end, as the power cut would stop it.
class Running {
public:
    explicit Running(const std::filesystem::path& folder)
        : m_pid(SpawnOffscreen(folder / kProgram)) {}
    ~Running() {
        if (m_pid != 0) {
            kill(m_pid, SIGKILL);
            int status = 0;
            waitpid(m_pid, &status, 0);
        }
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    bool Started() const { return m_pid != 0; }

private:
    pid_t m_pid = 0;
};

std::string PowerLine(int second) {
    return "0 2 " + std::to_string(80 - second / 60) + " " + std::to_string(5000 - second) +
           " -1\n";
}

void WriteAtomically(const std::filesystem::path& path, const std::string& text) {
    const auto temporary = path.string() + ".new";
    WriteFileBytes(temporary, text);
    std::filesystem::rename(temporary, path);
}

// The whole lines of the log.
std::string WholeLines(const std::string& bytes) {
    const std::size_t end = bytes.rfind("\r\n");
    return end == std::string::npos ? std::string() : bytes.substr(0, end + 2);
}

std::size_t LineCount(const std::string& lines) {
    std::size_t count = 0;
    for (std::size_t at = lines.find("\r\n"); at != std::string::npos;
         at = lines.find("\r\n", at + 2)) {
        ++count;
    }
    return count;
}

TEST(PowerCut, LinesWrittenATickBeforeTheCutAreOnTheDisk) {
    TempFolder root;
    const auto image = root / "disk.img";
    const auto copy = root / "cut.img";
    if (geteuid() != 0 || !RunCommand("command -v e2fsck >/dev/null") || !MakeExt4Image(image)) {
        GTEST_SKIP() << "needs root and the ext4 tools";
    }
    std::string written;
    std::string logName;
    {
        LoopMount disk(image, root / "disk");
        if (!disk.Mounted()) {
            GTEST_SKIP() << "cannot mount an ext4 image here";
        }
        const auto folder = root / "disk" / "amperlog";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(AMPERLOG_E2E_PROGRAM, folder / kProgram);
        WriteFileBytes(folder / "power.txt", PowerLine(0));
        // Written and synced once, so that the start is not what the copy is made of.
        ASSERT_TRUE(RunCommand("sync"));

        Running program(folder);
        ASSERT_TRUE(program.Started());
        // The power status moves every second; the log is watched until kLines lines are in
        // it, and then until the next one: the lines seen first were written a tick earlier.
        const Clock::time_point start = Clock::now();
        const Clock::time_point deadline = start + std::chrono::seconds(60);
        int second = 0;
        while (Clock::now() < deadline) {
            const auto elapsed = Clock::now() - start;
            if (elapsed >= std::chrono::seconds(second + 1)) {
                ++second;
                WriteAtomically(folder / "power.txt", PowerLine(second));
            }
            std::error_code ec;
            for (const auto& entry : std::filesystem::directory_iterator(folder / "Data", ec)) {
                logName = entry.path().filename().string();
            }
            const std::string now = logName.empty()
                                        ? std::string()
                                        : WholeLines(ReadFileBytes(folder / "Data" / logName));
            if (written.empty() && LineCount(now) >= kLines) {
                written = now;
            } else if (!written.empty() && now.size() > written.size()) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_FALSE(written.empty()) << "the program wrote fewer than " << kLines << " lines";
        // The cut: the disk as it is, while the program goes on writing.
        ASSERT_TRUE(RunCommand("cp " + Quoted(image) + " " + Quoted(copy)));
    }

    // Fixes what a cut may leave (the journal replayed); nothing may be left uncorrected.
    const int check = std::system(("e2fsck -fy " + Quoted(copy) + " >/dev/null 2>&1").c_str());
    ASSERT_TRUE(WIFEXITED(check) && WEXITSTATUS(check) < 4) << "e2fsck status " << check;
    std::string kept;
    {
        LoopMount cut(copy, root / "cut", "loop,ro");
        ASSERT_TRUE(cut.Mounted());
        kept = ReadFileBytes(root / "cut" / "amperlog" / "Data" / logName);
    }
    EXPECT_TRUE(kept.starts_with(written))
        << LineCount(written) << " lines written, " << LineCount(WholeLines(kept)) << " kept:\n"
        << kept;
}

} // namespace
} // namespace amperlog::test

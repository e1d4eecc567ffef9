#include "app/command_line.h"
#include "child_program.h"
#include "temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

struct ParseCase {
    std::vector<std::string_view> args;
    CommandAction action;
    std::string_view error;
    std::string_view reportFile = {};
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    if (c.args.empty()) {
        *os << "nothing";
    }
    for (const std::string_view arg : c.args) {
        *os << '[' << arg << ']';
    }
}

class ParseCommandLineTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, GivesTheActionAndNamesWhatItDoesNotTake) {
    const ParseCase& c = GetParam();
    const CommandLine parsed = ParseCommandLine(c.args);
    EXPECT_EQ(parsed.action, c.action);
    EXPECT_EQ(parsed.error, c.error);
    EXPECT_EQ(parsed.reportFile, c.reportFile);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseCommandLineTest,
    testing::Values(
        ParseCase{{}, CommandAction::Monitor, ""}, ParseCase{{"--help"}, CommandAction::Help, ""},
        ParseCase{{"-h"}, CommandAction::Help, ""},
        ParseCase{{"--version"}, CommandAction::Version, ""},
        ParseCase{{"--health"}, CommandAction::Health, ""},
        ParseCase{{"--health", "--health"}, CommandAction::Health, ""},
        ParseCase{{"--health", "--version"}, CommandAction::Version, ""},
        ParseCase{{"--version", "-h", "--health"}, CommandAction::Help, ""},
        ParseCase{{"--bogus"},
                  CommandAction::Error,
                  "amperlog: unknown option '--bogus' (try amperlog --help)"},
        ParseCase{
            {"-x"}, CommandAction::Error, "amperlog: unknown option '-x' (try amperlog --help)"},
        ParseCase{{"--HELP"},
                  CommandAction::Error,
                  "amperlog: unknown option '--HELP' (try amperlog --help)"},
        ParseCase{{"--help=yes"},
                  CommandAction::Error,
                  "amperlog: unknown option '--help=yes' (try amperlog --help)"},
        ParseCase{{"report.txt"},
                  CommandAction::Error,
                  "amperlog: unexpected argument 'report.txt' (try amperlog --help)"},
        ParseCase{
            {"-"}, CommandAction::Error, "amperlog: unexpected argument '-' (try amperlog --help)"},
        // Help does not hide a mistake made beside it.
        ParseCase{{"--help", "--bogus"},
                  CommandAction::Error,
                  "amperlog: unknown option '--bogus' (try amperlog --help)"},
        ParseCase{{"--health", "extra", "--nope"},
                  CommandAction::Error,
                  "amperlog: unexpected argument 'extra' (try amperlog --help)"},
        ParseCase{{"--report", "week.html"}, CommandAction::Report, "", "week.html"},
        ParseCase{{"--health", "--report=week.json"}, CommandAction::Report, "", "week.json"},
        // The file name is taken as it comes, even one that looks like an option.
        ParseCase{{"--report", "--help"}, CommandAction::Report, "", "--help"},
        ParseCase{{"--report"},
                  CommandAction::Error,
                  "amperlog: option '--report' needs a file (try amperlog --help)"},
        ParseCase{{"--report="},
                  CommandAction::Error,
                  "amperlog: option '--report' needs a file (try amperlog --help)"},
        ParseCase{{"--health=x"},
                  CommandAction::Error,
                  "amperlog: unknown option '--health=x' (try amperlog --help)"}));

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The program in a folder of its own, with no display to reach: neither DISPLAY,
// WAYLAND_DISPLAY nor QT_QPA_PLATFORM.
ProgramRun RunWithoutDisplay(const fs::path& program, const char* argument,
                             const fs::path& outputs) {
    test::ChildRequest request;
    request.arguments = {argument};
    request.drop = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="};
    request.out = outputs / "stdout";
    request.err = outputs / "stderr";
    ProgramRun run;
    if (const pid_t pid = test::SpawnChild(program, request); pid != 0) {
        run.exitCode = test::WaitForExit(pid);
    }
    run.out = test::ReadFileBytes(request.out);
    run.err = test::ReadFileBytes(request.err);
    return run;
}

struct ProgramCase {
    const char* argument;
    int exitCode;
    std::string_view outStart;
    std::string_view err;
};

void PrintTo(const ProgramCase& c, std::ostream* os) {
    *os << c.argument;
}

class ProgramCommandLineTest : public testing::TestWithParam<ProgramCase> {};

// The real program answers without a display and leaves its folder as it found it.
TEST_P(ProgramCommandLineTest, AnswersWithoutDisplayOrFiles) {
    const ProgramCase& c = GetParam();
    test::TempFolder folder;
    test::TempFolder outputs;
    const fs::path program = folder.Path() / "amperlog";
    fs::copy_file(AMPERLOG_PROGRAM, program);

    const ProgramRun run = RunWithoutDisplay(program, c.argument, outputs.Path());

    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_TRUE(run.out.starts_with(c.outStart)) << run.out;
    EXPECT_EQ(run.err, c.err);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"amperlog"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramCommandLineTest,
    testing::Values(ProgramCase{"--help", 0, "Usage: amperlog [OPTION]\n", ""},
                    ProgramCase{"--version", 0, "amperlog " AMPERLOG_VERSION "\n", ""},
                    ProgramCase{"--bogus", 2, "",
                                "amperlog: unknown option '--bogus' (try amperlog --help)\n"},
                    ProgramCase{"--report=week.txt", 2, "",
                                "amperlog: --report writes a page (.html) or the figures (.json), "
                                "not 'week.txt' (try amperlog --help)\n"},
                    ProgramCase{"--report=/nonexistent/week.html", 1, "",
                                "amperlog: cannot write '/nonexistent/week.html'\n"}));

} // namespace
} // namespace amperlog

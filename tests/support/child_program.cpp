#include "child_program.h"

#include <algorithm>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace amperlog::test {
namespace {

bool BeginsWithAny(const std::string& entry, const std::vector<std::string>& prefixes) {
    return std::ranges::any_of(
        prefixes, [&](const std::string& prefix) { return entry.starts_with(prefix); });
}

std::vector<std::string> ChildEnvironment(const ChildRequest& request) {
    std::vector<std::string> replaced = request.drop;
    for (const std::string& entry : request.set) {
        replaced.push_back(entry.substr(0, entry.find('=') + 1));
    }
    std::vector<std::string> environment = request.set;
    for (char** e = environ; *e != nullptr; ++e) {
        if (const std::string entry = *e; !BeginsWithAny(entry, replaced)) {
            environment.push_back(entry);
        }
    }
    return environment;
}

// What posix_spawn takes: pointers into strings, then a null.
std::vector<char*> NullTerminated(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

pid_t SpawnChild(const std::filesystem::path& program, const ChildRequest& request) {
    std::vector<std::string> environment = ChildEnvironment(request);
    std::vector<std::string> arguments{program.string()};
    arguments.insert(arguments.end(), request.arguments.begin(), request.arguments.end());
    const std::vector<char*> envp = NullTerminated(environment);
    const std::vector<char*> argv = NullTerminated(arguments);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!request.out.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, request.out.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    if (!request.err.empty()) {
        posix_spawn_file_actions_addopen(
            &actions, STDERR_FILENO, request.err.c_str(),
            O_WRONLY | O_CREAT | (request.appendErr ? O_APPEND : O_TRUNC), 0644);
    }
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : 0;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

pid_t SpawnOffscreen(const std::filesystem::path& program,
                     const std::filesystem::path& stderrFile) {
    ChildRequest request;
    request.set = {"QT_QPA_PLATFORM=offscreen", "ASAN_OPTIONS=detect_leaks=0"};
    request.drop = {"DISPLAY="};
    request.out = "/dev/null";
    request.err = stderrFile.empty() ? "/dev/null" : stderrFile;
    request.appendErr = true;
    return SpawnChild(program, request);
}

} // namespace amperlog::test

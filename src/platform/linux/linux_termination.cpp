#include "platform/termination_requests.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace amperlog {
namespace {

// Written by the signal handler, hence a plain int.
int g_writeEnd = -1;

void OnTerminationSignal(int /*signal*/) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request: nothing is lost.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

int WatchTerminationRequests() {
    static int readEnd = -1;
    if (readEnd < 0) {
        std::array<int, 2> ends{};
        if (::pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
            return -1;
        }
        readEnd = ends[0];
        g_writeEnd = ends[1];
    }
    struct sigaction action {};
    action.sa_handler = &OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    // The handler goes after its first call: a second request, while a shutdown that hangs
    // runs, ends the program the default way.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int signal : {SIGTERM, SIGINT}) {
        ::sigaction(signal, &action, nullptr);
    }
    return readEnd;
}

} // namespace amperlog

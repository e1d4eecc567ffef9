#include "platform/termination_requests.h"

#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

namespace amperlog {
namespace {

bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN) != 0;
}

void Drain(int fd) {
    char byte = 0;
    while (::read(fd, &byte, 1) == 1) {
    }
}

TEST(TerminationRequestsTest, EachSignalIsHandedToTheEventLoopOnceThenEndsTheDefaultWay) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        const int fd = WatchTerminationRequests();
        ASSERT_GE(fd, 0);
        EXPECT_FALSE(Readable(fd));
        std::raise(signal);
        EXPECT_TRUE(Readable(fd));
        Drain(fd);
        struct sigaction now {};
        ::sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << "a second request would not end the program";
    }
}

} // namespace
} // namespace amperlog

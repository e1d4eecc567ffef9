#include "platform/termination_requests.h"

namespace amperlog {

// The end of a Windows session arrives as window messages, which the Qt layer turns into
// aboutToQuit; a program without a console gets no termination signals.
int WatchTerminationRequests() {
    return -1;
}

} // namespace amperlog

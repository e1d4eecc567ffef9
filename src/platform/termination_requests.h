#pragma once

namespace amperlog {

// The system's requests to end the program (a logout, a service manager, kill, Ctrl+C), made
// readable for the event loop: the descriptor returned turns readable once such a request has
// come, so that the program can end through its own shutdown instead of dying on the spot. A
// further request while that shutdown runs ends the program at once. -1 where the platform
// asks through the window system instead (Windows ends a session with window messages).
int WatchTerminationRequests();

} // namespace amperlog

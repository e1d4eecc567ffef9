#pragma once

#include "platform/services.h"

namespace amperlog {

// Runs the monitor until its window closes; returns the exit code. A second copy returns
// at once without touching any file.
int RunApplication(Services services);

} // namespace amperlog

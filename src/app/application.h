#pragma once

#include "platform/services.h"
#include "texts/catalogue.h"

#include <filesystem>

namespace amperlog {

// Runs the monitor until its window closes; returns the exit code. A second copy returns
// at once without touching any file.
int RunApplication(Services services);

// Once, before any text is shown: the "Language" setting over the desktop's languages.
Language ChooseTextLanguage(const std::filesystem::path& settingsPath);

} // namespace amperlog

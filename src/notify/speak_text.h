#pragma once

#include <string_view>

namespace amperlog {

class SettingsStore;
class SpeechEngine;

// What an announcement asks of the main window.
class SpeechHost {
public:
    virtual ~SpeechHost() = default;
    // Runs the window events that are waiting, once; handlers (the monitor tick included) may
    // run inside an announcement.
    virtual void ProcessPendingEvents() = 0;
    // restore false takes the window's Close command away, true gives it back. Qt has no
    // system menu to edit: the window refuses close requests from the window system instead.
    virtual void SetCloseCommand(bool restore) = 0;
};

// Speaks text when "Voice" is not 0; "Voice" is read from the settings file at every call,
// a missing, empty or non-numeric value meaning off. While the engine talks the main window
// cannot be closed. Returns when the text has been spoken; failures are silent.
void SpeakText(std::string_view text, SettingsStore& settings, SpeechEngine& engine,
               SpeechHost& host);

} // namespace amperlog

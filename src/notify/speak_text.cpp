#include "notify/speak_text.h"

#include "platform/speech_engine.h"
#include "settings/settings_store.h"

#include <string>

namespace amperlog {
namespace {

void SpeakGuarded(SpeechEngine& engine, std::string_view text) {
    // Whatever the engine does, the Close command must come back afterwards.
    try {
        engine.Speak(std::string(text));
    } catch (...) {
    }
}

} // namespace

void SpeakText(std::string_view text, SettingsStore& settings, SpeechEngine& engine,
               SpeechHost& host) {
    host.ProcessPendingEvents();
    if (settings.ReadWorkNumber("Voice", 0) == 0) {
        return;
    }
    host.SetCloseCommand(false);
    host.ProcessPendingEvents();
    host.ProcessPendingEvents();
    SpeakGuarded(engine, text);
    host.ProcessPendingEvents();
    host.ProcessPendingEvents();
    host.SetCloseCommand(true);
    host.ProcessPendingEvents();
}

} // namespace amperlog

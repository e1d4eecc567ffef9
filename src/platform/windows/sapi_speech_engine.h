#pragma once

#include "platform/speech_engine.h"

#include <string>

namespace amperlog {

// SAPI's ISpVoice at rate 0 and volume 80, created for each announcement and released after
// it, with COM initialised and released around it on the calling thread. A voice of the
// interface language is chosen when one is installed (the default voice of most systems
// cannot read kanji); else the default voice speaks.
// Speak returns when the text has been spoken; no voice, no engine or a failing engine
// speaks nothing and reports nothing.
class SapiSpeechEngine final : public SpeechEngine {
public:
    void Speak(const std::string& text) override;
};

} // namespace amperlog

#pragma once

#include <string>

namespace amperlog {

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // Speaks the UTF-8 text and returns when done. Silent (no error) without a voice
    // or an audio device.
    virtual void Speak(const std::string& text) = 0;
};

} // namespace amperlog

#pragma once

#include "platform/speech_engine.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace amperlog {

// Remembers every text it was asked to speak.
class RecordingSpeechEngine final : public SpeechEngine {
public:
    void Speak(const std::string& text) override;

    const std::vector<std::string>& Spoken() const { return m_spoken; }
    void Clear() { m_spoken.clear(); }
    // Runs inside Speak, after the text is recorded: lets a test deliver the events that a
    // real engine lets through while it talks.
    void SetWhileSpeaking(std::function<void(const std::string&)> hook) {
        m_whileSpeaking = std::move(hook);
    }

private:
    std::vector<std::string> m_spoken;
    std::function<void(const std::string&)> m_whileSpeaking;
};

} // namespace amperlog

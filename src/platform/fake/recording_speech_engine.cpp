#include "platform/fake/recording_speech_engine.h"

namespace amperlog {

void RecordingSpeechEngine::Speak(const std::string& text) {
    m_spoken.push_back(text);
    if (m_whileSpeaking) {
        m_whileSpeaking(text);
    }
}

} // namespace amperlog

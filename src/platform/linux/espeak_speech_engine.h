#pragma once

#include "platform/speech_engine.h"
#include "texts/catalogue.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace amperlog {

struct RenderedSpeech {
    std::vector<std::int16_t> samples; // mono
    int sampleRate = 0;
};

// espeak-ng through its C API, at the engine's normal rate and volume 80 of 100. The library
// keeps one synthesiser per process, initialised on first use; use it from one thread only.
// Every call returns when the text has been spoken. No audio device, no voice data or an
// unknown voice: nothing is heard and nothing is reported.
class EspeakSpeechEngine final : public SpeechEngine {
public:
    // What the voice should pronounce for a text; the Japanese voice reads kana, not kanji.
    using Reading = std::function<std::string(std::string_view)>;

    // An empty reading speaks every text as it is.
    explicit EspeakSpeechEngine(std::string voice = "ja", Reading reading = {});

    void Speak(const std::string& text) override;

    // The speech of text as samples instead of sound; empty when nothing would be heard.
    RenderedSpeech Render(const std::string& text);

private:
    std::string Pronounced(const std::string& text) const;

    std::string m_voice;
    Reading m_reading;
};

// The voice for the program's announcements in language: English as written, Japanese
// through its kana readings.
EspeakSpeechEngine AnnouncementVoice(Language language);

} // namespace amperlog

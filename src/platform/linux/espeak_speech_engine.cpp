#include "platform/linux/espeak_speech_engine.h"

#include "platform/linux/speech_reading.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <utility>

namespace amperlog {
namespace {

constexpr int kVolume = 80; // of 100, espeak-ng's normal loudness

enum class Output { Buffer, Playback };

// espeak-ng has a single synthesiser with global state, so its state is kept once here too.
struct Library {
    bool tried = false;
    bool ready = false;
    int sampleRate = 0;
    Output output = Output::Buffer;
    // A playback that failed for want of a device leaves its speech queued inside the
    // library, to come out ahead of the next text.
    bool queued = false;
};

Library& TheLibrary() {
    static Library library;
    return library;
}

// Where the synthesiser's callback puts samples in buffer mode; null discards them.
std::vector<std::int16_t>* g_sink = nullptr;

int CollectSamples(short* samples, int count, espeak_EVENT* /*events*/) {
    if (samples != nullptr && count > 0 && g_sink != nullptr) {
        g_sink->insert(g_sink->end(), samples, samples + count);
    }
    return 0; // go on
}

bool EnsureInitialised() {
    Library& library = TheLibrary();
    if (!library.tried) {
        library.tried = true;
        // Without DONT_EXIT the library ends the process when its data is missing. Note that
        // initialising switches LC_CTYPE to a UTF-8 locale, which the synthesiser relies on.
        const int rate =
            espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (rate > 0) {
            library.ready = true;
            library.sampleRate = rate;
            espeak_SetSynthCallback(&CollectSamples);
        }
    }
    return library.ready;
}

bool SelectOutput(Output output) {
    Library& library = TheLibrary();
    if (library.output == output) {
        return true;
    }
    const auto mode = output == Output::Playback
                          ? static_cast<espeak_ng_OUTPUT_MODE>(ENOUTPUT_MODE_SYNCHRONOUS |
                                                               ENOUTPUT_MODE_SPEAK_AUDIO)
                          : ENOUTPUT_MODE_SYNCHRONOUS;
    if (espeak_ng_InitializeOutput(mode, 0, nullptr) != ENS_OK) {
        return false;
    }
    library.output = output;
    return true;
}

bool Synthesise(const std::string& text) {
    return espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                        nullptr, nullptr) == EE_OK;
}

void DropQueuedSpeech() {
    Library& library = TheLibrary();
    if (!library.queued || !SelectOutput(Output::Buffer)) {
        return;
    }
    g_sink = nullptr;
    Synthesise(std::string());
    library.queued = false;
}

bool PrepareVoice(const std::string& voice) {
    // An unknown voice would leave the previous one speaking: stay silent instead.
    if (espeak_SetVoiceByName(voice.c_str()) != EE_OK) {
        return false;
    }
    espeak_SetParameter(espeakRATE, espeakRATE_NORMAL, 0);
    espeak_SetParameter(espeakVOLUME, kVolume, 0);
    return true;
}

} // namespace

EspeakSpeechEngine::EspeakSpeechEngine(std::string voice, Reading reading)
    : m_voice(std::move(voice)), m_reading(std::move(reading)) {}

std::string EspeakSpeechEngine::Pronounced(const std::string& text) const {
    return m_reading ? m_reading(text) : text;
}

void EspeakSpeechEngine::Speak(const std::string& text) {
    const std::string pronounced = Pronounced(text);
    if (pronounced.empty() || !EnsureInitialised()) {
        return;
    }
    DropQueuedSpeech();
    if (!PrepareVoice(m_voice) || !SelectOutput(Output::Playback)) {
        return;
    }
    if (!Synthesise(pronounced)) {
        TheLibrary().queued = true;
    }
}

RenderedSpeech EspeakSpeechEngine::Render(const std::string& text) {
    RenderedSpeech rendered;
    const std::string pronounced = Pronounced(text);
    if (pronounced.empty() || !EnsureInitialised()) {
        return rendered;
    }
    DropQueuedSpeech();
    if (!PrepareVoice(m_voice) || !SelectOutput(Output::Buffer)) {
        return rendered;
    }
    g_sink = &rendered.samples;
    const bool spoken = Synthesise(pronounced);
    g_sink = nullptr;
    if (!spoken) {
        rendered.samples.clear();
        return rendered;
    }
    rendered.sampleRate = TheLibrary().sampleRate;
    return rendered;
}

EspeakSpeechEngine AnnouncementVoice(Language language) {
    if (language == Language::English) {
        return EspeakSpeechEngine("en");
    }
    return EspeakSpeechEngine("ja", &SpeechReading);
}

} // namespace amperlog

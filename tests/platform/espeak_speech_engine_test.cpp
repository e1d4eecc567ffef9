#include "platform/linux/espeak_speech_engine.h"
#include "platform/linux/speech_reading.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace amperlog {
namespace {

// Samples clearly above the noise floor: a voice, not silence.
std::size_t AudibleSamples(const RenderedSpeech& speech) {
    return static_cast<std::size_t>(
        std::count_if(speech.samples.begin(), speech.samples.end(),
                      [](std::int16_t s) { return std::abs(s) > 500; }));
}

TEST(EspeakSpeechEngineTest, TheIntervalAnnouncementIsSpokenFromItsReading) {
    std::string heard;
    EspeakSpeechEngine engine("ja", [&heard](std::string_view text) {
        heard = SpeechReading(text);
        return heard;
    });
    const RenderedSpeech speech = engine.Render("8分経過しました");
    EXPECT_EQ(heard, "はっぷん けいか しました");
    ASSERT_GT(speech.sampleRate, 0);
    // "はっぷん けいか しました" lasts well over half a second.
    EXPECT_GT(speech.samples.size(), static_cast<std::size_t>(speech.sampleRate / 2));
    EXPECT_GT(AudibleSamples(speech), static_cast<std::size_t>(speech.sampleRate / 4));
}

TEST(EspeakSpeechEngineTest, EachLanguagesVoiceIsThere) {
    // An unknown voice name would be silence.
    for (const Language language : {Language::Japanese, Language::English}) {
        EspeakSpeechEngine engine = AnnouncementVoice(language);
        const RenderedSpeech speech =
            engine.Render(std::string(Text(TextId::SpokenStaying, language)));
        EXPECT_GT(AudibleSamples(speech), static_cast<std::size_t>(speech.sampleRate / 4))
            << static_cast<int>(language);
    }
}

TEST(EspeakSpeechEngineTest, RenderingTwiceGivesTheSameSpeech) {
    EspeakSpeechEngine engine("ja", &SpeechReading);
    const RenderedSpeech first = engine.Render("常駐しました");
    const RenderedSpeech second = engine.Render("常駐しました");
    ASSERT_FALSE(first.samples.empty());
    // Nothing of the first text is left queued in front of the second.
    const auto difference = static_cast<double>(first.samples.size()) - second.samples.size();
    EXPECT_LT(std::abs(difference), first.sampleRate / 20.0);
}

TEST(EspeakSpeechEngineTest, EmptyTextIsSilent) {
    EspeakSpeechEngine engine("ja", &SpeechReading);
    EXPECT_TRUE(engine.Render("").samples.empty());
}

TEST(EspeakSpeechEngineTest, AnUnknownVoiceIsSilentAndLeavesTheEngineUsable) {
    EspeakSpeechEngine unknown("zz-no-such-voice", &SpeechReading);
    EXPECT_TRUE(unknown.Render("OK").samples.empty());
    unknown.Speak("OK"); // nothing to hear, no error
    EspeakSpeechEngine japanese("ja", &SpeechReading);
    EXPECT_FALSE(japanese.Render("OK").samples.empty());
}

TEST(EspeakSpeechEngineTest, SpeakingReturnsAndTheNextRenderIsClean) {
    // Plays when an audio device exists; without one it returns silently. Either way the next
    // render holds only its own text.
    EspeakSpeechEngine engine("ja", &SpeechReading);
    const RenderedSpeech before = engine.Render("OK");
    engine.Speak("8分経過しました");
    const RenderedSpeech after = engine.Render("OK");
    ASSERT_FALSE(before.samples.empty());
    const auto difference = static_cast<double>(before.samples.size()) - after.samples.size();
    EXPECT_LT(std::abs(difference), before.sampleRate / 20.0);
}

} // namespace
} // namespace amperlog

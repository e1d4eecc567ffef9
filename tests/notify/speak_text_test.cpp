#include "notify/speak_text.h"
#include "platform/fake/recording_speech_engine.h"
#include "settings/settings_store.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace amperlog {
namespace {

// Writes every step of an announcement into one journal, shared with the engine.
class JournalHost final : public SpeechHost {
public:
    explicit JournalHost(std::vector<std::string>& journal) : m_journal(journal) {}
    void ProcessPendingEvents() override { m_journal.emplace_back("events"); }
    void SetCloseCommand(bool restore) override {
        m_journal.emplace_back(restore ? "close on" : "close off");
    }

private:
    std::vector<std::string>& m_journal;
};

class SpeakTextTest : public ::testing::Test {
protected:
    SpeakTextTest() : m_settings(m_folder / "amperlog.ini", nullptr), m_host(m_journal) {
        m_engine.SetWhileSpeaking(
            [this](const std::string& text) { m_journal.push_back("speak " + text); });
    }

    test::TempFolder m_folder;
    SettingsStore m_settings;
    std::vector<std::string> m_journal;
    JournalHost m_host;
    RecordingSpeechEngine m_engine;
};

TEST_F(SpeakTextTest, SpeaksBetweenTakingAwayAndGivingBackTheCloseCommand) {
    m_settings.WriteWorkSetting("Voice", "1");
    SpeakText("8分経過しました", m_settings, m_engine, m_host);
    const std::vector<std::string> expected = {
        "events", "close off", "events",   "events", "speak 8分経過しました",
        "events", "events",    "close on", "events"};
    EXPECT_EQ(m_journal, expected);
}

TEST_F(SpeakTextTest, VoiceIsReadFromTheFileAtEveryCall) {
    m_settings.WriteWorkSetting("Voice", "1");
    SpeakText("OK", m_settings, m_engine, m_host);
    m_settings.WriteWorkSetting("Voice", "0");
    SpeakText("常駐しました", m_settings, m_engine, m_host);
    EXPECT_EQ(m_engine.Spoken(), std::vector<std::string>{"OK"});
}

TEST_F(SpeakTextTest, AFailingEngineStillGetsTheCloseCommandBack) {
    m_settings.WriteWorkSetting("Voice", "1");
    m_engine.SetWhileSpeaking([](const std::string&) { throw std::runtime_error("no engine"); });
    SpeakText("OK", m_settings, m_engine, m_host);
    ASSERT_FALSE(m_journal.empty());
    EXPECT_EQ(m_journal[1], "close off");
    EXPECT_EQ(m_journal[m_journal.size() - 2], "close on");
}

struct VoiceCase {
    std::optional<std::string> stored; // nullopt: no "Voice" key at all
    bool speaks;
};

void PrintTo(const VoiceCase& c, std::ostream* os) {
    *os << "Voice=" << (c.stored ? "\"" + *c.stored + "\"" : std::string("(missing)"));
}

class SpeakTextVoiceTest : public SpeakTextTest, public ::testing::WithParamInterface<VoiceCase> {};

TEST_P(SpeakTextVoiceTest, AnyNonZeroVoiceMeansOn) {
    const VoiceCase& c = GetParam();
    if (c.stored) {
        m_settings.WriteWorkSetting("Voice", *c.stored);
    }
    SpeakText("OK", m_settings, m_engine, m_host);
    if (c.speaks) {
        EXPECT_EQ(m_engine.Spoken(), std::vector<std::string>{"OK"});
        EXPECT_EQ(m_journal.size(), 9u);
    } else {
        EXPECT_TRUE(m_engine.Spoken().empty());
        // Off: one round of events, and the Close command is never touched.
        EXPECT_EQ(m_journal, std::vector<std::string>{"events"});
    }
}

INSTANTIATE_TEST_SUITE_P(Values, SpeakTextVoiceTest,
                         ::testing::Values(VoiceCase{std::nullopt, false}, VoiceCase{"", false},
                                           VoiceCase{"0", false}, VoiceCase{"1", true},
                                           VoiceCase{"2", true}, VoiceCase{"-1", true},
                                           VoiceCase{"on", false}, VoiceCase{"0.0", false},
                                           VoiceCase{" 1 ", true}));

} // namespace
} // namespace amperlog

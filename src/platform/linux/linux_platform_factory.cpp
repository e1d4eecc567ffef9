#include "platform/linux/espeak_speech_engine.h"
#include "platform/linux/linux_app_facts.h"
#include "platform/linux/sysfs_battery_health.h"
#include "platform/linux/sysfs_power_source.h"
#include "platform/linux/utf8_text_codec.h"
#include "platform/linux/xdg_autostart.h"
#include "platform/platform_factory.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace amperlog {
namespace {

// Speaks in the interface language, which is chosen after the services are made.
class InterfaceLanguageSpeech final : public SpeechEngine {
public:
    void Speak(const std::string& text) override {
        (InterfaceLanguage() == Language::English ? m_english : m_japanese).Speak(text);
    }

private:
    EspeakSpeechEngine m_japanese = AnnouncementVoice(Language::Japanese);
    EspeakSpeechEngine m_english = AnnouncementVoice(Language::English);
};

} // namespace

std::unique_ptr<AppFacts> CreateAppFacts() {
    return std::make_unique<LinuxAppFacts>();
}

namespace {

// A saved copy of the supply folder stands in for the machine's: a user's report read back,
// or a test's made-up battery.
std::string SupplyRoot() {
    const char* root = std::getenv("AMPERLOG_SYSFS_ROOT");
    if (root != nullptr && *root != '\0') {
        return root;
    }
    return SysfsPowerSource::kDefaultRoot;
}

} // namespace

std::unique_ptr<PowerSource> CreatePowerSource(const MillisecondCounter& counter) {
    return std::make_unique<SysfsPowerSource>(SupplyRoot(), counter);
}

std::unique_ptr<BatteryHealthSource> CreateBatteryHealthSource() {
    return std::make_unique<SysfsBatteryHealth>(SupplyRoot());
}

namespace {

std::int64_t ClockMs(clockid_t id) {
    timespec t{};
    ::clock_gettime(id, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000;
}

class BoottimeSleepClocks final : public SleepClocks {
public:
    SleepClockReading Read() const override {
        return {ClockMs(CLOCK_MONOTONIC), ClockMs(CLOCK_BOOTTIME)};
    }
};

} // namespace

std::unique_ptr<SleepClocks> CreateSleepClocks() {
    return std::make_unique<BoottimeSleepClocks>();
}

std::unique_ptr<SpeechEngine> CreateSpeechEngine() {
    return std::make_unique<InterfaceLanguageSpeech>();
}

namespace {

// The file this process runs. A file replaced while it runs (an upgrade) reads as
// "<path> (deleted)"; the path itself then holds the new one.
std::filesystem::path RunningExecutable() {
    std::error_code error;
    std::string path = std::filesystem::read_symlink("/proc/self/exe", error).native();
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted) && !std::filesystem::exists(path, error)) {
        path.resize(path.size() - kDeleted.size());
    }
    return path;
}

} // namespace

std::unique_ptr<LoginStart> CreateLoginStart() {
    return std::make_unique<XdgAutostart>(
        AutostartEntryPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
        RunningExecutable());
}

std::unique_ptr<TextCodec> CreateTextCodec() {
    return std::make_unique<Utf8TextCodec>();
}

// Standard output is the terminal's already.
void PrepareConsoleOutput() {}

void PrepareDisplayEnvironment() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x11 = std::getenv("DISPLAY");
    if ((platform == nullptr || *platform == '\0') && wayland != nullptr && *wayland != '\0' &&
        x11 != nullptr && *x11 != '\0') {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    // The window repaints a few dozen pixels of its counter every second. With shared-memory
    // images Qt's X backend waits for the server before each such paint, a round trip that
    // wakes a second thread; over the socket those pixels need no answer. A user's own
    // setting stands.
    ::setenv("QT_XCB_NO_MITSHM", "1", 0);
}

} // namespace amperlog

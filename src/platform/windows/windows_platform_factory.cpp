#include "platform/platform_factory.h"
#include "platform/windows/balloon_desktop_notifier.h"
#include "platform/windows/code_page_text_codec.h"
#include "platform/windows/run_key_login_start.h"
#include "platform/windows/sapi_speech_engine.h"
#include "platform/windows/windows_app_facts.h"
#include "platform/windows/windows_battery_health.h"
#include "platform/windows/windows_power_source.h"

#include <cstdint>
#include <cstdio>
#include <windows.h>

namespace amperlog {

std::unique_ptr<AppFacts> CreateAppFacts() {
    return std::make_unique<WindowsAppFacts>();
}

std::unique_ptr<PowerSource> CreatePowerSource(const MillisecondCounter& /*counter*/) {
    return std::make_unique<WindowsPowerSource>();
}

std::unique_ptr<SpeechEngine> CreateSpeechEngine() {
    return std::make_unique<SapiSpeechEngine>();
}

std::unique_ptr<TextCodec> CreateTextCodec() {
    return std::make_unique<CodePageTextCodec>(::GetACP());
}

std::unique_ptr<BatteryHealthSource> CreateBatteryHealthSource() {
    return std::make_unique<WindowsBatteryHealth>();
}

namespace {

using QueryInterruptTimeFunction = VOID(WINAPI*)(PULONGLONG);

// QueryInterruptTime came with Windows 10; before it, the tick count also runs through sleep,
// at a coarser grain.
QueryInterruptTimeFunction FindQueryInterruptTime() {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<QueryInterruptTimeFunction>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "QueryInterruptTime")));
}

class InterruptTimeSleepClocks final : public SleepClocks {
public:
    SleepClockReading Read() const override {
        constexpr ULONGLONG kTicksPerMs = 10'000; // 100 ns units
        ULONGLONG unbiased = 0;
        ::QueryUnbiasedInterruptTime(&unbiased);
        ULONGLONG through = 0;
        if (m_queryInterruptTime != nullptr) {
            m_queryInterruptTime(&through);
            through /= kTicksPerMs;
        } else {
            through = ::GetTickCount64();
        }
        return {static_cast<std::int64_t>(unbiased / kTicksPerMs),
                static_cast<std::int64_t>(through)};
    }

private:
    QueryInterruptTimeFunction m_queryInterruptTime = FindQueryInterruptTime();
};

} // namespace

std::unique_ptr<SleepClocks> CreateSleepClocks() {
    return std::make_unique<InterruptTimeSleepClocks>();
}

void PrepareConsoleOutput() {
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::FILE* ignored = std::freopen("CONOUT$", "w", stdout);
        static_cast<void>(ignored);
    }
}

std::unique_ptr<DesktopNotifier> CreateDesktopNotifier() {
    return std::make_unique<BalloonDesktopNotifier>();
}

std::unique_ptr<LoginStart> CreateLoginStart() {
    return std::make_unique<RunKeyLoginStart>(kRunKey, kStartupApprovedKey, L"Amperlog",
                                              ExecutablePath());
}

// Windows windows place themselves; nothing to prepare.
void PrepareDisplayEnvironment() {}

} // namespace amperlog

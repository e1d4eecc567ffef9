#include "platform/windows/sapi_speech_engine.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <string>
#include <windows.h>

namespace amperlog {
namespace {

// Whether COM is initialised on this thread, asked without changing it for good.
enum class ComState { Off, Apartment, Multithreaded };

ComState CurrentComState() {
    const HRESULT result = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (result == RPC_E_CHANGED_MODE) {
        return ComState::Apartment;
    }
    if (SUCCEEDED(result)) {
        ::CoUninitialize();
    }
    return result == S_FALSE ? ComState::Multithreaded : ComState::Off;
}

// Whatever voices the machine has (none under Wine), each announcement returns, and COM is
// left as the caller had it.
TEST(SapiSpeechEngineTest, AnnouncementsReturnAndReleaseCom) {
    SapiSpeechEngine engine;
    ASSERT_EQ(CurrentComState(), ComState::Off);
    for (const std::string text : {"8分経過しました", "常駐しました", "OK", "", "\xFF\xFE"}) {
        engine.Speak(text);
        EXPECT_EQ(CurrentComState(), ComState::Off) << text;
    }
}

TEST(SapiSpeechEngineTest, CallerInAnotherApartmentKeepsIts) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    SapiSpeechEngine().Speak("OK");
    EXPECT_EQ(CurrentComState(), ComState::Multithreaded);
    ::CoUninitialize();
}

TEST(SapiSpeechEngineTest, CallerInTheSameApartmentKeepsIts) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    SapiSpeechEngine().Speak("OK");
    EXPECT_EQ(CurrentComState(), ComState::Apartment);
    ::CoUninitialize();
}

} // namespace
} // namespace amperlog

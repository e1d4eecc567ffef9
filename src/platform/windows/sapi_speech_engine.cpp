#include "platform/windows/sapi_speech_engine.h"

#include "platform/windows/wide_text.h"
#include "texts/catalogue.h"

#include <span>
#include <windows.h>

// After windows.h, which it needs.
#include <sapi.h>

namespace amperlog {
namespace {

constexpr long kRate = 0;
constexpr USHORT kVolume = 80;
// SAPI's voice attributes by LANGID: Japanese, and English of the United States, Britain,
// Australia and Canada, in that order of preference.
constexpr const wchar_t* kJapaneseVoices[] = {L"Language=411"};
constexpr const wchar_t* kEnglishVoices[] = {L"Language=409", L"Language=809", L"Language=C09",
                                             L"Language=1009"};

// Releases a COM interface at the end of a scope.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (m_ptr != nullptr) {
            m_ptr->Release();
        }
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* operator->() const { return m_ptr; }
    T* Get() const { return m_ptr; }
    T** Out() { return &m_ptr; }
    void** OutVoid() { return reinterpret_cast<void**>(&m_ptr); }

private:
    T* m_ptr = nullptr;
};

// Balances a successful CoInitializeEx. A thread that already runs another apartment model
// (RPC_E_CHANGED_MODE) keeps its COM, which is left alone.
class ComScope {
public:
    ComScope() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result)) {
            ::CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

bool SelectVoice(ISpVoice& voice, ISpObjectTokenCategory& category, const wchar_t* attributes) {
    ComPtr<IEnumSpObjectTokens> tokens;
    if (FAILED(category.EnumTokens(attributes, nullptr, tokens.Out())) || tokens.Get() == nullptr) {
        return false;
    }
    ComPtr<ISpObjectToken> token;
    if (tokens->Next(1, token.Out(), nullptr) != S_OK || token.Get() == nullptr) {
        return false;
    }
    return SUCCEEDED(voice.SetVoice(token.Get()));
}

// The first installed voice of the interface language; without one the default voice stays.
void PreferInterfaceVoice(ISpVoice& voice) {
    ComPtr<ISpObjectTokenCategory> category;
    if (FAILED(::CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                                  IID_ISpObjectTokenCategory, category.OutVoid())) ||
        FAILED(category->SetId(SPCAT_VOICES, FALSE))) {
        return;
    }
    const std::span<const wchar_t* const> wanted =
        InterfaceLanguage() == Language::English ? std::span<const wchar_t* const>(kEnglishVoices)
                                                 : std::span<const wchar_t* const>(kJapaneseVoices);
    for (const wchar_t* attributes : wanted) {
        if (SelectVoice(voice, *category.Get(), attributes)) {
            return;
        }
    }
}

} // namespace

void SapiSpeechEngine::Speak(const std::string& text) {
    const std::wstring wide = WideFromUtf8(text);
    if (wide.empty()) {
        return;
    }
    const ComScope com;
    if (!com.Usable()) {
        return;
    }
    ComPtr<ISpVoice> voice;
    if (FAILED(::CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                  voice.OutVoid()))) {
        return;
    }
    PreferInterfaceVoice(*voice.Get());
    voice->SetRate(kRate);
    voice->SetVolume(kVolume);
    // Synchronous: returns once the text has been spoken. A missing voice or audio device
    // makes it fail, which is silence.
    voice->Speak(wide.c_str(), SPF_DEFAULT, nullptr);
}

} // namespace amperlog

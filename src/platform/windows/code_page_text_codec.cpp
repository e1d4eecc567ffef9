#include "platform/windows/code_page_text_codec.h"

#include "helpers/utf8.h"
#include "platform/windows/wide_text.h"

#include <array>
#include <windows.h>

namespace amperlog {
namespace {

// The UTF-16 of one character of the code page (one or two bytes); empty when the bytes do
// not decode, or decode to something that does not encode back to the same bytes (a best
// fit, a default character).
std::wstring DecodeExactly(unsigned int codePage, std::string_view bytes) {
    std::array<wchar_t, 4> wide{};
    const int count = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                            static_cast<int>(bytes.size()), wide.data(),
                                            static_cast<int>(wide.size()));
    if (count <= 0) {
        return {};
    }
    std::array<char, 8> back{};
    BOOL usedDefault = FALSE;
    const int length =
        ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), count, back.data(),
                              static_cast<int>(back.size()), nullptr, &usedDefault);
    if (length <= 0 || usedDefault ||
        std::string_view(back.data(), static_cast<std::size_t>(length)) != bytes) {
        return {};
    }
    return std::wstring(wide.data(), static_cast<std::size_t>(count));
}

bool HasKeptByteCharacter(std::wstring_view wide) {
    for (const wchar_t c : wide) {
        if (IsKeptByte(static_cast<char32_t>(c))) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string CodePageTextCodec::Decode(std::string_view bytes) const {
    if (m_codePage == CP_UTF8) {
        return DecodeUtf8KeepingBytes(bytes);
    }
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    // Decoded characters wait here until a kept byte or the end, for one conversion.
    std::wstring pending;
    const auto flush = [&] {
        text += Utf8FromWide(pending);
        pending.clear();
    };
    while (!bytes.empty()) {
        const auto lead = static_cast<unsigned char>(bytes.front());
        if (lead < 0x80) { // ASCII is itself in every ANSI code page
            pending += static_cast<wchar_t>(lead);
            bytes.remove_prefix(1);
            continue;
        }
        std::size_t length =
            ::IsDBCSLeadByteEx(m_codePage, lead) != FALSE && bytes.size() >= 2 ? 2 : 1;
        std::wstring wide = DecodeExactly(m_codePage, bytes.substr(0, length));
        if (wide.empty() || HasKeptByteCharacter(wide)) {
            // A lead byte without a trail byte it accepts: the lead alone is kept, and what
            // follows is read afresh.
            length = 1;
            flush();
            AppendKeptBytes(text, bytes.substr(0, 1));
        } else {
            pending += wide;
        }
        bytes.remove_prefix(length);
    }
    flush();
    return text;
}

std::string CodePageTextCodec::Encode(std::string_view text) const {
    if (m_codePage == CP_UTF8) {
        return EncodeUtf8KeepingBytes(text);
    }
    std::string bytes;
    bytes.reserve(text.size());
    // Characters wait here until a kept byte or the end, for one conversion.
    std::string pending;
    const auto flush = [&] {
        if (pending.empty()) {
            return;
        }
        const std::wstring wide = WideFromUtf8(pending);
        const int length =
            ::WideCharToMultiByte(m_codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                  nullptr, 0, nullptr, nullptr);
        if (length > 0) {
            const std::size_t start = bytes.size();
            bytes.resize(start + static_cast<std::size_t>(length));
            ::WideCharToMultiByte(m_codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                  bytes.data() + start, length, nullptr, nullptr);
        }
        pending.clear();
    };
    while (!text.empty()) {
        char32_t c = 0;
        std::size_t length = ReadUtf8(text, c);
        if (length == 0) {
            // Not from the edit box, which hands out valid text only: the byte as it is.
            flush();
            bytes += text.front();
            length = 1;
        } else if (IsKeptByte(c)) {
            flush();
            bytes += static_cast<char>(c - kKeptByteBase);
        } else {
            pending.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    flush();
    return bytes;
}

} // namespace amperlog

#pragma once

#include <string>
#include <string_view>

namespace amperlog {

// UTF-8 to UTF-16 for the wide Win32 and COM calls. A malformed byte sequence becomes
// U+FFFD rather than failing the whole text.
std::wstring WideFromUtf8(std::string_view text);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

} // namespace amperlog

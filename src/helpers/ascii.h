#pragma once

#include <string>
#include <string_view>

namespace amperlog {

// Names in the program's files and settings compare without regard to ASCII case only: a
// locale's idea of case must not decide which key a line is.
char LowerAscii(char c);
std::string LowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

} // namespace amperlog

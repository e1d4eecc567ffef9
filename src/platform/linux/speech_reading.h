#pragma once

#include <string>
#include <string_view>

namespace amperlog {

// What a kana-only voice should read for one of the program's announcements: the elapsed
// minutes "N分経過しました" (N from 1 to 20) with the counter's sound changes, "常駐しました",
// "OK" and the battery alerts. Any other text comes back unchanged.
std::string SpeechReading(std::string_view text);

} // namespace amperlog

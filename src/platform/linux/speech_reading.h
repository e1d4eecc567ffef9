#pragma once

#include <string>
#include <string_view>

namespace amperlog {

// What a kana-only voice should read for one of the catalogue's Japanese announcements: the
// elapsed minutes (1 to 20, with the counter's sound changes), staying in the notification
// area, OK and the battery alerts. Any other text comes back unchanged.
std::string SpeechReading(std::string_view text);

} // namespace amperlog

#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace amperlog {

class TextCodec;

// Bytes of an edited file turned into the edit box's text and back, losslessly, through the
// system's encoding (codec).
//
// The text is UTF-8 with every line followed by CR LF, the last line included; CR LF, LF and
// lone CR all end a line. A byte that the encoding does not turn into a character of its own
// (a Shift-JIS line in a UTF-8 system, a stray byte) becomes the private-use character
// U+EF00 + byte, and so do the bytes of the few characters that the edit box would not hand
// back unchanged (line and paragraph separators, byte order mark, object replacement,
// U+FDD0..U+FDEF, and U+EF00..U+EFFF themselves). Encoding turns those characters back into
// their bytes, so lines the user did not touch are written exactly as they were read.
std::string DecodeFileText(std::string_view bytes, const TextCodec& codec);

// The edit box's text as file bytes: every line end (CR LF, LF or CR) becomes CR LF, escaped
// bytes become bytes again, and nothing is added at the end.
std::string EncodeEditorText(std::string_view text, const TextCodec& codec);

// What a save writes. loaded is what the file held when the box was filled, current what it
// holds now. When current is loaded with bytes appended (the monitor logs while the window is
// open), those bytes follow the edited ones, on a line of their own; otherwise the edited
// bytes replace the file.
std::string MergeAppended(std::string_view edited, std::string_view loaded,
                          std::string_view current);

enum class CloseAnswer { Yes, No, Cancel };

// Whether the window may close. Only unsaved changes raise the question; Yes saves first and
// keeps the window open when the save fails, so typed text is never dropped unseen.
bool ResolveClose(bool changed, const std::function<CloseAnswer()>& ask,
                  const std::function<bool()>& save);

} // namespace amperlog

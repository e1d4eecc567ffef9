#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

// The grammar of a private-profile (INI) text, as the platform's profile functions read and
// write it, on text in memory (see ProfileFile for the rules). Names passed in are already
// normalised.
namespace amperlog::profile {

inline constexpr std::size_t kMaxValueChars = 255;
inline constexpr std::size_t kMaxNameChars = 128;

// The platform passes C strings: a NUL ends the text.
std::string_view CutAtNul(std::string_view text);
// A section or key name as it is matched: cut at a NUL, trimmed, cut to kMaxNameChars.
std::string_view NormaliseName(std::string_view name);
bool HasLineBreak(std::string_view text);

// The value of the first key of that name in the first section of that name; "" when none.
std::string FindInText(std::string_view text, std::string_view section, std::string_view key);
// The same over a stream, with bounded memory: each over-long line is judged by its first
// 64 KiB and its last non-blank character.
std::string FindInStream(std::istream& in, std::string_view section, std::string_view key);

// The value as written after "=": quoted where the reader would otherwise change it.
std::string StoredForm(std::string_view value);
// False when keyLine ("key=" and the stored value) or the section's header would read back as
// another name, so that the key could never be found again.
bool NamesReadBack(std::string_view section, std::string_view key, std::string_view keyLine);
// The text after storing the value, or nullopt when the stored line already says exactly that.
std::optional<std::string> EditText(std::string_view text, std::string_view section,
                                    std::string_view key, const std::string& keyLine,
                                    const std::string& stored);

} // namespace amperlog::profile

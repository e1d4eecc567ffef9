// Our private-profile module against the platform's own profile functions, on the same files.
#include "settings/profile_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>
#include <windows.h>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kBufferChars = 256;
constexpr DWORD kRoomyBufferChars = 4096;
constexpr int kMaxReported = 10;

std::string PlatformReadInto(const std::string& section, const std::string& key,
                             const std::string& path, DWORD chars) {
    std::string buffer(chars, '\0');
    ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), chars,
                               path.c_str());
    return std::string(buffer.c_str());
}

// What the platform reads, with the program's buffer of 256 characters and empty default.
//
// Wine (8.0) drops the last character of a quoted value whose text exactly fills the buffer
// (255 characters come back as 254). The documentation has a string that fits returned whole
// and only a longer one cut to nSize - 1 characters, and that is what counts here: a text
// one short of full is read again with room to spare and cut as documented.
std::string PlatformRead(const std::string& section, const std::string& key, const fs::path& file,
                         bool changedBehindIt) {
    const std::string path = file.string();
    if (changedBehindIt) {
        // The documented "flush" call: the platform keeps files it has read and trusts their
        // time stamp, which may not move between two quick writes.
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    }
    const std::string text = PlatformReadInto(section, key, path, kBufferChars);
    if (text.size() != kBufferChars - 2) {
        return text;
    }
    return PlatformReadInto(section, key, path, kRoomyBufferChars).substr(0, kBufferChars - 1);
}

bool PlatformWrite(const std::string& section, const std::string& key, const std::string& value,
                   const fs::path& file) {
    const std::string path = file.string();
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        path.c_str()) != FALSE;
}

// Escapes control characters so that failures print readably.
std::string Shown(const std::string& text) {
    std::ostringstream out;
    for (const char c : text) {
        if (c == '\r') {
            out << "\\r";
        } else if (c == '\n') {
            out << "\\n\n";
        } else if (c == '\t') {
            out << "\\t";
        } else {
            out << c;
        }
    }
    return out.str();
}

// Random names and values of the kinds hand-edited and program-written files hold.
class Generator {
public:
    explicit Generator(std::uint32_t seed) : m_random(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool Chance(int percent) { return Below(100) < percent; }

    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
    }

    std::string MixCase(std::string text) {
        for (char& c : text) {
            if (Chance(30)) {
                c = static_cast<char>(c >= 'a' && c <= 'z'   ? c - 'a' + 'A'
                                      : c >= 'A' && c <= 'Z' ? c - 'A' + 'a'
                                                             : c);
            }
        }
        return text;
    }

    std::string Padding() {
        static const std::vector<std::string> pads = {"", "", "", " ", "  ", "\t", " \t "};
        return Pick(pads);
    }

    std::string Padded(const std::string& text) { return Padding() + text + Padding(); }

    std::string SectionName() {
        static const std::vector<std::string> names = {"Work", "Windows", "Other", "A B", "w"};
        return MixCase(Pick(names));
    }

    std::string KeyName() {
        static const std::vector<std::string> names = {"SEP",   "Band", "LogTime", "Logtime",
                                                       "Voice", "A",    "A B",     "; A",
                                                       "#A",    "Main", "Expand",  "x.y"};
        return MixCase(Pick(names));
    }

    // Values with edge blanks, quotes of both kinds, "=", ";" and brackets in them.
    std::string Value() {
        static const std::vector<std::string> fixed = {"",         "12",
                                                       "   ",      " x ",
                                                       "\"q\"",    "'q'",
                                                       "\"x'",     "\"",
                                                       "''",       "\"\"",
                                                       "x\"y",     "\t7\t",
                                                       "a=b",      "8 ; n",
                                                       "[s]",      " \"",
                                                       "\" \" \"", "'a' ",
                                                       "\"a\"b",   "1,2,3",
                                                       "0.5",      ";",
                                                       "=",        " = ",
                                                       "a b",      "2026/12/06 9:05:07"};
        if (Chance(40)) {
            return Pick(fixed);
        }
        static const std::string alphabet = "aZ09 \t\"'=;[]#.,-";
        const int length = Chance(3) ? 250 + Below(12) : Below(10);
        std::string value;
        for (int i = 0; i < length; ++i) {
            value.push_back(alphabet[static_cast<std::size_t>(Below(int(alphabet.size())))]);
        }
        return value;
    }

    std::string LineEnd() {
        const int roll = Below(20);
        return roll == 0 ? "\n" : roll == 1 ? "\r" : "\r\n";
    }

    // A hand-edited file: duplicate sections and keys, comment lines, lines without "=",
    // padding everywhere, blank lines, keys before any section, text after "]".
    std::string File() {
        std::string text = Chance(5) ? "\xEF\xBB\xBF" : "";
        const int lines = Below(24);
        for (int i = 0; i < lines; ++i) {
            const int kind = Below(20);
            if (kind < 4) {
                text += Padding() + "[" + Padded(SectionName()) + "]" + (Chance(10) ? " junk" : "");
            } else if (kind < 14) {
                text += Padded(KeyName()) + "=" + Padded(QuotedMaybe(Value()));
            } else if (kind < 16) {
                text += Padded(KeyName());
            } else if (kind < 18) {
                text += Padding() + (Chance(50) ? ";" : "#") + KeyName() + "=" + Value();
            }
            text += LineEnd();
        }
        return text;
    }

private:
    std::string QuotedMaybe(const std::string& value) {
        if (!Chance(15)) {
            return value;
        }
        const char quote = Chance(50) ? '"' : '\'';
        return quote + value + quote;
    }

    std::mt19937 m_random;
};

// Seeded runs of reads and writes over hand-edited files: every read returns the same text
// from both readers, and every value our writer stores reads back unchanged through the
// platform's reader as well as ours.
TEST(ProfileDifferentialTest, SameTextsAsThePlatform) {
    test::TempFolder folder;
    const fs::path file = folder / "Amperlog.ini";
    int reads = 0;
    int writes = 0;
    int failures = 0;
    // Whether the file changed since the platform last read it.
    bool changed = true;
    const auto report = [&](std::uint32_t seed, int step, const std::string& what) {
        ++failures;
        if (failures <= kMaxReported) {
            ADD_FAILURE() << "seed " << seed << ", step " << step << ": " << what << "\nfile:\n"
                          << Shown(test::ReadFileBytes(file));
        }
    };

    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        Generator generate(seed);
        for (int step = 0; step < 300; ++step) {
            if (step % 60 == 0) {
                test::WriteFileBytes(file, generate.File());
                changed = true;
            }
            const std::string section = generate.SectionName();
            const std::string key = generate.KeyName();
            const int action = generate.Below(100);
            if (action < 55) {
                const std::string callSection = generate.Padded(section);
                const std::string callKey = generate.Padded(key);
                const std::string ours = ReadProfileText(callSection, callKey, file);
                const std::string platform = PlatformRead(callSection, callKey, file, changed);
                changed = false;
                ++reads;
                if (ours != platform) {
                    report(seed, step,
                           "read [" + callSection + "] " + callKey + ": ours \"" + Shown(ours) +
                               "\", platform's \"" + Shown(platform) + "\"");
                }
            } else if (action < 95) {
                const std::string value = generate.Value();
                ++writes;
                if (!WriteProfileText(generate.Padded(section), generate.Padded(key), value,
                                      file)) {
                    report(seed, step, "our write of " + key + "=\"" + value + "\" failed");
                    changed = true;
                    continue;
                }
                const std::string expected = value.size() > ProfileFile::kMaxValueChars
                                                 ? value.substr(0, ProfileFile::kMaxValueChars)
                                                 : value;
                const std::string platform = PlatformRead(section, key, file, true);
                changed = false;
                const std::string ours = ReadProfileText(section, key, file);
                if (platform != expected || ours != expected) {
                    report(seed, step,
                           "wrote [" + section + "] " + key + "=\"" + Shown(value) +
                               "\", read back by the platform \"" + Shown(platform) +
                               "\", by ours \"" + Shown(ours) + "\"");
                }
            } else {
                // Files the platform wrote are read alike too.
                PlatformWrite(section, key, generate.Value(), file);
                ++writes;
            }
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GE(reads + writes, 10'000);
}

} // namespace
} // namespace amperlog

#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace amperlog {

// Reads a text file line by line in bounded memory. A line ends at CR LF, LF or a lone CR;
// a last line without an end is still a line. Bytes are passed on as they are, NUL included.
class LogLineReader {
public:
    // No daily log line comes near this; longer lines keep their head, the rest is skipped.
    static constexpr std::size_t kMaxLineBytes = 1024;

    explicit LogLineReader(const std::filesystem::path& path,
                           std::size_t maxLineBytes = kMaxLineBytes);

    // False when the file could not be opened (a folder counts as not openable).
    bool IsOpen() const { return m_open; }

    // The next line without its end, cut to the longest line; false at the end of the file.
    bool Next(std::string& line);

    // Whether the line that Next gave last was longer than the longest line and so cut.
    bool WasCut() const { return m_cut; }

private:
    bool Refill();

    std::ifstream m_file;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::size_t m_maxLineBytes;
    bool m_cut = false;
    bool m_open = false;
    bool m_skipLineFeed = false; // the last line ended at a CR: a LF right after it belongs to it
};

} // namespace amperlog

#include "datalog/log_line_reader.h"

#include <algorithm>
#include <system_error>

namespace amperlog {
namespace {

constexpr std::size_t kChunkBytes = std::size_t{64} * 1024;

} // namespace

LogLineReader::LogLineReader(const std::filesystem::path& path, std::size_t maxLineBytes)
    : m_maxLineBytes(maxLineBytes) {
    std::error_code ec;
    // Some systems open a folder for reading and fail only on the first read.
    if (std::filesystem::is_directory(path, ec)) {
        return;
    }
    m_file.open(path, std::ios::in | std::ios::binary);
    m_open = m_file.is_open();
    if (m_open) {
        m_buffer.resize(kChunkBytes);
    }
}

bool LogLineReader::Refill() {
    if (!m_open || !m_file) {
        return false;
    }
    m_file.read(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    const auto count = m_file.gcount();
    m_pos = 0;
    m_end = count > 0 ? static_cast<std::size_t>(count) : 0;
    return m_end > 0;
}

bool LogLineReader::Next(std::string& line) {
    line.clear();
    m_cut = false;
    bool started = false;
    for (;;) {
        if (m_pos == m_end && !Refill()) {
            return started;
        }
        if (m_skipLineFeed) {
            m_skipLineFeed = false;
            if (m_buffer[m_pos] == '\n') {
                ++m_pos;
                continue;
            }
        }
        const char* begin = m_buffer.data() + m_pos;
        const char* end = m_buffer.data() + m_end;
        const char* stop = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
        const auto length = static_cast<std::size_t>(stop - begin);
        if (length > 0) {
            started = true;
            const std::size_t room = m_maxLineBytes - line.size();
            m_cut = m_cut || length > room;
            line.append(begin, std::min(length, room));
        }
        m_pos += length;
        if (stop != end) {
            m_skipLineFeed = *stop == '\r';
            ++m_pos;
            return true;
        }
    }
}

} // namespace amperlog

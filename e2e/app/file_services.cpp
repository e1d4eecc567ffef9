#include "file_services.h"

#include <fstream>
#include <sstream>
#include <string>

namespace amperlog::e2e {
namespace {

std::string ReadFirstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

} // namespace

std::optional<PowerStatus> FilePowerSource::Query() {
    const std::string line = ReadFirstLine(m_file);
    if (line.rfind("fail", 0) == 0) {
        return std::nullopt;
    }
    std::istringstream in(line);
    int ac = 1;
    int flag = 128;
    int percent = 255;
    long life = -1;
    long full = -1;
    PowerStatus status{1, 128, 255, -1, -1};
    if (in >> ac >> flag >> percent >> life >> full) {
        status = {static_cast<std::uint8_t>(ac), static_cast<std::uint8_t>(flag),
                  static_cast<std::uint8_t>(percent), static_cast<std::int32_t>(life),
                  static_cast<std::int32_t>(full)};
    }
    return status;
}

CivilTime OffsetClock::Now() const {
    std::istringstream in(ReadFirstLine(m_file));
    long long offset = 0;
    in >> offset;
    return m_real.Now().AddSeconds(offset);
}

void FileSpeechEngine::Speak(const std::string& text) {
    std::ofstream out(m_file, std::ios::app | std::ios::binary);
    out << text << '\n';
}

} // namespace amperlog::e2e

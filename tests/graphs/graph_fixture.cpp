#include "graph_fixture.h"

#include "datalog/log_format.h"

#include <filesystem>

namespace amperlog::test {

CivilTime At(int hour, int minute, int second) {
    return *CivilTime::FromParts(2026, 12, 6, hour, minute, second);
}

std::string LogLine(CivilTime t, std::string_view power, std::string_view percent,
                    std::string_view remain, std::string_view marker) {
    std::string line = FormatLogStamp(t);
    for (const std::string_view field : {power, percent, remain, marker}) {
        line += ',';
        line += field;
    }
    return line;
}

GraphTest::GraphTest() {
    settings = std::make_unique<SettingsStore>(folder / "amperlog.ini", &screen);
    state.DataFolder = folder / "Data";
    std::filesystem::create_directory(state.DataFolder);
    state.LayoutUnit = 15;
    state.GraphScale = 1.0f;
    state.SepMinutes = 8;
    window.lblTargetName = "20261206.txt";
}

void GraphTest::WriteGraphedLog(std::initializer_list<std::string> lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    WriteGraphedLogBytes(bytes);
}

void GraphTest::WriteGraphedLogBytes(std::string_view bytes) {
    WriteFileBytes(state.DataFolder / window.lblTargetName, bytes);
}

} // namespace amperlog::test

// Writes daily log lines the way the monitor does, for a system-call trace to count the
// writes: log_line_probe <program folder> <lines>. The file begins with a torn line, so the
// first write also carries the line end that closes it.
#include "datalog/daily_log.h"
#include "helpers/civil_time.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int lines = std::atoi(argv[2]);
    amperlog::MonitorState state;
    state.DataFolder = folder / "Data";
    state.PowerText = "Batt";
    state.PercentText = "80%";
    state.RemainText = "4000";
    std::filesystem::create_directories(state.DataFolder);
    const amperlog::CivilTime start = *amperlog::CivilTime::FromParts(2024, 2, 29, 10, 0, 0);
    {
        std::ofstream torn(state.DataFolder / amperlog::LogFileName(start), std::ios::binary);
        torn << "2/29 09:59:59,Ba";
    }
    amperlog::SettingsStore settings(folder / "amperlog.ini", nullptr);
    for (int i = 0; i < lines; ++i) {
        if (!amperlog::WriteLogLine(state, settings, start.AddSeconds(i), i % 2 == 0 ? "" : "+")) {
            return 1;
        }
    }
    return 0;
}

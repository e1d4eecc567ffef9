#include "app/report_command.h"

#include "app/command_line.h"
#include "report/report_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "usage/battery_report.h"

#include <optional>

namespace amperlog {

int RunReportCommand(const std::filesystem::path& programFolder, const std::string& exeName,
                     const std::filesystem::path& file, CivilTime now, const TimeZoneRules& zone,
                     Language language, std::ostream& err) {
    const std::optional<ReportKind> kind = ReportKindOf(file);
    if (!kind) {
        err << "amperlog: --report writes a page (.html) or the figures (.json), not '"
            << file.string() << "' (try amperlog --help)\n";
        return kUsageErrorExit;
    }
    SettingsStore settings(programFolder / (exeName + ".ini"), nullptr);
    const int interval = ReadWorkInt16(settings, kKeySep);
    const BatteryReport report = BuildBatteryReport(programFolder, now, interval, zone);
    if (!WriteReportFile(file, *kind, report, programFolder, language)) {
        err << "amperlog: cannot write '" << file.string() << "'\n";
        return 1;
    }
    return 0;
}

} // namespace amperlog

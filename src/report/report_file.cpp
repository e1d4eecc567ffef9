#include "report/report_file.h"

#include "helpers/ascii.h"
#include "helpers/atomic_file.h"
#include "report/report_html.h"
#include "report/report_json.h"

#include <string>

namespace amperlog {

std::optional<ReportKind> ReportKindOf(const std::filesystem::path& file) {
    const std::string ending = LowerAscii(file.extension().string());
    if (ending == ".html" || ending == ".htm") {
        return ReportKind::Html;
    }
    if (ending == ".json") {
        return ReportKind::Json;
    }
    return std::nullopt;
}

bool WriteReportFile(const std::filesystem::path& file, ReportKind kind,
                     const BatteryReport& report, const std::filesystem::path& programFolder,
                     Language language) {
    // The folder's name as the system gives its bytes; the page escapes and mends them.
    const std::u8string folder = programFolder.u8string();
    const std::string bytes =
        kind == ReportKind::Html
            ? ReportHtml(report, std::string(folder.begin(), folder.end()), language)
            : ReportJson(report);
    return ReplaceFileAtomically(file, bytes) == ReplaceResult::Replaced;
}

} // namespace amperlog

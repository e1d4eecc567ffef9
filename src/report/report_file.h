#pragma once

#include "texts/catalogue.h"
#include "usage/battery_report.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace amperlog {

enum class ReportKind { Html, Json };

// The kind a file's ending asks for, in any case: ".html" or ".htm" the page, ".json" the
// figures; nullopt for any other.
std::optional<ReportKind> ReportKindOf(const std::filesystem::path& file);

// Writes the report to file whole, through a temporary beside it, so a reader never sees half
// a page and an old report stays until the new one is complete. False when the folder or the
// file took nothing.
bool WriteReportFile(const std::filesystem::path& file, ReportKind kind,
                     const BatteryReport& report, const std::filesystem::path& programFolder,
                     Language language);

} // namespace amperlog

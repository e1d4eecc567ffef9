#include "app/command_line.h"

#include <algorithm>
#include <array>

namespace amperlog {
namespace {

struct Option {
    std::string_view longName;
    std::string_view shortName; // empty when there is none
    CommandAction action;
    bool takesValue = false;
};

constexpr std::array kOptions{
    Option{"--help", "-h", CommandAction::Help},
    Option{"--version", "", CommandAction::Version},
    Option{"--health", "", CommandAction::Health},
    Option{"--report", "", CommandAction::Report, true},
};

// The higher, the more it wins when several options are given: asking for help is never
// answered with something else.
int Precedence(CommandAction action) {
    switch (action) {
    case CommandAction::Monitor:
        return 0;
    case CommandAction::Health:
        return 1;
    case CommandAction::Report:
        return 2;
    case CommandAction::Version:
        return 3;
    case CommandAction::Help:
        return 4;
    case CommandAction::Error:
        return 5;
    }
    return 0;
}

CommandLine Failure(std::string message) {
    CommandLine result;
    result.action = CommandAction::Error;
    result.error = "amperlog: " + std::move(message) + " (try amperlog --help)";
    return result;
}

} // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> args) {
    CommandLine result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const std::string_view name = arg.substr(0, arg.find('='));
        const auto option = std::find_if(kOptions.begin(), kOptions.end(), [&](const Option& o) {
            return arg == o.longName || (!o.shortName.empty() && arg == o.shortName) ||
                   (o.takesValue && name == o.longName);
        });
        if (option == kOptions.end()) {
            const bool looksLikeOption = arg.size() > 1 && arg.front() == '-';
            return Failure((looksLikeOption ? "unknown option '" : "unexpected argument '") +
                           std::string(arg) + "'");
        }
        if (option->takesValue) {
            const bool attached = name.size() < arg.size();
            if (!attached && i + 1 == args.size()) {
                return Failure("option '" + std::string(option->longName) + "' needs a file");
            }
            const std::string_view value = attached ? arg.substr(name.size() + 1) : args[++i];
            if (value.empty()) {
                return Failure("option '" + std::string(option->longName) + "' needs a file");
            }
            result.reportFile = std::string(value);
        }
        if (Precedence(option->action) > Precedence(result.action)) {
            result.action = option->action;
        }
    }
    return result;
}

// Conventional command-line text, in English whatever the interface language; help2man
// makes the manual page from it, so its headings end in a colon.
std::string UsageText() {
    return R"(Usage: amperlog [OPTION]
Resident battery monitor: reads the power status once a second, shows the charge in a
small window of its own and keeps a daily log of it.

Without an option it starts the monitor. One copy runs per program folder; starting it
again brings the running copy's window forward.

Options:
  --health       print each battery's health and the trend of its health diary, then exit
  --report FILE  write the battery report of the last 30 days to FILE, then exit: a page
                 when FILE ends in .html, the figures as JSON when it ends in .json
  -h, --help     print this help and exit
  --version      print the version and exit

Exit status:
  0   the monitor ended, or a second copy handed over to the first; --help and
      --version; --health read at least one battery; --report wrote its file
  1   --health read no battery; --report could not write its file
  2   an unknown option or an argument the program does not take, --report's file
      ending in neither .html nor .json

Environment:
  AMPERLOG_SYSFS_ROOT  read the power supplies from this folder instead of
                       /sys/class/power_supply (a saved copy of that tree)
  LANGUAGE, LC_ALL, LC_MESSAGES, LANG
                       the interface language: Japanese when the first language is ja,
                       else English; the Language key under [Interface] in the settings
                       file (ja or en) overrides them

Files:
  Kept in the program's own folder when it can write there (a portable copy), else in
  $XDG_DATA_HOME/amperlog, by default ~/.local/share/amperlog (%LOCALAPPDATA%\Amperlog
  on Windows):

  amperlog.ini         the settings
  amperlog.lock        held while the monitor runs
  Data/yyyyMMdd.txt    the daily log, one CSV file per day
  Data/health.csv      the battery health diary, one line per battery and day
  Data/sleep.csv       the sleeps, one line each
)";
}

std::string VersionText() {
    return std::string("amperlog ") + AMPERLOG_VERSION + "\n";
}

} // namespace amperlog

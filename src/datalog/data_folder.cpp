#include "datalog/data_folder.h"

#include "helpers/ascii.h"
#include "state/monitor_state.h"

#include <algorithm>
#include <system_error>

namespace amperlog {
namespace {

bool HasTxtExtension(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    return EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".txt");
}

template <typename Visit>
void ForEachFileName(const std::filesystem::path& folder, Visit visit) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        if (!visit(it->path().filename().string())) {
            return;
        }
    }
}

} // namespace

std::filesystem::path GetDatafolder(const std::filesystem::path& programFolder) {
    return programFolder / "Data";
}

bool PrepareDataFolder(MonitorState& state, const std::filesystem::path& programFolder) {
    state.DataFolder = GetDatafolder(programFolder);
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(state.DataFolder, ec))) {
        std::filesystem::create_directory(state.DataFolder, ec);
    }
    return std::filesystem::is_directory(state.DataFolder, ec);
}

std::vector<std::string> ListLogCatalogue(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    ForEachFileName(folder, [&](const std::string& name) {
        if (name.size() == 12 && HasTxtExtension(name)) {
            names.push_back(name);
        }
        return true;
    });
    std::sort(names.begin(), names.end());
    return names;
}

bool HasAnyTextFile(const std::filesystem::path& folder) {
    bool found = false;
    ForEachFileName(folder, [&](const std::string& name) {
        found = HasTxtExtension(name);
        return !found;
    });
    return found;
}

} // namespace amperlog

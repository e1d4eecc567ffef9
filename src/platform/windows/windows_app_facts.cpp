#include "platform/windows/windows_app_facts.h"

#include "platform/windows/wide_text.h"

#include <shlobj.h>
#include <string>
#include <system_error>
#include <windows.h>

namespace amperlog {

std::filesystem::path ExecutablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            buffer.resize(length);
            return std::filesystem::path(buffer);
        }
        // Paths are limited to 32767 characters; past that something is wrong.
        if (size >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

namespace {

std::filesystem::path EnvironmentFolder(const wchar_t* name) {
    const DWORD needed = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0) {
        return {};
    }
    std::wstring value(needed, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name, value.data(), needed);
    if (length == 0 || length >= needed) {
        return {};
    }
    value.resize(length);
    return std::filesystem::path(value);
}

std::filesystem::path KnownLocalAppData() {
    PWSTR raw = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &raw))) {
        folder = std::filesystem::path(raw);
    }
    ::CoTaskMemFree(raw);
    return folder;
}

} // namespace

bool IsFolderWritable(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return false;
    }
    // A name no other process uses; the file goes away when its handle closes, even if this
    // process dies in between.
    const std::wstring name = L"amperlog-write-test-" + std::to_wstring(::GetCurrentProcessId()) +
                              L"-" + std::to_wstring(::GetTickCount64()) + L".tmp";
    const std::filesystem::path probe = folder / name;
    const HANDLE file =
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(file);
    return true;
}

std::filesystem::path UserDataFolder() {
    std::filesystem::path base = EnvironmentFolder(L"LOCALAPPDATA");
    if (base.empty() || !base.is_absolute()) {
        base = KnownLocalAppData();
    }
    if (base.empty()) {
        std::error_code ec;
        base = std::filesystem::temp_directory_path(ec);
    }
    return base / L"Amperlog";
}

std::filesystem::path ChooseProgramFolder(const std::filesystem::path& exeFolder,
                                          const std::filesystem::path& userFolder) {
    if (IsFolderWritable(exeFolder)) {
        return exeFolder;
    }
    std::error_code ec;
    std::filesystem::create_directories(userFolder, ec);
    return userFolder;
}

WindowsAppFacts::WindowsAppFacts() {
    const std::filesystem::path exe = ExecutablePath();
    m_exeName = exe.empty() ? std::string("Amperlog") : Utf8FromWide(exe.stem().wstring());
    m_folder = ChooseProgramFolder(exe.parent_path(), UserDataFolder());
}

} // namespace amperlog

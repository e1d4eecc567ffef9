// A stand-in for Amperlog.exe, to try the installer without a Qt for Windows: like the program
// it holds Amperlog.lock beside itself, unshared and deleted on close, and runs until ended.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) {
        return 1;
    }
    wchar_t* name = path + length;
    while (name > path && name[-1] != L'\\') {
        --name;
    }
    const wchar_t lockName[] = L"Amperlog.lock";
    if (static_cast<size_t>(name - path) + sizeof lockName / sizeof lockName[0] > MAX_PATH) {
        return 1;
    }
    for (const wchar_t c : lockName) {
        *name++ = c;
    }
    const HANDLE lock = ::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (lock == INVALID_HANDLE_VALUE) {
        return 1;
    }
    ::Sleep(INFINITE);
    return 0;
}

#include "platform/windows/balloon_desktop_notifier.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

// After windows.h, which it needs.
#include <algorithm>
#include <cwchar>
#include <shellapi.h>
#include <string>

namespace amperlog {
namespace {

constexpr UINT kIconId = 1;
constexpr UINT kCallbackMessage = WM_APP + 1;
constexpr const wchar_t* kWindowClass = L"AmperlogNotifier";
constexpr const wchar_t* kTip = L"Amperlog";

HWND AsWindow(void* window) {
    return static_cast<HWND>(window);
}

template <std::size_t N>
void CopyTruncated(wchar_t (&target)[N], const std::wstring& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::wmemcpy(target, text.c_str(), length);
    target[length] = L'\0';
}

LRESULT CALLBACK NotifierProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCallbackMessage) {
        // Version 4 of the icon's messages: the event in the low word.
        const UINT event = LOWORD(lParam);
        if (event == NIN_BALLOONTIMEOUT || event == NIN_BALLOONUSERCLICK ||
            event == NIN_BALLOONHIDE) {
            auto* self = reinterpret_cast<BalloonDesktopNotifier*>(
                ::GetWindowLongPtrW(window, GWLP_USERDATA));
            if (self != nullptr) {
                self->RemoveIcon();
            }
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateMessageWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &NotifierProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    // A second notifier finds the class registered already; creating the window tells.
    ::RegisterClassExW(&windowClass);
    return ::CreateWindowExW(0, kWindowClass, kTip, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

NOTIFYICONDATAW IconData(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

} // namespace

unsigned long BalloonInfoFlags(NotificationKind kind) {
    // Only the critical alert breaks through the user's quiet time.
    switch (kind) {
    case NotificationKind::Critical:
        return NIIF_ERROR;
    case NotificationKind::Warning:
        return NIIF_WARNING | NIIF_RESPECT_QUIET_TIME;
    case NotificationKind::Info:
        break;
    }
    return NIIF_INFO | NIIF_RESPECT_QUIET_TIME;
}

BalloonDesktopNotifier::BalloonDesktopNotifier() {
    HWND window = CreateMessageWindow();
    if (window == nullptr) {
        return;
    }
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_window = window;
    // The program's own icon, the first in its executable; the system's application icon
    // where it has none.
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    HICON icon = length > 0 && length < MAX_PATH
                     ? ::ExtractIconW(::GetModuleHandleW(nullptr), path, 0)
                     : nullptr;
    // ExtractIcon answers 1 for a file that is no executable.
    if (icon == reinterpret_cast<HICON>(1)) {
        icon = nullptr;
    }
    m_ownsIcon = icon != nullptr;
    m_icon = icon != nullptr ? icon : ::LoadIconW(nullptr, IDI_APPLICATION);
}

BalloonDesktopNotifier::~BalloonDesktopNotifier() {
    RemoveIcon();
    if (m_window != nullptr) {
        ::DestroyWindow(AsWindow(m_window));
    }
    if (m_ownsIcon) {
        ::DestroyIcon(static_cast<HICON>(m_icon));
    }
}

void BalloonDesktopNotifier::Notify(const std::string& title, const std::string& body,
                                    NotificationKind kind) {
    if (m_window == nullptr) {
        return;
    }
    NOTIFYICONDATAW data = IconData(AsWindow(m_window));
    data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE | NIF_INFO;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = static_cast<HICON>(m_icon);
    CopyTruncated(data.szTip, kTip);
    CopyTruncated(data.szInfoTitle, WideFromUtf8(title));
    CopyTruncated(data.szInfo, WideFromUtf8(body));
    data.dwInfoFlags = BalloonInfoFlags(kind);
    if (m_added && ::Shell_NotifyIconW(NIM_MODIFY, &data)) {
        return;
    }
    m_added = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    if (m_added) {
        data.uVersion = NOTIFYICON_VERSION_4;
        ::Shell_NotifyIconW(NIM_SETVERSION, &data);
    }
}

void BalloonDesktopNotifier::Withdraw() {
    RemoveIcon();
}

void BalloonDesktopNotifier::RemoveIcon() {
    if (!m_added) {
        return;
    }
    NOTIFYICONDATAW data = IconData(AsWindow(m_window));
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    m_added = false;
}

} // namespace amperlog

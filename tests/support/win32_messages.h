#pragma once

// Windows' message boxes read, and answered as a user answers them, for the Win32 window's
// tests, its benchmark and the end-to-end probe.

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace veltrin::test {

// Windows' UTF-16 as UTF-8, as Veltrin's texts are written.
inline std::string utf8(const wchar_t* text, int length) {
    std::string out(static_cast<std::size_t>(length) * 3, '\0');
    out.resize(static_cast<std::size_t>(WideCharToMultiByte(
        CP_UTF8, 0, text, length, out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

// A window's text.
inline std::string textOf(HWND hwnd) {
    wchar_t buffer[4096];
    return utf8(buffer, GetWindowTextW(hwnd, buffer, 4096));
}

// What a message box says: the longest text among its controls.
inline std::string messageOf(HWND box) {
    std::string text;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        text = textOf(c).size() > text.size() ? textOf(c) : text;
    }
    return text;
}

// While one lives, each message box this thread shows is answered the moment it is
// activated: the time noted, its message kept, OK pressed.
struct MessageAnswers {
    MessageAnswers() { texts.clear(); }
    ~MessageAnswers() { UnhookWindowsHookEx(hook); }

    static LRESULT CALLBACK answer(int code, WPARAM wParam, LPARAM lParam) {
        const auto box = reinterpret_cast<HWND>(wParam);
        wchar_t cls[16] = L"";
        if (code == HCBT_ACTIVATE && GetClassNameW(box, cls, 16) &&
            std::wstring(cls) == L"#32770") {
            answeredAt = std::chrono::steady_clock::now();
            texts.push_back(messageOf(box));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline std::vector<std::string> texts;
    static inline std::chrono::steady_clock::time_point answeredAt;
    HHOOK hook = SetWindowsHookExW(WH_CBT, answer, nullptr, GetCurrentThreadId());
};

} // namespace veltrin::test

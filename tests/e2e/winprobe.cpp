// What assistive technology on Windows reads of Veltrin, for the end-to-end suite: run in the
// same Wine prefix, it answers one question a line on standard input, for as long as the
// input lasts (a Windows program takes most of a second to start under Wine):
//   message    the text of the visible message titled "Veltrin", exactly (CR LF)
//   clipboard  the clipboard's text, as a Windows program pastes it
//   window     where the main window's client area starts on the screen: "X Y"
//   names      the texts of the main window's buttons, a line each, in the order Windows
//              keeps them (Solve, then the squares from the bottom right)
//   language   the user's display language, as Windows names it ("pl-PL")
// Each answer is a line "STATUS LENGTH", then LENGTH bytes; status 1: not there.

#include "support/win32_messages.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <string>

namespace {

HWND findVisible(const wchar_t* cls, const wchar_t* title) {
    HWND hwnd = FindWindowW(cls, title);
    return hwnd && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

bool message(std::string& out) {
    HWND box = findVisible(L"#32770", L"Veltrin");
    out = box ? veltrin::test::messageOf(box) : out;
    return box;
}

bool clipboard(std::string& out) {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (text) {
        out = veltrin::test::utf8(text, static_cast<int>(wcslen(text)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// The main window, by its class: its caption is in the user's language.
HWND form() {
    return findVisible(L"VeltrinForm1", nullptr);
}

bool names(std::string& out) {
    EnumChildWindows(
        form(),
        [](HWND control, LPARAM list) {
            wchar_t cls[16] = L"";
            GetClassNameW(control, cls, 16);
            if (std::wstring(cls) == L"Button" && IsWindowVisible(control)) {
                *reinterpret_cast<std::string*>(list) += veltrin::test::textOf(control) + "\n";
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return !out.empty();
}

bool language(std::string& out) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
    const int length = LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                                        LOCALE_NAME_MAX_LENGTH, 0);
    out = veltrin::test::utf8(name, length > 0 ? length - 1 : 0);
    return length > 0;
}

bool window(std::string& out) {
    POINT origin{0, 0};
    HWND form = ::form();
    if (form && ClientToScreen(form, &origin)) {
        out = std::to_string(origin.x) + " " + std::to_string(origin.y);
    }
    return form;
}

} // namespace

int main() {
    // Screen coordinates as they are, whatever the DPI.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    _setmode(_fileno(stdout), _O_BINARY); // the texts' CR LF as they are
    std::string what;
    while (std::getline(std::cin, what)) {
        std::string out;
        const bool found = what.starts_with("message")     ? message(out)
                           : what.starts_with("clipboard") ? clipboard(out)
                           : what.starts_with("names")     ? names(out)
                           : what.starts_with("language")  ? language(out)
                                                           : window(out);
        std::cout << !found << ' ' << out.size() << '\n' << out << std::flush;
    }
}

// What assistive technology on Windows reads of Veltrin, for the end-to-end suite: run in the
// same Wine prefix, it answers one question a line on standard input, for as long as the
// input lasts (a Windows program takes most of a second to start under Wine):
//   message    the text of the visible message titled "Veltrin", exactly (CR LF)
//   clipboard  the clipboard's text, as a Windows program pastes it
//   window     where the main window's client area is on the screen
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
        out.assign(text, text + wcslen(text));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool window(std::string& out) {
    HWND form = findVisible(nullptr, L"Veltrin Solver");
    if (!form) {
        return false;
    }
    RECT client;
    GetClientRect(form, &client);
    POINT origin{0, 0};
    ClientToScreen(form, &origin);
    out = "client\t" + std::to_string(origin.x) + "\t" + std::to_string(origin.y) + "\t" +
          std::to_string(client.right) + "\t" + std::to_string(client.bottom) + "\n";
    return true;
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
                                                           : window(out);
        std::cout << !found << ' ' << out.size() << '\n' << out << std::flush;
    }
}

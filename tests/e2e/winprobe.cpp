// What assistive technology on Windows reads of Veltrin, for the end-to-end suite: run in the
// same Wine prefix, it finds Veltrin's windows through the Win32 API and prints what it sees.
//
//   winprobe message   the text of the visible message titled "Veltrin", exactly (CR LF)
//   winprobe clipboard the clipboard's text, as a Windows program pastes it
//   winprobe window    the main window: where its client area is on the screen, and which
//                      control has the keyboard focus
//
//   winprobe serve     answers those three, one a line on standard input, for as long as
//                      the input lasts: each answer is a line "STATUS LENGTH" and then
//                      LENGTH bytes, so that one process serves a whole run of the suite
//                      (starting a Windows program under Wine takes most of a second)
//
// Exits with status 1 when the window is not there.

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace {

std::string out; // the answer being written

void print(const char* format, ...) {
    char buffer[8192];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    out.append(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

std::string narrow(const std::wstring& wide) {
    std::string out;
    for (wchar_t c : wide) {
        out += c < 128 ? static_cast<char>(c) : '?'; // Veltrin's texts are ASCII
    }
    return out;
}

std::string textOf(HWND hwnd) {
    wchar_t buffer[4096];
    const int length = GetWindowTextW(hwnd, buffer, 4096);
    return narrow(std::wstring(buffer, static_cast<std::size_t>(length)));
}

std::string classOf(HWND hwnd) {
    wchar_t buffer[256];
    const int length = GetClassNameW(hwnd, buffer, 256);
    return narrow(std::wstring(buffer, static_cast<std::size_t>(length)));
}

HWND findVisible(const wchar_t* cls, const wchar_t* title) {
    HWND hwnd = FindWindowW(cls, title);
    return hwnd && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

BOOL CALLBACK longestStatic(HWND child, LPARAM found) {
    auto* best = reinterpret_cast<std::string*>(found);
    const std::string text = textOf(child);
    if (classOf(child) == "Static" && text.size() > best->size()) {
        *best = text;
    }
    return TRUE;
}

int message() {
    HWND box = findVisible(L"#32770", L"Veltrin");
    if (!box) {
        return 1;
    }
    std::string text;
    EnumChildWindows(box, longestStatic, reinterpret_cast<LPARAM>(&text));
    out += text;
    return 0;
}

int clipboard() {
    if (!OpenClipboard(nullptr)) {
        return 1;
    }
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    const std::string copied = text ? narrow(text) : "";
    if (text) {
        GlobalUnlock(data);
    }
    CloseClipboard();
    out += copied;
    return text ? 0 : 1;
}

int window() {
    HWND form = findVisible(nullptr, L"Veltrin Solver");
    if (!form) {
        return 1;
    }
    RECT client;
    GetClientRect(form, &client);
    POINT origin{0, 0};
    ClientToScreen(form, &origin);
    print("client\t%ld\t%ld\t%ld\t%ld\n", origin.x, origin.y, client.right, client.bottom);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gui);
    print("focus\t%s\n", gui.hwndFocus ? textOf(gui.hwndFocus).c_str() : "");
    return 0;
}

int answer(const std::string& what) {
    out.clear();
    return what == "message"     ? message()
           : what == "clipboard" ? clipboard()
           : what == "window"    ? window()
                                 : 2;
}

} // namespace

int main(int argc, char** argv) {
    // Screen coordinates as they are, whatever the DPI.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    _setmode(_fileno(stdout), _O_BINARY); // the texts' CR LF as they are
    const std::string what = argc > 1 ? argv[1] : "";
    if (what != "serve") {
        const int status = answer(what);
        std::fwrite(out.data(), 1, out.size(), stdout);
        return status;
    }
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        const int status = answer(std::string(line, std::strcspn(line, "\r\n")));
        std::printf("%d %lu\n", status, static_cast<unsigned long>(out.size()));
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fflush(stdout);
    }
    return 0;
}

#include "window/win32/messagebox.h"

#include "window/design.h"
#include "window/win32/controls.h"

#include <cstring>

namespace veltrin {

namespace {

// The text of the message that is up, for Ctrl+C. Windows' own message box copies a framed
// block with the title and the buttons around the text, and Wine's copies nothing; users
// want just the text, as the other front ends give it.
const std::wstring* shownText = nullptr;

void copyToClipboard(HWND owner, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) {
        return;
    }
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        if (SetClipboardData(CF_UNICODETEXT, memory)) {
            memory = nullptr; // the clipboard owns it now
        }
        CloseClipboard();
    }
    if (memory) {
        GlobalFree(memory);
    }
}

// Sees every message the message box's own loop takes from this thread's queue.
LRESULT CALLBACK takenMessage(int code, WPARAM removed, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && removed == PM_REMOVE && shownText && msg->message == WM_KEYDOWN &&
        msg->wParam == 'C' && GetKeyState(VK_CONTROL) < 0) {
        copyToClipboard(GetAncestor(msg->hwnd, GA_ROOT), *shownText);
        msg->message = WM_NULL; // handled: the box must not copy its own version as well
    }
    return CallNextHookEx(nullptr, code, removed, lParam);
}

} // namespace

void showMessage(HWND owner, const std::string& text) {
    const std::wstring wide = widen(text);
    const std::wstring title = widen(design::appTitle);
    const std::wstring* outer = shownText;
    shownText = &wide;
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, takenMessage, nullptr, GetCurrentThreadId());
    MessageBoxW(owner, wide.c_str(), title.c_str(), MB_OK);
    if (hook) {
        UnhookWindowsHookEx(hook);
    }
    shownText = outer;
}

} // namespace veltrin

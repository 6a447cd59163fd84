#include "window/win32/win32platform.h"

#include "window/win32/messagebox.h"

namespace veltrin {

Win32Platform::Win32Platform(const std::array<HWND, squareCount>& squares, HWND setup,
                             HWND boardArea, HWND window, PaintSquares paint, void* form)
    : squares_(squares), setup_(setup), boardArea_(boardArea), window_(window), paint_(paint),
      form_(form) {
    colours_.fill(colors[0]);
}

void Win32Platform::paintSquare(int p, Colour colour) {
    colours_.at(static_cast<std::size_t>(p)) = colour;
    if (locked_) {
        changed_ |= 1u << p; // drawn at the next message pass, with the others
        return;
    }
    // Every pixel is painted by the square itself: nothing needs erasing first.
    InvalidateRect(squares_[static_cast<std::size_t>(p)], nullptr, FALSE);
}

void Win32Platform::paintChanged() {
    // A search changes up to five squares a trial. Invalidating each one would cost it a
    // paint message of its own, and under Wine several round trips to the server each;
    // drawing them together on one device context costs one.
    if (!changed_) {
        return;
    }
    if (HDC dc = GetDCEx(boardArea_, nullptr, DCX_CACHE)) {
        paint_(form_, dc, changed_);
        ReleaseDC(boardArea_, dc);
    }
    changed_ = 0;
}

bool Win32Platform::setupMode() const {
    return SendMessageW(setup_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Platform::setSetupMode(bool setup) {
    SendMessageW(setup_, BM_SETCHECK, setup ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Platform::setBoardEnabled(bool enabled) {
    // A disabled board area keeps the mouse from its controls, which keep their look; but a
    // control that has the keyboard focus would still take Space. So the focus goes to the
    // window while the board is locked, and back where it was afterwards.
    if (!enabled) {
        HWND focus = GetFocus();
        focusBeforeLock_ = focus && IsChild(boardArea_, focus) ? focus : nullptr;
        if (focusBeforeLock_) {
            SetFocus(window_);
        }
    }
    EnableWindow(boardArea_, enabled ? TRUE : FALSE);
    locked_ = !enabled;
    if (enabled) {
        paintChanged();
    }
    if (enabled && focusBeforeLock_) {
        SetFocus(focusBeforeLock_);
        focusBeforeLock_ = nullptr;
    }
}

std::uint32_t Win32Platform::nextRandom() {
    return generator_.next();
}

void Win32Platform::msgBox(const std::string& text) {
    showMessage(window_, text);
}

bool Win32Platform::doEvents() {
    paintChanged();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // for the main loop to see
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

} // namespace veltrin

#include "window/win32/win32platform.h"

#include "window/design.h"
#include "window/win32/application.h"
#include "window/win32/messagebox.h"

#include <algorithm>

namespace veltrin {

void Win32Platform::paintSquare(int p, Colour colour) {
    shown_.at(static_cast<std::size_t>(p)) = colour;
    if (locked_) {
        changed_ |= 1u << p;
    } else { // the square paints every pixel: nothing to erase
        InvalidateRect(controls_.S.at(static_cast<std::size_t>(p)), nullptr, FALSE);
    }
}

bool Win32Platform::setupMode() const {
    return SendMessageW(controls_.Setup, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Platform::setSetupMode(bool setup) {
    SendMessageW(controls_.Setup, BM_SETCHECK, setup ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Platform::lockBoard(bool locked) {
    // A disabled board area keeps the mouse from its controls, which keep their look; but a
    // control that has the keyboard focus would still take Space. So the window holds the
    // focus while the board is locked, and gives it back afterwards; in a window the user has
    // left, it does so when the user comes back.
    keepFocus();
    locked_ = locked;
    EnableWindow(controls_.Picture1, locked ? FALSE : TRUE);
    if (locked) {
        // One refresh of the display the board is on; 60 Hz where the driver does not say.
        HDC dc = GetDC(controls_.Picture1);
        const int hertz = GetDeviceCaps(dc, VREFRESH);
        ReleaseDC(controls_.Picture1, dc);
        frame_ = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) /
                 (hertz > 1 ? hertz : 60);
        nextFrame_ = Clock::now() + frame_;
    } else { // the search's last frame, before its result
        drawChanged();
    }
    if (GetActiveWindow() == controls_.form) {
        restoreFocus();
    }
}

void Win32Platform::keepFocus() {
    HWND focus = GetFocus();
    focus_ = focus && IsChild(controls_.Picture1, focus) ? focus : focus_;
}

void Win32Platform::restoreFocus() {
    // The control that had the focus, or the first one. While the board is locked the window
    // keeps it, so no key reaches a control.
    SetFocus(locked_ ? controls_.form : focus_ ? focus_ : controls_.Command1);
}

void Win32Platform::msgBox(const std::string& text) {
    showMessage(controls_.form, text);
}

bool Win32Platform::doEvents() {
    // The squares at most once a frame, the message pass every trial: input and closing get
    // through at once.
    const Clock::time_point now = Clock::now();
    if (now >= nextFrame_) {
        drawChanged();
        // On the display's beat: a frame drawn a little late does not put off the next.
        nextFrame_ = std::max(nextFrame_ + frame_, now + frame_ / 2);
    }
    handleEvents(controls_.form);
    return true; // closing the window ends the process: no code runs on to be told
}

void Win32Platform::drawChanged() {
    // Invalidating each changed square would cost it a paint message of its own, and under
    // Wine several round trips to the server each; drawing them together on one device
    // context costs one.
    HDC dc = nullptr;
    for (int k = 0; k < squareCount; ++k) {
        if (changed_ & (1u << k)) {
            dc = dc ? dc : GetDCEx(controls_.Picture1, nullptr, DCX_CACHE);
            const design::Rect r = design::toPixels(design::square(k), controls_.dpi);
            SetViewportOrgEx(dc, r.left, r.top, nullptr);
            painter_.draw(dc, k, shown_[static_cast<std::size_t>(k)], 0, controls_.dpi);
        }
    }
    changed_ = 0;
    if (dc) {
        ReleaseDC(controls_.Picture1, dc);
    }
}

} // namespace veltrin

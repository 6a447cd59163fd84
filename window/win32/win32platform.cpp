#include "window/win32/win32platform.h"

#include "window/win32/application.h"
#include "window/win32/form1.h"
#include "window/win32/messagebox.h"

namespace veltrin {

void Win32Platform::paintSquare(int p, Colour colour) {
    form_.setSquareColour(p, colour);
}

bool Win32Platform::setupMode() const {
    return SendMessageW(form_.setupBox(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Platform::setSetupMode(bool setup) {
    SendMessageW(form_.setupBox(), BM_SETCHECK, setup ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Platform::lockBoard(bool locked) {
    form_.lockBoard(locked);
}

void Win32Platform::msgBox(const std::string& text) {
    showMessage(form_.hwnd(), text);
}

bool Win32Platform::doEvents() {
    form_.drawChanged();
    handleEvents(form_.hwnd());
    return true; // closing the window ends the process: no code runs on to be told
}

} // namespace veltrin

#pragma once

// A C++ object behind a window, in the pattern of Windows' own samples: the object is handed
// to CreateWindowExW, stored with the window at WM_NCCREATE, and from then on the class's
// procedure finds it and passes each message to one of its member functions. One object may
// stand behind windows of several classes, each with its own member.

#include "window/fatal.h"
#include "window/win32/application.h"

#include <windows.h>

namespace veltrin {

// The procedure to register for a class whose windows belong to an Object, which handles
// their messages in `handle`. Nothing may unwind through Windows' own frames: an error that
// escapes `handle` ends the program here.
template <class Object, LRESULT (Object::*handle)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* created = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
    }
    auto* self = reinterpret_cast<Object*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    guarded([&] { result = (self->*handle)(hwnd, message, wParam, lParam); }, fatalEnding);
    return result;
}

} // namespace veltrin

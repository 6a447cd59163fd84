#pragma once

// A C++ object behind a window, in the pattern of Windows' own samples: the object is handed
// to CreateWindowExW, stored with the window at WM_NCCREATE, and from then on the class's
// one static procedure finds it and forwards each message to its handleMessage.

#include "window/fatal.h"
#include "window/win32/application.h"

#include <windows.h>

#include <stdexcept>

namespace veltrin {

template <class Derived> class Window {
public:
    HWND hwnd() const { return hwnd_; }

protected:
    // The procedure to register for a class whose windows are Derived objects.
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* created = static_cast<Derived*>(
                reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            created->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) {
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        // Nothing may unwind through Windows' own frames: an error ends the program here.
        LRESULT result = 0;
        guarded([&] { result = self->handleMessage(message, wParam, lParam); }, fatalEnding);
        return result;
    }

    // Makes this object's top-level window, of a class registered with `procedure`.
    void create(const wchar_t* cls, const wchar_t* title, DWORD style, DWORD exStyle,
                HINSTANCE instance) {
        if (!CreateWindowExW(exStyle, cls, title, style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                             nullptr, nullptr, instance, static_cast<Derived*>(this))) {
            throw std::runtime_error("a window could not be created");
        }
    }

private:
    HWND hwnd_ = nullptr;
};

} // namespace veltrin

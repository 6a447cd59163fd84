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
    // Registers a class whose windows send their messages to `Derived::handleMessage`.
    static void registerClass(HINSTANCE instance, const wchar_t* name, HICON icon) {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = procedure;
        cls.hInstance = instance;
        cls.hIcon = icon;
        cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        cls.lpszClassName = name;
        RegisterClassExW(&cls);
    }

    // A window of a class registered above, whose messages this object handles.
    HWND create(const wchar_t* cls, const wchar_t* title, DWORD style, DWORD exStyle, HWND parent,
                HINSTANCE instance) {
        HWND hwnd = CreateWindowExW(exStyle, cls, title, style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                                    parent, nullptr, instance, static_cast<Derived*>(this));
        if (!hwnd) {
            throw std::runtime_error("a window could not be created");
        }
        hwnd_ = parent ? hwnd_ : hwnd;
        return hwnd;
    }

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) {
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        // Nothing may unwind through Windows' own frames: an error ends the program here.
        LRESULT result = 0;
        guarded([&] { result = self->handleMessage(hwnd, message, wParam, lParam); }, fatalEnding);
        return result;
    }

    HWND hwnd_ = nullptr;
};

} // namespace veltrin

#include "window/win32/controls.h"

#include <stdexcept>

namespace veltrin {

std::wstring widen(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = procedure;
    cls.hInstance = instance;
    cls.hIcon = icon;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = name;
    if (!RegisterClassExW(&cls)) {
        throw std::runtime_error("a window class could not be registered");
    }
}

HWND createChild(const wchar_t* cls, std::string_view text, DWORD style, DWORD exStyle, HWND parent,
                 int id, void* object) {
    HWND child = CreateWindowExW(
        exStyle, cls, widen(text).c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), object);
    if (!child) {
        throw std::runtime_error("a control could not be created");
    }
    return child;
}

void place(HWND control, const design::Rect& twips, int dpi) {
    const design::Rect r = design::toPixels(twips, dpi);
    SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT messageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                    static_cast<UINT>(dpi))) {
        return nullptr;
    }
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

} // namespace veltrin

#pragma once

// The few Win32 calls that make and place the window's controls, in our terms: UTF-8 texts
// and places in twips.

#include "window/design.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace veltrin {

// Our texts are UTF-8; Windows' wide calls take UTF-16.
std::wstring widen(std::string_view text);

// Registers a window class of ours, whose windows' messages go to `procedure`.
void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon);

// A child window of `parent` of the class `cls`, with the control identifier `id`; `object`
// is what a class of ours (window.h) finds behind it.
HWND createChild(const wchar_t* cls, std::string_view text, DWORD style, DWORD exStyle, HWND parent,
                 int id, void* object = nullptr);

// Moves and sizes `control` to a place given in twips, at `dpi`.
void place(HWND control, const design::Rect& twips, int dpi);

// The system's message font at `dpi`, as the standard dialogs use; the caller deletes it.
HFONT messageFont(int dpi);

} // namespace veltrin

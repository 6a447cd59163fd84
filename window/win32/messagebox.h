#pragma once

#include <windows.h>

#include <string>

namespace veltrin {

// A modal system message titled "Veltrin" with no icon and an OK button only. `text`
// separates its lines with CR LF. An owner takes no input while it is up. Ctrl+C copies
// exactly the text to the clipboard. Returns once the user has dismissed it.
void showMessage(HWND owner, const std::string& text);

} // namespace veltrin

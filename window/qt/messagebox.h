#pragma once

#include <string>

class QWidget;

namespace veltrin {

// A modal message titled "Veltrin" with no icon and an OK button only. `text` separates its
// lines with CR LF. Ctrl+C copies the exact text to the clipboard on every platform, so the
// user can paste a combination elsewhere. Returns once the user has dismissed it.
void showMessage(QWidget* parent, const std::string& text);

} // namespace veltrin

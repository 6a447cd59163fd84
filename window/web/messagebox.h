#pragma once

#include <string>

namespace veltrin {

// A modal message titled "Veltrin" with an OK button only. `text` separates its lines with
// CR LF. Ctrl+C copies exactly the text. Returns once the user has dismissed it: the C++
// stack waits on the page meanwhile.
void showMessage(const std::string& text);

} // namespace veltrin

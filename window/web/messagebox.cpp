#include "window/web/messagebox.h"

#include "window/web/page.h"

namespace veltrin {

void showMessage(const std::string& text) {
    js_msgBox(text.c_str());
}

} // namespace veltrin

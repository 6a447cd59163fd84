#include "window/web/webplatform.h"

#include "window/web/page.h"

namespace veltrin {

void WebPlatform::paintSquare(int p, Colour colour) {
    js_showSquare(p, colour);
}

void WebPlatform::lockBoard(bool locked) {
    js_lockBoard(locked);
}

void WebPlatform::msgBox(const std::string& text) {
    js_msgBox(text.c_str());
}

} // namespace veltrin

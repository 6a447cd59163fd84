#include "window/web/webplatform.h"

#include "window/design.h"
#include "window/web/page.h"

namespace veltrin {

void WebPlatform::paintSquare(int p, Colour colour) {
    const char* name = design::colourName(colour);
    js_paintSquare(p, colour, name ? name : "");
}

void WebPlatform::setBoardEnabled(bool enabled) {
    js_setBoardEnabled(enabled);
}

void WebPlatform::msgBox(const std::string& text) {
    js_msgBox(text.c_str());
}

bool WebPlatform::doEvents() {
    js_doEvents();
    return true; // a closed tab ends everything: no code runs on to be told
}

} // namespace veltrin

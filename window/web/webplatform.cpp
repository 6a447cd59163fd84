#include "window/web/webplatform.h"

#include "window/web/form1.h"
#include "window/web/messagebox.h"
#include "window/web/page.h"

namespace veltrin {

void WebPlatform::paintSquare(int p, Colour colour) {
    form_.setSquareColour(p, colour);
}

void WebPlatform::lockBoard(bool locked) {
    form_.lockBoard(locked);
}

void WebPlatform::msgBox(const std::string& text) {
    showMessage(text);
}

bool WebPlatform::doEvents() {
    js_doEvents();
    return true; // a closed tab ends everything: no code runs on to be told
}

} // namespace veltrin

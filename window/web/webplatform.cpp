#include "window/web/webplatform.h"

#include "window/design.h"
#include "window/web/page.h"

namespace veltrin {

void WebPlatform::paintSquare(int p, Colour colour) {
    colours_.at(static_cast<std::size_t>(p)) = colour;
    if (locked_) {
        changed_ |= 1u << p; // shown at the next event pass, with the others
        return;
    }
    changed_ = 1u << p;
    paintChanged();
}

void WebPlatform::paintChanged() {
    // One call into the page for all the squares a trial changed, not one for each.
    if (changed_) {
        std::array<const char*, squareCount> names{};
        for (std::size_t k = 0; k < names.size(); ++k) {
            const char* name = design::colourName(colours_[k]);
            names[k] = name ? name : "";
        }
        js_paintSquares(changed_, colours_.data(), names.data());
        changed_ = 0;
    }
}

void WebPlatform::setBoardEnabled(bool enabled) {
    locked_ = !enabled;
    if (enabled) {
        paintChanged();
    }
    js_setBoardEnabled(enabled);
}

void WebPlatform::msgBox(const std::string& text) {
    js_msgBox(text.c_str());
}

bool WebPlatform::doEvents() {
    paintChanged();
    js_doEvents();
    return true; // a closed tab ends everything: no code runs on to be told
}

} // namespace veltrin

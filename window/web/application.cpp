#include "window/web/application.h"

#include "window/web/form1.h"
#include "window/web/page.h"

#include <emscripten/emscripten.h>

namespace veltrin {

const FatalEnding fatalEnding{[](const std::string& text) { js_fatal(text.c_str()); },
                              [](int) { js_stop(); }};

void runApplication() {
    // The page's one window, for as long as the page is open.
    static Form1 form;
    form.startUp();
}

} // namespace veltrin

// The page is built without catching C++ exceptions (see cmake/emscripten.cmake): one that
// is thrown unwinds to the page as it is, and application.js hands it back here.
EMSCRIPTEN_KEEPALIVE void veltrin_fatal(const std::exception* thrown) {
    veltrin::fatalError(thrown ? thrown->what() : "unknown exception", veltrin::fatalEnding);
}

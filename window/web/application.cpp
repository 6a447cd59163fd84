#include "window/web/application.h"

#include "window/design.h"
#include "window/language.h"
#include "window/web/form1.h"
#include "window/web/page.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace veltrin {

const FatalEnding fatalEnding{[](const std::string& text) { js_fatal(text.c_str()); },
                              [](int) { js_stop(); }};

void runApplication() {
    char* asked = js_wantedLanguages();
    std::vector<std::string> wanted;
    for (std::string_view rest = asked; !rest.empty();) {
        const std::size_t end = std::min(rest.find(','), rest.size());
        wanted.emplace_back(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    std::free(asked);
    js_speak(chooseLanguage(wanted).c_str(), translate(design::okCaption));
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

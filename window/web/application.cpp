#include "window/web/application.h"

#include "window/web/form1.h"
#include "window/web/page.h"

namespace veltrin {

const FatalEnding fatalEnding{[](const std::string& text) { js_fatal(text.c_str()); },
                              [](int) { js_stop(); }};

void runApplication() {
    guarded(
        [] {
            // The page's one window, for as long as the page is open.
            static Form1 form;
            form.startUp();
            form.show();
        },
        fatalEnding);
}

} // namespace veltrin

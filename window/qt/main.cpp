#include "window/language.h"
#include "window/qt/application.h"
#include "window/qt/commandline.h"
#include "window/qt/form1.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    veltrin::chooseLanguage(veltrin::languagesFromEnvironment());
    if (const auto status = veltrin::handleCommandLine(argc, argv)) {
        return *status;
    }
    veltrin::Application app(argc, argv);
    veltrin::Form1 form;
    const int status = app.run(form);
    // Qt 6.4's Wayland client can deadlock tearing its display down (its destructor waits for
    // the event thread, which waits for this one), leaving a process with no window that
    // never ends. Closing ends the program at once and there is nothing to save, so on
    // Wayland it ends here, without the teardown.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

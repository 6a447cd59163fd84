#include "window/win32/application.h"

#include "window/win32/form1.h"
#include "window/win32/messagebox.h"

#include <commctrl.h>

#include <exception>

namespace veltrin {

int runApplication(HINSTANCE instance, int show) {
    try {
        // The manifest asks for version 6 of the common controls, which draw the buttons in
        // the system's current style; they must be loaded before the first one is made.
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        Form1 form(instance);
        form.startUp();
        form.show(show);
        return form.messageLoop();
    } catch (const std::exception& e) {
        fatalError(e.what());
    }
}

} // namespace veltrin

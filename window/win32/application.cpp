#include "window/win32/application.h"

#include "window/win32/form1.h"
#include "window/win32/messagebox.h"

#include <commctrl.h>

#include <optional>

namespace veltrin {

const FatalEnding fatalEnding{[](const std::string& text) { showMessage(nullptr, text); },
                              endProgram};

void endProgram(int status) {
    ExitProcess(static_cast<UINT>(status));
}

void runApplication(HINSTANCE instance, int show) {
    // The manifest asks for version 6 of the common controls, which draw the buttons in the
    // system's current style; they must be loaded before the first one is made.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    std::optional<Form1> form;
    guarded(
        [&] {
            form.emplace(instance);
            form->startUp();
            form->show(show);
        },
        fatalEnding); // an error here ends the program: the loop below always has the window
    for (;;) {        // until the window's close ends the process
        handleEvents(form->hwnd());
        // Until something is in the queue, seen before or not.
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void handleEvents(HWND form) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageW(form, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

} // namespace veltrin

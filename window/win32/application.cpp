#include "window/win32/application.h"

#include "window/language.h"
#include "window/win32/form1.h"
#include "window/win32/messagebox.h"

#include <commctrl.h>

#include <optional>
#include <string>

namespace veltrin {

const FatalEnding fatalEnding{[](const std::string& text) { showMessage(nullptr, text); },
                              endProgram};

void endProgram(int status) {
    ExitProcess(static_cast<UINT>(status));
}

namespace {

// The user's display language, as Windows names it ("pl-PL"); under Wine, that of its locale.
std::string displayLanguage() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
    const int length = LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                                        LOCALE_NAME_MAX_LENGTH, 0);
    return std::string(name, name + (length > 0 ? length - 1 : 0)); // its names are ASCII
}

} // namespace

void runApplication(HINSTANCE instance, int show) {
    chooseLanguage({displayLanguage()});
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

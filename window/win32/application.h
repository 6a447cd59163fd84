#pragma once

#include "window/fatal.h"

#include <windows.h>

namespace veltrin {

// The whole program: the start-up message, then the window, then its input until the user
// closes it, which ends the process.
[[noreturn]] void runApplication(HINSTANCE instance, int show);

// Handles every message waiting for this thread, and returns. The program's one message
// pump: the window idles in it between events and a search passes through it once a trial.
// `form` gets the dialog keys: Tab and Shift+Tab between its controls, Space on a button.
void handleEvents(HWND form);

// Ends the program at once with `status`: nothing of it runs on, not even a search that is
// waiting in its event pass.
[[noreturn]] void endProgram(int status);

// How the Windows front end reports an error that no handler caught, and ends.
extern const FatalEnding fatalEnding;

} // namespace veltrin

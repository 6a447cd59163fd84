#pragma once

#include "window/fatal.h"

#include <windows.h>

namespace veltrin {

// The whole program: the start-up message, then the window, then its input until the user
// closes it. Returns the exit status.
int runApplication(HINSTANCE instance, int show);

// Ends the program at once with `status`: nothing of it runs on, not even a search that is
// waiting in its event pass.
[[noreturn]] void endProgram(int status);

// How the Windows front end reports an error that no handler caught, and ends.
extern const FatalEnding fatalEnding;

} // namespace veltrin

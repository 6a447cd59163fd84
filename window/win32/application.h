#pragma once

#include <windows.h>

namespace veltrin {

// The whole program: the start-up message, then the window, then its input until the user
// closes it. Returns the exit status.
int runApplication(HINSTANCE instance, int show);

} // namespace veltrin

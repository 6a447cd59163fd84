#pragma once

#include "window/fatal.h"

namespace veltrin {

// Builds the window, shows the start-up message and then the window. From then on the page
// calls in through the functions form1.cpp exports, for as long as it is open.
void runApplication();

// How the page reports an error that no handler caught, and ends: the report is shown and
// the page takes no more input.
extern const FatalEnding fatalEnding;

} // namespace veltrin

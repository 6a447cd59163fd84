#pragma once

#include "window/fatal.h"

#include <exception>

namespace veltrin {

// Builds the window and shows the start-up message; the window comes once it is dismissed.
// From then on the page calls in through the functions form1.cpp exports, for as long as it
// is open.
void runApplication();

// How the page reports an error that no handler caught, and ends: the report is shown and
// the page takes no more input.
extern const FatalEnding fatalEnding;

} // namespace veltrin

extern "C" {
// The page's guard: an error that escaped C++ (`thrown`, the C++ exception, or null for
// anything else) reaches the page's error handler, which reports it through here.
void veltrin_fatal(const std::exception* thrown);
}

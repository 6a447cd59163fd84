#pragma once

namespace veltrin {

// Builds the page's window, shows the start-up message and then the window. The board and
// the Solve button then call in through the functions exported from application.cpp.
void startUp();

} // namespace veltrin

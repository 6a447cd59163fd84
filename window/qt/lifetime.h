#pragma once

namespace veltrin {

// Ends the program: every event loop returns, with `code` as the exit status, and
// programEnding() is true from then on so that code still on the stack (a search waiting
// in its event pass) stops instead of carrying on.
void endProgram(int code);
bool programEnding();
int programExitCode();

} // namespace veltrin

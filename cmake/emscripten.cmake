# Builds for the browser with Debian's Emscripten, and runs the results (the core's tests)
# under Node.js.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# Emscripten 3.1.6's output defines its own fetch, which Node.js 18 and later refuse unless
# their own is switched off.
find_program(VELTRIN_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VELTRIN_NODE} --no-experimental-fetch)

# C++ exceptions are caught only where the tests are built (tests/CMakeLists.txt): Emscripten
# leaves catching them out by default, and the tests expect to catch the board's errors. The
# page does without: catching puts a JavaScript wrapper around every call that may throw,
# millions of them in a search; its fatal report is raised from the page's own error handler
# instead.

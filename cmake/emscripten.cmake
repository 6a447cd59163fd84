# Builds for the browser with Debian's Emscripten, and runs the results (the core's tests)
# under Node.js.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# Emscripten 3.1.6's output defines its own fetch, which Node.js 18 and later refuse unless
# their own is switched off.
find_program(VELTRIN_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VELTRIN_NODE} --no-experimental-fetch)

# C++ exceptions, as on every other platform: Emscripten leaves catching them out by default,
# and then an error the board reports could not be caught and reported.
set(CMAKE_CXX_FLAGS_INIT -fexceptions)
set(CMAKE_EXE_LINKER_FLAGS_INIT -fexceptions)

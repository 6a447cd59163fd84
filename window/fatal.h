#pragma once

// The last word on an error that no handler caught, for every front end: the user is told,
// then the program ends with status 1. Nothing may unwind into a toolkit's own frames, so
// each front end runs its handlers through `guarded` at the point where the toolkit calls in.

#include "window/language.h"

#include <exception>
#include <string>

namespace veltrin {

// A front end's way to end after such an error: `report` shows the text (CR LF between
// lines) and returns once the user has read it, or at once where it cannot wait; `end`
// stops the program with the given status.
struct FatalEnding {
    void (*report)(const std::string& text);
    void (*end)(int status);
};

// Reports `what` and ends. An error met while the report is up ends the program all the
// same, without a second report on top of the first.
inline void fatalError(const char* what, const FatalEnding& ending) {
    static bool reporting = false;
    if (!reporting) {
        reporting = true;
        ending.report(fatalReport(what));
    }
    ending.end(1);
}

// Runs `handler`; an error that escapes it is the program's last.
template <class Handler> void guarded(Handler&& handler, const FatalEnding& ending) {
    try {
        handler();
    } catch (const std::exception& e) {
        fatalError(e.what(), ending);
    } catch (...) {
        fatalError("unknown exception", ending);
    }
}

} // namespace veltrin

#pragma once

#include "board/board.h"
#include "window/language.h"
#include "window/web/webplatform.h"

#include <string>

extern "C" {
void veltrin_pressSquare(int k);
bool veltrin_solve();
bool veltrin_trial();
void veltrin_messageDone();
}

namespace veltrin {

// The one window, built on the page: the nine squares and the Solve button on the board
// area. It owns the board and the last search's move record; the page keeps what the
// squares show. The page calls in through the functions exported below, each of which
// returns at once; an error that escapes them reaches the page's error handler
// (application.js).
class Form1 {
public:
    // Builds the window on the page, hidden.
    Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the start-up message; the window is shown once it has been dismissed.
    void startUp();

private:
    friend void ::veltrin_pressSquare(int k);
    friend bool ::veltrin_solve();
    friend bool ::veltrin_trial();
    friend void ::veltrin_messageDone();

    WebPlatform platform_;
    Board board_{platform_};
    std::string solution_;
    const Words words_ = combinationWords(); // the result message's, in the user's language
    bool shown_ = false;
};

} // namespace veltrin

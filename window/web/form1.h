#pragma once

#include "board/board.h"
#include "window/web/webplatform.h"

#include <string>

extern "C" {
void veltrin_pressSquare(int k);
void veltrin_solve();
}

namespace veltrin {

// The one window, built on the page: the nine squares and the Solve button on the board
// area. It owns the board and the last search's move record; the page keeps what the
// squares show.
// The page's clicks reach it through the two exported functions; an error that escapes them
// reaches the page's error handler (application.js).
class Form1 {
public:
    // Builds the window on the page, hidden.
    Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the start-up message; the window is to be shown once it has returned.
    void startUp();
    void show();

    // What the platform operations act on.
    void setSquareColour(int p, Colour colour);
    void lockBoard(bool locked);

private:
    friend void ::veltrin_pressSquare(int k);
    friend void ::veltrin_solve();

    WebPlatform platform_{*this};
    Board board_{platform_};
    std::string solution_;
};

} // namespace veltrin

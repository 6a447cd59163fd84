#pragma once

#include "board/board.h"
#include "window/language.h"
#include "window/win32/win32platform.h"

#include <windows.h>

#include <string>

namespace veltrin {

// The one window: the nine squares and the Solve button on the board area, and the hidden
// box that holds the press mode. It lays them out at the DPI, handles the window's messages
// and those of the board area, and owns the platform, the board and the last search's move
// record.
class Form1 {
public:
    // Creates the window and its controls, hidden.
    explicit Form1(HINSTANCE instance);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the start-up message; the window is to be shown once it has returned.
    void startUp();
    void show(int how);

    HWND hwnd() const { return controls_.form; }

    // The move record of the last search, one digit per press.
    const std::string& solution() const { return solution_; }

private:
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Picture1's procedure: what its children, the squares and Solve, tell it.
    LRESULT picture1Message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void layout(int dpi);

    Controls controls_;
    HFONT font_ = nullptr;
    Win32Platform platform_{controls_};
    Board board_{platform_};
    std::string solution_;
    const Words words_ = combinationWords(); // the result message's, in the user's language
};

} // namespace veltrin

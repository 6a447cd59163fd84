#pragma once

#include "board/board.h"
#include "window/win32/win32platform.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>

namespace veltrin {

// The one window: the nine squares and the Solve button on the board area, and the hidden
// box that holds the press mode. It owns the board and the last search's move record.
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

    // Handles the user's input until the program ends.
    int messageLoop();

    HWND hwnd() const { return hwnd_; }

    // The move record of the last search, one digit per press.
    const std::string& solution() const { return solution_; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id, int code);
    void onActivate(bool active);
    void onDpiChanged(int dpi, const RECT& suggested);
    void drawSquare(const DRAWITEMSTRUCT& item) const;
    void fillSquare(HDC dc, RECT r, Colour colour, int border) const;
    static void paintSquares(void* form, HDC dc, unsigned squares);
    void layout(int dpi);
    void solve();
    [[noreturn]] void closeDown();

    HWND hwnd_ = nullptr;
    HWND Picture1 = nullptr;
    std::array<HWND, squareCount> S{};
    HWND Command1 = nullptr;
    HWND Setup = nullptr;
    HWND focus_ = nullptr; // the control to give the focus back to when the window is active
    HFONT font_ = nullptr;
    HBRUSH frameBrush_ = nullptr;
    std::array<HBRUSH, colors.size()> colourBrushes_{};
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::unique_ptr<Win32Platform> platform_;
    std::unique_ptr<Board> board_;
    std::string solution_;
};

} // namespace veltrin

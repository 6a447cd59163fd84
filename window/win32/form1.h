#pragma once

#include "board/board.h"
#include "window/win32/square.h"
#include "window/win32/win32platform.h"
#include "window/win32/window.h"

#include <windows.h>

#include <array>
#include <string>

namespace veltrin {

// The one window: the nine squares and the Solve button on the board area, and the hidden
// box that holds the press mode. It owns the board, the colours its squares show and the
// last search's move record.
class Form1 : public Window<Form1> {
public:
    // Creates the window and its controls, hidden.
    explicit Form1(HINSTANCE instance);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the start-up message; the window is to be shown once it has returned.
    void startUp();
    void show(int how);

    // The move record of the last search, one digit per press.
    const std::string& solution() const { return solution_; }

    // What the platform operations act on.
    HWND setupBox() const { return Setup; }
    void setSquareColour(int p, Colour colour);
    void lockBoard(bool locked);
    void drawChanged();

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void onCommand(int id, int code);
    void onDrawItem(const DRAWITEMSTRUCT& item);
    void onActivate(bool active);
    void onDpiChanged(int dpi, const RECT& suggested);
    void layout(int dpi);
    void keepFocus();    // notes the control that has the focus, if one has
    void restoreFocus(); // gives it back, or the window keeps it while the board is locked
    [[noreturn]] void closeDown();

    HWND Picture1 = nullptr;
    std::array<HWND, squareCount> S{};
    HWND Command1 = nullptr;
    HWND Setup = nullptr;
    HWND focus_ = nullptr; // the control that gets the focus back, after a search or away
    HFONT font_ = nullptr;
    SquarePainter painter_;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    // While locked, the board takes no input, and a changed square is only noted in
    // `changed_` (a bit per square): a search changes up to five squares a trial, tens of
    // thousands of trials in a row, and those it touched are drawn together at the next
    // event pass, once each, however often they changed.
    bool locked_ = false;
    std::array<Colour, squareCount> colours_{}; // what each square shows
    unsigned changed_ = 0;
    Win32Platform platform_{*this};
    Board board_{platform_};
    std::string solution_;
};

} // namespace veltrin

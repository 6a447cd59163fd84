#pragma once

// The calls into the page, implemented in library.js. All DOM work is on that side; the page
// calls back only through the functions exported by main.cpp.

extern "C" {
// Builds the window, hidden: its title, the Solve button's caption, and the places of the
// board area, the squares and the button in CSS pixels (left, top, width, height each);
// `squareNames` and `tabOrder` are as in the design, `order` holding squares by index and
// the Solve button as -1.
void js_createWindow(const char* title, const char* solveCaption, const int* client,
                     const int* board, const int* squares, const int* button,
                     const char* const* squareNames, const int* order, int orderLength);
void js_showWindow();
// Each square k whose bit is set in `squares` shows colours[k] (0x00BBGGRR), and a screen
// reader tells it by names[k].
void js_paintSquares(unsigned squares, const int* colours, const char* const* names);
void js_setBoardEnabled(bool enabled);
// A modal message titled as the application, with an OK button; returns once dismissed.
void js_msgBox(const char* text);
// One pass of the browser's event loop: repaints, input, then back.
void js_doEvents();
// Shows the report and stops the page.
void js_fatal(const char* report);
}

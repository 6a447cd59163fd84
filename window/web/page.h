#pragma once

// Every call the C++ side makes into the page, each implemented in the JavaScript file named
// above it (passed to Emscripten with --js-library). All DOM work is on that side, and none of
// these waits. The page calls back only through the functions form1.cpp exports (a click on a
// square, Solve, each trial of a search, a message dismissed) and veltrin_fatal
// (application.cpp), for an error that escaped C++. Places and sizes are CSS pixels; colours
// 0x00BBGGRR.

extern "C" {
// ---- form1.js: the window and its controls ----------------------------------------------
void js_setWindow(const char* title, int width, int height);
void js_addBoardArea(int left, int top, int width, int height);
// Controls are added in keyboard order; where two overlap, the one added first lies on top.
void js_addSquare(int k, int left, int top, int width, int height, const char* name);
void js_addButton(const char* caption, int left, int top, int width, int height);
// A colour of the board's table, with what a screen reader calls it and whether the focus
// mark on it is white: given once, at start.
void js_addColour(int colour, const char* name, bool whiteFocusMark);
void js_showSquare(int k, int colour);
void js_lockBoard(bool locked);
void js_showWindow();

// ---- messagebox.js: the modal message ---------------------------------------------------
// Titled as the application, with an OK button; veltrin_messageDone once it is dismissed.
void js_msgBox(const char* text);
// Shows the report of an error no handler caught; the page is cleared once it is read.
void js_fatal(const char* report);

// ---- application.js: the page's event loop and language ---------------------------------
// The languages the user asks for, most wanted first, separated by commas: the address's
// ?lang= first, then the browser's. UTF-8, from malloc: the caller frees it.
char* js_wantedLanguages();
// The page speaks the language of `tag` (one of those Veltrin speaks): its lang, its
// manifest, and `ok`, the caption of a message's button.
void js_speak(const char* tag, const char* ok);
// The page takes no more input: the program has ended.
void js_stop();
}

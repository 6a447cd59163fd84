#include "window/web/form1.h"

#include "solver/solver.h"
#include "solver/summary.h"
#include "window/design.h"
#include "window/language.h"
#include "window/web/page.h"

#include <emscripten/emscripten.h>

namespace veltrin {

namespace {

Form1* shown = nullptr; // the page's window, once built

// Twips as CSS pixels: 15 to the pixel, as at 96 DPI; the browser scales for dense screens.
design::Rect pixels(const design::Rect& twips) {
    return design::toPixels(twips, 96);
}

} // namespace

Form1::Form1() {
    const design::Rect client = pixels({0, 0, design::clientWidth, design::clientHeight});
    js_setWindow(translate(design::windowTitle), client.width, client.height);
    for (std::size_t v = 0; v < colors.size(); ++v) {
        js_addColour(colors[v], translate(design::colourName(colors[v])),
                     design::whiteFocusMarkOn(colors[v]));
    }
    const design::Rect area = pixels(design::picture1);
    js_addBoardArea(area.left, area.top, area.width, area.height);
    for (const int control : design::tabOrder) {
        if (control == design::solveButton) {
            const design::Rect r = pixels(design::command1);
            js_addButton(translate(design::solveCaption), r.left, r.top, r.width, r.height);
        } else {
            // Named as the combination names it: this is what a screen reader reads.
            const design::Rect r = pixels(design::square(control));
            js_addSquare(control, r.left, r.top, r.width, r.height,
                         translate(squareNames[static_cast<std::size_t>(control)].data()));
            js_showSquare(control, colors[0]); // the squares are created red
        }
    }
    shown = this;
}

void Form1::startUp() {
    platform_.msgBox(startUpText());
}

} // namespace veltrin

// The page's calls: a click on a square and on the Solve button, each task of a search, and
// a message dismissed. The page makes none of them while a search or a message is on, as a
// disabled board and a modal message take no input.
extern "C" {

EMSCRIPTEN_KEEPALIVE void veltrin_pressSquare(int k) {
    veltrin::shown->board_.pressSquare(k);
}

// Solve, then one trial a task for as long as each says the search goes on.
EMSCRIPTEN_KEEPALIVE bool veltrin_solve() {
    auto& form = *veltrin::shown;
    return veltrin::beginSearch(form.board_, form.platform_, form.solution_, form.words_);
}

EMSCRIPTEN_KEEPALIVE bool veltrin_trial() {
    auto& form = *veltrin::shown;
    return veltrin::nextTrial(form.board_, form.platform_, form.solution_, form.words_);
}

// The start-up message dismissed shows the window; the result's leaves the page as it is.
EMSCRIPTEN_KEEPALIVE void veltrin_messageDone() {
    auto& form = *veltrin::shown;
    if (!form.shown_) {
        form.shown_ = true;
        js_showWindow();
    }
}
}

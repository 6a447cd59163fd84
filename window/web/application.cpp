#include "window/web/application.h"

#include "solver/solver.h"
#include "solver/summary.h"
#include "window/design.h"
#include "window/web/page.h"
#include "window/web/webplatform.h"

#include <emscripten/emscripten.h>

#include <array>
#include <exception>
#include <string>

namespace veltrin {

namespace {

// The window's state, for the life of the page.
WebPlatform platform;
Board board{platform};
std::string solution;

// Nothing may unwind into the page: an error is reported there, and the page stops.
template <class Handler> void guarded(Handler handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        js_fatal(design::fatalReport(e.what()).c_str());
    } catch (...) {
        js_fatal(design::fatalReport("unknown exception").c_str());
    }
}

// Twips as CSS pixels: 15 to the pixel, as at 96 DPI; the browser scales for dense screens.
std::array<int, 4> pixels(const design::Rect& twips) {
    const design::Rect r = design::toPixels(twips, 96);
    return {r.left, r.top, r.width, r.height};
}

} // namespace

void startUp() {
    guarded([] {
        const auto client = pixels({0, 0, design::clientWidth, design::clientHeight});
        const auto area = pixels(design::picture1);
        const auto button = pixels(design::command1);
        std::array<int, 4 * squareCount> squares{};
        std::array<const char*, squareCount> names{};
        for (int k = 0; k < squareCount; ++k) {
            const auto r = pixels(design::square(k));
            std::copy(r.begin(), r.end(), squares.begin() + 4 * k);
            names[static_cast<std::size_t>(k)] = squareNames[static_cast<std::size_t>(k)].data();
        }
        js_createWindow(design::windowTitle, design::solveCaption, client.data(), area.data(),
                        squares.data(), button.data(), names.data(), design::tabOrder.data(),
                        static_cast<int>(design::tabOrder.size()));
        platform.msgBox(design::startUpText);
        js_showWindow();
    });
}

} // namespace veltrin

// The page's way in: a click on a square, and on the Solve button.
extern "C" {

EMSCRIPTEN_KEEPALIVE void veltrin_pressSquare(int k) {
    veltrin::guarded([k] { veltrin::board.pressSquare(k); });
}

EMSCRIPTEN_KEEPALIVE void veltrin_solve() {
    veltrin::guarded([] { veltrin::solve(veltrin::board, veltrin::platform, veltrin::solution); });
}
}

#include "window/win32/square.h"

#include "board/board.h"
#include "window/design.h"

namespace veltrin {

SquarePainter::SquarePainter() : frame_(CreateSolidBrush(RGB(64, 64, 64))) {
    static_assert(std::tuple_size_v<decltype(colours_)> == colors.size());
    for (std::size_t v = 0; v < colors.size(); ++v) {
        colours_[v] = CreateSolidBrush(static_cast<COLORREF>(colors[v])); // both 0x00BBGGRR
    }
}

SquarePainter::~SquarePainter() {
    DeleteObject(frame_);
    for (HBRUSH brush : colours_) {
        DeleteObject(brush);
    }
}

void SquarePainter::draw(HDC dc, int k, Colour colour, UINT state, int dpi) const {
    const design::Rect size = design::toPixels(design::square(k), dpi);
    const design::Rect shown = design::toPixels(design::exposed(k), dpi);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, shown.width, shown.height);

    RECT r{0, 0, size.width, size.height};
    FillRect(dc, &r, frame_);
    const int border = MulDiv((state & ODS_SELECTED) ? 2 : 1, dpi, USER_DEFAULT_SCREEN_DPI);
    InflateRect(&r, -border, -border);
    FillRect(dc, &r, colours_.at(design::colourIndex(colour)));

    if ((state & ODS_FOCUS) && !(state & ODS_NOFOCUSRECT)) {
        RECT mark{0, 0, size.width, size.height};
        const int inset = MulDiv(4, dpi, USER_DEFAULT_SCREEN_DPI);
        InflateRect(&mark, -inset, -inset);
        DrawFocusRect(dc, &mark);
    }
    RestoreDC(dc, saved);
}

} // namespace veltrin

#pragma once

#include "board/platform.h"

#include <QAbstractButton>

namespace veltrin {

// One square of the board: a push button that is nothing but its colour. It paints itself
// directly, opaque and edge to edge, so that neither the style nor a disabled state can
// tint it, and so that a repaint during a search costs as little as possible.
class Square : public QAbstractButton {
    Q_OBJECT

public:
    // Square `index`, of which `exposed` is the part not covered by the widgets stacked above
    // it. A colour change repaints only this part, so that it does not drag the overlapping
    // neighbours (or the Solve button) into every repaint of a search.
    Square(int index, const QRect& exposed, QWidget* parent);

    // Shows `colour` from the next repaint on. `now`: that repaint is asked for at once; a
    // search asks for it itself (redraw), once a frame.
    void setColour(Colour colour, bool now = true);
    Colour colour() const { return colour_; }
    // Asks for that repaint, or with `now` paints at once (the last frame of a search).
    void redraw(bool now = false);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Colour colour_;
    const QRect exposed_;
};

// A stored colour (0x00BBGGRR) as Qt's colour type.
QColor toQColor(Colour colour);

} // namespace veltrin

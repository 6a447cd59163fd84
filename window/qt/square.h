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
    Square(int index, QWidget* parent);

    void setColour(Colour colour);
    Colour colour() const { return colour_; }

    // The part of the square not covered by widgets stacked above it. A colour change
    // repaints only this part, so that it does not drag the overlapping neighbours (or the
    // Solve button) into every repaint of a search.
    void setExposedRect(const QRect& rect) { exposed_ = rect; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Colour colour_;
    QRect exposed_;
};

// A stored colour (0x00BBGGRR) as Qt's colour type.
QColor toQColor(Colour colour);

} // namespace veltrin

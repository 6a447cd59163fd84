#include "window/square.h"

#include "board/board.h"

#include <QPainter>

#include <array>

namespace veltrin {

namespace {

// The names of the squares as the combination message gives them.
const std::array<const char*, squareCount> accessibleNames{
    "Top left",     "Top middle",  "Top right",     "Middle left", "Middle center",
    "Middle right", "Bottom left", "Bottom center", "Bottom right"};

} // namespace

QColor toQColor(Colour colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QString colourName(Colour colour) {
    static const std::array<QString, 3> names{QStringLiteral("red"), QStringLiteral("blue"),
                                              QStringLiteral("white")};
    for (std::size_t v = 0; v < colors.size(); ++v) {
        if (colors[v] == colour) {
            return names[v];
        }
    }
    return toQColor(colour).name();
}

Square::Square(int index, QWidget* parent) : QAbstractButton(parent), colour_(colors[0]) {
    setObjectName(QStringLiteral("S%1").arg(index));
    setAccessibleName(QString::fromLatin1(accessibleNames.at(static_cast<std::size_t>(index))));
    setAccessibleDescription(colourName(colour_));
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted in paintEvent: no background needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Square::setColour(Colour colour) {
    colour_ = colour;
    setAccessibleDescription(colourName(colour));
    update();
}

void Square::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor fill = toQColor(colour_);
    painter.fillRect(rect(), fill);

    // A thin frame keeps neighbouring squares of one colour apart; it thickens while the
    // square is held down, as a button's bevel would.
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (isDown()) {
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }

    if (hasFocus()) {
        // A dotted mark that stays readable on all three colours.
        const bool dark = qGray(fill.rgb()) < 64;
        painter.setPen(QPen(dark ? Qt::white : Qt::black, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(4, 4, -5, -5));
    }
}

} // namespace veltrin

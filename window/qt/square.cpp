#include "window/qt/square.h"

#include "board/board.h"
#include "solver/summary.h"
#include "window/design.h"
#include "window/language.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

#include <array>

namespace veltrin {

namespace {

// What assistive technology sees of a square: a button named after its place, whose
// description is its colour, read when asked rather than pushed on every change (a search
// changes colours tens of thousands of times).
class SquareAccessible : public QAccessibleWidget {
public:
    explicit SquareAccessible(Square* square) : QAccessibleWidget(square, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) {
            const Colour colour = static_cast<const Square*>(widget())->colour();
            return QString::fromUtf8(translate(design::colourName(colour)));
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction()) {
            if (widget()->isEnabled()) {
                static_cast<Square*>(widget())->click();
            }
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* squareAccessible(const QString&, QObject* object) {
    if (auto* square = qobject_cast<Square*>(object)) {
        return new SquareAccessible(square);
    }
    return nullptr;
}

} // namespace

QColor toQColor(Colour colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Square::Square(int index, const QRect& exposed, QWidget* parent)
    : QAbstractButton(parent), colour_(colors[0]), exposed_(exposed) {
    setObjectName(QStringLiteral("S%1").arg(index));
    static const bool factoryInstalled = (QAccessible::installFactory(squareAccessible), true);
    Q_UNUSED(factoryInstalled);
    // Named as the combination message names it.
    setAccessibleName(
        QString::fromUtf8(translate(squareNames.at(static_cast<std::size_t>(index)).data())));
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted in paintEvent: no background needs clearing first, and nothing
    // beneath needs repainting. Qt 6.4 takes the square for opaque only once it re-evaluates
    // opacity, which setting autoFillBackground does; the fill itself is then skipped.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(true);
}

void Square::setColour(Colour colour, bool now) {
    colour_ = colour;
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (now) {
        update(exposed_);
    }
}

void Square::redraw(bool now) {
    if (now) {
        repaint(exposed_);
    } else {
        update(exposed_);
    }
}

void Square::changeEvent(QEvent* event) {
    // A square looks the same enabled or not: a search locks the board, and the user watches
    // it through the squares. So the lock repaints nothing (Qt would repaint every square);
    // what a search changed it draws itself, its last frame as it unlocks the board.
    if (event->type() == QEvent::EnabledChange) {
        setDown(false);
        return;
    }
    QAbstractButton::changeEvent(event);
}

void Square::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor fill = toQColor(colour_);
    // A thin frame keeps neighbouring squares of one colour apart; it thickens while the
    // square is held down, as a button's bevel would. Filled rather than stroked: this runs
    // for every press of a search.
    const int border = isDown() ? 2 : 1;
    painter.fillRect(rect(), QColor(64, 64, 64));
    painter.fillRect(rect().adjusted(border, border, -border, -border), fill);

    if (hasFocus()) {
        painter.setPen(
            QPen(design::whiteFocusMarkOn(colour_) ? Qt::white : Qt::black, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(4, 4, -5, -5));
    }
}

} // namespace veltrin

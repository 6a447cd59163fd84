#pragma once

#include <QFont>
#include <QPixmap>
#include <QPushButton>

namespace veltrin {

// A push button that looks the same whether enabled or not. The board is disabled during a
// search only to keep input out; the user should see the window as it was, not a greyed one.
//
// It also keeps its last rendering: the bottom row of squares overlaps it by a pixel, so
// every press there during a search repaints a strip of it, and drawing a styled button with
// its text each time would cost more than the squares themselves.
class SteadyButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Everything the style draws the button from: any change renders it afresh.
    struct Look {
        unsigned state = 0;
        unsigned features = 0;
        qint64 palette = 0;
        QString text;
        QFont font;
        QSize size;
        qreal ratio = 0;
        bool operator==(const Look&) const = default;
    };

    QPixmap cache_;
    Look cached_;
};

} // namespace veltrin

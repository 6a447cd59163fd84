#pragma once

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
    QPixmap cache_;
    QString cacheKey_;
};

} // namespace veltrin

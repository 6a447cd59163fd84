#include "window/steadybutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace veltrin {

void SteadyButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.state |= QStyle::State_Enabled;
    option.palette.setCurrentColorGroup(isActiveWindow() ? QPalette::Active : QPalette::Inactive);
    painter.drawControl(QStyle::CE_PushButton, option);
}

} // namespace veltrin

#include "window/qt/steadybutton.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace veltrin {

void SteadyButton::paintEvent(QPaintEvent*) {
    QStyleOptionButton option;
    initStyleOption(&option);
    option.state |= QStyle::State_Enabled;
    option.palette.setCurrentColorGroup(isActiveWindow() ? QPalette::Active : QPalette::Inactive);

    const Look look{option.state.toInt(),
                    option.features.toInt(),
                    option.palette.cacheKey(),
                    option.text,
                    font(),
                    size(),
                    devicePixelRatioF()};
    if (cache_.isNull() || look != cached_) {
        cache_ = QPixmap(look.size * look.ratio);
        cache_.setDevicePixelRatio(look.ratio);
        cache_.fill(Qt::transparent);
        QStylePainter painter(&cache_, this);
        painter.drawControl(QStyle::CE_PushButton, option);
        cached_ = look;
    }
    QPainter(this).drawPixmap(0, 0, cache_);
}

} // namespace veltrin

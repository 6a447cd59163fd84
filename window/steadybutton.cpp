#include "window/steadybutton.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace veltrin {

void SteadyButton::paintEvent(QPaintEvent*) {
    QStyleOptionButton option;
    initStyleOption(&option);
    option.state |= QStyle::State_Enabled;
    option.palette.setCurrentColorGroup(isActiveWindow() ? QPalette::Active : QPalette::Inactive);

    // Everything the style draws from, so that any change renders afresh.
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("%1 %2 %3 %4 %5 %6")
                            .arg(option.state.toInt())
                            .arg(option.features.toInt())
                            .arg(option.palette.cacheKey())
                            .arg(option.text)
                            .arg(ratio)
                            .arg(QStringLiteral("%1x%2").arg(width()).arg(height()));
    if (key != cacheKey_) {
        cache_ = QPixmap(size() * ratio);
        cache_.setDevicePixelRatio(ratio);
        cache_.fill(Qt::transparent);
        QStylePainter painter(&cache_, this);
        painter.drawControl(QStyle::CE_PushButton, option);
        cacheKey_ = key;
    }
    QPainter(this).drawPixmap(0, 0, cache_);
}

} // namespace veltrin

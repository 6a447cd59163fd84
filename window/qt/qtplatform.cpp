#include "window/qt/qtplatform.h"

#include "window/qt/application.h"
#include "window/qt/messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QScreen>

#include <algorithm>

namespace veltrin {

QtPlatform::QtPlatform(const std::array<Square*, squareCount>& squares, QCheckBox* setup,
                       QWidget* boardArea, QWidget* window)
    : squares_(squares), setup_(setup), boardArea_(boardArea), window_(window) {}

void QtPlatform::paintSquare(int p, Colour colour) {
    squares_.at(static_cast<std::size_t>(p))->setColour(colour, !locked_);
    changed_ |= locked_ ? 1u << p : 0u;
}

void QtPlatform::redrawChanged(bool now) {
    for (int k = 0; k < squareCount; ++k) {
        if (changed_ & (1u << k)) {
            squares_[static_cast<std::size_t>(k)]->redraw(now);
        }
    }
    changed_ = 0;
}

bool QtPlatform::setupMode() const {
    return setup_->isChecked();
}

void QtPlatform::setSetupMode(bool setup) {
    setup_->setChecked(setup);
}

void QtPlatform::lockBoard(bool locked) {
    // Disabling takes the keyboard focus away from the board; give it back afterwards so a
    // keyboard user can carry on where they were. The window's own focus widget, which it
    // keeps while another window is active: a screen reader can press Solve from outside.
    if (locked) {
        QWidget* focus = window_->focusWidget();
        focusBeforeLock_ = focus && boardArea_->isAncestorOf(focus) ? focus : nullptr;
        // The screen's refresh rate, where it tells one (Xvfb does not).
        const qreal hz = window_->screen() ? window_->screen()->refreshRate() : 0;
        frame_ = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(1 / (hz >= 1 ? hz : 60)));
        nextFrame_ = std::chrono::steady_clock::now() + frame_;
    }
    locked_ = locked;
    boardArea_->setEnabled(!locked);
    if (!locked) {
        // The search's last frame, on the screen before the result message comes up.
        redrawChanged(true);
    }
    if (!locked && focusBeforeLock_) {
        focusBeforeLock_->setFocus(Qt::OtherFocusReason);
    }
}

std::uint32_t QtPlatform::nextRandom() {
    return generator_.next();
}

void QtPlatform::msgBox(const std::string& text) {
    showMessage(window_, text);
}

bool QtPlatform::doEvents() {
    const auto now = std::chrono::steady_clock::now();
    if (changed_ && now >= nextFrame_) {
        redrawChanged(false);
        // On the display's beat: a frame drawn a little late does not put off the next.
        nextFrame_ = std::max(nextFrame_ + frame_, now + frame_ / 2);
    }
    QCoreApplication::processEvents();
    return !programEnding();
}

} // namespace veltrin

#include "window/qt/qtplatform.h"

#include "window/qt/application.h"
#include "window/qt/messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QScreen>

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
    lastFrame_ = std::chrono::steady_clock::now();
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
        lastFrame_ = std::chrono::steady_clock::now();
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
    if (changed_ && std::chrono::steady_clock::now() - lastFrame_ >= frame_) {
        redrawChanged(false);
    }
    QCoreApplication::processEvents();
    return !programEnding();
}

} // namespace veltrin

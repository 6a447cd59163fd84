#include "window/qt/qtplatform.h"

#include "window/qt/application.h"
#include "window/qt/messagebox.h"

#include <QApplication>
#include <QCheckBox>

namespace veltrin {

QtPlatform::QtPlatform(const std::array<Square*, squareCount>& squares, QCheckBox* setup,
                       QWidget* boardArea, QWidget* window)
    : squares_(squares), setup_(setup), boardArea_(boardArea), window_(window) {}

void QtPlatform::paintSquare(int p, Colour colour) {
    squares_.at(static_cast<std::size_t>(p))->setColour(colour);
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
    }
    boardArea_->setEnabled(!locked);
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
    QCoreApplication::processEvents();
    return !programEnding();
}

} // namespace veltrin

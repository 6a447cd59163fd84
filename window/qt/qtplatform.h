#pragma once

#include "board/board.h"
#include "solver/random.h"
#include "window/qt/square.h"

#include <QPointer>

#include <array>
#include <chrono>

class QCheckBox;
class QWidget;

namespace veltrin {

// The board's and the solver's window operations, carried out on the real widgets.
class QtPlatform final : public LoopPlatform {
public:
    QtPlatform(const std::array<Square*, squareCount>& squares, QCheckBox* setup,
               QWidget* boardArea, QWidget* window);

    void paintSquare(int p, Colour colour) override;
    bool setupMode() const override;
    void setSetupMode(bool setup) override;
    void lockBoard(bool locked) override;
    std::uint32_t nextRandom() override;
    void msgBox(const std::string& text) override;
    bool doEvents() override;

private:
    // Redraws the squares a search changed since the last frame: at the event pass, or `now`.
    void redrawChanged(bool now);

    std::array<Square*, squareCount> squares_;
    QCheckBox* setup_;
    QWidget* boardArea_;
    QWidget* window_;
    QPointer<QWidget> focusBeforeLock_;
    Generator generator_;
    // While the board is locked for a search, a changed square is only noted here (a bit a
    // square), and those changed are drawn together once a display frame: a screen shows no
    // more, and painting and flushing the window after each of tens of thousands of trials
    // costs far more than the trials themselves.
    bool locked_ = false;
    unsigned changed_ = 0;
    std::chrono::steady_clock::duration frame_{};
    std::chrono::steady_clock::time_point nextFrame_;
};

} // namespace veltrin

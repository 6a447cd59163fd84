#pragma once

#include "board/board.h"
#include "solver/random.h"
#include "window/qt/square.h"

#include <QPointer>

#include <array>

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
    std::array<Square*, squareCount> squares_;
    QCheckBox* setup_;
    QWidget* boardArea_;
    QWidget* window_;
    QPointer<QWidget> focusBeforeLock_;
    Generator generator_;
};

} // namespace veltrin

#pragma once

#include "board/board.h"
#include "solver/random.h"

namespace veltrin {

class Form1;

// The board's and the solver's window operations, carried out on the real window.
class Win32Platform final : public LoopPlatform {
public:
    explicit Win32Platform(Form1& form) : form_(form) {}

    void paintSquare(int p, Colour colour) override;
    bool setupMode() const override;
    void setSetupMode(bool setup) override;
    void lockBoard(bool locked) override;
    std::uint32_t nextRandom() override { return generator_.next(); }
    void msgBox(const std::string& text) override;
    bool doEvents() override;

private:
    Form1& form_;
    Generator generator_;
};

} // namespace veltrin

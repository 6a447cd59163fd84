#pragma once

#include "board/board.h"
#include "solver/random.h"

namespace veltrin {

class Form1;

// The board's and the solver's window operations, carried out on the page. doEvents and
// msgBox wait on the page: Asyncify suspends the C++ stack there and resumes it when the
// page calls back.
class WebPlatform final : public Platform {
public:
    explicit WebPlatform(Form1& form) : form_(form) {}

    void paintSquare(int p, Colour colour) override;
    bool setupMode() const override { return setup_; }
    void setSetupMode(bool setup) override { setup_ = setup; }
    void lockBoard(bool locked) override;
    std::uint32_t nextRandom() override { return generator_.next(); }
    void msgBox(const std::string& text) override;
    bool doEvents() override;

private:
    Form1& form_;
    bool setup_ = true; // the press mode: the page has no hidden box to keep it in
    Generator generator_;
};

} // namespace veltrin

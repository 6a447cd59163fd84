#pragma once

#include "board/board.h"
#include "solver/random.h"

namespace veltrin {

// The board's and the solver's window operations, carried out on the page (page.h). None of
// them waits: the page's own tasks drive a search step by step, and a message goes on when
// the page says it was dismissed.
class WebPlatform final : public Platform {
public:
    void paintSquare(int p, Colour colour) override;
    bool setupMode() const override { return setup_; }
    void setSetupMode(bool setup) override { setup_ = setup; }
    void lockBoard(bool locked) override;
    std::uint32_t nextRandom() override { return generator_.next(); }
    void msgBox(const std::string& text) override;

private:
    bool setup_ = true; // the press mode: the page has no hidden box to keep it in
    Generator generator_;
};

} // namespace veltrin

#pragma once

#include "board/board.h"
#include "solver/random.h"

#include <windows.h>

#include <array>

namespace veltrin {

// The board's and the solver's window operations, carried out on the real controls.
class Win32Platform final : public Platform {
public:
    // `paint` draws the given squares (a bit each) at once on the board area's device
    // context, as they are now.
    using PaintSquares = void (*)(void* form, HDC dc, unsigned squares);
    Win32Platform(const std::array<HWND, squareCount>& squares, HWND setup, HWND boardArea,
                  HWND window, PaintSquares paint, void* form);

    void paintSquare(int p, Colour colour) override;
    bool setupMode() const override;
    void setSetupMode(bool setup) override;
    void setBoardEnabled(bool enabled) override;
    std::uint32_t nextRandom() override;
    void msgBox(const std::string& text) override;
    bool doEvents() override;

    // The colour square p shows, for its painting.
    Colour colour(int p) const { return colours_.at(static_cast<std::size_t>(p)); }

private:
    void paintChanged();

    std::array<HWND, squareCount> squares_;
    HWND setup_;
    HWND boardArea_;
    HWND window_;
    HWND focusBeforeLock_ = nullptr;
    std::array<Colour, squareCount> colours_;
    PaintSquares paint_;
    void* form_;
    bool locked_ = false;
    unsigned changed_ = 0; // squares changed while locked, not yet on screen
    Generator generator_;
};

} // namespace veltrin

#pragma once

#include "board/board.h"
#include "solver/random.h"
#include "window/win32/square.h"

#include <windows.h>

#include <array>
#include <chrono>

namespace veltrin {

// The window and its controls by the names the program has always given them, as Form1
// makes them, and the DPI Form1 has laid them out at.
struct Controls {
    HWND form = nullptr;
    HWND Picture1 = nullptr; // the board area: the squares and Solve
    std::array<HWND, squareCount> S{};
    HWND Command1 = nullptr; // Solve
    HWND Setup = nullptr;    // the hidden check box that holds the press mode: checked is setup
    int dpi = USER_DEFAULT_SCREEN_DPI;
};

// The board's and the solver's window operations, carried out on the real controls. The
// squares are owner-drawn buttons, so the colour each shows is kept here, and drawn here
// during a search; Form1 draws one when Windows asks it to.
class Win32Platform final : public LoopPlatform {
public:
    explicit Win32Platform(const Controls& controls) : controls_(controls) {
        shown_.fill(colors[0]);
    }

    void paintSquare(int p, Colour colour) override;
    bool setupMode() const override;
    void setSetupMode(bool setup) override;
    void lockBoard(bool locked) override;
    std::uint32_t nextRandom() override { return generator_.next(); }
    void msgBox(const std::string& text) override;
    bool doEvents() override;

    bool locked() const { return locked_; }
    Colour shown(int k) const { return shown_.at(static_cast<std::size_t>(k)); }
    const SquarePainter& painter() const { return painter_; }

    // As in a dialog, the control that has the focus keeps it while the user is in another
    // window: noted when the window is left, given back when it is active again.
    void keepFocus();
    void restoreFocus();

private:
    using Clock = std::chrono::steady_clock;
    void drawChanged();

    const Controls& controls_;
    SquarePainter painter_;
    std::array<Colour, squareCount> shown_{};
    // While locked, the board takes no input, and a changed square is only noted in
    // `changed_` (a bit per square): a search changes up to five squares a trial, tens of
    // thousands of trials in a row, many in one refresh of the display, which shows only the
    // last of them. Those it touched are drawn together once a `frame_`, once each, however
    // often they changed; `nextFrame_` is when they next are.
    bool locked_ = false;
    unsigned changed_ = 0;
    Clock::duration frame_{};
    Clock::time_point nextFrame_{};
    HWND focus_ = nullptr; // the control that gets the focus back, after a search or away
    Generator generator_;
};

} // namespace veltrin

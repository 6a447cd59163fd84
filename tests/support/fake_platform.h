#pragma once

// A recording stand-in for the window: it keeps what each square shows, the press mode,
// the lock and the messages, and logs every call in order so tests can check sequences.

#include "board/board.h"
#include "solver/random.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace veltrin::test {

class FakePlatform : public LoopPlatform {
public:
    FakePlatform() { shown.fill(colors[0]); } // the squares are created red

    void paintSquare(int p, Colour colour) override {
        shown.at(static_cast<std::size_t>(p)) = colour;
        if (recording) { // long runs make millions of paints
            note("paint " + std::to_string(p));
        }
        if (flipModeOnPaint) {
            setup = !setup;
        }
    }
    bool setupMode() const override {
        ++modeReads;
        return setup;
    }
    void setSetupMode(bool s) override {
        setup = s;
        note(s ? "setup mode" : "game mode");
    }
    void lockBoard(bool l) override {
        locked = l;
        note(l ? "lock" : "unlock");
    }
    std::uint32_t nextRandom() override {
        ++draws;
        if (!scripted.empty()) {
            const std::uint32_t r = scripted.front();
            scripted.pop_front();
            return r;
        }
        return generator.next();
    }
    void msgBox(const std::string& text) override {
        messages.push_back(text);
        note("message");
    }
    bool doEvents() override {
        ++eventPasses;
        note("events");
        return closeAfterPasses < 0 || eventPasses <= closeAfterPasses;
    }

    std::array<Colour, squareCount> shown{};
    bool setup = true;
    bool locked = false;
    std::vector<std::string> messages;
    std::vector<std::string> log;
    bool recording = true;        // off for long runs, where the log would be huge
    bool flipModeOnPaint = false; // to prove a press reads its mode only once
    long closeAfterPasses = -1;   // doEvents reports the window closed after this many
    long eventPasses = 0;
    long draws = 0;
    mutable long modeReads = 0;
    std::deque<std::uint32_t> scripted; // served before the generator's own outputs
    Generator generator;                // the program's own

private:
    void note(std::string entry) {
        if (recording) {
            log.push_back(std::move(entry));
        }
    }
};

} // namespace veltrin::test

#pragma once

#include <cstdint>
#include <random>

namespace veltrin {

// The search's random source. std::mt19937's output sequence is fixed by the C++ standard,
// so a generator in its default state gives the same numbers with every compiler and
// standard library; it is never reseeded, so the same clicks replay the same search in
// every run, on every platform. The window and the tests both draw from this one class.
class Generator {
public:
    std::uint32_t next() { return static_cast<std::uint32_t>(engine_()); }

private:
    std::mt19937 engine_;
};

// Maps one generator output onto a square 0..8, each exactly equally likely. Returns -1 for
// the few outputs at the top of the range that would bias the mapping; the caller draws
// again.
inline int squareFromRandom(std::uint32_t r) {
    // 2^32 = 9 * 477218588 + 4: the last four outputs are refused.
    constexpr std::uint32_t limit = 9u * 477218588u;
    return r < limit ? static_cast<int>(r % 9) : -1;
}

} // namespace veltrin

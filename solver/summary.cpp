#include "solver/summary.h"

#include "board/board.h"

#include <array>

namespace veltrin {

std::int64_t charCount(std::string_view S, std::string_view c) {
    if (c.empty()) {
        return 0;
    }
    std::int64_t n = 0;
    for (auto pos = S.find(c); pos != std::string_view::npos; pos = S.find(c, pos + 1)) {
        ++n;
    }
    return n;
}

std::string shorten(std::string_view solution) {
    // The top row's middle square is "middle" while the other rows say "center": these are
    // the names users have always seen, so they stay as they are.
    static constexpr std::array<std::string_view, squareCount> squareNames{
        "Top left",     "Top middle",  "Top right",     "Middle left", "Middle center",
        "Middle right", "Bottom left", "Bottom center", "Bottom right"};

    std::string result;
    for (int i = 0; i < squareCount; ++i) {
        const char digit[] = {static_cast<char>('0' + i), '\0'};
        const std::int64_t n = charCount(solution, digit);
        result += "\r\n\r\n";
        result += squareNames[static_cast<std::size_t>(i)];
        result += ' ';
        result += std::to_string(n % 3);
        result += " time(s)";
    }
    return result;
}

} // namespace veltrin

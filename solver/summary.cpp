#include "solver/summary.h"

#include "board/board.h"

namespace veltrin {

static_assert(squareNames.size() == squareCount, "one name per square");

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

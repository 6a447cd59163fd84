#include "solver/summary.h"

#include "board/board.h"

#include <algorithm>

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

const Words& englishWords() {
    static const Words english = [] {
        Words w{resultPrompt, {}, [](int n) {
                    std::string times = timesText;
                    return times.replace(times.find("%d"), 2, std::to_string(n));
                }};
        std::copy(squareNames.begin(), squareNames.end(), w.names.begin());
        return w;
    }();
    return english;
}

std::string shorten(std::string_view solution, const Words& words) {
    std::string result;
    for (int i = 0; i < squareCount; ++i) {
        const char digit[] = {static_cast<char>('0' + i), '\0'};
        const std::int64_t n = charCount(solution, digit);
        result += "\r\n\r\n";
        result += words.names[static_cast<std::size_t>(i)];
        result += ' ';
        result += words.times(static_cast<int>(n % 3));
    }
    return result;
}

} // namespace veltrin

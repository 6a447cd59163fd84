#pragma once

// tests/solver/golden.txt, read: for boards solved one after another from a fresh
// generator, the number of trials and the exact combination text (VELTRIN_GOLDEN_FILE).

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace veltrin::test {

struct Search {
    std::string board;
    std::size_t trials;
    std::string message; // CR and LF written as \r and \n, one line per board
};

inline std::vector<Search> goldenSearches() {
    std::ifstream in(VELTRIN_GOLDEN_FILE, std::ios::binary);
    std::vector<Search> searches;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        Search s;
        fields >> s.board >> s.trials;
        fields.get(); // the space before the text
        std::getline(fields, s.message);
        searches.push_back(s);
    }
    return searches;
}

// The text as shown, its \r and \n written out again as CR and LF.
inline std::string unescaped(std::string text) {
    for (std::size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1)) {
        text.replace(at, 2, text[at + 1] == 'r' ? "\r" : "\n");
    }
    return text;
}

} // namespace veltrin::test

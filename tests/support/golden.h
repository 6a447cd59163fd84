#pragma once

// tests/solver/golden.txt, read: for boards solved one after another from a fresh
// generator, the number of trials, the board the search leaves and the exact combination
// text (VELTRIN_GOLDEN_FILE).

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrin::test {

struct Search {
    std::string board;
    std::size_t trials;
    std::string solved;  // the uniform board the search leaves
    std::string message; // as shown; the file writes each CR LF as \r\n, one line a board
};

// `text` with every `from` replaced by `to`.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

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
        fields >> s.board >> s.trials >> s.solved;
        fields.get(); // the space before the text
        std::getline(fields, s.message);
        s.message = replaced(s.message, "\\r\\n", "\r\n");
        searches.push_back(s);
    }
    if (searches.empty()) {
        throw std::runtime_error("no search read from " VELTRIN_GOLDEN_FILE);
    }
    return searches;
}

} // namespace veltrin::test

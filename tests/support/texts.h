#pragma once

// The texts Veltrin shows, as the tests expect them, read from tests/texts.json: the one
// copy that every harness reads (VELTRIN_TEXTS_FILE names it at build time).

#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrin::test {

struct Texts {
    std::string appTitle, windowTitle, solveCaption, startUp, prompt;
    std::array<std::string, 9> squareNames;
};

inline const Texts& texts() {
    static const Texts read = [] {
        // Every string of the file in order, keys and values alike, escapes undone: each
        // key's value is the string after it. The file holds ASCII only.
        std::ifstream file(VELTRIN_TEXTS_FILE, std::ios::binary);
        std::vector<std::string> strings;
        for (char c; file.get(c);) {
            if (c == '"') {
                std::string s;
                while (file.get(c) && c != '"') {
                    if (c == '\\' && file.get(c)) {
                        c = c == 'r' ? '\r' : c == 'n' ? '\n' : c;
                    }
                    s += c;
                }
                strings.push_back(s);
            }
        }
        const auto after = [&](const std::string& key) {
            const auto at = std::find(strings.begin(), strings.end(), key);
            if (at == strings.end()) {
                throw std::runtime_error("tests/texts.json has no " + key);
            }
            return at + 1;
        };
        Texts t{*after("appTitle"), *after("windowTitle"), *after("solveCaption"),
                *after("startUp"),  *after("prompt"),      {}};
        std::copy_n(after("squareNames"), 9, t.squareNames.begin());
        return t;
    }();
    return read;
}

} // namespace veltrin::test

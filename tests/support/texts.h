#pragma once

// The texts Veltrin shows, as the tests expect them, read from tests/texts.json: the one
// copy that every harness reads (VELTRIN_TEXTS_FILE names it at build time).

#include <array>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrin::test {

struct Texts {
    std::string appTitle, windowTitle, solveCaption, startUp, prompt;
    std::array<std::string, 9> squareNames;
};

namespace detail {

// The JSON string that starts at `at` (its opening quote), with its escapes undone; `at`
// ends past it. The file holds ASCII only.
inline std::string readString(const std::string& json, std::size_t& at) {
    std::string out;
    for (++at; json.at(at) != '"'; ++at) {
        char c = json[at];
        if (c == '\\') {
            c = json.at(++at);
            c = c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
        }
        out += c;
    }
    ++at;
    return out;
}

// The strings after "key": one, or each of an array's.
inline std::string value(const std::string& json, const std::string& key, int index = -1) {
    std::size_t at = json.find('"' + key + '"');
    if (at == std::string::npos) {
        throw std::runtime_error("tests/texts.json has no " + key);
    }
    at = json.find_first_of(index < 0 ? "\"" : "[", json.find(':', at));
    for (int i = 0; i <= index; ++i) {
        at = json.find('"', at);
        if (i < index) {
            readString(json, at);
        }
    }
    return readString(json, at);
}

} // namespace detail

inline const Texts& texts() {
    static const Texts read = [] {
        std::ifstream file(VELTRIN_TEXTS_FILE, std::ios::binary);
        std::stringstream json;
        json << file.rdbuf();
        const std::string s = json.str();
        Texts t;
        t.appTitle = detail::value(s, "appTitle");
        t.windowTitle = detail::value(s, "windowTitle");
        t.solveCaption = detail::value(s, "solveCaption");
        t.startUp = detail::value(s, "startUp");
        t.prompt = detail::value(s, "prompt");
        for (int k = 0; k < 9; ++k) {
            t.squareNames[static_cast<std::size_t>(k)] = detail::value(s, "squareNames", k);
        }
        return t;
    }();
    return read;
}

// The combination text for these nine counts, as the tests expect it word for word.
inline std::string summaryText(const std::vector<int>& counts) {
    std::string text;
    for (std::size_t k = 0; k < counts.size(); ++k) {
        text +=
            "\r\n\r\n" + texts().squareNames.at(k) + " " + std::to_string(counts[k]) + " time(s)";
    }
    return text;
}

} // namespace veltrin::test

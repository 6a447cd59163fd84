#pragma once

// The texts Veltrin shows, as the tests expect them, read from tests/texts.json: the one
// copy that every harness reads (VELTRIN_TEXTS_FILE names it at build time).

#include <nlohmann/json.hpp>

#include <fstream>
#include <string>
#include <vector>

namespace veltrin::test {

struct Texts {
    std::string appTitle, windowTitle, solveCaption, startUp, prompt;
    std::vector<std::string> squareNames;
};

inline const Texts& texts() {
    static const Texts read = [] {
        const auto json = nlohmann::json::parse(std::ifstream(VELTRIN_TEXTS_FILE));
        return Texts{json.at("appTitle"), json.at("windowTitle"), json.at("solveCaption"),
                     json.at("startUp"),  json.at("prompt"),      json.at("squareNames")};
    }();
    return read;
}

} // namespace veltrin::test

// The user's language: which catalogue a user's wishes choose, the plural each language's rule
// picks for the counts a combination shows, and English exactly as the program has always
// spoken it where no catalogue matches.

#include "solver/summary.h"
#include "window/language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace veltrin {
namespace {

struct Language : ::testing::Test {
    ~Language() override { chooseLanguage({}); }
};

TEST_F(Language, TheFirstWishVeltrinSpeaksWinsARegionFallingBackToItsLanguage) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"pl_PL.UTF-8"}, "pl"},
        {{"pt_PT", "de_AT@euro"}, "de"}, // no Portuguese of Portugal: the next wish
        {{"PT-br"}, "pt-BR"},            // as a browser may write it
        {{"zh-Hans-CN"}, "zh-CN"},       // a script between language and region
        {{"zh_TW", "zh"}, "en"},         // Simplified Chinese is not Chinese for everyone
        {{"en_GB", "pl"}, "en"},         // English is spoken too: the first wish wins
        {{"<b>x</b>;", "", "fr"}, "fr"}, // nonsense and nothing are passed over
        {{"C"}, "en"},
        {{}, "en"},
    };
    for (const auto& [wanted, spoken] : cases) {
        EXPECT_EQ(chooseLanguage(wanted), spoken) << ::testing::PrintToString(wanted);
        EXPECT_EQ(languageTag(), spoken);
    }
}

TEST_F(Language, EnglishTellsTheCombinationAsTheProgramAlwaysHasToTheByte) {
    for (const auto& wanted : {std::vector<std::string>{}, {"en_US"}, {"xx"}}) {
        chooseLanguage(wanted);
        for (const char* solution : {"", "400040", "5555666668"}) {
            const Words words = combinationWords();
            EXPECT_EQ(words.prompt + shorten(solution, words), resultPrompt + shorten(solution));
        }
    }
}

// For each language, the form its grammar takes for 0, 1 and 2 (the counts a combination
// shows), by the language's own rule: Polish "0 razy, 1 raz, 2 razy", French "0 fois" singular.
TEST_F(Language, EachLanguageTellsZeroOneAndTwoInItsOwnPluralForms) {
    const std::map<std::string, std::vector<unsigned>> forms = {
        {"de", {1, 0, 1}},    {"es", {1, 0, 1}},        {"fr", {0, 0, 1}}, {"it", {1, 0, 1}},
        {"ja", {0, 0, 0}},    {"nl", {1, 0, 1}},        {"pl", {2, 0, 1}}, {"pt_BR", {1, 0, 1}},
        {"zh_CN", {0, 0, 0}}, {"en@pseudo", {1, 0, 1}},
    };
    ASSERT_EQ(catalogues().size(), forms.size()) << "a language without its forms here";
    for (const Catalogue& catalogue : catalogues()) {
        chooseLanguage({catalogue.language});
        const Message* times = nullptr;
        for (const Message& message : catalogue.messages) {
            times = std::string(message.id) == timesText ? &message : times;
        }
        ASSERT_TRUE(times) << catalogue.language;
        for (unsigned n = 0; n < 3; ++n) {
            const std::string form = times->forms[forms.at(catalogue.language)[n]];
            const auto at = form.find("%d");
            EXPECT_EQ(translate(timesText, n),
                      form.substr(0, at) + std::to_string(n) + form.substr(at + 2))
                << catalogue.language << " " << n;
        }
    }
}

#if defined(__linux__)
TEST_F(Language, ALinuxDesktopAsksAsGettextReadsItsEnvironment) {
    // C.UTF-8 is a locale every Debian system has; xx_YY.UTF-8 is one none has.
    const std::vector<std::pair<std::map<std::string, std::string>, std::vector<std::string>>>
        cases = {
            {{{"LC_ALL", "C.UTF-8"}, {"LANGUAGE", "pl:de"}}, {"pl", "de", "C.UTF-8"}},
            {{{"LC_ALL", ""}, {"LC_MESSAGES", "C.UTF-8"}, {"LANGUAGE", "ja"}}, {"ja", "C.UTF-8"}},
            {{{"LC_ALL", "C"}, {"LANGUAGE", "pl"}}, {}},
            {{{"LC_ALL", ""}, {"LANG", "POSIX"}, {"LANGUAGE", "pl"}}, {}},
            {{{"LC_ALL", "xx_YY.UTF-8"}, {"LANGUAGE", "pl"}}, {}},
            {{{"LC_ALL", ""}, {"LANG", ""}, {"LANGUAGE", "pl"}}, {}},
        };
    for (const auto& [environment, wanted] : cases) {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"}) {
            unsetenv(name);
        }
        for (const auto& [name, value] : environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        EXPECT_EQ(languagesFromEnvironment(), wanted) << ::testing::PrintToString(environment);
    }
}
#endif

} // namespace
} // namespace veltrin

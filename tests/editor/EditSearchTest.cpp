#include "editor/TqvEditSearch.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <random>

namespace ondrex {
namespace {

std::vector<int> FindAll(TqvEditSearch& search, std::string_view text) {
    search.FindAll(text);
    std::vector<int> found;
    for (int i = 0; i < search.Count(); ++i)
        found.push_back(search.Results(i));
    return found;
}

TqvEditSearch Engine(std::string_view pattern, bool sensitive = false, bool whole = false) {
    TqvEditSearch search;
    search.SetPattern(pattern);
    search.SetSensitive(sensitive);
    search.SetWhole(whole);
    return search;
}

using Positions = std::vector<int>;

TEST(EditSearch, FindsEveryMatchLeftToRightWithoutOverlaps) {
    auto search = Engine("ab", true);
    EXPECT_EQ(FindAll(search, "ab xab abab"), (Positions{1, 5, 8, 10}));
    search.SetPattern("aa");
    EXPECT_EQ(FindAll(search, "aaaaa"), (Positions{1, 3}));
    search.SetPattern("abc");
    EXPECT_EQ(FindAll(search, "ab"), Positions{});
    EXPECT_EQ(FindAll(search, ""), Positions{});
    search.SetPattern("");
    EXPECT_EQ(FindAll(search, "abc"), Positions{});
}

TEST(EditSearch, WholeWordNeedsDelimitersOrTheTextEnds) {
    auto search = Engine("foo", false, true);
    EXPECT_EQ(FindAll(search, "foobar foo"), Positions{8});
    EXPECT_EQ(FindAll(search, "foo"), Positions{1});
    EXPECT_EQ(FindAll(search, "xfoo foox (foo)"), Positions{12});
    EXPECT_EQ(FindAll(search, "x_foo_y"), Positions{3}); // the underscore delimits
    EXPECT_EQ(FindAll(search, "foo1 2foo"), Positions{});
}

TEST(EditSearch, CaseModeChoosesTheComparison) {
    auto search = Engine("Select");
    EXPECT_EQ(FindAll(search, "SELECT select SeLeCt"), (Positions{1, 8, 15}));
    search.SetSensitive(true);
    EXPECT_EQ(FindAll(search, "SELECT select Select"), Positions{15});
    search.SetSensitive(false);
    EXPECT_EQ(FindAll(search, "sElEcT"), Positions{1});
}

TEST(EditSearch, StepsThroughMatchesOneByOne) {
    auto search = Engine("if");
    const std::string text = "if x then if y";
    EXPECT_EQ(search.FindFirst(text), 1);
    EXPECT_EQ(search.Next(), 11);
    EXPECT_EQ(search.Next(), 0);
    EXPECT_EQ(search.Next(), 0);

    EXPECT_EQ(search.FindFirst(text), 1);
    search.SetPattern("then"); // a new pattern ends the old search
    EXPECT_EQ(search.Next(), 0);
    EXPECT_EQ(search.FindFirst(text), 6);
}

TEST(EditSearch, MultiByteCharactersStayWhole) {
    SetActiveCodePage(TCodePage::Utf8);
    auto search = Engine("caf", false, true);
    // In UTF-8 the bytes of é count as part of a word.
    EXPECT_EQ(FindAll(search, "caf\xC3\xA9 caf"), Positions{7});
    search.SetPattern("\xC3\xA9");
    search.SetWhole(false);
    EXPECT_EQ(FindAll(search, "caf\xC3\xA9"), Positions{4});
}

TEST(EditSearch, SingleByteCodePageFoldsAccentedLetters) {
    SetActiveCodePage(TCodePage::Windows1252);
    auto search = Engine("\xC9t\xC9"); // ÉTÉ in Windows-1252
    EXPECT_EQ(FindAll(search, "un \xE9t\xE9 chaud"), Positions{4});
    search.SetSensitive(true);
    EXPECT_EQ(FindAll(search, "un \xE9t\xE9 chaud"), Positions{});
    SetActiveCodePage(TCodePage::Utf8);
}

// Sees each candidate match and accepts none.
class RejectingSearch : public TqvEditSearch {
public:
    bool TestWholeWord() const override {
        seen.push_back(int(CurrentPosition()));
        EXPECT_EQ(Text()[CurrentPosition()], 'a');
        return false;
    }
    mutable std::vector<int> seen;
};

TEST(EditSearch, WholeWordTestCanBeReplaced) {
    RejectingSearch search;
    search.SetPattern("a");
    search.SetWhole(true);
    EXPECT_EQ(search.FindAll("a a a"), 0);
    EXPECT_EQ(search.seen, (std::vector<int>{0, 2, 4}));
}

// The plain definition: try every start, take a match, continue after it.
Positions Naive(std::string_view text, std::string_view pattern, bool sensitive, bool whole) {
    auto fold = [sensitive](char c) {
        return sensitive ? c : char(AnsiLowerTable(ActiveCodePage())[std::uint8_t(c)]);
    };
    auto delimiter = [&](std::size_t i) {
        return !IsAnsiAlphaNumeric(ActiveCodePage(), std::uint8_t(text[i]));
    };
    Positions found;
    std::size_t m = pattern.size();
    for (std::size_t i = 0; m > 0 && i + m <= text.size();) {
        bool match = true;
        for (std::size_t k = 0; k < m && match; ++k)
            match = fold(text[i + k]) == fold(pattern[k]);
        if (match && whole)
            match = (i == 0 || delimiter(i - 1)) && (i + m == text.size() || delimiter(i + m));
        if (match) {
            found.push_back(int(i) + 1);
            i += m;
        } else {
            ++i;
        }
    }
    return found;
}

TEST(EditSearch, AgreesWithThePlainDefinitionOnRandomText) {
    std::mt19937 random(11);
    const std::string alphabet = "aAbB _.\xC3\xA9";
    auto randomText = [&](std::size_t maxLength) {
        std::string s;
        for (std::size_t n = random() % maxLength; n > 0; --n)
            s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 2000; ++round) {
        std::string text = randomText(60);
        std::string pattern = randomText(5);
        bool sensitive = round % 2 == 0;
        bool whole = round % 3 == 0;
        auto search = Engine(pattern, sensitive, whole);
        ASSERT_EQ(FindAll(search, text), Naive(text, pattern, sensitive, whole))
            << "text '" << text << "' pattern '" << pattern << "' sensitive " << sensitive
            << " whole " << whole;
    }
}

} // namespace
} // namespace ondrex

// The smart comparison: its documented cases, and random texts against a slow reference
// written with regular expressions and the calendar of the standard library.

#include "controls/SmartCompare.h"
#include "platform/MergeSort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <optional>
#include <random>
#include <regex>

using namespace ondrex;

namespace {

const TFormatSettings kUs{'/', ':', "M/d/yyyy", "AM", "PM"};
const TFormatSettings kGerman{'.', ':', "d.M.yyyy", "AM", "PM"};

int Sign(int v) {
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

// ---- The reference -------------------------------------------------------------------------

std::optional<double> RefDate(int y, int m, int d) {
    using namespace std::chrono;
    const year_month_day date{year(y), month(unsigned(m)), day(unsigned(d))};
    if (!date.ok() || y < 1 || y > 9999) return std::nullopt;
    return double((sys_days(date) - sys_days(year(1899) / 12 / 30)).count());
}

std::optional<double> RefTime(const std::smatch& m, int first) {
    int h = std::stoi(m[first]);
    const int min = m[first + 1].matched ? std::stoi(m[first + 1]) : 0;
    const int s = m[first + 2].matched ? std::stoi(m[first + 2]) : 0;
    const std::string marker = m[first + 3];
    if (!marker.empty()) {
        if (h < 1 || h > 12) return std::nullopt;
        h = h % 12 + (marker == "PM" || marker == "pm" ? 12 : 0);
    }
    if (h > 23 || min > 59 || s > 59) return std::nullopt;
    return (h * 3600 + min * 60 + s) / 86400.0;
}

// Month/day/year dates (four-digit years only in these tests), times, or both.
std::optional<double> RefDateTime(const std::string& t) {
    static const std::regex date(R"(^ *(\d{1,2})/(\d{1,2})/(\d{4}) *$)");
    static const std::regex time(R"(^ *(\d{1,2})(?::(\d{1,2}))(?::(\d{1,2}))? *(AM|PM|am|pm)? *$)");
    static const std::regex both(
        R"(^ *(\d{1,2})/(\d{1,2})/(\d{4}) +(\d{1,2})(?::(\d{1,2}))(?::(\d{1,2}))? *(AM|PM|am|pm)? *$)");
    std::smatch m;
    if (std::regex_match(t, m, both)) {
        const auto d = RefDate(std::stoi(m[3]), std::stoi(m[1]), std::stoi(m[2]));
        const auto tm = RefTime(m, 4);
        if (d && tm) return *d + *tm;
        return std::nullopt;
    }
    if (std::regex_match(t, m, date)) return RefDate(std::stoi(m[3]), std::stoi(m[1]), std::stoi(m[2]));
    if (std::regex_match(t, m, time)) return RefTime(m, 1);
    return std::nullopt;
}

std::optional<long double> RefNumber(const std::string& t) {
    static const std::regex number(R"(^ *[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)");
    if (!std::regex_match(t, number)) return std::nullopt;
    return std::stold(t);
}

int RefText(const std::string& a, const std::string& b) {
    // Primary: letters by alphabet regardless of case; then lower before upper.
    const auto key = [](const std::string& s) {
        std::vector<int> k;
        for (unsigned char c : s) {
            if (std::isalpha(c)) k.push_back(300 + std::tolower(c) - 'a');
            else if (std::isdigit(c)) k.push_back(200 + c - '0');
            else k.push_back(c >= 0x80 ? 400 + c : c);
        }
        return k;
    };
    const auto ka = key(a), kb = key(b);
    if (ka != kb) return ka < kb ? -1 : 1;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return std::islower(static_cast<unsigned char>(a[i])) ? -1 : 1;
    return 0;
}

int Reference(const std::string& a, const std::string& b) {
    const auto da = RefDateTime(a), db = RefDateTime(b);
    if (da && db) return *da < *db ? -1 : *da > *db;
    const auto na = RefNumber(a), nb = RefNumber(b);
    if (na && nb) return *na < *nb ? -1 : *na > *nb;
    return RefText(a, b);
}

// Random texts of every kind the results list holds.
std::string RandomText(std::mt19937& r) {
    const auto n = [&](int lo, int hi) { return lo + int(r() % unsigned(hi - lo + 1)); };
    switch (r() % 7) {
    case 0:
        return std::to_string(n(-50, 5000)) + (r() % 2 ? "." + std::to_string(n(0, 99)) : "");
    case 1:
        return std::to_string(n(1, 13)) + "/" + std::to_string(n(1, 31)) + "/" +
               std::to_string(n(1990, 2030));
    case 2:
        return std::to_string(n(0, 24)) + ":" + (r() % 2 ? "0" : "") + std::to_string(n(0, 9)) +
               (r() % 3 == 0 ? (r() % 2 ? " AM" : " PM") : "");
    case 3:
        return std::to_string(n(1, 12)) + "/" + std::to_string(n(1, 28)) + "/2001 " +
               std::to_string(n(0, 23)) + ":" + std::to_string(n(10, 59));
    case 4: {
        static const char* words[] = {"Sub", "sub", "Function", "If", "if", "Dim", "ab", "Ab",
                                      "a-b", "", "10x", "1/2"};
        return words[r() % 12];
    }
    case 5:
        return "1e" + std::to_string(n(-3, 5));
    default: {
        std::string s;
        for (int i = n(1, 6); i > 0; --i) s += "aB3 ./:-"[r() % 8];
        return s;
    }
    }
}

} // namespace

TEST(SmartCompare, NumbersDatesAndTimesCompareByValue) {
    EXPECT_EQ(SmartCompare("9", "10", kUs), -1);
    EXPECT_EQ(CompareTextOrder("10", "9"), -1);
    EXPECT_EQ(SmartCompare("12:30", "09:15", kUs), 1);
    EXPECT_EQ(SmartCompare("1/2/2000", "12/1/1999", kUs), 1);
    EXPECT_EQ(SmartCompare("1.2.2000", "2.1.2000", kGerman), 1); // day first
    EXPECT_EQ(SmartCompare("-1.5e2", "-149", kUs), -1);
    EXPECT_EQ(SmartCompare("7", "7.0", kUs), 0);
}

TEST(SmartCompare, TheSeparatorRulesDecideWhatIsADate) {
    double v;
    // One separator that is not last: not a date; two numbers then compare as text.
    EXPECT_FALSE(TryDateTime("1/2", kUs, v));
    EXPECT_EQ(SmartCompare("1/2", "1/10", kUs), CompareTextOrder("1/2", "1/10"));
    // A separator as the last character counts as a date, which fails to convert.
    EXPECT_FALSE(TryDateTime("12/", kUs, v));
    EXPECT_TRUE(TryDateTime("2/29/2000", kUs, v));
    EXPECT_FALSE(TryDateTime("2/29/2001", kUs, v));
    EXPECT_TRUE(TryDateTime("12:00 AM", kUs, v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(TryDateTime("13:00 PM", kUs, v));
    // A date and a number fall through to the number test, then to text.
    EXPECT_EQ(SmartCompare("1/1/2000", "5", kUs), CompareTextOrder("1/1/2000", "5"));
}

TEST(SmartCompare, EmptyAndOddTextsAreText) {
    long double n;
    EXPECT_FALSE(TryNumber("", n));
    EXPECT_FALSE(TryNumber(" ", n));
    EXPECT_FALSE(TryNumber("1e", n));
    EXPECT_FALSE(TryNumber("12 ", n));
    EXPECT_TRUE(TryNumber("  +.5", n));
    EXPECT_TRUE(TryNumber("1e99999", n)); // beyond range, but a number
    EXPECT_EQ(SmartCompare("", "a", kUs), -1);
    EXPECT_EQ(SmartCompare("", "", kUs), 0);
    EXPECT_EQ(CompareTextOrder("abc", "ABD"), -1);
    EXPECT_EQ(CompareTextOrder("abc", "Abc"), -1);
    EXPECT_EQ(CompareTextOrder("a-b", "a0"), -1);
}

TEST(SmartCompare, AgreesWithTheReferenceOnRandomTexts) {
    std::mt19937 random(2026);
    for (int i = 0; i < 20000; ++i) {
        const std::string a = RandomText(random), b = RandomText(random);
        ASSERT_EQ(Sign(SmartCompare(a, b, kUs)), Reference(a, b)) << '"' << a << "\" \"" << b << '"';
    }
}

TEST(SmartCompare, KeysOncePerTextSortLikePairwiseComparison) {
    std::mt19937 random(5);
    std::vector<std::string> texts(3000);
    for (auto& t : texts) t = RandomText(random);
    std::vector<TSmartKey> keys;
    for (const auto& t : texts) keys.push_back(MakeSmartKey(t, kUs));
    std::vector<int> byKeys(texts.size()), pairwise(texts.size());
    std::iota(byKeys.begin(), byKeys.end(), 0);
    std::iota(pairwise.begin(), pairwise.end(), 0);
    MergeSort(byKeys, [&](int a, int b) {
        return CompareSmartKeys(keys[std::size_t(a)], texts[std::size_t(a)], keys[std::size_t(b)],
                                texts[std::size_t(b)]) < 0;
    });
    MergeSort(pairwise, [&](int a, int b) {
        return SmartCompare(texts[std::size_t(a)], texts[std::size_t(b)], kUs) < 0;
    });
    EXPECT_EQ(byKeys, pairwise);
}

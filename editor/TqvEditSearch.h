#pragma once
// The editor's search engine: finds a pattern in a text buffer with a skip-ahead search over
// a comparison table (case folding by the active code page), optionally for whole words only,
// and collects the match positions.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TqvEditSearch {
public:
    TqvEditSearch() = default;
    virtual ~TqvEditSearch() = default;

    const std::string& Pattern() const { return pattern_; }
    void SetPattern(std::string_view value);
    bool Sensitive() const { return sensitive_; }
    void SetSensitive(bool value);
    bool Whole() const { return whole_; }
    void SetWhole(bool value) { whole_ = value; }

    // Finds every match in text, left to right without overlaps, and returns their count.
    // An empty pattern finds nothing.
    int FindAll(std::string_view text);
    // Starts a search of text and returns the 1-based position of the first match, 0 if none.
    // The text must outlive the Next calls that follow; changing the pattern or the case
    // mode ends the search.
    int FindFirst(std::string_view text);
    // The 1-based position of the match after the current one, 0 if none.
    int Next();

    // Match positions (1-based, ascending) collected by FindAll.
    int Count() const { return int(results_.size()); }
    int Results(int index) const { return results_.at(index); }

    // Whether the current match is bounded by delimiters (or the text's ends) on both sides.
    virtual bool TestWholeWord() const;

protected:
    // The searched text and the index of the last character of the current match.
    std::string_view Text() const { return text_; }
    std::size_t CurrentPosition() const { return current_; }

private:
    void InitShiftTable();
    int Find(std::size_t windowEnd);

    std::string pattern_;
    bool sensitive_ = false;
    bool whole_ = false;
    std::string_view text_;
    std::size_t current_ = 0;
    bool searching_ = false;
    const std::uint8_t* compare_ = nullptr;
    std::array<std::size_t, 256> shift_{};
    std::vector<int> results_;
};

} // namespace ondrex

#include "editor/TqvEditSearch.h"

#include "platform/CodePage.h"

namespace ondrex {

namespace {

// Case-insensitive searching compares through the code page's lower-casing table; both
// tables are process-wide and never move, so a search in progress keeps a valid table.
const std::uint8_t* CompareTable(bool sensitive) {
    static const std::array<std::uint8_t, 256> identity = [] {
        std::array<std::uint8_t, 256> table{};
        for (int c = 0; c < 256; ++c)
            table[c] = std::uint8_t(c);
        return table;
    }();
    return sensitive ? identity.data() : AnsiLowerTable(ActiveCodePage());
}

bool IsDelimiter(char c) {
    return !IsAnsiAlphaNumeric(ActiveCodePage(), static_cast<unsigned char>(c));
}

} // namespace

void TqvEditSearch::SetPattern(std::string_view value) {
    pattern_ = value;
    searching_ = false;
}

void TqvEditSearch::SetSensitive(bool value) {
    sensitive_ = value;
    searching_ = false;
}

void TqvEditSearch::InitShiftTable() {
    compare_ = CompareTable(sensitive_);
    const std::size_t length = pattern_.size();
    shift_.fill(length);
    // The last pattern character keeps the full shift: a window ending on it that failed
    // must still move past it.
    for (std::size_t i = 0; i + 1 < length; ++i)
        shift_[compare_[static_cast<unsigned char>(pattern_[i])]] = length - 1 - i;
}

int TqvEditSearch::Find(std::size_t windowEnd) {
    const std::size_t length = pattern_.size();
    auto at = [this](std::string_view s, std::size_t i) {
        return compare_[static_cast<unsigned char>(s[i])];
    };
    while (windowEnd < text_.size()) {
        std::size_t k = 0;
        while (k < length && at(text_, windowEnd - k) == at(pattern_, length - 1 - k))
            ++k;
        if (k == length) {
            current_ = windowEnd;
            if (!whole_ || TestWholeWord()) return int(windowEnd - length) + 2;
        }
        windowEnd += shift_[at(text_, windowEnd)];
    }
    searching_ = false;
    return 0;
}

int TqvEditSearch::FindFirst(std::string_view text) {
    text_ = text;
    searching_ = !pattern_.empty();
    if (!searching_) return 0;
    InitShiftTable();
    return Find(pattern_.size() - 1);
}

int TqvEditSearch::Next() {
    if (!searching_) return 0;
    return Find(current_ + pattern_.size());
}

int TqvEditSearch::FindAll(std::string_view text) {
    results_.clear();
    for (int found = FindFirst(text); found > 0; found = Next())
        results_.push_back(found);
    return Count();
}

bool TqvEditSearch::TestWholeWord() const {
    const std::size_t length = pattern_.size();
    if (current_ >= length && !IsDelimiter(text_[current_ - length])) return false;
    if (current_ + 1 < text_.size() && !IsDelimiter(text_[current_ + 1])) return false;
    return true;
}

} // namespace ondrex

#include "highlighters/TqvKeywordTable.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace ondrex {

const TqvHashScheme& TqvHashScheme::Letters() {
    static const TqvHashScheme scheme = [] {
        TqvHashScheme s;
        for (int c = 0; c < 26; ++c) {
            s.values_['A' + c] = s.values_['a' + c] = static_cast<std::uint8_t>(c + 1);
            s.inClass_['A' + c] = s.inClass_['a' + c] = true;
        }
        for (int c = '0'; c <= '9'; ++c)
            s.inClass_[c] = true;
        s.values_['_'] = 31;
        s.inClass_['_'] = true;
        s.FillClassValues();
        return s;
    }();
    return scheme;
}

const TqvHashScheme& TqvHashScheme::CharacterCodes() {
    static const TqvHashScheme scheme = [] {
        TqvHashScheme s;
        for (int c = 0; c < 256; ++c)
            s.values_[c] = static_cast<std::uint8_t>(c);
        for (int c = 0; c < 256; ++c)
            s.inClass_[c] = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                            (c >= 'a' && c <= 'z') || c == '_' || c == '$' || c == '%' || c == '@';
        s.FillClassValues();
        return s;
    }();
    return scheme;
}

void TqvHashScheme::FillClassValues() {
    for (int c = 0; c < 256; ++c)
        classValues_[c] = inClass_[c] ? values_[c] : -1;
}

std::size_t TqvHashScheme::Hash(std::string_view word) const {
    std::size_t hash = 0;
    for (unsigned char c : word)
        hash += values_[c];
    return hash;
}

TqvKeywordTable::TqvKeywordTable(const TqvHashScheme& scheme, int size)
    : scheme_(scheme), first_(size + 1, 0) {}

std::uint64_t TqvKeywordTable::Head(const std::uint8_t* values, int length) {
    std::uint64_t head = 0;
    std::memcpy(&head, values, std::min(length, 8));
    return head;
}

void TqvKeywordTable::Add(std::string_view keyword, std::uint8_t kind) {
    const std::size_t hash = scheme_.Hash(keyword);
    if (hash >= static_cast<std::size_t>(Size()) || keyword.size() > kMaxKeywordLength)
        throw std::logic_error("keyword \"" + std::string(keyword) + "\" does not fit the table");
    std::string values;
    for (unsigned char c : keyword)
        values += static_cast<char>(scheme_.Value(c));
    const int length = static_cast<int>(keyword.size());
    const std::uint64_t head = Head(reinterpret_cast<const std::uint8_t*>(values.data()), length);
    entries_.insert(entries_.begin() + first_[hash + 1],
                    {std::string(keyword), values, head, kind});
    for (std::size_t h = hash + 1; h < first_.size(); ++h)
        ++first_[h];
    maxLength_ = std::max(maxLength_, length);
}

std::vector<std::string_view> TqvKeywordTable::KeywordsAt(int hash) const {
    std::vector<std::string_view> words;
    if (hash >= 0 && hash < Size())
        for (std::uint32_t i = first_[hash]; i < first_[hash + 1]; ++i)
            words.push_back(entries_[i].word);
    return words;
}

std::uint8_t TqvKeywordTable::Classify(const char* start, int& length) const {
    // Locals: the text is chars, which may alias anything, so members would be reloaded.
    const std::int16_t* classValues = scheme_.ClassValueTable();
    const auto* first = reinterpret_cast<const unsigned char*>(start);
    const unsigned char* p = first;
    std::uint8_t values[kMaxKeywordLength];
    std::size_t hash = 0;
    std::uint64_t head = 0; // built in registers, not read back from `values`
    for (int value; (value = classValues[*p]) >= 0; ++p) {
        hash += value;
        const std::size_t at = p - first;
        if (at < 8) head |= static_cast<std::uint64_t>(value) << (8 * at);
        if (at < kMaxKeywordLength) values[at] = static_cast<std::uint8_t>(value);
    }
    length = static_cast<int>(p - first);
    if (hash >= static_cast<std::size_t>(Size()) || length > maxLength_) return 1;
    for (std::uint32_t i = first_[hash], end = first_[hash + 1]; i < end; ++i) {
        const Entry& entry = entries_[i];
        if (static_cast<int>(entry.values.size()) == length && entry.head == head &&
            (length <= 8 || std::memcmp(entry.values.data() + 8, values + 8, length - 8) == 0))
            return entry.kind;
    }
    return 1;
}

} // namespace ondrex

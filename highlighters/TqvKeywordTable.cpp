#include "highlighters/TqvKeywordTable.h"

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
    : scheme_(scheme), entries_(size) {}

void TqvKeywordTable::Add(std::string_view keyword, std::uint8_t kind) {
    std::size_t hash = scheme_.Hash(keyword);
    if (hash >= entries_.size())
        throw std::logic_error("keyword \"" + std::string(keyword) + "\" hashes beyond the table");
    std::string values;
    for (unsigned char c : keyword)
        values += static_cast<char>(scheme_.Value(c));
    entries_[hash].push_back({std::string(keyword), values, kind});
}

std::vector<std::string_view> TqvKeywordTable::KeywordsAt(int hash) const {
    std::vector<std::string_view> words;
    if (hash >= 0 && hash < Size())
        for (const Entry& entry : entries_[hash])
            words.push_back(entry.word);
    return words;
}

bool TqvKeywordTable::MatchKeyword(const Entry& entry, const unsigned char* start,
                                   int length) const {
    if (static_cast<int>(entry.values.size()) != length) return false;
    for (int i = 0; i < length; ++i)
        if (static_cast<unsigned char>(entry.values[i]) != scheme_.Value(start[i])) return false;
    return true;
}

std::uint8_t TqvKeywordTable::Classify(const char* start, int& length) const {
    // Locals: the text is chars, which may alias anything, so members would be reloaded.
    const std::int16_t* classValues = scheme_.ClassValueTable();
    const auto* first = reinterpret_cast<const unsigned char*>(start);
    const unsigned char* p = first;
    std::size_t hash = 0;
    for (int value; (value = classValues[*p]) >= 0; ++p)
        hash += value;
    length = static_cast<int>(p - first);
    if (hash >= entries_.size()) return 1;
    for (const Entry& entry : entries_[hash])
        if (MatchKeyword(entry, first, length)) return entry.kind;
    return 1;
}

} // namespace ondrex

#include "highlighters/KeywordTable.h"

#include <stdexcept>

namespace ondrex {

const THashScheme& THashScheme::Letters() {
    static const THashScheme scheme = [] {
        THashScheme s;
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

const THashScheme& THashScheme::CharacterCodes() {
    static const THashScheme scheme = [] {
        THashScheme s;
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

void THashScheme::FillClassValues() {
    for (int c = 0; c < 256; ++c)
        classValues_[c] = inClass_[c] ? values_[c] : -1;
}

std::size_t THashScheme::Hash(std::string_view word) const {
    std::size_t hash = 0;
    for (unsigned char c : word)
        hash += values_[c];
    return hash;
}

TKeywordTable::TKeywordTable(const THashScheme& scheme, int size)
    : scheme_(scheme), classValues_(scheme.ClassValueTable()), size_(size), buckets_(size + 1) {}

void TKeywordTable::Add(std::string_view keyword, std::uint8_t kind) {
    const std::size_t hash = scheme_.Hash(keyword);
    if (hash >= static_cast<std::size_t>(Size()) || keyword.size() > kMaxKeywordLength)
        throw std::logic_error("keyword \"" + std::string(keyword) + "\" does not fit the table");
    std::string values;
    for (unsigned char c : keyword)
        values += static_cast<char>(scheme_.Value(c));
    entries_.insert(entries_.begin() + buckets_[hash + 1].first,
                    {std::string(keyword), values, kind});
    for (std::size_t h = hash + 1; h < buckets_.size(); ++h)
        ++buckets_[h].first;
    buckets_[hash].lengths |= std::uint64_t{1} << (keyword.size() % 64);
}

std::vector<std::string_view> TKeywordTable::KeywordsAt(int hash) const {
    std::vector<std::string_view> words;
    if (hash >= 0 && hash < Size())
        for (std::uint32_t i = buckets_[hash].first; i < buckets_[hash + 1].first; ++i)
            words.push_back(entries_[i].word);
    return words;
}

} // namespace ondrex

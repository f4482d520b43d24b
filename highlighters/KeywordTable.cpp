#include "highlighters/KeywordTable.h"

#include "highlighters/OddMultipliers.h"

#include <cstring>
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
        s.byCodes_ = true;
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
    : scheme_(scheme), classValues_(scheme.ClassValueTable()), size_(size), buckets_(size + 1) {
    RebuildShort();
}

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
    if (!keyword.empty() && keyword.size() <= kMaxShortLength) {
        TShortKey key;
        std::memcpy(&key, values.data(), values.size());
        key.high |= std::uint64_t(keyword.size()) << 56;
        AddShort(key, kind);
    }
}

void TKeywordTable::AddShort(const TShortKey& key, std::uint8_t kind) {
    for (int choice = 0; choice < 2; ++choice)
        if (shortSlots_[ShortSlot(key, choice)].key == key)
            return; // an earlier keyword with the same values is tested first
    shortKeys_.push_back({key, kind});
    // At most a quarter full, where two choices almost never fail.
    if (shortKeys_.size() * 4 > shortSlots_.size() || !PlaceShort(shortKeys_.back()))
        RebuildShort();
}

bool TKeywordTable::PlaceShort(TShortSlot slot) {
    std::size_t at = ShortSlot(slot.key, 0);
    for (int moves = 0; moves < 100; ++moves) {
        std::swap(slot, shortSlots_[at]);
        if (slot.key == TShortKey{}) return true;
        // The word moved out goes to its other slot.
        at = ShortSlot(slot.key, 0) == at ? ShortSlot(slot.key, 1) : ShortSlot(slot.key, 0);
    }
    return false;
}

void TKeywordTable::RebuildShort() {
    int bits = 6;
    while ((std::size_t(1) << bits) < shortKeys_.size() * 4)
        ++bits;
    for (int attempt = 1;; ++attempt) {
        // Fresh odd multipliers from a fixed sequence, so every run builds the same table.
        for (std::uint64_t& seed : seeds_)
            seed = NextOddMultiplier(seedState_);
        shortBits_ = bits + attempt / 8;
        shortSlots_.assign(std::size_t(1) << shortBits_, TShortSlot{});
        bool placed = true;
        for (const TShortSlot& slot : shortKeys_)
            if (!(placed = PlaceShort(slot))) break;
        if (placed) return;
    }
}

std::vector<std::string_view> TKeywordTable::KeywordsAt(int hash) const {
    std::vector<std::string_view> words;
    if (hash >= 0 && hash < Size())
        for (std::uint32_t i = buckets_[hash].first; i < buckets_[hash + 1].first; ++i)
            words.push_back(entries_[i].word);
    return words;
}

} // namespace ondrex

#pragma once
// Keyword recognition by hash: the hash of an identifier is the sum of its characters' hash
// values; entry h of the table holds the keywords with hash h, tested in the order they
// were added. Identifiers hashing at or beyond the table size, and those no keyword of their
// entry matches, are identifiers (kind 1).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class THashScheme {
public:
    // Letters 1..26 whatever their case, "_" 31, every other character 0; identifiers are
    // 0-9, A-Z, a-z, "_"; characters match when their values are equal (so case is ignored).
    static const THashScheme& Letters();
    // The character code itself; identifiers are "$", "%", "@", 0-9, A-Z, "_", a-z;
    // characters match only when identical.
    static const THashScheme& CharacterCodes();

    int Value(unsigned char c) const { return values_[c]; }
    bool InClass(unsigned char c) const { return inClass_[c]; }
    // Equal values: case-blind under Letters, identity under CharacterCodes (whose value is
    // the code itself).
    bool Matches(unsigned char a, unsigned char b) const { return values_[a] == values_[b]; }
    // Per character: its value when it belongs to the class, else -1 (one lookup a character).
    const std::int16_t* ClassValueTable() const { return classValues_.data(); }
    // Hash of the whole word.
    std::size_t Hash(std::string_view word) const;

private:
    THashScheme() = default;

    std::array<std::uint8_t, 256> values_{};
    std::array<bool, 256> inClass_{};
    std::array<std::int16_t, 256> classValues_{};
    void FillClassValues();
};

class TKeywordTable {
public:
    TKeywordTable(const THashScheme& scheme, int size);

    // The keyword goes to the entry of its hash, after those already there. A keyword whose
    // hash does not fit the table, or longer than 64 characters, is a programming error
    // (std::logic_error).
    void Add(std::string_view keyword, std::uint8_t kind);

    int Size() const { return static_cast<int>(size_); }
    const THashScheme& Scheme() const { return scheme_; }
    // Keywords tested at the hash, in test order.
    std::vector<std::string_view> KeywordsAt(int hash) const;

    // `start` points at the first character of an identifier in NUL-terminated text. The hash
    // runs over the characters of the scheme's class; `length` receives their count. Answers
    // the kind of the first keyword of that entry that matches, or 1 (identifier).
    std::uint8_t Classify(const char* start, int& length) const;

private:
    static constexpr int kMaxKeywordLength = 64;
    struct Entry {
        std::string word;
        std::string values; // the word's characters mapped to their hash values
        std::uint8_t kind;
    };
    struct Bucket {
        std::uint32_t first = 0; // entries_[first .. next bucket's first - 1], in test order
        // Bit (n % 64) set when a keyword of length n is here: most identifiers that reach a
        // bucket are turned away by this one test.
        std::uint64_t lengths = 0;
    };
    bool Matches(const Entry& entry, const unsigned char* text, int length) const;

    const THashScheme& scheme_;
    // Copies of what Classify reads for every identifier, one load each.
    const std::int16_t* classValues_;
    std::size_t size_;
    // Size() + 1 buckets, the last one only closing the previous.
    std::vector<Bucket> buckets_;
    std::vector<Entry> entries_;
};

// Inline: the scanners call Classify for every identifier.
inline bool TKeywordTable::Matches(const Entry& entry, const unsigned char* text,
                                   int length) const {
    if (static_cast<int>(entry.values.size()) != length) return false;
    const auto* values = reinterpret_cast<const unsigned char*>(entry.values.data());
    for (int i = 0; i < length; ++i)
        if (scheme_.Value(text[i]) != values[i]) return false;
    return true;
}

inline std::uint8_t TKeywordTable::Classify(const char* start, int& length) const {
    // A local copy: the text is chars, which may alias anything, so a member would be
    // reloaded on every character.
    const std::int16_t* classValues = classValues_;
    const auto* text = reinterpret_cast<const unsigned char*>(start);
    const unsigned char* p = text;
    std::size_t hash = 0;
    for (int value; (value = classValues[*p]) >= 0; ++p)
        hash += value;
    length = static_cast<int>(p - text);
    if (hash >= size_) return 1;
    const Bucket* bucket = &buckets_[hash];
    if (((bucket->lengths >> (length % 64)) & 1) == 0) return 1;
    for (std::uint32_t i = bucket[0].first, end = bucket[1].first; i < end; ++i)
        if (Matches(entries_[i], text, length)) return entries_[i].kind;
    return 1;
}

} // namespace ondrex

#pragma once
// Keyword recognition by hash: the hash of an identifier is the sum of its characters' hash
// values; entry h of the table holds the keywords with hash h, tested in the order they
// were added. Identifiers hashing at or beyond the table size, and those no keyword of their
// entry matches, are identifiers (kind 1).
//
// An identifier of 1 to 15 characters is read sixteen bytes at a time instead, where those
// bytes lie in one page: its values and length make one 16-byte key, looked up without a
// branch in a two-choice table of the keywords of up to 15 characters (the first added of
// equal keys kept, as the entries' test order would).

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    // CharacterCodes: the class holds "$", "%" and "@" too, and a value is the code itself.
    bool ByCodes() const { return byCodes_; }

private:
    THashScheme() = default;

    bool byCodes_ = false;
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
    // The same one character at a time, whatever the identifier's length and the page.
    std::uint8_t ClassifyPlain(const char* start, int& length) const;

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

    // A word of up to 15 characters as a key: its values, zeros after them, and its length
    // in the last byte.
    struct TShortKey {
        std::uint64_t low = 0, high = 0;
        bool operator==(const TShortKey&) const = default;
    };
    struct TShortSlot {
        TShortKey key; // all zeros when free: no key of a word of 1..15 characters is
        std::uint8_t kind = 1;
    };
    static constexpr int kMaxShortLength = 15;
    std::size_t ShortSlot(const TShortKey& key, int choice) const {
        return std::size_t((key.low * seeds_[2 * choice] + key.high * seeds_[2 * choice + 1]) >>
                           (64 - shortBits_));
    }
    std::uint8_t ShortKind(const TShortKey& key) const {
        const TShortSlot& first = shortSlots_[ShortSlot(key, 0)];
        const TShortSlot& second = shortSlots_[ShortSlot(key, 1)];
        // Masks rather than branches: whether an identifier is a keyword is not predictable.
        const unsigned inFirst = 0u - unsigned(first.key == key);
        const unsigned inSecond = 0u - unsigned(second.key == key);
        return std::uint8_t((first.kind & inFirst) | (second.kind & inSecond) |
                            (1u & ~(inFirst | inSecond)));
    }
    void AddShort(const TShortKey& key, std::uint8_t kind);
    bool PlaceShort(TShortSlot slot);
    void RebuildShort();
#if defined(__SSE2__)
    // Classify over the sixteen bytes at `start`: false when the identifier is empty or
    // longer than 15 characters.
    bool ClassifySixteen(const char* start, int& length, std::uint8_t& kind) const;
#endif

    const THashScheme& scheme_;
    // Copies of what Classify reads for every identifier, one load each.
    const std::int16_t* classValues_;
    std::size_t size_;
    // Size() + 1 buckets, the last one only closing the previous.
    std::vector<Bucket> buckets_;
    std::vector<Entry> entries_;
    // The keywords of 1..15 characters in the order added (the first of equal keys only),
    // and by key, each in one of its two slots.
    std::vector<TShortSlot> shortKeys_;
    std::vector<TShortSlot> shortSlots_;
    int shortBits_ = 0;
    std::uint64_t seeds_[4] = {};
    std::uint64_t seedState_ = 0;
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

#if defined(__SSE2__)
// The bytes past the identifier's end may lie past the text's allocation (never past its
// page): a sanitizer must not count them, so the load stays out of instrumented code.
#if defined(__clang__)
__attribute__((no_sanitize("address")))
#else
__attribute__((no_sanitize_address))
#endif
inline __m128i
LoadSixteenInPage(const char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

inline bool TKeywordTable::ClassifySixteen(const char* start, int& length,
                                           std::uint8_t& kind) const {
    const __m128i v = LoadSixteenInPage(start);
    // Unsigned c - low < span, as a signed compare.
    auto within = [](__m128i c, char low, int span) {
        return _mm_cmplt_epi8(_mm_add_epi8(c, _mm_set1_epi8(char(-128 - low))),
                              _mm_set1_epi8(char(-128 + span)));
    };
    const __m128i folded = _mm_or_si128(v, _mm_set1_epi8(0x20));
    const __m128i letter = within(folded, 'a', 26);
    const __m128i underscore = _mm_cmpeq_epi8(v, _mm_set1_epi8('_'));
    __m128i inClass = _mm_or_si128(_mm_or_si128(letter, within(v, '0', 10)), underscore);
    __m128i values;
    if (scheme_.ByCodes()) {
        inClass = _mm_or_si128(inClass,
                               _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('$')),
                                            _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('%')),
                                                         _mm_cmpeq_epi8(v, _mm_set1_epi8('@')))));
        values = v;
    } else {
        // A letter's value is its position in the alphabet, "_" 31, a digit 0.
        values = _mm_or_si128(_mm_and_si128(letter, _mm_and_si128(v, _mm_set1_epi8(0x1F))),
                              _mm_and_si128(underscore, _mm_set1_epi8(31)));
    }
    const unsigned outside = ~unsigned(_mm_movemask_epi8(inClass)) & 0xFFFF;
    // Empty (the first byte is outside) or sixteen characters or more (none is).
    if (outside == 0 || (outside & 1)) return false;
    length = std::countr_zero(outside);
    const __m128i index = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    values = _mm_and_si128(values, _mm_cmpgt_epi8(_mm_set1_epi8(char(length)), index));
    values = _mm_or_si128(values, _mm_slli_si128(_mm_cvtsi32_si128(length), 15));
    const TShortKey key{std::uint64_t(_mm_cvtsi128_si64(values)),
                        std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(values, values)))};
    kind = ShortKind(key);
    return true;
}
#endif

inline std::uint8_t TKeywordTable::Classify(const char* start, int& length) const {
#if defined(__SSE2__)
    if ((reinterpret_cast<std::uintptr_t>(start) & 4095) <= 4096 - 16) {
        std::uint8_t kind;
        if (ClassifySixteen(start, length, kind)) return kind;
    }
#endif
    return ClassifyPlain(start, length);
}

inline std::uint8_t TKeywordTable::ClassifyPlain(const char* start, int& length) const {
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

#include "platform/CodePage.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ondrex {

namespace {

TCodePage gActive = TCodePage::Utf8;

// Windows-1252 bytes 0x80..0x9F; the undefined five map to the C1 control of the same value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t cp1252ToUnicode(std::uint8_t b) {
    if (b >= 0x80 && b <= 0x9F) return kCp1252High[b - 0x80];
    return b;
}

// Length of the well-formed UTF-8 sequence at p (Unicode Table 3-7), or 1 when the byte
// there does not start one (ASCII or invalid).
std::size_t utf8SeqLength(const unsigned char* p, std::size_t avail) {
    const unsigned char b0 = p[0];
    if (b0 < 0x80) return 1;
    auto cont = [&](std::size_t i, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
        return i < avail && p[i] >= lo && p[i] <= hi;
    };
    if (b0 >= 0xC2 && b0 <= 0xDF) return cont(1) ? 2 : 1;
    if (b0 == 0xE0) return cont(1, 0xA0) && cont(2) ? 3 : 1;
    if ((b0 >= 0xE1 && b0 <= 0xEC) || b0 == 0xEE || b0 == 0xEF) return cont(1) && cont(2) ? 3 : 1;
    if (b0 == 0xED) return cont(1, 0x80, 0x9F) && cont(2) ? 3 : 1;
    if (b0 == 0xF0) return cont(1, 0x90) && cont(2) && cont(3) ? 4 : 1;
    if (b0 >= 0xF1 && b0 <= 0xF3) return cont(1) && cont(2) && cont(3) ? 4 : 1;
    if (b0 == 0xF4) return cont(1, 0x80, 0x8F) && cont(2) && cont(3) ? 4 : 1;
    return 1;
}

const unsigned char* bytes(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

struct Tables {
    std::array<std::uint8_t, 256> lower[2];
    std::array<std::uint8_t, 256> upper[2];
    std::array<bool, 256> alnum[2];

    Tables() {
        for (int cp = 0; cp < 2; ++cp)
            for (int c = 0; c < 256; ++c) {
                lower[cp][c] = static_cast<std::uint8_t>(c);
                upper[cp][c] = static_cast<std::uint8_t>(c);
                bool ascii =
                    (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
                alnum[cp][c] = ascii || (cp == 0 && c >= 0x80);
            }
        for (int cp = 0; cp < 2; ++cp)
            for (int c = 'A'; c <= 'Z'; ++c)
                pair(cp, c, c + 32);
        // Windows-1252 letters.
        const int w = 1;
        for (int c = 0xC0; c <= 0xDE; ++c)
            if (c != 0xD7) pair(w, c, c + 32);
        pair(w, 0x8A, 0x9A);
        pair(w, 0x8C, 0x9C);
        pair(w, 0x8E, 0x9E);
        pair(w, 0x9F, 0xFF);
        for (int c : {0x83, 0xAA, 0xB5, 0xBA, 0xDF})
            alnum[w][c] = true;
        for (int c : {0xB2, 0xB3, 0xB9})
            alnum[w][c] = true; // superscript digits
    }
    void pair(int cp, int up, int low) {
        lower[cp][up] = static_cast<std::uint8_t>(low);
        upper[cp][low] = static_cast<std::uint8_t>(up);
        alnum[cp][up] = alnum[cp][low] = true;
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

int tableIndex(TCodePage cp) {
    return cp == TCodePage::Utf8 ? 0 : 1;
}

} // namespace

TCodePage ActiveCodePage() {
    return gActive;
}
void SetActiveCodePage(TCodePage codePage) {
    gActive = codePage;
}

std::size_t CharLength(TCodePage cp, std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return 0;
    if (cp == TCodePage::Windows1252) return 1;
    return utf8SeqLength(bytes(s) + pos, s.size() - pos);
}

std::size_t CharStart(TCodePage cp, std::string_view s, std::size_t pos) {
    if (pos >= s.size() || cp == TCodePage::Windows1252) return pos;
    const unsigned char* p = bytes(s);
    if (!IsContinuationByte(cp, p[pos])) return pos;
    for (std::size_t k = 1; k <= 3 && k <= pos; ++k) {
        unsigned char b = p[pos - k];
        if (IsContinuationByte(cp, b)) continue;
        // b is the nearest non-continuation byte: it owns pos only when its well-formed
        // sequence reaches that far.
        return utf8SeqLength(p + pos - k, s.size() - (pos - k)) > k ? pos - k : pos;
    }
    return pos;
}

bool IsCharBoundary(TCodePage cp, std::string_view s, std::size_t pos) {
    return CharStart(cp, s, pos) == pos;
}

bool IsLeadByteAt(TCodePage cp, std::string_view s, std::size_t pos) {
    return CharLength(cp, s, pos) > 1;
}

std::size_t NextCharBoundary(TCodePage cp, std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return s.size();
    std::size_t start = CharStart(cp, s, pos);
    return start == pos ? pos : start + CharLength(cp, s, start);
}

std::size_t PrevCharBoundary(TCodePage cp, std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return s.size();
    return CharStart(cp, s, pos);
}

bool IsLeadByte(TCodePage cp, std::uint8_t byte) {
    return cp == TCodePage::Utf8 && byte >= 0xC2 && byte <= 0xF4;
}

bool IsContinuationByte(TCodePage cp, std::uint8_t byte) {
    return cp == TCodePage::Utf8 && byte >= 0x80 && byte <= 0xBF;
}

TDecodedChar DecodeChar(TCodePage cp, std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return {};
    const unsigned char* p = bytes(s) + pos;
    if (cp == TCodePage::Windows1252) return {cp1252ToUnicode(p[0]), 1};
    std::size_t n = utf8SeqLength(p, s.size() - pos);
    switch (n) {
    case 2:
        return {char32_t((p[0] & 0x1F) << 6 | (p[1] & 0x3F)), 2};
    case 3:
        return {char32_t((p[0] & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F)), 3};
    case 4:
        return {char32_t((p[0] & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 |
                         (p[3] & 0x3F)),
                4};
    default:
        return {p[0] < 0x80 ? char32_t(p[0]) : char32_t(0xFFFD), 1};
    }
}

TCharClass CharClassOf(char32_t c) {
    if (c == '\t') return ccTab;
    if (c < 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD) return ccOther;
    if (c < 0x80) {
        bool word =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (word) return ccHalfWidth;
        return c == ' ' ? ccOther : ccHalfWidthSymbol;
    }
    if (c < 0xC0) return (c == 0xAA || c == 0xB5 || c == 0xBA) ? ccHalfWidth : ccHalfWidthSymbol;
    if (c < 0x100) return (c == 0xD7 || c == 0xF7) ? ccHalfWidthSymbol : ccHalfWidth;
    if (c == 0x0640) return ccKashida;
    if (c >= 0x2000 && c <= 0x200B) return ccOther; // spaces
    if (c == 0x2028 || c == 0x2029) return ccOther;
    if (c >= 0x2010 && c <= 0x2BFF) return ccHalfWidthSymbol; // punctuation, symbols, arrows
    if (c < 0x1100) return ccHalfWidth;                       // alphabetic scripts
    if (c == 0x3000) return ccOther;                          // ideographic space
    if (c >= 0x3001 && c <= 0x303F) return ccFullWidthSymbol;
    if (c >= 0x3040 && c <= 0x309F) return ccHiragana;
    if (c >= 0x30A0 && c <= 0x30FF) return ccFullWidthIdeo; // katakana
    if (c >= 0x1100 && c <= 0x11FF) return ccFullWidthIdeo; // hangul jamo
    if (c < 0x2E80) return ccHalfWidth;
    if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
        (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) || c >= 0x20000)
        return ccFullWidthIdeo;
    if (c >= 0xFF01 && c <= 0xFF60) {
        bool alnum = (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) ||
                     (c >= 0xFF41 && c <= 0xFF5A);
        return alnum ? ccFullWidth : ccFullWidthSymbol;
    }
    if (c >= 0xFF61 && c <= 0xFF64) return ccHalfWidthSymbol;
    if (c >= 0xFF65 && c <= 0xFF9F) return ccHalfWidthIdeo; // half-width katakana
    if (c >= 0xFE30 && c <= 0xFE4F) return ccFullWidthSymbol;
    if (c >= 0xD800 && c <= 0xDFFF) return ccOther;
    if (c == 0xFFFD) return ccHalfWidthSymbol;
    if (c >= 0xE000 && c <= 0xF8FF) return ccHalfWidth; // private use
    if (c >= 0xFB00 && c <= 0xFDFF) return ccHalfWidth; // presentation forms
    return ccFullWidth;
}

const std::uint8_t* AnsiLowerTable(TCodePage cp) {
    return tables().lower[tableIndex(cp)].data();
}

const std::uint8_t* AnsiUpperTable(TCodePage cp) {
    return tables().upper[tableIndex(cp)].data();
}

namespace {

std::string mapped(const std::uint8_t* table, std::string_view s) {
    std::string out(s);
    for (char& ch : out)
        ch = static_cast<char>(table[static_cast<unsigned char>(ch)]);
    return out;
}

} // namespace

std::string AnsiLowerCase(TCodePage cp, std::string_view s) {
    return mapped(AnsiLowerTable(cp), s);
}

std::string AnsiUpperCase(TCodePage cp, std::string_view s) {
    return mapped(AnsiUpperTable(cp), s);
}

std::string AsciiUpperCase(std::string_view s) {
    return AnsiUpperCase(TCodePage::Utf8, s);
}

int CompareText(std::string_view a, std::string_view b, TCodePage cp) {
    const std::uint8_t* t = AnsiLowerTable(cp);
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int x = t[static_cast<unsigned char>(a[i])];
        const int y = t[static_cast<unsigned char>(b[i])];
        if (x != y) return x - y;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool SameText(std::string_view a, std::string_view b, TCodePage cp) {
    return a.size() == b.size() && CompareText(a, b, cp) == 0;
}

bool IsAnsiAlphaNumeric(TCodePage cp, std::uint8_t byte) {
    return tables().alnum[tableIndex(cp)][byte];
}

bool IsValidUtf8(std::string_view s) {
    const unsigned char* p = bytes(s);
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        // ASCII fast path, sixty-four bytes at a time where the processor allows, then eight.
#if defined(__SSE2__)
        for (; i + 64 <= n; i += 64) {
            const auto* v = reinterpret_cast<const __m128i*>(p + i);
            const __m128i any =
                _mm_or_si128(_mm_or_si128(_mm_loadu_si128(v), _mm_loadu_si128(v + 1)),
                             _mm_or_si128(_mm_loadu_si128(v + 2), _mm_loadu_si128(v + 3)));
            if (_mm_movemask_epi8(any)) break;
        }
#endif
        while (i + 8 <= n) {
            std::uint64_t w;
            std::memcpy(&w, p + i, 8);
            if (w & 0x8080808080808080ULL) break;
            i += 8;
        }
        if (i >= n) break;
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = utf8SeqLength(p + i, n - i);
        if (len == 1) return false;
        i += len;
    }
    return true;
}

TCodePage DetectCodePage(std::string_view block) {
    return IsValidUtf8(block) ? TCodePage::Utf8 : TCodePage::Windows1252;
}

void AppendCodePoint(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf8(TCodePage cp, std::string_view s, std::string& out) {
    const unsigned char* p = bytes(s);
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t run = i;
        while (run < s.size() && p[run] < 0x80)
            ++run;
        out.append(s.data() + i, run - i);
        i = run;
        if (i >= s.size()) break;
        if (cp == TCodePage::Windows1252) {
            AppendCodePoint(cp1252ToUnicode(p[i]), out);
            ++i;
            continue;
        }
        std::size_t len = utf8SeqLength(p + i, s.size() - i);
        if (len == 1)
            AppendCodePoint(0xFFFD, out);
        else
            out.append(s.data() + i, len);
        i += len;
    }
}

std::string ToUtf8(TCodePage cp, std::string_view s) {
    std::string out;
    out.reserve(s.size());
    AppendUtf8(cp, s, out);
    return out;
}

} // namespace ondrex

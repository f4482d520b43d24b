#pragma once
// The "ANSI code page" of the process. Lines are bytes (Overview, "Text line"); this unit
// says which bytes belong together as one character and how they are classified, cased and
// shown. UTF-8 is the default; Windows-1252 is the other code page, used for files that are
// not valid UTF-8. The classic double-byte rules generalise to "lead byte / continuation
// byte": a caret, a selection end or a mouse column never lands inside a character, and an
// invalid byte (a stray continuation byte, an overlong or truncated sequence) is a character
// of its own. Plain C++: no Qt here, so every folder may use it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ondrex {

enum class TCodePage { Utf8, Windows1252 };

// The process-wide code page (UTF-8 unless changed). Not thread-safe; set it at start-up.
TCodePage ActiveCodePage();
void SetActiveCodePage(TCodePage codePage);

// Makes a code page the active one for a scope.
class TScopedCodePage {
public:
    explicit TScopedCodePage(TCodePage codePage) : saved_(ActiveCodePage()) {
        SetActiveCodePage(codePage);
    }
    ~TScopedCodePage() { SetActiveCodePage(saved_); }
    TScopedCodePage(const TScopedCodePage&) = delete;
    TScopedCodePage& operator=(const TScopedCodePage&) = delete;

private:
    TCodePage saved_;
};

// ---- Character boundaries -------------------------------------------------------------

// Number of bytes of the character that starts at byte index `pos` of `s` (1 for ASCII, for
// Windows-1252 and for an invalid byte; 2..4 for a well-formed UTF-8 sequence). 0 when `pos`
// is at or past the end.
std::size_t CharLength(TCodePage cp, std::string_view s, std::size_t pos);

// Index of the first byte of the character that contains byte `pos` (pos itself when it
// starts a character). `pos` at or past the end is returned unchanged.
std::size_t CharStart(TCodePage cp, std::string_view s, std::size_t pos);

// True when `pos` is the first byte of a character or at/after the end of `s`: a place a
// caret may stand on. The classic "second byte of a double-byte character" is the negation.
bool IsCharBoundary(TCodePage cp, std::string_view s, std::size_t pos);

// True when byte `pos` begins a character of more than one byte (the classic "first byte of a
// double-byte character").
bool IsLeadByteAt(TCodePage cp, std::string_view s, std::size_t pos);

// The nearest boundary at or after / at or before `pos` (clamped to s.size()).
std::size_t NextCharBoundary(TCodePage cp, std::string_view s, std::size_t pos);
std::size_t PrevCharBoundary(TCodePage cp, std::string_view s, std::size_t pos);

// Bytes of a lone byte value that can start / continue a multi-byte character, without
// context (UTF-8: 0xC2..0xF4 and 0x80..0xBF; Windows-1252: never).
bool IsLeadByte(TCodePage cp, std::uint8_t byte);
bool IsContinuationByte(TCodePage cp, std::uint8_t byte);

// ---- Characters -----------------------------------------------------------------------

// The Unicode code point of the character at `pos` and its byte length. An invalid UTF-8
// byte decodes as U+FFFD with length 1; Windows-1252 maps through its table (the five
// undefined bytes 0x81 0x8D 0x8F 0x90 0x9D map to the C1 controls of the same value).
struct TDecodedChar {
    char32_t codePoint = 0;
    std::size_t length = 0;
};
TDecodedChar DecodeChar(TCodePage cp, std::string_view s, std::size_t pos);

// Character classes for word selection by "the system's character classification" (Part
// 2.11): the word is the run of characters of one class around the column.
enum TCharClass : int {
    ccOther = 0,           // white space, controls
    ccHalfWidth = 1,       // letters, digits and the underscore of the half-width forms
    ccHalfWidthIdeo = 2,   // half-width katakana
    ccHalfWidthSymbol = 3, // punctuation and symbols of the half-width forms
    ccFullWidth = 4,       // other wide characters
    ccFullWidthIdeo = 5,   // katakana, CJK ideographs, hangul
    ccFullWidthSymbol = 6, // CJK punctuation, full-width forms that are symbols
    ccHiragana = 7,
    ccKashida = 8,
    ccTab = 9,
};
TCharClass CharClassOf(char32_t codePoint);

// ---- Bytes: casing and classification tables ------------------------------------------

// 256-entry ANSI lower-casing / upper-casing tables of the code page (the search engine's
// comparison table). UTF-8 maps only ASCII letters (bytes of multi-byte characters
// are left alone, so the length never changes); Windows-1252 also maps its accented letters
// (and Š/š, Œ/œ, Ž/ž, Ÿ/ÿ).
const std::uint8_t* AnsiLowerTable(TCodePage cp);
const std::uint8_t* AnsiUpperTable(TCodePage cp);
std::string AnsiLowerCase(TCodePage cp, std::string_view s);
std::string AnsiUpperCase(TCodePage cp, std::string_view s);

// ---- Comparing without regard to case -------------------------------------------------

// The one case-insensitive comparison: bytes compared as the code page's lower-casing table
// maps them. Never the C library's tolower/strcasecmp, whose answers follow the process
// locale (a Turkish locale folds I to a dotless i). Names the program knows (commands, keys,
// fonts, settings, languages, extensions) fold ASCII letters only, the UTF-8 table.
// CompareText orders as strcasecmp does in the C locale: <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b, TCodePage cp = TCodePage::Utf8);
bool SameText(std::string_view a, std::string_view b, TCodePage cp = TCodePage::Utf8);
// Upper case as names the program knows fold: ASCII letters only, every other byte as it is
// (the length never changes), whatever the process locale.
constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}
std::string AsciiUpperCase(std::string_view s);

// True when the byte is a letter or a digit by the code page's classification (the search
// engine's delimiter table is the negation). In UTF-8 every byte of 0x80 and above counts
// as part of a letter, so whole-word tests never split a multi-byte character.
bool IsAnsiAlphaNumeric(TCodePage cp, std::uint8_t byte);

// ---- Decoding for output ---------------------------------------------------------------

bool IsValidUtf8(std::string_view s);
// UTF-8 when the whole block is valid UTF-8, else Windows-1252: the code page a file's bytes
// are shown in.
TCodePage DetectCodePage(std::string_view block);
// The bytes as UTF-8 text in the given code page: UTF-8 is returned as is (invalid bytes,
// should there be any, become U+FFFD); Windows-1252 is converted byte by byte.
std::string ToUtf8(TCodePage cp, std::string_view s);
// Appends instead of returning (no allocation beyond the target's growth).
void AppendUtf8(TCodePage cp, std::string_view s, std::string& out);
void AppendCodePoint(char32_t codePoint, std::string& out);

} // namespace ondrex

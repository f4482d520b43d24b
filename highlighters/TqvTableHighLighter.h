#pragma once
// The scanner every language shares: the line being scanned (not copied), the scan position,
// the current token, the 8-bit range, and the 256-entry table of character procedures that
// NextToken dispatches on. A language fills the procedure table with its own member
// functions, maps each token kind to an attribute and export flags, and adds LanguageName.
//
// A language subclass must:
//  - call this constructor with its end-of-line kind (tkNull) and initial range;
//  - create its attributes through AddAttribute, then BindAttributeChanges;
//  - fill the procedure table (SetProc/SetProcs/SetProcRange); unset entries scan one
//    character of kind 1, entry 0 ends the line;
//  - DefineKind for every token kind it produces, SetDefaultAttributes, SetDefaultFilter;
//  - override LanguageName; optionally WordChars, and NextToken (to consult the range
//    first) together with DoScanToLineEnd, which otherwise scans with the table alone.
// Procedures start at run_ == tokenStart_, advance run_ past the token, set tokenKind_, and
// never move past the NUL that ends the line.

#include "highlighters/KeywordTable.h"
#include "highlighters/qvHighlighter.h"

#include <array>
#include <string_view>

namespace ondrex {

class TqvTableHighLighter : public TqvCustomHighLighter {
public:
    TSynCharSet WordChars() const override;
    TqvHighLightAttributes* DefaultAttribute(int role) const override;
    THighlighterCapabilities Capabilities() const override;

    void ExportNextToken() override;
    bool AtLineEnd() const final { return tokenKind_ == nullKind_; }
    TqvRangeState RangeState() const override { return range_; }
    std::string TokenText() const override { return std::string(TokenView()); }
    TqvHighLightAttributes* TokenAttribute() const override { return kinds_[tokenKind_].attribute; }
    int TokenKind() const final { return tokenKind_; }
    int TokenStart() const final { return tokenStart_; }
    void NextToken() override { ScanToken(); }
    void StartLine(const char* line, int lineIndex) override;
    void StartExportLine(const char* line) override;
    void ExportTokens(const char* line, std::vector<TExportToken>& tokens) override {
        CollectExportTokens(line, tokens, [this] { ScanToken(); });
    }
    void SetRangeState(TqvRangeState value) override { range_ = static_cast<std::uint8_t>(value); }
    void ResetRangeState() override { range_ = initialRange_; }

    // The current token without a copy; valid while the line is.
    std::string_view TokenView() const {
        return std::string_view(line_ + tokenStart_, run_ - tokenStart_);
    }
    int LineNumber() const { return lineNumber_; }

protected:
    // Plain function pointers: a call through a member function pointer costs a test of
    // whether it is virtual on every character that starts a token.
    using TProc = void (*)(TqvTableHighLighter&);

    // How ExportNextToken hands a kind to the sink.
    enum TqvExportMode { exPlain, exWhitespace, exSecond, exHidden };

    TqvTableHighLighter(TqvTokenKind nullKind, std::uint8_t initialRange);

    // Proc is a member function of the language, such as &TzkVbsSyn::SpaceProc.
    template <auto Proc> void SetProc(unsigned char c) { procTable_[c] = &Call<Proc>; }
    template <auto Proc> void SetProcs(std::string_view chars) {
        for (char c : chars)
            SetProc<Proc>(static_cast<unsigned char>(c));
    }
    template <auto Proc> void SetProcRange(unsigned char first, unsigned char last) {
        for (int c = first; c <= last; ++c)
            SetProc<Proc>(static_cast<unsigned char>(c));
    }

    // exportAttribute: what the sink receives when it differs from the token's attribute.
    void DefineKind(TqvTokenKind kind, TqvHighLightAttributes* attribute, TqvExportMode mode,
                    TqvHighLightAttributes* exportAttribute = nullptr);
    void SetDefaultAttributes(TqvHighLightAttributes* space, TqvHighLightAttributes* comment,
                              TqvHighLightAttributes* keyword);

    static bool IsIdentChar(unsigned char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
               c == '_';
    }
    // Blank and control characters except NUL, LF and CR.
    static bool IsSpaceChar(unsigned char c) { return c >= 1 && c <= 32 && c != 10 && c != 13; }
    static bool IsLineEnd(char c) { return c == 0 || c == 10 || c == 13; }
    char At(int offset) const { return line_[offset]; }

    // The table's token, without the virtual call of NextToken.
    void ScanToken() {
        tokenStart_ = run_;
        procTable_[static_cast<unsigned char>(line_[run_])](*this);
    }
    void DoScanToLineEnd() override;
    // ExportTokens with the language's own token step, called without a virtual call.
    template <class Next>
    void CollectExportTokens(const char* line, std::vector<TExportToken>& tokens, Next next) {
        line_ = line;
        run_ = 0;
        const std::size_t first = tokens.size();
        for (next(); tokenKind_ != nullKind_; next()) {
            TqvHighLightAttributes* shown = kinds_[tokenKind_].shown;
            if (tokens.size() == first || tokens.back().attribute != shown)
                tokens.push_back({tokenStart_, shown});
        }
        tokens.push_back({tokenStart_, nullptr});
    }

    // Shared procedure bodies, each setting the kind it is given.
    void ScanNull() { tokenKind_ = nullKind_; }
    void ScanSingle(TqvTokenKind kind) {
        ++run_;
        tokenKind_ = kind;
    }
    // A run of IsSpaceChar characters.
    void ScanSpaces(TqvTokenKind kind) {
        tokenKind_ = kind;
        do
            ++run_;
        while (IsSpaceChar(static_cast<unsigned char>(line_[run_])));
    }
    void ScanLF(TqvTokenKind kind) { ScanSingle(kind); }
    // CR, or CR LF.
    void ScanCR(TqvTokenKind kind);
    // Up to (not including) NUL, CR or LF.
    void ScanRestOfLine(TqvTokenKind kind);
    // One character, or two when the next one is among `seconds`.
    void ScanPair(TqvTokenKind kind, std::string_view seconds);
    // From the opening quote (the current character) up to and including the next one, or
    // up to the line end, taking a CR or LF that ends it into the token. With tripleOpening,
    // two more quotes right after the opening one belong to the opening.
    void ScanQuoted(TqvTokenKind kind, bool tripleOpening);
    // Up to NUL, CR or LF, or past the first "*/": answers whether "*/" was found.
    bool ScanToCommentClose();
    // Keyword or identifier by the table; every scheme's class holds the identifier characters.
    void ScanIdentifier(const TKeywordTable& keywords) {
        int length = 0;
        tokenKind_ = keywords.Classify(line_ + run_, length);
        run_ += length;
    }

    const char* line_;
    int lineNumber_ = 0;
    int run_ = 0;
    int tokenStart_ = 0;
    TqvTokenKind tokenKind_;
    std::uint8_t range_;

private:
    struct KindInfo {
        TqvHighLightAttributes* attribute = nullptr;
        TqvHighLightAttributes* exportAttribute = nullptr;
        TqvExportMode mode = exHidden;
        // What ExportTokens gives: hidden kinds keep their own attribute.
        TqvHighLightAttributes* shown = nullptr;
    };
    template <class Member> struct MemberOf;
    template <class Language> struct MemberOf<void (Language::*)()> { using Class = Language; };
    template <auto Proc> static void Call(TqvTableHighLighter& self) {
        (static_cast<typename MemberOf<decltype(Proc)>::Class&>(self).*Proc)();
    }
    void UnknownProc() { ScanSingle(1); }

    TqvTokenKind nullKind_;
    std::uint8_t initialRange_;
    std::array<TProc, 256> procTable_;
    std::array<KindInfo, 256> kinds_{};
    TqvHighLightAttributes* defaultAttributes_[3] = {nullptr, nullptr, nullptr};
};

} // namespace ondrex

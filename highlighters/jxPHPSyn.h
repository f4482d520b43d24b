#pragma once
// PHP, the whole text taken as code (the open and close tags are plain symbols and
// identifiers): comments, strings, numbers, "$" variables, symbols and 55 keywords matched in
// any letter case. Strings of either quote and block comments left open at the end of a line
// continue on the next one through the range state.

#include "highlighters/TqvTableHighLighter.h"

namespace ondrex {

class TjxPHPSyn : public TqvTableHighLighter {
public:
    enum TtkTokenKind : TqvTokenKind {
        tkComment = 0,
        tkIdentifier = 1,
        tkInvalidSymbol = 2,
        tkKey = 3,
        tkNull = 4,
        tkNumber = 5,
        tkSpace = 6,
        tkString = 7,
        tkSymbol = 8,
        tkUnknown = 9,
        tkVariable = 10,
    };
    enum TRangeState : std::uint8_t {
        rsCode = 0,
        rsSingleQuote = 1,
        rsDoubleQuote = 2,
        rsComment = 3,
    };
    static constexpr int KeywordTableSize = 207;

    TjxPHPSyn();

    std::string LanguageName() const override;
    std::string ClassName() const override { return "TjxPHPSyn"; }
    // Resumes an open string or comment before looking at the character. Inside code, which
    // most tokens are, the table alone decides, without a call.
    void NextToken() override {
        if (range_ == rsCode)
            ScanToken();
        else
            ResumeRange();
    }
    void ExportTokens(const char* line, std::vector<TExportToken>& tokens) override {
        CollectExportTokens(line, tokens, [this] { TjxPHPSyn::NextToken(); });
    }

    // The keyword table every instance scans with.
    static const TKeywordTable& Keywords();

    TqvHighLightAttributes* CommentAttri;
    TqvHighLightAttributes* IdentifierAttri;
    TqvHighLightAttributes* InvalidSymbolAttri;
    TqvHighLightAttributes* KeyAttri;
    TqvHighLightAttributes* NumberAttri;
    TqvHighLightAttributes* SpaceAttri;
    TqvHighLightAttributes* StringAttri;
    TqvHighLightAttributes* SymbolAttri;
    TqvHighLightAttributes* VariableAttri;

protected:
    void DoScanToLineEnd() override;

private:
    void MakeMethodTables();

    void SpaceProc() { ScanSpaces(tkSpace); }
    void LFProc() { ScanLF(tkSpace); }
    void CRProc() { ScanCR(tkSpace); }
    void CommentProc() { ScanRestOfLine(tkComment); }
    void SymbolProc() { ScanSingle(tkSymbol); }
    void AtProc() { ScanSingle(tkInvalidSymbol); }
    void UnknownProc() { ScanSingle(tkUnknown); }
    void IdentProc() { ScanIdentifier(keywords_); }
    void VariableProc();
    void NumberProc();
    void SlashProc();
    void QuoteProc();
    void NotProc() { ScanPair(tkSymbol, "="); }
    void ModProc() { ScanPair(tkSymbol, "="); }
    void AndProc() { ScanPair(tkSymbol, "&="); }
    void StarProc() { ScanPair(tkSymbol, "="); }
    void PlusProc() { ScanPair(tkSymbol, "+="); }
    void MinusProc() { ScanPair(tkSymbol, "-=>"); }
    void LowerProc();
    void EqualProc() { ScanPair(tkSymbol, "=>"); }
    void GreaterProc() { ScanPair(tkSymbol, "=>"); }
    void XorProc() { ScanPair(tkSymbol, "="); }
    void OrProc() { ScanPair(tkSymbol, "=|"); }

    // NextToken outside code: an open string or comment goes on; another range is code.
    void ResumeRange();
    // An open string or comment resumed at the start of a line, or after a CR or LF token.
    void StringContinuation(char quote);
    void CommentContinuation();
    // NUL, CR or LF at the scan position: their own tokens, the range kept.
    bool ScanLineBreak();
    // Comment text up to NUL, CR or LF, or through "*/" (back to code).
    void ScanCommentBody();
    // String text up to (not including) the quote, NUL, CR or LF. In double-quoted strings
    // a backslash and a quote are skipped as a pair.
    void ScanStringBody(char quote);

    const TKeywordTable& keywords_ = Keywords();
};

} // namespace ondrex

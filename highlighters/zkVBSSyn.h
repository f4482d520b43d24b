#pragma once
// VBScript and ASP: apostrophe comments, double-quoted strings, #...# dates, numbers,
// symbols, and 42 keywords matched in any letter case. Nothing spans lines, so the range
// stays 1.

#include "highlighters/TqvBasicHighLighter.h"

namespace ondrex {

class TzkVbsSyn : public TqvBasicHighLighter {
public:
    enum TtkTokenKind : TqvTokenKind {
        tkComment = bkComment,
        tkIdentifier = bkIdentifier,
        tkKey = bkKey,
        tkNull = bkNull,
        tkNumber = bkNumber,
        tkSpace = bkSpace,
        tkString = bkString,
        tkSymbol = bkSymbol,
    };
    static constexpr std::uint8_t rsInitial = 1;
    static constexpr int KeywordTableSize = 134;

    TzkVbsSyn();

    std::string LanguageName() const override;
    std::string ClassName() const override { return "TzkVbsSyn"; }

    // The keyword table every instance scans with.
    static const TKeywordTable& Keywords();

private:
    void MakeMethodTables();

    void SpaceProc() { ScanSpaces(tkSpace); }
    void LFProc() { ScanLF(tkSpace); }
    void CRProc() { ScanCR(tkSpace); }
    void CommentProc() { ScanRestOfLine(tkComment); }
    void SymbolProc() { ScanSingle(tkSymbol); }
    void LowerProc() { ScanPair(tkSymbol, "=>"); }
    void GreaterProc() { ScanPair(tkSymbol, "="); }
    void NumberProc();
    void IdentProc() { ScanIdentifier(keywords_); }
    void UnknownProc() { ScanSingle(tkIdentifier); }
    void StringProc() { ScanQuoted(tkString, true); }
    void DateProc() { ScanQuoted(tkString, false); }

    const TKeywordTable& keywords_ = Keywords();
};

} // namespace ondrex

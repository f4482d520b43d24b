#pragma once
// JavaScript: line and block comments, single- and double-quoted strings, decimal and
// "$"-prefixed hexadecimal numbers, and a case-insensitive table of language keywords and
// browser object model names. A block comment left open at the end of a line is remembered
// in the range state for the editor's bookkeeping, but the next line is scanned as code.

#include "highlighters/TqvBasicHighLighter.h"

namespace ondrex {

class TqvJScriptSyn : public TqvBasicHighLighter {
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
        tkUnknown = 8,
    };
    enum TRangeState : std::uint8_t { rsCode = 1, rsComment = 2 };
    static constexpr int KeywordTableSize = 253;

    TqvJScriptSyn();

    std::string LanguageName() const override;
    std::string ClassName() const override { return "TqvJScriptSyn"; }

    // The keyword table every instance scans with.
    static const TKeywordTable& Keywords();

private:
    void MakeMethodTables();

    void SpaceProc() { ScanSpaces(tkSpace); }
    void LFProc() { ScanLF(tkSpace); }
    void CRProc() { ScanCR(tkSpace); }
    void SymbolProc() { ScanSingle(tkSymbol); }
    void UnknownProc() { ScanSingle(tkUnknown); }
    void IdentProc() { ScanIdentifier(keywords_); }
    void StringProc() { ScanQuoted(tkString, true); }
    void HashProc();
    void HexProc();
    // "%" and "*" are reported as space, so they are painted plainly.
    void ModStarProc() { ScanPair(tkSpace, "="); }
    void AndProc() { ScanPair(tkSymbol, "&="); }
    void PlusProc() { ScanPair(tkSymbol, "+="); }
    void MinusProc() { ScanPair(tkSymbol, "-=>"); }
    void OrProc() { ScanPair(tkSymbol, "|="); }
    void DotProc();
    void SlashProc();
    void NumberProc();

    const TKeywordTable& keywords_ = Keywords();
};

} // namespace ondrex

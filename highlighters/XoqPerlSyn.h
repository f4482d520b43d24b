#pragma once
// Perl highlighter: case-sensitive keywords hashed by the plain byte sum, sigils as part of
// names, Perl's punctuation variables, operators spelled as words and pragma names. Every
// construct ends with its line, so the range state is always 0.

#include "highlighters/TqvTableHighLighter.h"

namespace ondrex {

class TXoqPerlSyn : public TqvTableHighLighter {
public:
    enum TtkTokenKind : TqvTokenKind {
        tkComment,
        tkIdentifier,
        tkKey,
        tkNull,
        tkNumber,
        tkOperator,
        tkPragma,
        tkSpace,
        tkString,
        tkSymbol,
        tkUnknown,
        tkVariable
    };

    TXoqPerlSyn();

    TSynCharSet WordChars() const override;
    std::string LanguageName() const override;
    std::string ClassName() const override { return "TXoqPerlSyn"; }

    // The keyword function table: entry h tests the words whose byte sum is h.
    static const TKeywordTable& Keywords();

    TqvHighLightAttributes* CommentAttri;
    TqvHighLightAttributes* IdentifierAttri;
    TqvHighLightAttributes* InvalidAttri;
    TqvHighLightAttributes* KeyAttri;
    TqvHighLightAttributes* NumberAttri;
    TqvHighLightAttributes* OperatorAttri;
    TqvHighLightAttributes* PragmaAttri;
    TqvHighLightAttributes* SpaceAttri;
    TqvHighLightAttributes* StringAttri;
    TqvHighLightAttributes* SymbolAttri;
    TqvHighLightAttributes* VariableAttri;

private:
    void MakeMethodTables();
    void Take(TtkTokenKind kind, int length);

    void SpaceProc() { ScanSpaces(tkSpace); }
    void LFProc() { ScanLF(tkSpace); }
    void CRProc() { ScanCR(tkSpace); }
    void CommentProc() { ScanRestOfLine(tkComment); }
    void UnknownProc() { ScanSingle(tkUnknown); }
    void StringProc();
    void ApostropheProc() { ScanQuoted(tkString, false); }
    void SymbolProc();
    void NumberProc();
    void NameProc();
};

} // namespace ondrex

#include "highlighters/XoqPerlSyn.h"

#include "highlighters/XoqPerlSynKeywords.h"
#include "highlighters/qvLocalStr.h"
#include "platform/SystemColors.h"

#include <string_view>

namespace ondrex {

namespace {

using TCharTable = std::array<bool, 256>;

constexpr TCharTable CharsOf(std::string_view chars) {
    TCharTable table{};
    for (char c : chars)
        table[static_cast<unsigned char>(c)] = true;
    return table;
}

constexpr std::string_view Letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// After a dollar sign these make a two-character punctuation variable.
constexpr TCharTable PunctuationVariableChars = CharsOf("!\"#$%&'()*+-./0123456789:;<=>?@[\\]_`|~");
constexpr TCharTable CaretVariableChars = CharsOf("ADFILPTWX");
constexpr TCharTable NumberChars = CharsOf("-.0123456789ABCDEFX_abcdefx");
// A dot before one of these is the concatenation operator, not the start of a number.
constexpr TCharTable DotOperandChars = [] {
    TCharTable table = CharsOf(Letters);
    table['_'] = true;
    return table;
}();

constexpr bool IsIn(const TCharTable& table, char c) {
    return table[static_cast<unsigned char>(c)];
}

} // namespace

const TKeywordTable& TXoqPerlSyn::Keywords() {
    static const TKeywordTable table = [] {
        TKeywordTable keywords(THashScheme::CharacterCodes(), XoqPerlKeywordTableSize);
        for (const TXoqPerlKeyword& keyword : XoqPerlKeywords)
            keywords.Add(keyword.Word, keyword.Kind);
        return keywords;
    }();
    return table;
}

TXoqPerlSyn::TXoqPerlSyn() : TqvTableHighLighter(tkNull, 0) {
    CommentAttri = MakeAttribute(SYNS_AttrComment, fsItalic);
    IdentifierAttri = MakeAttribute(SYNS_AttrIdentifier);
    InvalidAttri = MakeAttribute(SYNS_AttrIllegalChar);
    KeyAttri = MakeAttribute(SYNS_AttrReservedWord, fsBold);
    NumberAttri = MakeAttribute(SYNS_AttrNumber);
    OperatorAttri = MakeAttribute(SYNS_AttrOperator);
    PragmaAttri = MakeAttribute(SYNS_AttrPragma, fsBold);
    SpaceAttri = MakeAttribute(SYNS_AttrSpace);
    SpaceAttri->SetForeground(clWindow);
    StringAttri = MakeAttribute(SYNS_AttrString);
    SymbolAttri = MakeAttribute(SYNS_AttrSymbol);
    VariableAttri = MakeAttribute(SYNS_AttrVariable, fsBold);
    BindAttributeChanges();

    DefineKind(tkComment, CommentAttri, exSecond);
    DefineKind(tkIdentifier, IdentifierAttri, exPlain);
    DefineKind(tkKey, KeyAttri, exPlain);
    DefineKind(tkNumber, NumberAttri, exPlain);
    DefineKind(tkOperator, OperatorAttri, exPlain);
    DefineKind(tkPragma, PragmaAttri, exPlain);
    DefineKind(tkSpace, SpaceAttri, exWhitespace);
    DefineKind(tkString, StringAttri, exSecond);
    DefineKind(tkSymbol, SymbolAttri, exSecond);
    DefineKind(tkUnknown, InvalidAttri, exSecond, SymbolAttri);
    DefineKind(tkVariable, VariableAttri, exPlain);
    SetDefaultAttributes(SpaceAttri, CommentAttri, KeyAttri);

    Keywords(); // built once, before the first line is scanned
    MakeMethodTables();
    SetDefaultFilter(SYNS_FilterPerl);
}

void TXoqPerlSyn::MakeMethodTables() {
    SetProcRange<&TXoqPerlSyn::SpaceProc>(1, 32);
    SetProc<&TXoqPerlSyn::LFProc>('\n');
    SetProc<&TXoqPerlSyn::CRProc>('\r');
    SetProc<&TXoqPerlSyn::CommentProc>('#');
    SetProc<&TXoqPerlSyn::StringProc>('"');
    SetProc<&TXoqPerlSyn::ApostropheProc>('\'');
    SetProcs<&TXoqPerlSyn::SymbolProc>("!&*+-/:<=>^|()[]{},;?\\~");
    SetProcs<&TXoqPerlSyn::NumberProc>(".0123456789");
    SetProc<&TXoqPerlSyn::UnknownProc>('`');
    SetProcRange<&TXoqPerlSyn::UnknownProc>(127, 255);
    SetProcs<&TXoqPerlSyn::NameProc>("$%@_");
    SetProcs<&TXoqPerlSyn::NameProc>(Letters);
}

std::string TXoqPerlSyn::LanguageName() const {
    return SYNS_LangPerl;
}

TSynCharSet TXoqPerlSyn::WordChars() const {
    TSynCharSet chars = TqvTableHighLighter::WordChars();
    chars.set('$').set('%').set('@');
    return chars;
}

void TXoqPerlSyn::Take(TtkTokenKind kind, int length) {
    tokenKind_ = kind;
    run_ += length;
}

void TXoqPerlSyn::StringProc() {
    tokenKind_ = tkString;
    if (At(run_ + 1) == '"' && At(run_ + 2) == '"') run_ += 2;
    do {
        if (IsLineEnd(At(run_))) break;
        if (At(run_) == '\\' && At(run_ + 1) == '"') ++run_;
        ++run_;
    } while (At(run_) != '"');
    if (At(run_) != '\0') ++run_;
}

void TXoqPerlSyn::SymbolProc() {
    const char first = At(run_);
    const char second = At(run_ + 1);
    const char third = second ? At(run_ + 2) : '\0';
    int length = 1;
    switch (first) {
    case '&':
    case '*':
    case '|':
        if (second == first)
            length = third == '=' ? 3 : 2;
        else if (second == '=')
            length = 2;
        break;
    case '<':
        if (second == '<')
            length = third == '=' ? 3 : 2;
        else if (second == '=')
            length = third == '>' ? 3 : 2;
        break;
    case '>':
        if (second == '>')
            length = third == '=' ? 3 : 2;
        else if (second == '=')
            length = 2;
        break;
    case '!':
        length = second == '=' || second == '~' ? 2 : 1;
        break;
    case '+':
        length = second == '+' || second == '=' ? 2 : 1;
        break;
    case '-':
        length = second == '-' || second == '=' || second == '>' ? 2 : 1;
        break;
    case '=':
        length = second == '=' || second == '>' || second == '~' ? 2 : 1;
        break;
    case ':':
        length = second == ':' ? 2 : 1;
        break;
    case '/':
    case '^':
        length = second == '=' ? 2 : 1;
        break;
    }
    Take(tkSymbol, length);
}

void TXoqPerlSyn::NumberProc() {
    if (At(run_) == '.') {
        const char next = At(run_ + 1);
        if (next == '.') return Take(tkSymbol, At(run_ + 2) == '.' ? 3 : 2);
        if (next == '=') return Take(tkSymbol, 2);
        if (IsIn(DotOperandChars, next)) return Take(tkSymbol, 1);
    }
    Take(tkNumber, 1);
    for (char c = At(run_); IsIn(NumberChars, c); c = At(run_)) {
        // 1e-5 stops before the minus; only a minus that precedes an e is taken.
        if (c == '-' && At(run_ + 1) != 'e' && At(run_ + 1) != 'E') break;
        if (c == '.' && At(run_ + 1) == '.') break;
        ++run_;
    }
}

void TXoqPerlSyn::NameProc() {
    const char first = At(run_);
    const char second = At(run_ + 1);
    if (first == '$') {
        if (IsIn(PunctuationVariableChars, second)) return Take(tkVariable, 2);
        if (second == '^') {
            if (IsIn(CaretVariableChars, At(run_ + 2))) return Take(tkVariable, 3);
            if (IsLineEnd(At(run_ + 2))) return Take(tkVariable, 2);
        }
    } else if (first == '%' || first == 'x') {
        // Modulus and repetition rather than a hash sigil or a name.
        if (IsLineEnd(second)) return Take(tkSymbol, 1);
        if (second == '=') return Take(tkSymbol, 2);
    }
    ScanIdentifier(Keywords());
}

} // namespace ondrex

#include "highlighters/jxPHPSyn.h"

#include "highlighters/qvLocalStr.h"

namespace ondrex {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits, hexadecimal letters, the long and hexadecimal markers, signs and dots.
bool IsNumberChar(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == 'L' || c == 'l' ||
           c == 'X' || c == 'x' || c == '-' || c == '.';
}

} // namespace

const TKeywordTable& TjxPHPSyn::Keywords() {
    static const TKeywordTable table = [] {
        TKeywordTable t(THashScheme::Letters(), KeywordTableSize);
        // Words sharing an entry are listed in the order it tests them.
        for (const char* word : {"__FILE__",
                                 "array",
                                 "break",
                                 "case",
                                 "const",
                                 "continue",
                                 "default",
                                 "die",
                                 "double",
                                 "echo",
                                 "elseif",
                                 "endfor",
                                 "endif",
                                 "endwhile",
                                 "eval",
                                 "exit",
                                 "extends",
                                 "for",
                                 "function",
                                 "global",
                                 "highlight_file",
                                 "highlight_string",
                                 "if",
                                 "include",
                                 "integer",
                                 "list",
                                 "new",
                                 "object",
                                 "or",
                                 "print",
                                 "real",
                                 "require",
                                 "return",
                                 "show_source",
                                 "string",
                                 "switch",
                                 "true",
                                 "and",
                                 "do",
                                 "var",
                                 "else",
                                 "false",
                                 "int",
                                 "float",
                                 "class",
                                 "while",
                                 "xor",
                                 "isset",
                                 "static",
                                 "empty",
                                 "unset",
                                 "cfunction",
                                 "endswitch",
                                 "old_function",
                                 "__LINE__"})
            t.Add(word, tkKey);
        return t;
    }();
    return table;
}

TjxPHPSyn::TjxPHPSyn() : TqvTableHighLighter(tkNull, rsCode) {
    CommentAttri = MakeAttribute(SYNS_AttrComment, fsItalic);
    IdentifierAttri = MakeAttribute(SYNS_AttrIdentifier);
    InvalidSymbolAttri = MakeAttribute(SYNS_AttrInvalidSymbol);
    KeyAttri = MakeAttribute(SYNS_AttrReservedWord, fsBold);
    NumberAttri = MakeAttribute(SYNS_AttrNumber);
    SpaceAttri = MakeAttribute(SYNS_AttrSpace);
    StringAttri = MakeAttribute(SYNS_AttrString);
    SymbolAttri = MakeAttribute(SYNS_AttrSymbol);
    VariableAttri = MakeAttribute(SYNS_AttrVariable);
    BindAttributeChanges();

    DefineKind(tkComment, CommentAttri, exSecond);
    DefineKind(tkIdentifier, IdentifierAttri, exPlain);
    DefineKind(tkInvalidSymbol, InvalidSymbolAttri, exPlain);
    DefineKind(tkKey, KeyAttri, exPlain);
    DefineKind(tkNumber, NumberAttri, exPlain);
    DefineKind(tkSpace, SpaceAttri, exWhitespace);
    DefineKind(tkString, StringAttri, exSecond);
    DefineKind(tkSymbol, SymbolAttri, exSecond);
    DefineKind(tkUnknown, IdentifierAttri, exHidden);
    DefineKind(tkVariable, VariableAttri, exPlain);
    SetDefaultAttributes(SpaceAttri, CommentAttri, KeyAttri);

    MakeMethodTables();
    SetDefaultFilter(SYNS_FilterPHP);
}

void TjxPHPSyn::MakeMethodTables() {
    SetProcRange<&TjxPHPSyn::SpaceProc>(1, 32);
    SetProc<&TjxPHPSyn::LFProc>(10);
    SetProc<&TjxPHPSyn::CRProc>(13);
    SetProc<&TjxPHPSyn::CommentProc>('#');
    SetProc<&TjxPHPSyn::SlashProc>('/');
    SetProcs<&TjxPHPSyn::QuoteProc>("'\"");
    SetProc<&TjxPHPSyn::VariableProc>('$');
    SetProc<&TjxPHPSyn::AtProc>('@');
    SetProcRange<&TjxPHPSyn::NumberProc>('0', '9');
    SetProcRange<&TjxPHPSyn::IdentProc>('A', 'Z');
    SetProcRange<&TjxPHPSyn::IdentProc>('a', 'z');
    SetProc<&TjxPHPSyn::IdentProc>('_');
    SetProc<&TjxPHPSyn::NotProc>('!');
    SetProc<&TjxPHPSyn::ModProc>('%');
    SetProc<&TjxPHPSyn::AndProc>('&');
    SetProc<&TjxPHPSyn::StarProc>('*');
    SetProc<&TjxPHPSyn::PlusProc>('+');
    SetProc<&TjxPHPSyn::MinusProc>('-');
    SetProc<&TjxPHPSyn::LowerProc>('<');
    SetProc<&TjxPHPSyn::EqualProc>('=');
    SetProc<&TjxPHPSyn::GreaterProc>('>');
    SetProc<&TjxPHPSyn::XorProc>('^');
    SetProc<&TjxPHPSyn::OrProc>('|');
    SetProcs<&TjxPHPSyn::SymbolProc>("()[]{},.:;?~");
    SetProcs<&TjxPHPSyn::UnknownProc>("\\`");
    SetProcRange<&TjxPHPSyn::UnknownProc>(127, 255);
}

std::string TjxPHPSyn::LanguageName() const {
    return SYNS_LangPHP;
}

void TjxPHPSyn::ResumeRange() {
    tokenStart_ = run_;
    switch (range_) {
    case rsSingleQuote:
        StringContinuation('\'');
        break;
    case rsDoubleQuote:
        StringContinuation('"');
        break;
    case rsComment:
        CommentContinuation();
        break;
    default:
        range_ = rsCode;
        ScanToken();
    }
}

void TjxPHPSyn::DoScanToLineEnd() {
    while (tokenKind_ != tkNull)
        TjxPHPSyn::NextToken();
}

bool TjxPHPSyn::ScanLineBreak() {
    switch (At(run_)) {
    case 0:
        ScanNull();
        return true;
    case 10:
        LFProc();
        return true;
    case 13:
        CRProc();
        return true;
    default:
        return false;
    }
}

void TjxPHPSyn::CommentContinuation() {
    if (!ScanLineBreak()) ScanCommentBody();
}

void TjxPHPSyn::StringContinuation(char quote) {
    if (ScanLineBreak()) return;
    tokenKind_ = tkString;
    ScanStringBody(quote);
    if (At(run_) == quote) {
        ++run_;
        range_ = rsCode;
    }
}

void TjxPHPSyn::ScanCommentBody() {
    tokenKind_ = tkComment;
    if (ScanToCommentClose()) range_ = rsCode;
}

void TjxPHPSyn::ScanStringBody(char quote) {
    for (char c = At(run_); c != quote && !IsLineEnd(c); c = At(run_))
        run_ += quote == '"' && c == '\\' && At(run_ + 1) == '"' ? 2 : 1;
}

// The string stays open (range set) unless its closing quote is on this line. A CR or LF
// that ends the scan is taken into the token.
void TjxPHPSyn::QuoteProc() {
    const char quote = At(run_);
    range_ = quote == '"' ? rsDoubleQuote : rsSingleQuote;
    tokenKind_ = tkString;
    ++run_;
    ScanStringBody(quote);
    if (At(run_) == quote) range_ = rsCode;
    if (At(run_) != 0) ++run_;
}

void TjxPHPSyn::SlashProc() {
    switch (At(run_ + 1)) {
    case '*':
        range_ = rsComment;
        run_ += 2;
        ScanCommentBody();
        break;
    case '/':
        ScanRestOfLine(tkComment);
        break;
    default:
        ScanPair(tkSymbol, "=");
    }
}

void TjxPHPSyn::VariableProc() {
    tokenKind_ = tkVariable;
    do
        ++run_;
    while (IsIdentChar(static_cast<unsigned char>(At(run_))));
}

// A dot followed by another dot ends the number and is left for the symbols.
void TjxPHPSyn::NumberProc() {
    tokenKind_ = tkNumber;
    ++run_;
    for (char c = At(run_); IsNumberChar(c); c = At(run_)) {
        if (c == '.' && At(run_ + 1) == '.') break;
        ++run_;
    }
}

void TjxPHPSyn::LowerProc() {
    tokenKind_ = tkSymbol;
    ++run_;
    if (At(run_) == '<') {
        ++run_;
        if (At(run_) == '=') ++run_;
    } else if (At(run_) == '=') {
        ++run_;
    }
}

} // namespace ondrex

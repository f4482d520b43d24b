#include "highlighters/zkVBSSyn.h"

#include "highlighters/qvLocalStr.h"

namespace ondrex {

const TKeywordTable& TzkVbsSyn::Keywords() {
    static const TKeywordTable table = [] {
        TKeywordTable t(THashScheme::Letters(), KeywordTableSize);
        // Grouped by hash, in the order each entry tests them.
        for (const char* word :
             {"If",    "Each",   "Do",      "And",      "End",      "Dim",       "Case",
              "Call",  "Is",     "On",      "Mod",      "Get",      "Or",        "Rem",
              "Let",   "Imp",    "For",     "Else",     "Sub",      "Eqv",       "Set",
              "Wend",  "Then",   "Erase",   "ReDim",    "Not",      "Class",     "Xor",
              "While", "Loop",   "Exit",    "Next",     "Public",   "Select",    "Const",
              "Error", "Option", "Private", "Explicit", "Function", "Randomize", "property"})
            t.Add(word, tkKey);
        return t;
    }();
    return table;
}

TzkVbsSyn::TzkVbsSyn() : TqvBasicHighLighter(rsInitial) {
    MakeMethodTables();
    SetDefaultFilter(SYNS_FilterVBScript);
}

void TzkVbsSyn::MakeMethodTables() {
    SetProcRange<&TzkVbsSyn::SpaceProc>(1, 32);
    SetProc<&TzkVbsSyn::LFProc>(10);
    SetProc<&TzkVbsSyn::CRProc>(13);
    SetProc<&TzkVbsSyn::StringProc>('"');
    SetProc<&TzkVbsSyn::DateProc>('#');
    SetProc<&TzkVbsSyn::CommentProc>('\'');
    SetProcs<&TzkVbsSyn::SymbolProc>("&()*+,-./:;=^{}");
    SetProc<&TzkVbsSyn::LowerProc>('<');
    SetProc<&TzkVbsSyn::GreaterProc>('>');
    SetProcRange<&TzkVbsSyn::NumberProc>('0', '9');
    SetProcRange<&TzkVbsSyn::IdentProc>('A', 'Z');
    SetProcRange<&TzkVbsSyn::IdentProc>('a', 'z');
    SetProc<&TzkVbsSyn::IdentProc>('_');
    for (const char* c = "!$%?@[\\]`|~"; *c; ++c)
        SetProc<&TzkVbsSyn::UnknownProc>(*c);
    SetProcRange<&TzkVbsSyn::UnknownProc>(127, 255);
}

std::string TzkVbsSyn::LanguageName() const {
    return SYNS_LangVBSScript;
}

void TzkVbsSyn::NumberProc() {
    tokenKind_ = tkNumber;
    ++run_;
    for (char c = At(run_); (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E';
         c = At(run_))
        ++run_;
}

} // namespace ondrex

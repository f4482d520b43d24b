#include "highlighters/qvJScriptSyn.h"

#include "highlighters/qvLocalStr.h"

namespace ondrex {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Words held in two letter cases are listed twice; matching ignores case anyway.
constexpr const char* kKeywords = R"(
abs acos action alert alinkColor Anchor anchor anchors appCodeName Applet applets appName
appVersion Area arguments Array array asin atan atan2 back bgColor big blink blur bold Boolean
border break Button caller ceil charAt Checkbox checked clearTimeout click close closed comment
complete confirm constructor continue cookie cos current Date defaultChecked defaultSelected
defaultStatus defaultValue description document domain E elements else embeds enabledPlugin
encoding escape eval exp fgColor filename FileUpload fixed floor focus fontcolor fontsize for
Form form forms forward Frame frames Function function getDate getDay getHours getMinutes
getMonth getSeconds getTime getTimezoneOffset getYear go hash height Hidden history host
hostname href hspace if Image images in index indexOf isNaN italics javaEnabled join lastIndexOf
lastModified length Link link linkColor links LN10 LN2 location log LOG10E LOG2E loop lowsrc
Math max MAX_VALUE method MimeType mimeTypes min MIN_VALUE name NaN navigator NEGATIVE_INFINITY
new next Number object onAbort onBlur onChange onClick onError onFocus onLoad onMouseOut
onMouseOver onReset onSelect onSubmit onUnload open opener Option options parent parse
parseFloat parseInt Password pathname PI Plugin plugins port POSITIVE_INFINITY pow previous
prompt property protocol prototype Radio random referrer refresh reload replace Reset reset
return reverse round scroll search Select select selected selectedIndex self setDate setHours
setMinutes setMonth setSeconds setTime setTimeout setYear sin small sort split sqrt SQRT1_2
SQRT2 src status strike String sub submit substring suffixes sup taint taintEnabled tan target
Text text Textarea this title toGMTString toLocaleString toLowerCase top toString toUpperCase
type unescape untaint URL userAgent UTC value valueOf var vlinkColor vspace while width window
with write writeln)";

} // namespace

const TKeywordTable& TqvJScriptSyn::Keywords() {
    static const TKeywordTable table = [] {
        TKeywordTable t(THashScheme::Letters(), KeywordTableSize);
        for (std::string_view rest = kKeywords; !rest.empty();) {
            std::size_t end = rest.find_first_of(" \n");
            if (end != 0) t.Add(rest.substr(0, end), tkKey);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        }
        return t;
    }();
    return table;
}

TqvJScriptSyn::TqvJScriptSyn() : TqvBasicHighLighter(rsCode) {
    // Painted like strings, never exported.
    DefineKind(tkUnknown, StringAttri, exHidden);

    MakeMethodTables();
    SetDefaultFilter(SYNS_FilterJScript);
}

void TqvJScriptSyn::MakeMethodTables() {
    SetProcRange<&TqvJScriptSyn::UnknownProc>(1, 255);
    SetProcRange<&TqvJScriptSyn::SpaceProc>(1, 32);
    SetProc<&TqvJScriptSyn::LFProc>(10);
    SetProc<&TqvJScriptSyn::CRProc>(13);
    SetProcs<&TqvJScriptSyn::StringProc>("\"'");
    SetProc<&TqvJScriptSyn::HashProc>('#');
    SetProc<&TqvJScriptSyn::HexProc>('$');
    SetProcs<&TqvJScriptSyn::ModStarProc>("%*");
    SetProc<&TqvJScriptSyn::AndProc>('&');
    SetProc<&TqvJScriptSyn::PlusProc>('+');
    SetProc<&TqvJScriptSyn::MinusProc>('-');
    SetProc<&TqvJScriptSyn::OrProc>('|');
    SetProc<&TqvJScriptSyn::DotProc>('.');
    SetProc<&TqvJScriptSyn::SlashProc>('/');
    SetProcs<&TqvJScriptSyn::SymbolProc>("(),{}~");
    SetProcRange<&TqvJScriptSyn::NumberProc>('0', '9');
    SetProcRange<&TqvJScriptSyn::IdentProc>('A', 'Z');
    SetProcRange<&TqvJScriptSyn::IdentProc>('a', 'z');
    SetProc<&TqvJScriptSyn::IdentProc>('_');
}

std::string TqvJScriptSyn::LanguageName() const {
    return SYNS_LangJScript;
}

void TqvJScriptSyn::HashProc() {
    tokenKind_ = tkString;
    do
        ++run_;
    while (IsDigit(At(run_)));
}

void TqvJScriptSyn::HexProc() {
    tokenKind_ = tkNumber;
    do
        ++run_;
    while (IsHexDigit(At(run_)));
}

void TqvJScriptSyn::DotProc() {
    tokenKind_ = tkSymbol;
    run_ += At(run_ + 1) == '.' && At(run_ + 2) == '.' ? 3 : 1;
}

void TqvJScriptSyn::SlashProc() {
    switch (At(run_ + 1)) {
    case '*':
        // Scanning resumes at the star, so "/*/" is already closed.
        tokenKind_ = tkComment;
        ++run_;
        range_ = ScanToCommentClose() ? rsCode : rsComment;
        break;
    case '/':
        ScanRestOfLine(tkComment);
        break;
    case '=':
        tokenKind_ = tkSymbol;
        run_ += 2;
        break;
    default:
        ScanSingle(tkSymbol);
    }
}

// Digits, exponent letters and dots; a dot followed by another dot is left for the symbol.
void TqvJScriptSyn::NumberProc() {
    tokenKind_ = tkNumber;
    ++run_;
    for (char c = At(run_); IsDigit(c) || c == 'e' || c == 'E' || c == '.'; c = At(run_)) {
        if (c == '.' && At(run_ + 1) == '.') break;
        ++run_;
    }
}

} // namespace ondrex

#include "highlighters/TqvTableHighLighter.h"

#include "highlighters/qvExport.h"

#include <cstring>

namespace ondrex {

TqvTableHighLighter::TqvTableHighLighter(TqvTokenKind nullKind, std::uint8_t initialRange)
    : line_(""), tokenKind_(nullKind), range_(initialRange), nullKind_(nullKind),
      initialRange_(initialRange) {
    procTable_.fill(&Call<&TqvTableHighLighter::UnknownProc>);
    SetProc<&TqvTableHighLighter::ScanNull>(0);
}

TSynCharSet TqvTableHighLighter::WordChars() const {
    TSynCharSet chars;
    for (int c = 0; c < 256; ++c)
        if (IsIdentChar(static_cast<unsigned char>(c))) chars.set(c);
    return chars;
}

TqvHighLightAttributes* TqvTableHighLighter::DefaultAttribute(int role) const {
    return role >= 0 && role <= 2 ? defaultAttributes_[role] : nullptr;
}

THighlighterCapabilities TqvTableHighLighter::Capabilities() const {
    return TqvCustomHighLighter::Capabilities() | hcExportable;
}

void TqvTableHighLighter::StartLine(const char* line, int lineIndex) {
    line_ = line;
    run_ = 0;
    lineNumber_ = lineIndex;
    NextToken();
}

void TqvTableHighLighter::StartExportLine(const char* line) {
    line_ = line;
    run_ = 0;
    ExportNextToken();
}

void TqvTableHighLighter::ExportNextToken() {
    NextToken();
    TqvExport* sink = ExportSink();
    if (!sink) return;
    if (AtLineEnd()) {
        sink->WriteToken({}, nullptr, false, false);
        return;
    }
    const KindInfo& info = kinds_[tokenKind_];
    if (info.mode == exHidden) return;
    sink->WriteToken(TokenView(), info.exportAttribute, info.mode == exWhitespace,
                     info.mode == exSecond);
}

void TqvTableHighLighter::DefineKind(TqvTokenKind kind, TqvHighLightAttributes* attribute,
                                     TqvExportMode mode, TqvHighLightAttributes* exportAttribute) {
    if (!exportAttribute) exportAttribute = attribute;
    kinds_[kind] = {attribute, exportAttribute, mode,
                    mode == exHidden ? attribute : exportAttribute};
}

void TqvTableHighLighter::SetDefaultAttributes(TqvHighLightAttributes* space,
                                               TqvHighLightAttributes* comment,
                                               TqvHighLightAttributes* keyword) {
    defaultAttributes_[SYN_ATTR_WHITESPACE] = space;
    defaultAttributes_[SYN_ATTR_COMMENT] = comment;
    defaultAttributes_[SYN_ATTR_KEYWORD] = keyword;
}

void TqvTableHighLighter::DoScanToLineEnd() {
    while (tokenKind_ != nullKind_)
        ScanToken();
}

void TqvTableHighLighter::ScanCR(TqvTokenKind kind) {
    tokenKind_ = kind;
    ++run_;
    if (line_[run_] == 10) ++run_;
}

// The runs below go through strcspn, which stops at the NUL too and looks at many bytes a step.
void TqvTableHighLighter::ScanRestOfLine(TqvTokenKind kind) {
    tokenKind_ = kind;
    run_ += static_cast<int>(std::strcspn(line_ + run_, "\n\r"));
}

void TqvTableHighLighter::ScanPair(TqvTokenKind kind, std::string_view seconds) {
    tokenKind_ = kind;
    ++run_;
    if (line_[run_] != 0 && seconds.find(line_[run_]) != std::string_view::npos) ++run_;
}

void TqvTableHighLighter::ScanQuoted(TqvTokenKind kind, bool tripleOpening) {
    tokenKind_ = kind;
    const char quote = line_[run_];
    if (tripleOpening && line_[run_ + 1] == quote && line_[run_ + 2] == quote) run_ += 2;
    const char stops[] = {quote, '\n', '\r', '\0'};
    ++run_;
    run_ += static_cast<int>(std::strcspn(line_ + run_, stops));
    if (line_[run_] != 0) ++run_;
}

bool TqvTableHighLighter::ScanToCommentClose() {
    for (;;) {
        run_ += static_cast<int>(std::strcspn(line_ + run_, "*\n\r"));
        if (line_[run_] != '*') return false;
        ++run_;
        if (line_[run_] == '/') {
            ++run_;
            return true;
        }
    }
}

} // namespace ondrex

#include "highlighters/TqvTableHighLighter.h"

#include "highlighters/qvExport.h"

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
    kinds_[kind] = {attribute, exportAttribute ? exportAttribute : attribute, mode};
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

void TqvTableHighLighter::ScanSpaces(TqvTokenKind kind) {
    tokenKind_ = kind;
    do
        ++run_;
    while (IsSpaceChar(static_cast<unsigned char>(line_[run_])));
}

void TqvTableHighLighter::ScanCR(TqvTokenKind kind) {
    tokenKind_ = kind;
    ++run_;
    if (line_[run_] == 10) ++run_;
}

void TqvTableHighLighter::ScanRestOfLine(TqvTokenKind kind) {
    tokenKind_ = kind;
    while (!IsLineEnd(line_[run_]))
        ++run_;
}

} // namespace ondrex

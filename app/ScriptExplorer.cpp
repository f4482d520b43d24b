#include "app/ScriptExplorer.h"

#include "editor/TqvCustomEdit.h"
#include "highlighters/XoqPerlSyn.h"
#include "highlighters/jxPHPSyn.h"
#include "highlighters/qvJScriptSyn.h"
#include "highlighters/zkVBSSyn.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/ScopedGuard.h"
#include "platform/SystemColors.h"
#include "platform/TextFile.h"

namespace ondrex {

namespace {

// What the main window sets on all four: its name, italic comments, bold keywords, the
// descriptive file filter.
template <class THighlighter>
std::unique_ptr<THighlighter> styled(const char* name, const char* filter) {
    auto h = std::make_unique<THighlighter>();
    h->SetName(name);
    h->CommentAttri->SetStyle(fsItalic);
    h->KeyAttri->SetStyle(fsBold);
    h->SetDefaultFilter(filter);
    return h;
}

std::unique_ptr<TqvCustomHighLighter> makeVbscript() {
    auto h = styled<TzkVbsSyn>("vbscript", "VBScript files (*.vbs)|*.vbs");
    h->IdentifierAttri->SetForeground(clBlack);
    h->KeyAttri->SetForeground(clRed);
    return h;
}

std::unique_ptr<TqvCustomHighLighter> makePerlscript() {
    auto h = styled<TXoqPerlSyn>("perlscript", "Perl files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi");
    h->PragmaAttri->SetStyle(fsBold);
    h->SpaceAttri->SetBackground(clWindow);
    h->VariableAttri->SetStyle(fsBold);
    return h;
}

// memo1 as the main window sets it up.
void configureEditor(TqvCustomEdit& memo) {
    memo.SetBorderStyle(bsNone);
    memo.SetFont(TFont("Courier New", -13));
    memo.Gutter().SetAutoSize(true);
    memo.Gutter().SetShowLineNumbers(true);
    memo.Gutter().SetLeadingZeros(true);
    memo.Gutter().SetUseFontStyle(true);
    memo.SetMaxUndo(10);
    memo.SetOptions(qveoAutoIndent | qveoDragDropEditing | qveoScrollPastEol | qveoTabsToSpaces |
                    qveoSmartTabs);
    memo.SetReadOnly(true);
    memo.SetWantTabs(false);
}

} // namespace

TScriptExplorer::TScriptExplorer(TqvCustomEdit& memo, TOndrexView& view)
    : memo_(memo),
      view_(view), highlighters_{
                       makeVbscript(),
                       styled<TqvJScriptSyn>("javascript", "Javascript files (*.js)|*.js"),
                       makePerlscript(),
                       styled<TjxPHPSyn>("phpscript", "PHP files (*.php,*.php3,*.phtml,*.inc)|"
                                                      "*.php;*.php3;*.phtml;*.inc")} {
    configureEditor(memo_);
    memo_.SetHighLighter(&Highlighter(TScriptLanguage::vbscript));
    memo_.OnSpecialLineColors =
        TqvSpecialLineColorsEvent::bind<&TScriptExplorer::SpecialLineColors>(this);
}

TScriptExplorer::~TScriptExplorer() {
    memo_.OnSpecialLineColors = {};
    memo_.SetHighLighter(nullptr); // the editor may outlive the highlighters
}

TqvCustomHighLighter& TScriptExplorer::Highlighter(TScriptLanguage language) const {
    return *highlighters_[static_cast<std::size_t>(language)];
}

std::optional<TScriptLanguage> TScriptExplorer::LanguageOf(std::string_view extension) {
    static constexpr struct {
        std::string_view ext;
        TScriptLanguage language;
    } kTable[] = {
        {".VBS", TScriptLanguage::vbscript},   {".INC", TScriptLanguage::vbscript},
        {".HTM", TScriptLanguage::vbscript},   {".HTML", TScriptLanguage::vbscript},
        {".ASP", TScriptLanguage::vbscript},   {".JS", TScriptLanguage::javascript},
        {".PL", TScriptLanguage::perlscript},  {".PM", TScriptLanguage::perlscript},
        {".CGI", TScriptLanguage::perlscript}, {".PHP", TScriptLanguage::phpscript},
        {".PHP3", TScriptLanguage::phpscript}, {".PHP4", TScriptLanguage::phpscript},
    };
    const std::string upper = AsciiUpperCase(extension);
    for (const auto& row : kTable)
        if (row.ext == upper) return row.language;
    return std::nullopt;
}

std::array<std::string, 4> TScriptExplorer::StatusTexts(const TqvCustomEdit& memo) {
    return {memo.ReadOnly() ? "File Status : Read only (default)" : "File Status : Read/Write",
            "Lines : " + std::to_string(memo.LineCount() - 1),
            "X : " + std::to_string(memo.CaretColumn()), "Y : " + std::to_string(memo.CaretLine())};
}

// ---- Open ---------------------------------------------------------------------------------

void TScriptExplorer::OpenScript() {
    TOpenDialogOptions options;
    options.DefaultExt = ".asp";
    options.Filter = "Webfiles|*.asp;*.inc;*.vbs;*.js;*.php;*.php3;*.php4;*.pl;*.cgi;*.pm"
                     "|All files|*.*";
    options.FileName = FileName;
    if (const auto path = Dialogs().OpenFile(options)) OpenFile(*path);
}

void TScriptExplorer::OpenFile(const std::string& path) {
    FileName = path;
    view_.SetCaption("Ondrex - " + path);
    SelectHighlighterOf(path);
    view_.SetParseEnabled(true);
}

// A file given at start-up is mostly one a file manager opened with Ondrex: a PHP page shown
// with the VBScript rules would read its strings as comments.
void TScriptExplorer::StartWith(const std::string& path) {
    FileName = path;
    SelectHighlighterOf(path);
    view_.SetParseEnabled(true);
    Parse();
}

void TScriptExplorer::SelectHighlighterOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        if (const auto language = LanguageOf(std::string_view(path).substr(dot)))
            memo_.SetHighLighter(&Highlighter(*language));
}

// ---- Scan ---------------------------------------------------------------------------------

void TScriptExplorer::Parse() {
    if (FileName.empty()) return;
    memo_.Lines().Clear();
    view_.EditorStateChanged();
    auto block = std::make_shared<const std::string>(ReadFileBytes(FileName));
    // Characters, their widths and what other programs get from a copy all follow the
    // file's own code page.
    SetActiveCodePage(DetectCodePage(*block));
    memo_.Lines().LoadFromBlock(block);
    view_.EditorStateChanged();

    scanner_.options = Options;
    view_.ResultsCleared();
    shownRows_ = 0;
    lastPump_ = std::chrono::steady_clock::now();
    const std::uint64_t generation = results_.generation + 1;
    {
        const TScopedValue<int> nested(scanning_, scanning_ + 1);
        scanner_.ScanBlockInSlices(*block, results_,
                                   TMessagePump::bind<&TScriptExplorer::BetweenSlices>(this));
    }
    if (results_.generation != generation) return; // stopped: a newer scan or the close
    view_.ResultsAppended(results_.rows, shownRows_);
    shownRows_ = results_.rows.size();
    view_.SetInfo(results_.info);
    if (results_.resultsEnabled) view_.SetResultsEnabled(true);
}

void TScriptExplorer::BetweenSlices() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < std::chrono::milliseconds(PumpIntervalMs)) return;
    view_.ResultsAppended(results_.rows, shownRows_);
    shownRows_ = results_.rows.size();
    view_.ProcessMessages();
    lastPump_ = std::chrono::steady_clock::now();
}

void TScriptExplorer::SetOptions(const TScanOptions& options) {
    Options = options;
    Parse();
}

void TScriptExplorer::StopScan() {
    if (scanning_ > 0) ++results_.generation; // the running scan sees a newer one and stops
}

// ---- Block --------------------------------------------------------------------------------

void TScriptExplorer::SelectRow(std::size_t row) {
    const auto location = TBlockLocator::Locate(results_, row, memo_.Lines());
    if (!location) return;
    view_.SetInfo(location->info);
    view_.SetBlockButtonsEnabled(location->copyPrintEnabled());
    memo_.SetCaretLine(location->start);
    memo_.SetTopLine(location->start);
    blockStart_ = location->start;
    blockEnd_ = location->end;
    memo_.SetCaretColumn(1);
    memo_.SetFocus();
}

void TScriptExplorer::SpecialLineColors(TObject*, int line, bool& special, TColor& fg, TColor& bg) {
    TBlockLocator::SpecialLineColors(line, memo_.CaretLine(), special, fg, bg);
}

void TScriptExplorer::CaretLineChanged() {
    const int line = memo_.CaretLine();
    if (line == paintedCaretLine_) return;
    memo_.InvalidateLine(paintedCaretLine_);
    memo_.InvalidateLine(line);
    paintedCaretLine_ = line;
}

void TScriptExplorer::Find() {
    std::string what;
    if (!Dialogs().InputQuery("Search for Function / Sub", "", what) || what.empty()) return;
    if (const auto row = TBlockLocator::Find(results_, what))
        Dialogs().ShowMessage(TBlockLocator::FoundMessage(results_, *row));
}

std::vector<std::string> TScriptExplorer::BlockLines() const {
    std::vector<std::string> lines;
    for (int line = blockStart_; line <= blockEnd_; ++line)
        lines.emplace_back(memo_.Lines().Get(line - 1)); // a missing line throws here
    return lines;
}

void TScriptExplorer::CopyBlock() {
    const std::vector<std::string> lines = BlockLines();
    dumpmemo_.Clear();
    for (const std::string& line : lines)
        dumpmemo_.Add(line);
    dumpmemo_.SelectAll();
    dumpmemo_.CopyToClipboard();
    view_.ShowCopied();
}

// ---- Print --------------------------------------------------------------------------------

void TScriptExplorer::PrintBlock() {
    const std::vector<std::string> lines = BlockLines();
    dumpmemo_.Clear();
    dumpmemo_.Add("");
    dumpmemo_.Add("");
    for (const std::string& line : lines)
        dumpmemo_.Add(line);
    dumpmemo_.Add("");
    dumpmemo_.Add("");
    dumpmemo_.Print("Ondrex");
    Dialogs().MessageDlg("  Codeblock printed ", TMsgDlgType::mtConfirmation, mbOK);
}

void TScriptExplorer::PrintDocument() {
    const TqvEditList& lines = memo_.Lines();
    // An empty editor has nothing to select: print nothing rather than whatever the
    // clipboard held before.
    if (lines.Count() == 1 && lines.Get(0).empty()) return;
    memo_.SelectAll();
    memo_.CopyToClipboard();
    // The buffer takes the editor's lines themselves, so a clipboard that another program
    // holds on to cannot change what is printed.
    dumpmemo_.Clear();
    for (int i = 0; i < lines.Count(); ++i)
        dumpmemo_.Add(std::string(lines.Get(i)));
    dumpmemo_.Print("Ondrex");
}

// ---- Read-only ----------------------------------------------------------------------------

void TScriptExplorer::ToggleReadOnly() {
    memo_.SetReadOnly(!memo_.ReadOnly());
    view_.EditorStateChanged();
}

} // namespace ondrex

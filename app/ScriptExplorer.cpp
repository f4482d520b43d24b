#include "app/ScriptExplorer.h"

#include "app/FileLoad.h"
#include "editor/TqvCustomEdit.h"
#include "highlighters/THighlighterList.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/ScopedGuard.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace ondrex {

namespace {

// One highlighter for each language, as the window shows it.
std::vector<std::unique_ptr<TqvCustomHighLighter>> windowHighlighters() {
    std::vector<std::unique_ptr<TqvCustomHighLighter>> highlighters;
    const THighlighterList& languages = THighlighterList::Instance();
    for (int i = 0; i < languages.Count(); ++i) {
        const THighlighterClass& language = languages[i];
        auto h = language.Create();
        h->SetName(language.WindowName);
        h->SetDefaultFilter(language.Filter);
        language.ApplyWindowStyles(*h);
        highlighters.push_back(std::move(h));
    }
    return highlighters;
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
    : memo_(memo), view_(view), highlighters_(windowHighlighters()) {
    configureEditor(memo_);
    memo_.SetHighLighter(&Highlighter(TScriptLanguage::vbscript));
    memo_.OnSpecialLineColors =
        TqvSpecialLineColorsEvent::bind<&TScriptExplorer::SpecialLineColors>(this);
}

TScriptExplorer::~TScriptExplorer() {
    memo_.OnSpecialLineColors = {};
    memo_.SetHighLighter(nullptr); // the editor may outlive the highlighters
}

TqvCustomHighLighter& TScriptExplorer::Highlighter(std::string_view language) const {
    const THighlighterList& languages = THighlighterList::Instance();
    const THighlighterClass* found = languages.FindByLanguage(language);
    if (!found) throw std::out_of_range("no language named " + std::string(language));
    return HighlighterOf(*found);
}

TqvCustomHighLighter& TScriptExplorer::HighlighterOf(const THighlighterClass& language) const {
    const int index = THighlighterList::Instance().IndexOf(language);
    return *highlighters_.at(static_cast<std::size_t>(index));
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
    options.Filter =
        "Webfiles|" + THighlighterList::Instance().OpenDialogPatterns() + "|All files|*.*";
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
    if (const THighlighterClass* language = THighlighterList::Instance().FindForFile(path))
        memo_.SetHighLighter(&HighlighterOf(*language));
}

// ---- Scan ---------------------------------------------------------------------------------

using TLoadProgressShown =
    TScopedPair<TOndrexView, &TOndrexView::ShowLoadProgress, &TOndrexView::HideLoadProgress>;

void TScriptExplorer::Parse() {
    if (FileName.empty()) return;
    try {
        parseFile();
    } catch (const std::bad_alloc&) {
        // The rows found before memory ran out stay listed; the message says which file.
        try {
            if (shownRows_ < results_.rows.size()) view_.ResultsAppended(results_.rows, shownRows_);
            shownRows_ = results_.rows.size();
        } catch (const std::bad_alloc&) {
        }
        throw EFileError(FileName, EFileError::TCause::OutOfMemory);
    }
}

void TScriptExplorer::parseFile() {
    memo_.Lines().Clear();
    view_.EditorStateChanged();
    TFileLoad load(FileName, memo_.Lines(), LoadPieceBytes);
    std::optional<TLoadProgressShown> progress;
    if (load.SizeHint() >= LargeFileBytes) progress.emplace(view_, std::size_t(0), std::size_t(1));
    const TScopedValue<bool> showing(showingProgress_, progress.has_value());
    const TReadOnlyWhileLoading readOnly(*this);
    view_.EditorStateChanged();

    scanner_.options = Options;
    view_.ResultsCleared();
    shownRows_ = 0;
    lastPump_ = std::chrono::steady_clock::now();
    const std::uint64_t generation = results_.generation + 1;
    const TScopedValue<int> running(scanning_, scanning_ + 1);
    scanner_.StartScan(results_);
    // Characters, their widths and what other programs get from a copy all follow the
    // file's own code page: UTF-8 until a piece proves otherwise.
    SetActiveCodePage(TCodePage::Utf8);
    bool scanOn = true;
    for (std::size_t scanned = 0;;) {
        load.ReadPiece();
        const std::string_view fresh = load.WholeLines().substr(scanned);
        scanned += fresh.size();
        if (ActiveCodePage() == TCodePage::Utf8 && !IsValidUtf8(fresh)) {
            SetActiveCodePage(TCodePage::Windows1252);
            memo_.Invalidate();
        }
        if (scanOn) scanOn = scanner_.ScanWholeLines(fresh, results_); // off after a Ctrl+Z
        if (load.Ended()) break;
        BetweenPieces(load.BytesRead(), std::max(load.SizeHint(), load.BytesRead()));
        if (results_.generation != generation) return; // stopped: a newer scan or the close
    }
    scanner_.FinishScan(results_);
    view_.EditorStateChanged();
    view_.ResultsAppended(results_.rows, shownRows_);
    shownRows_ = results_.rows.size();
    view_.SetInfo(results_.info);
    if (results_.resultsEnabled) view_.SetResultsEnabled(true);
}

void TScriptExplorer::BetweenPieces(std::size_t done, std::size_t total) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < std::chrono::milliseconds(PumpIntervalMs)) return;
    view_.ResultsAppended(results_.rows, shownRows_);
    shownRows_ = results_.rows.size();
    if (showingProgress_) view_.ShowLoadProgress(done, total);
    view_.EditorStateChanged(); // the line count grows
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
    if (!dumpmemo_.Print("Ondrex")) return; // cancelled: nothing was printed
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
    if (loading_ > 0) {
        readOnlyAfterLoad_ = !readOnlyAfterLoad_; // taken when the load is over
        return;
    }
    memo_.SetReadOnly(!memo_.ReadOnly());
    view_.EditorStateChanged();
}

// The line list must not change under a load in passes: the editor is read-only while one
// runs and takes the user's setting, toggled meanwhile or not, when the outermost ends.
TScriptExplorer::TReadOnlyWhileLoading::TReadOnlyWhileLoading(TScriptExplorer& explorer)
    : explorer_(explorer) {
    if (explorer_.loading_++ > 0) return;
    explorer_.readOnlyAfterLoad_ = explorer_.memo_.ReadOnly();
    explorer_.memo_.SetReadOnly(true);
}

TScriptExplorer::TReadOnlyWhileLoading::~TReadOnlyWhileLoading() {
    if (--explorer_.loading_ > 0) return;
    explorer_.memo_.SetReadOnly(explorer_.readOnlyAfterLoad_);
    explorer_.view_.EditorStateChanged();
}

} // namespace ondrex

#pragma once
// TScriptExplorer: the main window's commands without the window. Tfrm_Ondrex owns one,
// hands it the editor memo1 and itself as the view, and calls it from its buttons, menus
// and check boxes; tests drive it headless with scripted dialogs and a recording view.
//
// The load and the scan run on the GUI thread, together, a piece of the file at a time, and
// let the window's events run between pieces about every PumpIntervalMs: the editor shows
// the first screen while the rest is read, and a command started from there (another scan,
// a dropped file, closing the window) makes the running load and scan stop at once, so the
// lists always hold one whole scan or the newest one being built.
//
// Ondrex never writes the file it shows: no command here opens a file for writing.

#include "app/BlockLocator.h"
#include "app/OndrexView.h"
#include "app/ScriptScanner.h"
#include "platform/RichTextBuffer.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

class TqvCustomEdit;
class TqvCustomHighLighter;
struct THighlighterClass;

// The window's names of the built-in languages, for callers that pick one of them; the
// window holds one highlighter for every language of THighlighterList.
struct TScriptLanguage {
    static constexpr std::string_view vbscript = "vbscript";
    static constexpr std::string_view javascript = "javascript";
    static constexpr std::string_view perlscript = "perlscript";
    static constexpr std::string_view phpscript = "phpscript";
};

class TScriptExplorer {
public:
    TScriptExplorer(TqvCustomEdit& memo, TOndrexView& view);
    ~TScriptExplorer();
    TScriptExplorer(const TScriptExplorer&) = delete;
    TScriptExplorer& operator=(const TScriptExplorer&) = delete;

    // ---- State ------------------------------------------------------------------------
    std::string FileName; // OpenDialog1's file name: what the next scan reads
    TScanOptions Options; // dimcheck, Checkbox2, Checkbox3
    int PumpIntervalMs = 20;
    // The file is read, shown and scanned in pieces of this size, the window running between.
    std::size_t LoadPieceBytes = std::size_t(256) << 10;
    // A file of at least this size shows its load and scan on the status bar's progress bar
    // (smaller ones are done before a bar would be seen).
    std::uintmax_t LargeFileBytes = std::uintmax_t(16) << 20;
    const TScanResults& Results() const { return results_; }
    int BlockStartLine() const { return blockStart_; }
    int BlockEndLine() const { return blockEnd_; }
    bool Scanning() const { return scanning_ > 0; }
    // By a language's id (either spelling); throws std::out_of_range for an unknown one.
    TqvCustomHighLighter& Highlighter(std::string_view language) const;
    // The dumpmemo buffer the copy and print commands fill.
    const TRichTextBuffer& DumpMemo() const { return dumpmemo_; }

    // Status bar panels 0 to 3: "File Status : ...", "Lines : n", "X : c", "Y : l".
    static std::array<std::string, 4> StatusTexts(const TqvCustomEdit& memo);

    // ---- Commands ---------------------------------------------------------------------
    // SpeedButton1 / "&Open Script": the open dialog, then OpenFile. Cancel changes nothing.
    void OpenScript();
    // The chosen (or dropped) file: caption, highlighter, Parse enabled; nothing read yet.
    void OpenFile(const std::string& path);
    // Start-up with a file on the command line: its highlighter, then scanned at once; the
    // caption is left as it is.
    void StartWith(const std::string& path);
    // Button1 / "Parse script" / a check box: loads FileName into the editor and scans it.
    // Throws EFileError when the file cannot be read (the previous results stay), is not a
    // regular file (a FIFO would block the window), or does not fit in memory (the rows found
    // so far stay).
    void Parse();
    // A check box was clicked: its new state, then a new scan.
    void SetOptions(const TScanOptions& options);
    // ListView2 selected a row (or Listbox1 was double-clicked): locate its block.
    void SelectRow(std::size_t row);
    // SpeedButton7: ask for a name, report the first entry holding it.
    void Find();
    // SpeedButton2 / "&Copy Code block". Throws EStringListError for a stored block beyond
    // the editor's last line; nothing is copied then.
    void CopyBlock();
    // SpeedButton3 / "Print codeblock"; SpeedButton4 / "Print whole document". Throw
    // EPrinterError (no printer) or EStringListError; no confirmation follows a failure or
    // a job the user cancelled.
    void PrintBlock();
    void PrintDocument();
    // SpeedButton6: only the editor's flag changes.
    void ToggleReadOnly();
    // The window is closing: a running scan stops at its next pump.
    void StopScan();
    // The editor reported a new caret line. The caret line has colours of its own, so the
    // line the caret left and the one it reached are repainted.
    void CaretLineChanged();

private:
    // The highlighter the path's extension selects; an unknown one keeps the current.
    void SelectHighlighterOf(const std::string& path);
    TqvCustomHighLighter& HighlighterOf(const THighlighterClass& language) const;
    // Between two pieces of a load, about every PumpIntervalMs: rows found, progress, events.
    void BetweenPieces(std::size_t done, std::size_t total);
    class TReadOnlyWhileLoading {
    public:
        explicit TReadOnlyWhileLoading(TScriptExplorer& explorer);
        ~TReadOnlyWhileLoading();
        TReadOnlyWhileLoading(const TReadOnlyWhileLoading&) = delete;
        TReadOnlyWhileLoading& operator=(const TReadOnlyWhileLoading&) = delete;

    private:
        TScriptExplorer& explorer_;
    };
    void SpecialLineColors(TObject* sender, int line, bool& special, TColor& fg, TColor& bg);
    // The editor's lines BlockStartLine..BlockEndLine; throws before anything is changed.
    std::vector<std::string> BlockLines() const;

    void parseFile(); // Parse without the out-of-memory report

    TqvCustomEdit& memo_;
    TOndrexView& view_;
    std::vector<std::unique_ptr<TqvCustomHighLighter>> highlighters_; // THighlighterList's order
    TScriptScanner scanner_;
    TScanResults results_;
    TRichTextBuffer dumpmemo_;
    int blockStart_ = 1;
    int blockEnd_ = 1;
    int paintedCaretLine_ = 1; // the line painted in the caret line's colours
    int scanning_ = 0;         // nesting depth of running scans
    int loading_ = 0;          // nesting depth of running loads
    bool readOnlyAfterLoad_ = true;
    std::size_t shownRows_ = 0; // rows already handed to ResultsAppended
    bool showingProgress_ = false;
    std::chrono::steady_clock::time_point lastPump_;
};

} // namespace ondrex

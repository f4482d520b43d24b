#include "app/ScriptExplorer.h"
#include "editor/TqvCustomEdit.h"
#include "editor/TqvEditList.h"
#include "highlighters/XoqPerlSyn.h"
#include "highlighters/zkVBSSyn.h"
#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/Printer.h"
#include "platform/TextFile.h"
#include "platform/testing/ScriptedDialogs.h"
#include "platform/testing/TestControlHost.h"
#include "tests/support/AddressSpaceLimit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace ondrex {
namespace {

// The window's controls as data: what the commands showed, in order.
struct RecordingView : TOndrexView {
    std::vector<TScanRow> list; // ListView2 as the window fills it
    std::vector<TInfoRow> info;
    bool resultsEnabled = false, parseEnabled = false, blockButtons = false;
    std::string caption = "Ondrex ";
    int copiedShown = 0, pumps = 0, stateChanges = 0;
    std::function<void()> onPump; // what the user does while the scan pumps

    void ResultsCleared() override { list.clear(); }
    void ResultsAppended(const std::vector<TScanRow>& rows, std::size_t first) override {
        ASSERT_EQ(first, list.size()); // rows arrive once each, in order
        list.insert(list.end(), rows.begin() + std::ptrdiff_t(first), rows.end());
    }
    void SetResultsEnabled(bool e) override { resultsEnabled = e; }
    void SetInfo(const std::vector<TInfoRow>& rows) override { info = rows; }
    void SetParseEnabled(bool e) override { parseEnabled = e; }
    void SetBlockButtonsEnabled(bool e) override { blockButtons = e; }
    void SetCaption(const std::string& c) override { caption = c; }
    void ShowCopied() override { ++copiedShown; }
    void ProcessMessages() override {
        ++pumps;
        if (onPump) onPump();
    }
    void EditorStateChanged() override { ++stateChanges; }
    std::vector<std::pair<std::size_t, std::size_t>> progress; // (done, total) as shown
    bool progressShown = false;
    void ShowLoadProgress(std::size_t done, std::size_t total) override {
        progress.emplace_back(done, total);
        progressShown = true;
    }
    void HideLoadProgress() override { progressShown = false; }
};

std::string tempFile(const std::string& name, const std::string& bytes) {
    std::string path = ::testing::TempDir() + std::to_string(getpid()) + "_" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::string numbered(int from, int to) {
    std::string s;
    for (int i = from; i <= to; ++i)
        s += "x" + std::to_string(i) + "\r\n";
    return s;
}

// Function Foo() on line 10, End Function on 15, a Dim on 17, Sub Bar on 19.
const std::string kScript = numbered(1, 9) + "Function Foo()\r\n" + numbered(11, 14) +
                            "End Function\r\n" + "x16\r\n" + "  Dim a, b\r\n" + "x18\r\n" +
                            "Sub Bar()\r\n" + "End Sub\r\n";

struct Explorer : ::testing::Test {
    TScriptedDialogs& dialogs = TScriptedDialogs::Install();
    TqvCustomEdit memo;
    RecordingView view;
    TScriptExplorer explorer{memo, view};
    std::string path = tempFile("explorer.asp", kScript);

    void TearDown() override { std::remove(path.c_str()); }
    void scan(TScanOptions options = {}) {
        explorer.FileName = path;
        explorer.SetOptions(options);
    }
    std::size_t rowAt(int line) {
        for (std::size_t i = 0; i < view.list.size(); ++i)
            if (view.list[i].line == line) return i;
        ADD_FAILURE() << "no row at line " << line;
        return 0;
    }
};

TEST_F(Explorer, StartsReadOnlyWithVbscriptAndTheBlockAtLineOne) {
    EXPECT_TRUE(memo.ReadOnly());
    EXPECT_EQ(memo.HighLighter(), &explorer.Highlighter(TScriptLanguage::vbscript));
    EXPECT_EQ(explorer.BlockStartLine(), 1);
    EXPECT_EQ(explorer.BlockEndLine(), 1);
    EXPECT_EQ(memo.Font().Name(), "Courier New");
    EXPECT_EQ(memo.MaxUndo(), 10);
    // The window's own highlighter settings on top of their defaults.
    auto& vbs = static_cast<TzkVbsSyn&>(explorer.Highlighter(TScriptLanguage::vbscript));
    EXPECT_EQ(vbs.KeyAttri->Foreground(), clRed);
    EXPECT_EQ(vbs.KeyAttri->Style(), fsBold);
    EXPECT_EQ(vbs.CommentAttri->Style(), fsItalic);
    auto& perl = static_cast<TXoqPerlSyn&>(explorer.Highlighter(TScriptLanguage::perlscript));
    EXPECT_EQ(perl.VariableAttri->Style(), fsBold);
    EXPECT_EQ(perl.PragmaAttri->Style(), fsBold);
    EXPECT_EQ(explorer.Highlighter(TScriptLanguage::phpscript).DefaultFilter(),
              "PHP files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc");
}

TEST_F(Explorer, OpenChoosesTheHighlighterByExtensionAndKeepsItForOthers) {
    auto open = [&](const std::string& file) {
        dialogs.OpenFileAnswers.push_back(file);
        explorer.OpenScript();
        return memo.HighLighter();
    };
    EXPECT_EQ(open("/w/lib.js"), &explorer.Highlighter(TScriptLanguage::javascript));
    EXPECT_EQ(open("/w/a.txt"), &explorer.Highlighter(TScriptLanguage::javascript));
    explorer.OpenFile("/w.d/README"); // a dropped file: the dot of a folder is no extension
    EXPECT_EQ(memo.HighLighter(), &explorer.Highlighter(TScriptLanguage::javascript));
    EXPECT_EQ(open("/w/Script.PHP4"), &explorer.Highlighter(TScriptLanguage::phpscript));
    EXPECT_EQ(open("/w/page.htm"), &explorer.Highlighter(TScriptLanguage::vbscript));
    EXPECT_EQ(open("/w/x.CGI"), &explorer.Highlighter(TScriptLanguage::perlscript));
    // The last dot names the extension, whatever dots the folders and the name hold.
    EXPECT_EQ(open("/srv/site.com/index.php"), &explorer.Highlighter(TScriptLanguage::phpscript));
    EXPECT_EQ(open("/w/jquery.min.js"), &explorer.Highlighter(TScriptLanguage::javascript));
    EXPECT_EQ(open("/w/lib.inc"), &explorer.Highlighter(TScriptLanguage::vbscript));
    EXPECT_EQ(view.caption, "Ondrex - /w/lib.inc");
    EXPECT_TRUE(view.parseEnabled);
    EXPECT_EQ(explorer.FileName, "/w/lib.inc");
    EXPECT_EQ(memo.LineCount(), 1); // nothing is read before the scan

    const auto& asked = dialogs.OpenFileCalls.back();
    EXPECT_EQ(asked.DefaultExt, ".asp");
    EXPECT_EQ(ParseFilter(asked.Filter),
              (std::vector<TFileFilter>{{"Webfiles",
                                         {"*.asp", "*.inc", "*.vbs", "*.js", "*.php", "*.php3",
                                          "*.php4", "*.pl", "*.cgi", "*.pm"}},
                                        {"All files", {"*.*"}}}));
    // Cancel changes nothing.
    explorer.OpenScript();
    EXPECT_EQ(view.caption, "Ondrex - /w/lib.inc");
    EXPECT_EQ(explorer.FileName, "/w/lib.inc");
}

TEST_F(Explorer, StartingWithAFileScansItAndKeepsTheCaption) {
    explorer.StartWith(path);
    EXPECT_EQ(view.caption, "Ondrex ");
    EXPECT_TRUE(view.parseEnabled);
    EXPECT_EQ(memo.LineCount(), 20);
    ASSERT_EQ(view.list.size(), 2u);
    EXPECT_EQ(view.list[0].caption, "Function");
    EXPECT_EQ(view.list[1].caption, "Sub");
    EXPECT_TRUE(view.resultsEnabled);
    EXPECT_EQ(view.info,
              (std::vector<TInfoRow>{
                  {"Functions found", "1"}, {"Subs found", "1"}, {"Dim statements found", "1"}}));
}

TEST_F(Explorer, StartingWithAFileHighlightsItInItsLanguage) {
    const std::string php = tempFile("page.php", "<?php\nfunction f() {\n  return 'x';\n}\n");
    explorer.StartWith(php);
    EXPECT_EQ(memo.HighLighter(), &explorer.Highlighter(TScriptLanguage::phpscript));
    ASSERT_EQ(view.list.size(), 1u);
    EXPECT_EQ(view.list[0].caption, "Function");
    const std::string text = tempFile("notes.txt", "Sub a()\n");
    explorer.StartWith(text);
    EXPECT_EQ(memo.HighLighter(), &explorer.Highlighter(TScriptLanguage::phpscript))
        << "an unknown extension keeps the highlighter";
    std::remove(php.c_str());
    std::remove(text.c_str());
}

// A file that is not UTF-8 is shown, measured and copied as Windows-1252; the next UTF-8 file
// goes back to UTF-8.
TEST_F(Explorer, EachFileIsReadInItsOwnCodePage) {
    const TScopedCodePage kept(ActiveCodePage());
    const std::string latin = tempFile("latin.asp", "Dim caf\xe9 ' \xab x \xbb\r\n");
    explorer.StartWith(latin);
    EXPECT_EQ(ActiveCodePage(), TCodePage::Windows1252);
    EXPECT_EQ(memo.Lines().Get(0), "Dim caf\xe9 ' \xab x \xbb");
    memo.SelectAll();
    memo.CopyToClipboard();
    EXPECT_EQ(Clipboard().AsText(), "Dim caf\xe9 ' \xab x \xbb");
    explorer.StartWith(path);
    EXPECT_EQ(ActiveCodePage(), TCodePage::Utf8);
    std::remove(latin.c_str());
}

// The caret line has colours of its own: when the caret changes line, also by a key that
// scrolls the view, both the line it left and the whole row it reached are repainted (not
// only the strip the scroll uncovered, which left bands of the old colours behind).
TEST_F(Explorer, TheLinesTheCaretLeavesAndReachesAreRepainted) {
    TTestControlHost host{memo};
    memo.SetText(numbered(1, 40));
    memo.SetBounds(0, 0, 300, 10 * memo.LineHeight() + memo.LineHeight() / 3);
    host.SendResize();
    memo.OnStatusChange = TqvStatusChangeEvent::fromFunction(
        [](void* e, TObject*, TqvStatusChanges changes) {
            if (changes & scCaretLine) static_cast<TScriptExplorer*>(e)->CaretLineChanged();
        },
        &explorer);
    const auto rowOf = [&](int line) {
        const int top = (line - memo.TopLine()) * memo.LineHeight();
        return TRect{0, top, memo.ClientWidth(), top + memo.LineHeight()};
    };
    const auto repainted = [&](const TRect& row) {
        const TRect area = host.InvalidRect();
        return area.Left <= row.Left && area.Top <= row.Top && area.Right >= row.Right &&
               area.Bottom >= row.Bottom;
    };
    host.PaintAll();
    memo.SetCaretPos({1, 4});
    EXPECT_TRUE(repainted(rowOf(1)));
    EXPECT_TRUE(repainted(rowOf(4)));
    host.Paint();

    memo.SetCaretPos({1, 10});
    host.Paint();
    host.SendKeyDown(VK_DOWN, 0); // the view scrolls by one line
    ASSERT_EQ(memo.TopLine(), 2);
    ASSERT_EQ(host.Scrolls.size(), 1u);
    EXPECT_TRUE(repainted(rowOf(10)));
    EXPECT_TRUE(repainted(rowOf(11)));
    memo.OnStatusChange = {};
}

TEST_F(Explorer, AnEmptyFileNameScansNothing) {
    explorer.Parse();
    EXPECT_EQ(view.stateChanges, 0);
    EXPECT_TRUE(view.info.empty());
}

TEST_F(Explorer, AFailedLoadReportsAndKeepsThePreviousRows) {
    scan();
    explorer.FileName = "/no/such/file.asp";
    EXPECT_THROW(explorer.Parse(), EFileError);
    EXPECT_EQ(view.list.size(), 2u);
    EXPECT_EQ(explorer.Results().rows.size(), 2u);
    EXPECT_EQ(memo.LineCount(), 1); // the editor was cleared before the load failed
}

// Opening a FIFO for reading waits for a writer: the window would hang until one came.
TEST_F(Explorer, AFileReplacedByAFifoIsRefusedWithoutWaiting) {
    scan();
    std::remove(path.c_str());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    // Where the load does wait, this writer ends the wait, so the test fails instead of hanging.
    std::thread rescue([&] {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        if (const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) close(fd);
    });
    try {
        explorer.Parse();
        ADD_FAILURE() << "a FIFO was loaded";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.what(), path + ": not a regular file");
    }
    rescue.join();
    EXPECT_EQ(view.list.size(), 2u);
}

TEST_F(Explorer, AFileTooLargeForMemoryIsNamed) {
    if (testsupport::kSanitizedBuild) GTEST_SKIP() << "no address-space limit under the sanitizers";
    // A sparse file: large to read, nothing on the disk.
    const std::string big = tempFile("explorer_big.asp", "");
    ASSERT_EQ(truncate(big.c_str(), off_t(8) << 30), 0);
    const int status = testsupport::RunUnderAddressSpaceLimit(std::size_t(256) << 20, [&] {
        scan();
        explorer.FileName = big;
        try {
            explorer.Parse();
        } catch (const EFileError& e) {
            return e.what() == big + ": too large for the memory available" && view.list.size() == 2
                       ? 0
                       : 1;
        } catch (...) {
            return 2;
        }
        return 3;
    });
    std::remove(big.c_str());
    EXPECT_EQ(status, 0);
}

TEST_F(Explorer, SelectingABlockRowLocatesItAndColoursTheCaretLine) {
    scan();
    explorer.SelectRow(rowAt(10));
    EXPECT_EQ(view.info, (std::vector<TInfoRow>{{"Functions found", "1"},
                                                {"Subs found", "1"},
                                                {"Dim statements found", "1"},
                                                {"", ""},
                                                {"Function / Sub name", "Function Foo()"},
                                                {"Start at line", "10"},
                                                {"Ends at line", "15"},
                                                {"Lines in codeblock", "5"}}));
    EXPECT_TRUE(view.blockButtons);
    EXPECT_EQ(memo.CaretPos(), (TPoint{1, 10}));
    EXPECT_EQ(explorer.BlockStartLine(), 10);
    EXPECT_EQ(explorer.BlockEndLine(), 15);
    for (int line : {9, 10, 11}) {
        bool special = false;
        TColor fg = clBlack, bg = clWhite;
        memo.OnSpecialLineColors(&memo, line, special, fg, bg);
        EXPECT_EQ(special, line == 10) << line;
        EXPECT_EQ(fg, line == 10 ? clYellow : clBlack);
        EXPECT_EQ(bg, line == 10 ? clBlue : clWhite);
    }
    // A single statement: the buttons go off, both stored lines are the hit's.
    scan({true, false, true});
    explorer.SelectRow(rowAt(17));
    EXPECT_FALSE(view.blockButtons);
    EXPECT_EQ(view.info.size(), 3u);
    EXPECT_EQ(explorer.BlockStartLine(), 17);
    EXPECT_EQ(explorer.BlockEndLine(), 17);
    EXPECT_EQ(memo.CaretPos(), (TPoint{1, 17}));
    // A row that is not there does nothing.
    explorer.SelectRow(99);
    EXPECT_EQ(explorer.BlockStartLine(), 17);
}

TEST_F(Explorer, CopyBlockPutsExactlyTheBlockOnTheClipboard) {
    scan();
    explorer.SelectRow(rowAt(10));
    Clipboard().SetAsText("before");
    explorer.CopyBlock();
    EXPECT_EQ(Clipboard().AsText(),
              "Function Foo()\r\nx11\r\nx12\r\nx13\r\nx14\r\nEnd Function\r\n");
    EXPECT_EQ(view.copiedShown, 1);

    // A shorter file scanned after: the stored block reaches beyond the last line.
    const std::string shorter = tempFile("explorer_short.asp", "Sub a()\r\nEnd Sub\r\n");
    explorer.FileName = shorter;
    explorer.Parse();
    Clipboard().SetAsText("kept");
    EXPECT_THROW(explorer.CopyBlock(), EStringListError);
    EXPECT_EQ(Clipboard().AsText(), "kept");
    EXPECT_EQ(view.copiedShown, 1);
    EXPECT_THROW(explorer.PrintBlock(), EStringListError);
    EXPECT_TRUE(dialogs.Messages.empty());
    std::remove(shorter.c_str());
}

// ONDREX_PRINT_TO_PDF for the length of one test.
struct PrintToPdf {
    explicit PrintToPdf(std::string file) : path(std::move(file)) {
        std::remove(path.c_str());
        setenv("ONDREX_PRINT_TO_PDF", path.c_str(), 1);
    }
    ~PrintToPdf() {
        unsetenv("ONDREX_PRINT_TO_PDF");
        std::remove(path.c_str());
    }
    bool printed() const { return std::ifstream(path).good(); }
    std::string path;
};

TEST_F(Explorer, PrintCodeblockFramesTheBlockWithEmptyLinesAndConfirms) {
    scan();
    explorer.SelectRow(rowAt(10));
    PrintToPdf pdf(::testing::TempDir() + std::to_string(getpid()) + "_block.pdf");
    explorer.PrintBlock();
    EXPECT_TRUE(pdf.printed());
    EXPECT_EQ(explorer.DumpMemo().Lines(),
              (std::vector<std::string>{"", "", "Function Foo()", "x11", "x12", "x13", "x14",
                                        "End Function", "", ""}));
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "  Codeblock printed ");
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs.Messages[0].Buttons, mbOK);
}

TEST_F(Explorer, AFailedPrintGivesNoConfirmation) {
    scan();
    PrintToPdf pdf("/no/such/folder/out.pdf");
    EXPECT_THROW(explorer.PrintBlock(), EPrinterError);
    EXPECT_THROW(explorer.PrintDocument(), EPrinterError);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(Explorer, ACancelledPrintGivesNoConfirmationAndNoPdf) {
    std::remove(path.c_str());
    path = tempFile("long.asp", "Function Foo()\r\n" + numbered(2, 599) + "End Function\r\n");
    scan();
    explorer.SelectRow(rowAt(1));
    ASSERT_EQ(explorer.BlockEndLine(), 600);
    PrintToPdf pdf(::testing::TempDir() + std::to_string(getpid()) + "_cancelled.pdf");
    dialogs.CancelAt = 300;
    explorer.PrintBlock();
    ASSERT_EQ(dialogs.Progresses.size(), 1u);
    EXPECT_EQ(dialogs.Progresses[0].Steps.back(), 300u);
    EXPECT_FALSE(pdf.printed());
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(Explorer, PrintWholeDocumentPrintsEveryLineAndAnEmptyOneNothing) {
    PrintToPdf pdf(::testing::TempDir() + std::to_string(getpid()) + "_doc.pdf");
    Clipboard().SetAsText("old clipboard");
    explorer.PrintDocument(); // an empty editor
    EXPECT_FALSE(pdf.printed());
    scan();
    explorer.PrintDocument();
    EXPECT_TRUE(pdf.printed());
    ASSERT_EQ(explorer.DumpMemo().Lines().size(), 20u);
    EXPECT_EQ(explorer.DumpMemo().Lines()[9], "Function Foo()");
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(Explorer, FindReportsTheFileLineOfTheFirstEntryHoldingTheName) {
    scan();
    dialogs.InputAnswers = {std::string("bar"), std::string("function foo"), std::nullopt,
                            std::string("")};
    explorer.Find();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "Function / Sub found at line : 19");
    EXPECT_EQ(dialogs.InputCalls[0].Caption, "Search for Function / Sub");
    EXPECT_EQ(dialogs.InputCalls[0].Prompt, "");
    explorer.Find(); // a match at the first character does not count
    explorer.Find(); // cancelled
    explorer.Find(); // nothing typed
    EXPECT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(memo.CaretPos(), (TPoint{1, 1})); // the find neither selects nor moves
}

TEST_F(Explorer, StatusTextsFollowTheEditor) {
    scan();
    auto texts = TScriptExplorer::StatusTexts(memo);
    EXPECT_EQ(texts[0], "File Status : Read only (default)");
    EXPECT_EQ(texts[1], "Lines : 19"); // twenty lines
    explorer.SelectRow(rowAt(19));
    explorer.ToggleReadOnly();
    texts = TScriptExplorer::StatusTexts(memo);
    EXPECT_EQ(texts[0], "File Status : Read/Write");
    EXPECT_EQ(texts[2], "X : 1");
    EXPECT_EQ(texts[3], "Y : 19");
    memo.Lines().Clear();
    EXPECT_EQ(TScriptExplorer::StatusTexts(memo)[1], "Lines : 0");
    explorer.ToggleReadOnly();
    EXPECT_TRUE(memo.ReadOnly());
}

// ---- The scan while the user acts --------------------------------------------------------

std::string bigScript(int functions) {
    std::string s;
    for (int i = 0; i < functions; ++i)
        s += "Function f" + std::to_string(i) +
             "(a)\r\n  Dim x\r\n  If a Then Call g\r\nEnd "
             "Function\r\n";
    return s;
}

TEST_F(Explorer, TheScanPumpsByTimeNotPerLine) {
    const std::string big = tempFile("explorer_big.asp", bigScript(40000)); // 160,000 lines
    explorer.FileName = big;
    explorer.PumpIntervalMs = 1'000'000;
    explorer.Parse();
    EXPECT_EQ(view.pumps, 0);
    explorer.PumpIntervalMs = 0;
    explorer.Parse();
    EXPECT_GT(view.pumps, 0);
    EXPECT_LT(view.pumps, 200); // slices of many lines, far from one pass per line
    EXPECT_EQ(view.list.size(), 80000u);
    std::remove(big.c_str());
}

TEST_F(Explorer, ALargeFileShowsItsLoadOnTheProgressBarUntilTheScanEndsOrStops) {
    const std::string script = bigScript(40000);
    const std::string big = tempFile("explorer_progress.asp", script);
    explorer.FileName = big;
    explorer.PumpIntervalMs = 0;
    explorer.LargeFileBytes = script.size() + 1;
    explorer.Parse();
    EXPECT_TRUE(view.progress.empty());

    explorer.LargeFileBytes = script.size();
    bool shownWhilePumping = true;
    view.onPump = [&] { shownWhilePumping = shownWhilePumping && view.progressShown; };
    explorer.Parse();
    EXPECT_FALSE(view.progressShown);
    EXPECT_TRUE(shownWhilePumping);
    ASSERT_GT(view.progress.size(), 2u);
    EXPECT_EQ(view.progress[0], (std::pair<std::size_t, std::size_t>{0, 1})); // before a byte
    for (std::size_t i = 1; i < view.progress.size(); ++i) {
        EXPECT_EQ(view.progress[i].second, script.size()); // bytes read and scanned of the file
        EXPECT_GT(view.progress[i].first, i > 1 ? view.progress[i - 1].first : 0);
    }

    view.onPump = [&] { explorer.StopScan(); }; // the window closed mid-scan
    explorer.Parse();
    EXPECT_FALSE(view.progressShown);
    std::remove(big.c_str());
}

// The file read, shown and scanned in pieces (here of a few bytes, so that pieces end inside
// lines and between CR and LF) gives what a whole load and a whole scan give.
TEST_F(Explorer, ALoadInPiecesGivesTheLinesStatesAndRowsOfAWholeLoad) {
    std::mt19937 rng(5);
    const char* pieces[] = {
        "Function f(a)", "Sub s", "  Dim d", "If x Then", "Else", "Call c", "'", "\"", "<%", "%>",
        "rem x",         "\t",    "\r\n",    "\n",        "\r",   "x"};
    explorer.PumpIntervalMs = 0;
    for (int round = 0; round < 24; ++round) {
        std::string text;
        for (int i = 0, n = int(rng() % 400); i < n; ++i)
            text += pieces[rng() % std::size(pieces)];
        if (round % 6 == 5)
            text += "\r\n\x1a"
                    "Function after(the end of the text)\r\n";
        const std::string file = tempFile("pieces.asp", text);
        explorer.FileName = file;
        explorer.LoadPieceBytes = 1 + rng() % 13;
        std::vector<int> countsSeen;
        view.onPump = [&] { countsSeen.push_back(memo.LineCount()); };
        // Every other file is open for writing elsewhere, so it is read instead of mapped.
        const int writer = round % 2 ? ::open(file.c_str(), O_WRONLY) : -1;
        explorer.Parse();
        if (writer >= 0) ::close(writer);
        std::remove(file.c_str());

        TqvCustomEdit reference;
        reference.SetHighLighter(&explorer.Highlighter(TScriptLanguage::vbscript));
        reference.Lines().LoadFromBlock(std::string(text));
        ASSERT_EQ(memo.LineCount(), reference.LineCount()) << round;
        for (int i = 0; i < reference.LineCount(); ++i) {
            ASSERT_EQ(memo.Lines().Get(i), reference.Lines().Get(i)) << round << " line " << i;
            ASSERT_EQ(memo.LineStartState(i), reference.LineStartState(i))
                << round << " line " << i;
        }
        reference.SetHighLighter(nullptr);

        TScriptScanner scanner;
        TScanResults whole;
        scanner.ScanBlock(text, whole);
        const TScanResults& r = explorer.Results();
        ASSERT_EQ(r.rows.size(), whole.rows.size()) << round;
        for (std::size_t i = 0; i < whole.rows.size(); ++i) {
            ASSERT_EQ(r.rows[i].line, whole.rows[i].line) << round;
            ASSERT_EQ(r.rows[i].text, whole.rows[i].text) << round;
        }
        ASSERT_EQ(r.linesRead, whole.linesRead) << round;
        ASSERT_EQ(view.info, whole.info) << round;
        ASSERT_EQ(view.list.size(), whole.rows.size());
        if (text.size() > 100) {
            // The window ran with the text partly shown.
            ASSERT_FALSE(countsSeen.empty());
            EXPECT_LT(countsSeen.front(), reference.LineCount()) << round;
        }
    }
}

// The editor holds still under a load: it is read-only while one runs, and a toggle made
// meanwhile takes effect when it ends.
TEST_F(Explorer, TheEditorIsReadOnlyWhileALoadRunsAndATogglePendsUntilItsEnd) {
    const std::string big = tempFile("explorer_readonly.asp", bigScript(2000));
    explorer.ToggleReadOnly(); // Read/Write
    ASSERT_FALSE(memo.ReadOnly());
    explorer.FileName = big;
    explorer.PumpIntervalMs = 0;
    explorer.LoadPieceBytes = 4096;
    int pumps = 0;
    bool readOnlyThroughout = true;
    view.onPump = [&] {
        readOnlyThroughout = readOnlyThroughout && memo.ReadOnly();
        if (++pumps == 2) explorer.ToggleReadOnly();
    };
    explorer.Parse();
    EXPECT_GT(pumps, 2);
    EXPECT_TRUE(readOnlyThroughout);
    EXPECT_TRUE(memo.ReadOnly()) << "the toggle made during the load";
    view.onPump = {};
    explorer.Parse();
    EXPECT_TRUE(memo.ReadOnly());
    std::remove(big.c_str());
}

TEST_F(Explorer, AScanStartedMidScanTakesOverAndTheListsStayAligned) {
    const std::string big = tempFile("explorer_nested.asp", bigScript(40000));
    explorer.FileName = big;
    explorer.PumpIntervalMs = 0;
    int pumps = 0;
    view.onPump = [&] {
        if (++pumps == 2) explorer.SetOptions({true, true, false}); // a check box clicked
    };
    explorer.SetOptions({});
    EXPECT_FALSE(explorer.Scanning());
    const TScanResults& r = explorer.Results();
    EXPECT_EQ(r.counters.functionCount, 40000);
    ASSERT_EQ(view.list.size(), r.rows.size());
    ASSERT_EQ(r.rows.size(), 40000u * 3); // Function, Dim, If; no Call
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        ASSERT_EQ(view.list[i].line, r.rows[i].line);
        ASSERT_EQ(view.list[i].caption, r.rows[i].caption);
    }
    EXPECT_EQ(view.info[2], (TInfoRow{"Dim statements found", "120000"}));
    std::remove(big.c_str());
}

TEST_F(Explorer, ClosingMidScanStopsTheScan) {
    const std::string big = tempFile("explorer_close.asp", bigScript(40000));
    scan();
    const auto infoBefore = view.info;
    explorer.FileName = big;
    explorer.PumpIntervalMs = 0;
    view.onPump = [&] {
        if (view.pumps == 1) explorer.StopScan();
    };
    explorer.Parse();
    EXPECT_EQ(view.pumps, 1);
    EXPECT_FALSE(explorer.Scanning());
    EXPECT_EQ(view.info, infoBefore); // the stopped scan wrote no counters
    EXPECT_LT(view.list.size(), 80000u);
    const auto generation = explorer.Results().generation;
    explorer.StopScan(); // with no scan running it changes nothing
    EXPECT_EQ(explorer.Results().generation, generation);
    std::remove(big.c_str());
}

TEST(ScanInSlices, ACrLfAcrossTheSliceEdgeIsOneLineBreak) {
    const std::string block = std::string(64 * 1024 - 1, 'x') + "\r\nDim a\r\n";
    ASSERT_EQ(block[64 * 1024], '\n');
    TScriptScanner scanner;
    scanner.options = {true, false, false};
    TScanResults whole, sliced;
    scanner.ScanBlock(block, whole);
    scanner.ScanBlockInSlices(block, sliced, {});
    ASSERT_EQ(sliced.rows.size(), 1u);
    EXPECT_EQ(sliced.rows[0].line, 2);
    EXPECT_EQ(sliced.linesRead, whole.linesRead);
}

TEST(ScanInSlices, FindsWhatTheWholeScanFinds) {
    // Lines long and short, every break kind, Ctrl+Z: slices must cut between lines only.
    std::mt19937 rng(7);
    const char* pieces[] = {
        "Function f(a) ", "Sub s ", "Dim d ", "If x Then ", "ElseIf y ", "Else ", "Call c ", "'",
        "\r\n",           "\n",     "\r",     "\x1a",       "x",         "   ",   "\t"};
    struct NoPump {
        int calls = 0;
        void Pump() { ++calls; }
    } pump;
    for (int round = 0; round < 40; ++round) {
        std::string block;
        const int n = int(rng() % 40000);
        for (int i = 0; i < n; ++i) {
            const char* p = pieces[rng() % std::size(pieces)];
            if (*p == '\x1a' && round % 4) continue; // most blocks run to their end
            block += p;
        }
        TScriptScanner scanner;
        scanner.options = {true, true, true};
        TScanResults whole, sliced;
        scanner.ScanBlock(block, whole);
        scanner.ScanBlockInSlices(block, sliced, TMessagePump::bind<&NoPump::Pump>(&pump));
        ASSERT_EQ(sliced.rows.size(), whole.rows.size()) << round;
        for (std::size_t i = 0; i < whole.rows.size(); ++i) {
            ASSERT_EQ(sliced.rows[i].line, whole.rows[i].line);
            ASSERT_EQ(sliced.rows[i].text, whole.rows[i].text);
        }
        ASSERT_EQ(sliced.linesRead, whole.linesRead);
        ASSERT_EQ(sliced.info, whole.info);
    }
    EXPECT_GT(pump.calls, 0);
}

} // namespace
} // namespace ondrex

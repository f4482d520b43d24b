// Editing a large text in the editor (no painting): typing into line 500,000 of a 50 MB,
// 1 M-line text, select-all and copy of it, pasting 10 MB and undoing that paste. The peer
// in the same run is Qt's own text document inserting the same 10 MB and undoing it.
// Memory is the process's resident size against the text's size.
//
//   bench_editor_editing [LINES]

#include "editor/TqvCustomEdit.h"
#include "highlighters/zkVBSSyn.h"
#include "platform/Clipboard.h"
#include "platform/testing/RecordingCanvas.h"
#include "platform/testing/TestControlHost.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Resident and peak resident size in MB.
std::pair<double, double> Memory() {
    std::ifstream status("/proc/self/status");
    double rss = 0, hwm = 0;
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) rss = std::atof(line.c_str() + 6) / 1024;
        if (line.rfind("VmHWM:", 0) == 0) hwm = std::atof(line.c_str() + 6) / 1024;
    }
    return {rss, hwm};
}

// Lines of about 50 bytes of script.
std::string MakeText(int lines, int seed) {
    static const char* const kinds[] = {
        "    Dim value%d = Request.Form(\"field\") ' comment\r\n",
        "    If count%d > 10 Then Call Process(count, \"x\")\r\n",
        "Function Compute%d(a, b) ' returns the sum of both\r\n",
        "    Response.Write \"<td>\" & item%d & \"</td>\" ' out\r\n"};
    std::string text;
    text.reserve(std::size_t(lines) * 52);
    char line[128];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(line, sizeof line, kinds[(i + seed) % 4], i % 1000);
        text += line;
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    using namespace ondrex;
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1'000'000;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    GetFontsInfoManager().SetScreenCanvas(std::make_unique<TRecordingCanvas>());
    Clipboard().Clear(); // starts the application the clipboard lives in

    TqvCustomEdit edit;
    TTestControlHost host{edit};
    host.SendResize();
    edit.SetBounds(0, 0, 800, 600);
    TzkVbsSyn vbs;
    edit.SetHighLighter(&vbs);
    std::string text = MakeText(lines, 0);
    const double fileMB = double(text.size()) / 1e6;
    auto start = Clock::now();
    edit.Lines().LoadFromBlock(std::move(text));
    std::printf("text: %d lines, %.1f MB, loaded with range states in %.2f s\n", edit.LineCount(),
                fileMB, Seconds(start));
    const auto [rssLoaded, hwmLoaded] = Memory();
    std::printf("memory after load: %.0f MB resident (%.2fx the text)\n", rssLoaded,
                rssLoaded / fileMB);

    // Typing into line 500,000: one character per command, the median of 2000.
    edit.SetMaxUndo(10);
    edit.SetCaretPos({10, lines / 2});
    std::vector<double> typed;
    for (int i = 0; i < 2000; ++i) {
        start = Clock::now();
        edit.ExecuteCommand(ecChar, std::string(1, char('a' + i % 26)), nullptr);
        typed.push_back(Seconds(start));
    }
    std::sort(typed.begin(), typed.end());
    std::printf("typing one character into line %d: median %.1f us, 99th percentile %.1f us\n",
                lines / 2, typed[typed.size() / 2] * 1e6, typed[typed.size() * 99 / 100] * 1e6);

    start = Clock::now();
    edit.SelectAll();
    edit.CopyToClipboard();
    const double copySeconds = Seconds(start);
    const auto [rssCopy, hwmCopy] = Memory();
    std::printf("select all + copy of %.1f MB: %.3f s; resident %.0f MB, peak %.0f MB (%.2fx)\n",
                fileMB, copySeconds, rssCopy, hwmCopy, hwmCopy / fileMB);

    // Paste 10 MB at line 500,000 and undo it; the same 10 MB into Qt's document.
    const std::string paste = MakeText(200'000, 1);
    const double pasteMB = double(paste.size()) / 1e6;
    Clipboard().SetAsText(paste);
    edit.SetCaretPos({1, lines / 2});
    edit.SetSelectionStart(edit.CaretPos());
    start = Clock::now();
    edit.PasteFromClipboard();
    const double pasteSeconds = Seconds(start);
    start = Clock::now();
    edit.Undo();
    const double undoSeconds = Seconds(start);
    const auto [rssPaste, hwmPaste] = Memory();

    const QString qtext = QString::fromUtf8(paste.data(), qsizetype(paste.size()));
    QTextDocument document;
    document.setUndoRedoEnabled(true);
    QTextCursor cursor(&document);
    start = Clock::now();
    cursor.insertText(qtext);
    const double qtPaste = Seconds(start);
    start = Clock::now();
    document.undo();
    const double qtUndo = Seconds(start);

    std::printf("paste %.1f MB: %.3f s (QTextDocument %.3f s, ratio %.2f)\n", pasteMB, pasteSeconds,
                qtPaste, pasteSeconds / qtPaste);
    std::printf("undo of that paste: %.3f s (QTextDocument %.3f s, ratio %.2f)\n", undoSeconds,
                qtUndo, undoSeconds / qtUndo);
    std::printf("memory through paste and undo: resident %.0f MB, peak %.0f MB (%.2fx the text)\n",
                rssPaste, hwmPaste, hwmPaste / fileMB);
    edit.SetHighLighter(nullptr);
    return 0;
}

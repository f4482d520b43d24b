// Print jobs of the rich-text buffer: into a PDF file (the environment variable), with no
// printer at all, and (driven by cups_print_test.sh) on a real CUPS printer.

#include "platform/Printer.h"
#include "platform/RichTextBuffer.h"
#include "platform/qt/QtApplication.h"
#include "platform/testing/ScriptedDialogs.h"

#include <QApplication>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace ondrex;

namespace {

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        while (std::size_t n = fread(buf, 1, sizeof buf, p))
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

// Runs of blanks as one blank, so layout spacing does not matter.
std::string Squeeze(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c != ' ' || out.empty() || out.back() != ' ') out += c;
    return out;
}

bool HaveTool(const char* tool) {
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

// Sets an environment variable for one scope.
struct TEnv {
    std::string name;
    std::string old;
    bool had;
    TEnv(const char* n, const char* value) : name(n), had(std::getenv(n)) {
        if (had) old = std::getenv(n);
        if (value)
            setenv(n, value, 1);
        else
            unsetenv(n);
    }
    ~TEnv() {
        if (had)
            setenv(name.c_str(), old.c_str(), 1);
        else
            unsetenv(name.c_str());
    }
};

void FillBlock(TRichTextBuffer& b, int lines) {
    b.Clear();
    b.Add("");
    b.Add("");
    for (int i = 1; i <= lines; ++i)
        b.Add("Line\t" + std::to_string(i) + " of the block");
    b.Add("");
    b.Add("");
}

} // namespace

TEST(Printer, TabsExpandToMultiplesOfEight) {
    EXPECT_EQ(ExpandTabs("a\tb"), "a       b");
    EXPECT_EQ(ExpandTabs("\t\tx"), std::string(16, ' ') + "x");
    EXPECT_EQ(ExpandTabs("abcdefgh\tx"), "abcdefgh        x");
    EXPECT_EQ(ExpandTabs("no tabs"), "no tabs");
}

TEST(Printer, EnvironmentVariableSendsTheJobToAPdfFile) {
    const auto path = std::filesystem::temp_directory_path() / "ondrex_print_test.pdf";
    std::filesystem::remove(path);
    TEnv env("ONDREX_PRINT_TO_PDF", path.c_str());
    TRichTextBuffer b;
    FillBlock(b, 150); // more than one page of 8-point lines
    b.Print("Ondrex");
    ASSERT_TRUE(std::filesystem::exists(path));
    std::ifstream in(path, std::ios::binary);
    std::string head(4, '\0');
    in.read(head.data(), 4);
    EXPECT_EQ(head, "%PDF");
    if (!HaveTool("pdftotext") || !HaveTool("pdfinfo"))
        GTEST_SKIP() << "pdftotext/pdfinfo (poppler-utils) not installed; only the file checked";
    const std::string info = Squeeze(Output("pdfinfo '" + path.string() + "'"));
    EXPECT_NE(info.find("Title: Ondrex\n"), std::string::npos) << info;
    const int pages = std::atoi(info.substr(info.find("Pages:") + 6).c_str());
    EXPECT_GE(pages, 2);
    const std::string text = Squeeze(Output("pdftotext -layout '" + path.string() + "' -"));
    EXPECT_NE(text.find("Line 1 of the block"), std::string::npos);
    EXPECT_NE(text.find("Line 150 of the block"), std::string::npos);
    if (!HasFailure()) std::filesystem::remove(path);
}

TEST(Printer, NoPrinterIsAnError) {
    qt::ensureApplication();
    TEnv env("ONDREX_PRINT_TO_PDF", nullptr);
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a default printer exists here; not printing to it";
    TRichTextBuffer b;
    FillBlock(b, 3);
    EXPECT_THROW(b.Print("Ondrex"), EPrinterError);
}

namespace {

// A job that records what was drawn; ten lines to a page, twenty characters to a line.
struct TRecordedJob : TPrintJob {
    std::vector<std::string> drawn;
    int pages = 1;
    bool finished = false;
    std::size_t LinesPerPage() const override { return 10; }
    std::size_t CharsPerLine() const override { return 20; }
    void NewPage() override { ++pages; }
    void DrawLine(std::size_t row, const std::string& line) override {
        EXPECT_EQ(row, drawn.size() % 10);
        drawn.push_back(line);
    }
    void Finish() override { finished = true; }
};

std::vector<std::string> Numbered(std::size_t count) {
    std::vector<std::string> lines;
    for (std::size_t i = 1; i <= count; ++i)
        lines.push_back("Line " + std::to_string(i));
    return lines;
}

} // namespace

TEST(Printer, MoreThanAFewPagesShowProgressToTheEndAndCancelDropsTheRest) {
    TScriptedDialogs& dialogs = TScriptedDialogs::Install();
    TRecordedJob few;
    EXPECT_TRUE(PrintLinesOn(few, "Ondrex", Numbered(kFewPages * 10)));
    EXPECT_TRUE(dialogs.Progresses.empty());
    EXPECT_EQ(few.pages, int(kFewPages));

    TRecordedJob more;
    EXPECT_TRUE(PrintLinesOn(more, "Ondrex", Numbered(kFewPages * 10 + 1)));
    ASSERT_EQ(dialogs.Progresses.size(), 1u);
    EXPECT_EQ(dialogs.Progresses[0].Text, "Printing \"Ondrex\", 4 pages");
    EXPECT_EQ(dialogs.Progresses[0].Steps.back(), kFewPages * 10 + 1);
    EXPECT_FALSE(dialogs.Progresses[0].Shown);
    EXPECT_TRUE(more.finished);

    dialogs.CancelAt = 25;
    TRecordedJob cancelled;
    EXPECT_FALSE(PrintLinesOn(cancelled, "Ondrex", Numbered(100)));
    EXPECT_EQ(cancelled.drawn.size(), 25u);
    EXPECT_FALSE(cancelled.finished);
    EXPECT_FALSE(dialogs.Progresses.back().Shown);
    SetDialogs(nullptr);
}

// A line of megabytes comes out as its start on its own printed line: the pages are those
// of short lines, and tabs and multi-byte characters count as what they show.
TEST(Printer, LongLinesAreCutAtThePageEdgeLineByLine) {
    TScriptedDialogs::Install();
    const std::string wide = "\xE4\xB8\xAD";
    std::vector<std::string> lines = Numbered(25);
    lines[3] = std::string(8 << 20, 'x');
    lines[12] = "\t" + std::string(30, 'y');
    lines[13] = std::string(19, 'a') + wide + wide + "b";
    lines[14] = std::string(20, 'c');
    lines[15] = std::string(21, 'd');
    lines[16] = "\xC3" + std::string(40, '\x80'); // not UTF-8: bytes beyond a lead are kept
    TRecordedJob job;
    EXPECT_TRUE(PrintLinesOn(job, "Ondrex", lines));
    EXPECT_EQ(job.pages, 3);
    ASSERT_EQ(job.drawn.size(), 25u);
    EXPECT_EQ(job.drawn[3], std::string(20, 'x'));
    EXPECT_EQ(job.drawn[12], std::string(8, ' ') + std::string(12, 'y'));
    EXPECT_EQ(job.drawn[13], std::string(19, 'a') + wide);
    EXPECT_EQ(job.drawn[14], lines[14]);
    EXPECT_EQ(job.drawn[15], std::string(20, 'd'));
    EXPECT_EQ(job.drawn[16], lines[16]);
    EXPECT_EQ(job.drawn[24], "Line 25");
    SetDialogs(nullptr);
}

// The real dialog: the event loop runs while the job is drawn (a timer fires), the bar
// reaches its end, and its Cancel leaves no PDF, not even a partial one.
TEST(Printer, ALongPdfJobKeepsTheEventLoopRunningAndItsCancelLeavesNoFile) {
    qt::ensureApplication();
    const auto path = std::filesystem::temp_directory_path() /
                      ("ondrex_print_cancel_" + std::to_string(getpid()) + ".pdf");
    const std::string partial = path.string() + ".part";
    std::filesystem::remove(path);
    TEnv env("ONDREX_PRINT_TO_PDF", path.c_str());
    TRichTextBuffer b;
    FillBlock(b, 3000); // about 40 pages

    int highest = -1, maximum = 0, ticks = 0;
    bool cancel = false;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        ++ticks;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(w);
            if (!dialog || !dialog->isVisible()) continue;
            highest = std::max(highest, dialog->value());
            maximum = dialog->maximum();
            if (cancel && dialog->value() > 0) dialog->cancel();
        }
    });
    watcher.start();

    EXPECT_TRUE(b.Print("Ondrex"));
    EXPECT_GT(ticks, 2);
    EXPECT_EQ(highest, maximum);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(partial));

    std::filesystem::remove(path);
    cancel = true;
    highest = -1;
    EXPECT_FALSE(b.Print("Ondrex"));
    EXPECT_GT(highest, 0);
    EXPECT_LT(highest, maximum);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(partial));
}

// The jobs cups_print_test.sh checks; they do nothing unless that script runs them. A job
// cancelled halfway reaches no queue; the next one prints whole.
TEST(CupsPrint, ACancelledJobQueuesNothingAndTheNextPrintsWhole) {
    if (!std::getenv("ONDREX_CUPS_TEST")) GTEST_SKIP() << "run by cups_print_test.sh";
    TEnv env("ONDREX_PRINT_TO_PDF", nullptr);
    TScriptedDialogs& dialogs = TScriptedDialogs::Install();
    dialogs.CancelAt = 25;
    const TFont font;
    EXPECT_FALSE(PrintLines("Cancelled", Numbered(2000), font));
    SetDialogs(nullptr);

    TRichTextBuffer b;
    FillBlock(b, 6);
    b.Print("Ondrex");
}

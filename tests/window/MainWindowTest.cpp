#include "WindowTestSupport.h"

#include "app/window/Tclippad.h"
#include "app/window/Tfrm_copied.h"
#include "platform/Clipboard.h"
#include "platform/Timer.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace ondrex::window {
namespace {

// Saves a grab when ONDREX_SCREENSHOT_DIR names a folder (to look at the window by eye).
void Keep(QWidget* widget, const char* name) {
    if (const char* dir = std::getenv("ONDREX_SCREENSHOT_DIR"))
        widget->grab().save(QString(dir) + "/" + name + ".png");
}

// The top of the first word on each of the first lines of a PDF, in points (pdftotext -bbox).
std::vector<double> WordTops(const std::string& pdf) {
    const std::string html = TempPath("words.html");
    if (std::system(("pdftotext -bbox " + pdf + " " + html).c_str()) != 0) return {};
    const std::string words = ReadAll(html);
    std::remove(html.c_str());
    std::vector<double> tops;
    for (std::size_t at = words.find("yMin=\""); at != std::string::npos;
         at = words.find("yMin=\"", at + 1)) {
        const double y = std::atof(words.c_str() + at + 6);
        if (words.compare(at - 6, 6, "<page ") == 0) continue;
        if (tops.empty() || y > tops.back() + 0.5) tops.push_back(y);
    }
    return tops;
}

TEST_F(WindowTest, StartingWithAFileScansItAndListsTheRows) {
    FileSnapshot before(file);
    Start(file);
    Keep(w.get(), "after_scan");
    EXPECT_EQ(w->windowTitle(), "Ondrex ");
    EXPECT_TRUE(w->isMaximized());
    EXPECT_TRUE(Button("Button1")->isEnabled());
    ASSERT_EQ(w->ListView2().RowCount(), 10);
    EXPECT_EQ(w->ListView2().Row(0),
              (std::pair<std::string, std::string>{"Function", " PriceWithTax(price)"}));
    EXPECT_TRUE(w->ListView2().Widget()->isEnabled());
    EXPECT_EQ(w->ListView1().Rows(),
              (std::vector<TInfoRow>{
                  {"Functions found", "2"}, {"Subs found", "3"}, {"Dim statements found", "16"}}));
    EXPECT_EQ(w->memo1().LineCount(), 58);
    EXPECT_EQ(w->StatusTexts()[1], "Lines : 57");
    EXPECT_EQ(w->StatusTexts()[0], "File Status : Read only (default)");
    EXPECT_TRUE(before.Unchanged());
}

TEST_F(WindowTest, SelectingARowLocatesTheBlockAndTheCopyLandsOnTheClipboard) {
    Start(file);
    w->ListView2().Select(0);
    EXPECT_EQ(w->ListView1().Rows().at(5), (TInfoRow{"Start at line", "9"}));
    EXPECT_EQ(w->ListView1().Rows().at(6), (TInfoRow{"Ends at line", "16"}));
    EXPECT_EQ(w->memo1().CaretPos(), (TPoint{1, 9}));
    EXPECT_EQ(w->memo1().TopLine(), 9);
    EXPECT_EQ(w->StatusTexts()[3], "Y : 9");
    ASSERT_TRUE(Button("SpeedButton2")->isEnabled());
    EXPECT_TRUE(Button("SpeedButton3")->isEnabled());
    Keep(w.get(), "after_locate");
    // On screen the caret's line, the header, is yellow on blue; the line below is not.
    const QImage shot = w->MemoWidget()->grab().toImage();
    const TqvCustomEdit& memo = w->memo1();
    const int top = memo.RowColumnToPixels({1, 9}).Y;
    auto count = [&](int y0, QRgb colour) {
        int n = 0;
        for (int y = y0; y < y0 + memo.LineHeight(); ++y)
            for (int x = memo.TextOffset(); x < std::min(shot.width(), 400); ++x)
                n += (shot.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return n;
    };
    EXPECT_GT(count(top, qRgb(0, 0, 255)), 100);
    EXPECT_GT(count(top, qRgb(255, 255, 0)), 10);
    EXPECT_EQ(count(top + memo.LineHeight(), qRgb(0, 0, 255)), 0);

    QPoint shownAt;
    QString caption;
    WhenModal([&](QWidget* dialog) {
        shownAt = dialog->pos();
        caption = dialog->windowTitle();
        Keep(dialog, "copied");
    });
    Button("SpeedButton2")->click();
    EXPECT_EQ(caption, "Contents copied to clipboard");
    EXPECT_EQ(shownAt, QPoint(20, 20));
    std::string block;
    for (int line = 9; line <= 16; ++line)
        block += std::string(w->memo1().Lines().Get(line - 1)) + "\r\n";
    EXPECT_EQ(Clipboard().AsText(), block);

    // The clippad shows what the clipboard holds, a long line wrapped.
    const QString text = "from the clipboard " + QString(300, 'x');
    Clipboard().SetAsText(text.toStdString());
    QString shown;
    WhenModal([&](QWidget* dialog) {
        QPlainTextEdit* memo = static_cast<Tclippad*>(dialog)->Memo();
        shown = memo->toPlainText();
        EXPECT_GT(memo->document()->firstBlock().layout()->lineCount(), 1);
        EXPECT_FALSE(memo->horizontalScrollBar()->isVisible());
        Keep(dialog, "clippad");
    });
    for (QAction* menu : w->menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (item->text() == "View Clippad") item->trigger();
    EXPECT_EQ(shown, text);

    // A single statement switches the block buttons off.
    w->ListView2().Select(3); // Call WriteRow
    EXPECT_FALSE(Button("SpeedButton2")->isEnabled());
    EXPECT_EQ(w->ListView1().Rows().size(), 3u);
}

TEST_F(WindowTest, ClickingOrRestingThePointerOnAResultLocatesItsBlock) {
    Start(file);
    QWidget* viewport = static_cast<QAbstractScrollArea*>(w->ListView2().Widget())->viewport();
    auto send = [&](QEvent::Type type, int row, Qt::MouseButton button, Qt::MouseButtons held) {
        const QPointF at = w->ListView2().RowRect(row).center() + QPointF(20, 0);
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    send(QEvent::MouseButtonPress, 1, Qt::LeftButton, Qt::LeftButton); // Function ItemLabel
    send(QEvent::MouseButtonRelease, 1, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(w->ListView1().Rows().at(5), (TInfoRow{"Start at line", "18"}));
    EXPECT_EQ(w->ListView1().Rows().at(6), (TInfoRow{"Ends at line", "26"}));

    send(QEvent::MouseMove, 0, Qt::NoButton, Qt::NoButton); // Function PriceWithTax
    EXPECT_EQ(w->ListView1().Rows().at(5).value, "18");     // not before the hover time
    EXPECT_TRUE(WaitUntil([&] { return w->ListView1().Rows().at(5).value == "9"; }, 3000));
    EXPECT_EQ(w->memo1().CaretPos(), (TPoint{1, 9}));
    Keep(w.get(), "after_hover");
}

TEST_F(WindowTest, TheCheckBoxesScanAgainWithTheirNewState) {
    Start(file);
    ASSERT_EQ(w->ListView2().RowCount(), 10);
    w->dimcheck().Click();
    EXPECT_TRUE(w->dimcheck().Checked());
    EXPECT_EQ(w->ListView2().RowCount(), 13); // three Dim rows more
    w->Checkbox3().Click();
    EXPECT_EQ(w->ListView2().RowCount(), 8); // five Call rows fewer
}

TEST_F(WindowTest, PrintingGoesToThePdfWithTheBlockFramedByEmptyLines) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    Start(file);
    w->ListView2().Select(1); // Function ItemLabel, lines 18 to 26
    const std::string pdf = TempPath("block.pdf");
    setenv("ONDREX_PRINT_TO_PDF", pdf.c_str(), 1);
    Button("SpeedButton3")->click();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "  Codeblock printed ");
    const std::string text = TempPath("block.txt");
    ASSERT_EQ(std::system(("pdftotext -layout " + pdf + " " + text).c_str()), 0);
    const std::string printed = ReadAll(text);
    EXPECT_EQ(printed.find("Function ItemLabel(name, qty)"), 0u) << printed;
    EXPECT_NE(printed.find("End Function"), std::string::npos);
    EXPECT_EQ(printed.find("PriceWithTax"), std::string::npos);
    // Two empty lines stand above the block: its first line is the third line of the page.
    const std::vector<double> tops = WordTops(pdf);
    ASSERT_GE(tops.size(), 2u);
    const double lineHeight = tops[1] - tops[0]; // "If" on the block's second line
    EXPECT_GT(lineHeight, 0);
    EXPECT_NEAR(tops[0] / lineHeight, 2.0, 0.5);

    Button("SpeedButton4")->click();
    ASSERT_EQ(std::system(("pdftotext -layout " + pdf + " " + text).c_str()), 0);
    const std::string whole = ReadAll(text);
    EXPECT_NE(whole.find("<%@ Language=VBScript %>"), std::string::npos);
    EXPECT_NE(whole.find("</html>"), std::string::npos);
    const std::string copied = Clipboard().AsText(); // the editor copied the whole text
    EXPECT_EQ(copied.find("<%@ Language=VBScript %>"), 0u);
    EXPECT_NE(copied.find("</html>"), std::string::npos);
    EXPECT_EQ(dialogs.Messages.size(), 1u); // no message after the whole document
    unsetenv("ONDREX_PRINT_TO_PDF");
    std::remove(pdf.c_str());
    std::remove(text.c_str());
}

TEST_F(WindowTest, NoPrinterShowsTheErrorAndNoConfirmation) {
    Start(file);
    setenv("ONDREX_PRINT_TO_PDF", "/no/such/folder/out.pdf", 1);
    Button("SpeedButton4")->click();
    unsetenv("ONDREX_PRINT_TO_PDF");
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Type, TMsgDlgType::mtError);
}

TEST_F(WindowTest, NothingEverWritesTheFileTypingIncluded) {
    FileSnapshot before(file);
    Start(file);
    QWidget* memo = w->MemoWidget();
    auto type = [&](const QString& text) {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(memo, &press);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(memo, &enter);
        QKeyEvent save(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, "\x13");
        QApplication::sendEvent(memo, &save);
    };
    w->ListView2().Select(0);
    type("read only");
    EXPECT_TRUE(before.Unchanged());
    Button("SpeedButton6")->click();
    EXPECT_FALSE(w->memo1().ReadOnly());
    EXPECT_EQ(w->StatusTexts()[0], "File Status : Read/Write");
    type("typed");
    EXPECT_TRUE(before.Unchanged());
    for (const char* name : {"Button1", "SpeedButton4", "SpeedButton6"}) {
        setenv("ONDREX_PRINT_TO_PDF", TempPath("unchanged.pdf").c_str(), 1);
        Button(name)->click();
        EXPECT_TRUE(before.Unchanged()) << name;
    }
    unsetenv("ONDREX_PRINT_TO_PDF");
    std::remove(TempPath("unchanged.pdf").c_str());
}

// The caret column of a long line is shown whole: its panel widens to fit its text.
TEST_F(WindowTest, TheColumnPanelShowsTheWholeColumnOfALongLine) {
    const std::string wide = TempPath("wide.js");
    std::ofstream(wide, std::ios::binary) << "var a;\n" << std::string(2'000'000, 'x') << "\n";
    Start(wide);
    w->memo1().SetCaretPos({2'000'001, 2});
    QApplication::processEvents();
    EXPECT_EQ(w->StatusTexts()[2], "X : 2000001");
    int shown = 0;
    for (QLabel* panel : w->findChildren<QLabel*>()) {
        if (panel->text() != "X : 2000001") continue;
        ++shown;
        EXPECT_GE(panel->contentsRect().width(),
                  panel->fontMetrics().horizontalAdvance(panel->text()));
    }
    EXPECT_EQ(shown, 1);
    std::remove(wide.c_str());
}

TEST_F(WindowTest, FindAndOpenGoThroughTheDialogs) {
    Start(file);
    dialogs.InputAnswers.push_back(std::string("writerow"));
    Button("SpeedButton7")->click();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "Function / Sub found at line : 31");

    const std::string js = TempPath("cart.js");
    std::filesystem::copy_file(ONDREX_SOURCE_DIR "/samples/cart.js", js,
                               std::filesystem::copy_options::overwrite_existing);
    dialogs.OpenFileAnswers.push_back(js);
    Button("SpeedButton1")->click();
    EXPECT_EQ(w->windowTitle().toStdString(), "Ondrex - " + js);
    EXPECT_EQ(w->memo1().HighLighter(), &w->Explorer().Highlighter(TScriptLanguage::javascript));
    Button("Button1")->click();
    EXPECT_EQ(w->memo1().Lines().Get(0), ReadAll(js).substr(0, ReadAll(js).find('\n')));
    std::remove(js.c_str());
}

TEST_F(WindowTest, AFileDroppedOnTheWindowIsOpenedAndScanned) {
    w = std::make_unique<Tfrm_Ondrex>();
    w->show();
    ASSERT_TRUE(WaitUntil([&] { return w->Started(); }));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &drop);
    EXPECT_EQ(w->windowTitle().toStdString(), "Ondrex - " + file);
    EXPECT_EQ(w->ListView2().RowCount(), 10);
}

// ---- Mid-scan ------------------------------------------------------------------------------

std::string bigScript(int functions) {
    std::string s;
    for (int i = 0; i < functions; ++i)
        s += "Function f" + std::to_string(i) + "(a)\r\n  If a Then Call g\r\nEnd Function\r\n";
    return s;
}

// Counts the editor's paints that happen while its file is still loading.
struct PaintsMidLoad : QObject {
    Tfrm_Ondrex* window = nullptr;
    int finalLines = 0;
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && window->Explorer().Scanning()) {
            const int lines = window->memo1().LineCount();
            if (lines > 1 && lines < finalLines) ++paints;
        }
        return false;
    }
};

TEST_F(WindowTest, TheEventLoopRunsAndTheEditorPaintsWhileALargeFileLoads) {
    const std::string big = TempPath("loading.asp");
    std::ofstream(big, std::ios::binary) << bigScript(100000); // 300,000 lines
    w = std::make_unique<Tfrm_Ondrex>(big);
    w->Explorer().PumpIntervalMs = 0;
    w->Explorer().LoadPieceBytes = 64 * 1024;
    PaintsMidLoad painted;
    painted.window = w.get();
    painted.finalLines = 300000;
    w->MemoWidget()->installEventFilter(&painted);
    int ticksMidLoad = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const int lines = w->memo1().LineCount();
        if (w->Explorer().Scanning() && lines > 1 && lines < painted.finalLines) ++ticksMidLoad;
    });
    ticker.start(0);
    w->show();
    ASSERT_TRUE(WaitUntil(
        [&] { return w->Started() && !w->Explorer().Scanning() && !w->ListView1().Rows().empty(); },
        60000));
    EXPECT_GT(ticksMidLoad, 0) << "the event loop ran during the load";
    EXPECT_GT(painted.paints, 0) << "the first screen was painted before the file was read";
    EXPECT_EQ(w->memo1().LineCount(), painted.finalLines);
    EXPECT_EQ(w->Explorer().Results().rows.size(), 200000u); // Function and Call
    w->MemoWidget()->removeEventFilter(&painted);
    w.reset();
    std::remove(big.c_str());
}

// A file of one long line: its checkpoints are worked out while the event loop goes on; an
// edit, a read-only toggle and closing the window while they are half done are all safe.
TEST_F(WindowTest, TheEventLoopRunsWhileALongLineIsWorkedOutAndClosingMeanwhileIsSafe) {
    const std::string big = TempPath("long.js");
    std::string line;
    while (line.size() < (std::size_t(24) << 20))
        line += "function f(a){var s='x;y',n=12.5;return a+s+n;}/* c */";
    std::ofstream(big, std::ios::binary) << line;
    const auto pending = [&] {
        const TTimer* timer = w ? w->memo1().CheckpointsTimer() : nullptr;
        return timer && timer->Enabled();
    };
    int ticksWhilePending = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ticksWhilePending += pending(); });
    ticker.start(0);
    Start(big);
    ASSERT_TRUE(WaitUntil([&] { return ticksWhilePending > 0 && !pending(); }, 60000));
    EXPECT_GT(ticksWhilePending, 1) << "the event loop ran between pieces of the work";

    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(w->MemoWidget(), &end);
    EXPECT_EQ(w->memo1().CaretPos(), (TPoint{int(line.size()) + 1, 1}));

    Button("SpeedButton6")->click();
    QKeyEvent type(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(w->MemoWidget(), &type);
    EXPECT_EQ(w->memo1().Lines().Get(0).size(), line.size() + 1);
    ASSERT_TRUE(WaitUntil(pending));
    Button("SpeedButton6")->click();
    w->close();
    w.reset();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    std::remove(big.c_str());
}

TEST_F(WindowTest, ClosingTheWindowMidScanStopsTheScanSafely) {
    const std::string big = TempPath("big.asp");
    std::ofstream(big, std::ios::binary) << bigScript(300000); // 900,000 lines
    w = std::make_unique<Tfrm_Ondrex>(big);
    w->Explorer().PumpIntervalMs = 0;
    bool closed = false;
    int pumps = 0;
    // The first pump passes of the scan close the window, as a click on its close box would.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (w->Explorer().Scanning() && ++pumps == 3) closed = w->close();
    });
    closer.start(0);
    w->show();
    ASSERT_TRUE(WaitUntil([&] { return closed && !w->Explorer().Scanning(); }, 30000));
    EXPECT_FALSE(w->isVisible());
    EXPECT_LT(w->ListView2().RowCount(), 600000); // stopped before the end
    EXPECT_EQ(std::size_t(w->ListView2().RowCount()), w->Explorer().Results().rows.size());
    w.reset();
    std::remove(big.c_str());
}

TEST_F(WindowTest, ALargeFileShowsTheProgressBarWhileItLoadsAndScansAndThePanelsKeepTheirPlaces) {
    const std::string big = TempPath("progress.asp");
    std::ofstream(big, std::ios::binary) << bigScript(50000); // 2.6 MB, 150,000 lines
    w = std::make_unique<Tfrm_Ondrex>(big);
    w->Explorer().LargeFileBytes = 1 << 20;
    w->Explorer().PumpIntervalMs = 0;
    auto* bar = w->findChild<QProgressBar*>("LoadProgress");
    ASSERT_NE(bar, nullptr);
    QList<QRect> panels, panelsWhileShown;
    int shownPasses = 0, highest = -1;
    bool insideTheStatusBar = true;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!w->Explorer().Scanning() || !bar->isVisible()) return;
        ++shownPasses;
        highest = std::max(highest, bar->value());
        const QRect inside = bar->parentWidget()->rect();
        insideTheStatusBar = insideTheStatusBar && inside.contains(bar->geometry());
        panelsWhileShown.clear();
        for (QLabel* label : bar->parentWidget()->findChildren<QLabel*>())
            panelsWhileShown << label->geometry();
    });
    watcher.start(0);
    w->show();
    ASSERT_TRUE(WaitUntil(
        [&] { return w->Started() && !w->Explorer().Scanning() && !w->ListView1().Rows().empty(); },
        60000));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_GT(shownPasses, 0);
    EXPECT_GT(highest, 0);
    EXPECT_TRUE(insideTheStatusBar);
    for (QLabel* label : bar->parentWidget()->findChildren<QLabel*>())
        panels << label->geometry();
    EXPECT_EQ(panelsWhileShown, panels);
    w.reset();
    std::remove(big.c_str());
}

TEST_F(WindowTest, ACheckBoxClickedMidScanRestartsTheScan) {
    const std::string big = TempPath("big2.asp");
    std::ofstream(big, std::ios::binary) << bigScript(200000);
    w = std::make_unique<Tfrm_Ondrex>(big);
    w->Explorer().PumpIntervalMs = 0;
    bool clicked = false;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (!clicked && w->Explorer().Scanning() && w->ListView2().RowCount() > 0) {
            clicked = true;
            w->Checkbox2().Click(); // If rows too
        }
    });
    clicker.start(0);
    w->show();
    ASSERT_TRUE(WaitUntil(
        [&] { return clicked && !w->Explorer().Scanning() && !w->ListView1().Rows().empty(); },
        60000));
    const TScanResults& r = w->Explorer().Results();
    ASSERT_EQ(r.rows.size(), 600000u); // Function, If, Call for each
    ASSERT_EQ(std::size_t(w->ListView2().RowCount()), r.rows.size());
    EXPECT_EQ(w->ListView2().Row(1).first, "If ");
    EXPECT_EQ(w->ListView2().Row(599999).first, "Call ");
    std::remove(big.c_str());
}

} // namespace
} // namespace ondrex::window

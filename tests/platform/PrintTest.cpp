// Print jobs of the rich-text buffer: into a PDF file (the environment variable), with no
// printer at all, and (driven by cups_print_test.sh) on a real CUPS printer.

#include "platform/Printer.h"
#include "platform/qt/QtApplication.h"
#include "platform/RichTextBuffer.h"

#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

// The job cups_print_test.sh checks; does nothing unless that script runs it.
TEST(CupsPrint, PrintsOneJobOnTheDefaultPrinter) {
    if (!std::getenv("ONDREX_CUPS_TEST")) GTEST_SKIP() << "run by cups_print_test.sh";
    TEnv env("ONDREX_PRINT_TO_PDF", nullptr);
    TRichTextBuffer b;
    FillBlock(b, 6);
    b.Print("Ondrex");
}

// The command line as scripts see it: the real `ondrex` binary, its output and exit status.

#include "app/CliCommands.h"
#include "tests/JsonTestSupport.h"
#include "tests/support/AddressSpaceLimit.h"
#include "tests/support/RunOndrex.h"

#include <gtest/gtest.h>

#include <set>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace ondrex {
namespace {

using namespace std::string_literals;
using testjson::Arr;
using testjson::Bool;
using testjson::Element;
using testjson::Json;
using testjson::Keys;
using testjson::Num;
using testjson::Str;

using testsupport::RunOndrex;
using testsupport::TRunResult;

// The files a test program made, removed when it ends: a run used to leave nine behind,
// one of them 3 MB.
struct TTempFiles {
    std::set<std::string> paths;
    ~TTempFiles() {
        for (const std::string& path : paths)
            std::remove(path.c_str());
    }
};

std::string tempFile(const std::string& name, const std::string& bytes) {
    static TTempFiles made;
    std::string path = ::testing::TempDir() + std::to_string(getpid()) + "_" +
                       name; // unique per process: ctest runs cases in parallel
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
    made.paths.insert(path);
    return path;
}

int lineCount(const std::string& s) {
    int n = 0;
    for (char c : s)
        n += c == '\n';
    return n;
}

// ---- scan --------------------------------------------------------------------------------

TEST(Cli, ScanJsonOfTheShopSample) {
    TRunResult r = RunOndrex({"scan", "--format", "json", "samples/shop.asp"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    Json v(r.out);
    EXPECT_EQ(Keys(v.Root()), (std::vector<std::string>{"file", "rows", "counters"}));
    EXPECT_EQ(Str(v["file"]), "samples/shop.asp");
    const Element first = v["rows"].at(0).value();
    EXPECT_EQ(Keys(first), (std::vector<std::string>{"type", "image", "name", "line", "text"}));
    EXPECT_EQ(Str(first["type"]), "Function");
    EXPECT_EQ(Num(first["image"]), 2);
    EXPECT_EQ(Str(first["name"]), " PriceWithTax(price)");
    EXPECT_EQ(Num(first["line"]), 9);
    EXPECT_EQ(Str(first["text"]), "Function PriceWithTax(price)");
    EXPECT_EQ(Keys(v["counters"]), (std::vector<std::string>{"functions", "subs", "statements"}));
    EXPECT_EQ(Num(v["counters"]["functions"]), 2);
    EXPECT_EQ(Num(v["counters"]["subs"]), 3);
    EXPECT_EQ(Num(v["counters"]["statements"]), 16);
    // Default options: Call rows listed, Dim and If rows not.
    int calls = 0;
    for (const Element row : Arr(v["rows"])) {
        EXPECT_NE(Str(row["type"]), "Dim");
        EXPECT_NE(Str(row["type"]), "If ");
        calls += Str(row["type"]) == "Call ";
    }
    EXPECT_EQ(calls, 5);
}

TEST(Cli, ScanOptionsMirrorTheCheckBoxes) {
    auto types = [](const TRunResult& r) {
        std::vector<std::string> t;
        Json v(r.out);
        for (const Element row : Arr(v["rows"]))
            t.push_back(Str(row["type"]));
        return t;
    };
    std::string f =
        tempFile("cli_opts.asp", "Sub a()\r\n  Dim x\r\n  If x Then Call b\r\n  Else\r\n");
    EXPECT_EQ(types(RunOndrex({"scan", "--format", "json", f})),
              (std::vector<std::string>{"Sub", "Call "}));
    EXPECT_EQ(types(RunOndrex({"scan", "--dim", "--if", "--format=json", f})),
              (std::vector<std::string>{"Sub", "Dim", "If ", "Call ", "Else "}));
    EXPECT_EQ(types(RunOndrex({"scan", f, "--no-calls", "--format", "json", "--if"})),
              (std::vector<std::string>{"Sub", "If ", "Else "}));
    // The counters do not depend on the options.
    EXPECT_EQ(RunOndrex({"scan", "--count", f}).out,
              RunOndrex({"scan", "--count", "--no-calls", f}).out);
}

TEST(Cli, ScanCountPrintsOnlyTheThreeCounterRows) {
    TRunResult r = RunOndrex({"scan", "--count", "samples/shop.asp"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Functions found\t2\nSubs found\t3\nDim statements found\t16\n");
    r = RunOndrex({"scan", "--count", "--format", "json", "samples/shop.asp"});
    EXPECT_EQ(r.out, "{\"functions\":2,\"subs\":3,\"statements\":16}\n");
}

TEST(Cli, ScanTextIsATableOfTypeLineAndName) {
    TRunResult r = RunOndrex({"scan", "samples/shop.asp"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Type         Line  Name\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\nFunction        9   PriceWithTax(price)\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\nSub            28  AddToCart(name, price, qty)\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nFunctions found\t2\n"), std::string::npos);
    r = RunOndrex({"scan", "--format", "tsv", "samples/shop.asp"});
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              "Function\t2\t9\t PriceWithTax(price)\tFunction PriceWithTax(price)");
}

TEST(Cli, ScanJsonHasAnExactShape) {
    std::string f = tempFile("cli_shape.vbs", "Sub a()\r\nEnd Sub\r\n");
    TRunResult r = RunOndrex({"scan", "--format", "json", f});
    EXPECT_EQ(r.out, "{\"file\":\"" + f +
                         "\",\"rows\":[\n{\"type\":\"Sub\",\"image\":1,\"name\":\"a()\",\"line\":1,"
                         "\"text\":\"Sub a()\"}\n],\"counters\":{\"functions\":0,\"subs\":1,"
                         "\"statements\":0}}\n");
    std::string empty = tempFile("cli_empty.vbs", "");
    r = RunOndrex({"scan", "--format", "json", empty});
    EXPECT_EQ(r.status, 0);
    Json v(r.out);
    EXPECT_TRUE(Arr(v["rows"]).empty());
    EXPECT_EQ(Num(v["counters"]["statements"]), 0);
}

TEST(Cli, TextIsUtf8WhenTheWholeFileIsElseWindows1252) {
    std::string utf8 = tempFile("cli_utf8.asp", "Function Caf\xC3\xA9()\r\n");
    EXPECT_EQ(Str(Json(RunOndrex({"scan", "--format", "json", utf8}).out)["rows"].at(0)["name"]),
              " Caf\xC3\xA9()");
    std::string latin = tempFile("cli_1252.asp", "Function Caf\xE9() \x80\r\n");
    EXPECT_EQ(Str(Json(RunOndrex({"scan", "--format", "json", latin}).out)["rows"].at(0)["name"]),
              " Caf\xC3\xA9() \xE2\x82\xAC");
    // One invalid byte anywhere makes the whole file Windows-1252.
    std::string mixed = tempFile("cli_mixed.asp", "Function Caf\xC3\xA9()\r\nx \xFF\r\n");
    EXPECT_EQ(Str(Json(RunOndrex({"scan", "--format", "json", mixed}).out)["rows"].at(0)["text"]),
              "Function Caf\xC3\x83\xC2\xA9()");
    TRunResult text = RunOndrex({"scan", latin});
    EXPECT_NE(text.out.find("Caf\xC3\xA9()"), std::string::npos);
}

// A regular file is scanned from a map in runs; a pipe is read. Both write the same rows, with
// hits on the runs' edges and the code page of the whole file (its one invalid byte comes last).
TEST(Cli, AMappedScanWritesWhatAReadScanWrites) {
    std::string text;
    for (int i = 0; text.size() < 700'000; ++i)
        text += std::string(std::size_t(i % 37), ' ') +
                (i % 3 ? "Call caf\xC3\xA9" : "Function f") + std::to_string(i) +
                (i % 5 ? "\r\n" : "\n");
    text += "\xFF\r\n";
    const std::string file = tempFile("cli_mapped.asp", text);
    const std::string fifo = file + ".fifo";
    std::remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << text; });
    const TRunResult read = RunOndrex({"scan", "--format", "json", fifo});
    writer.join();
    std::remove(fifo.c_str());
    const TRunResult mapped = RunOndrex({"scan", "--format", "json", file});
    ASSERT_EQ(mapped.status, 0) << mapped.err;
    const auto rows = [](const std::string& out) { return out.substr(out.find('\n')); };
    EXPECT_EQ(rows(mapped.out), rows(read.out));
    EXPECT_NE(mapped.out.find("caf\xC3\x83\xC2\xA9"), std::string::npos);
}

TEST(Cli, JsonStringsAreEscaped) {
    std::string f = tempFile("cli_escape.asp", "Function a\"b\\c\x01\x1f\x7f"
                                               "d\0e()\r\n"s);
    TRunResult r = RunOndrex({"scan", "--format", "json", f});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("a\\\"b\\\\c\\u0001\\u001f\\u007fd\\u0000e()"), std::string::npos)
        << r.out;
    EXPECT_EQ(Str(Json(r.out)["rows"].at(0)["name"]), " a\"b\\c\x01\x1f\x7f"
                                                      "d\0e()"s);
}

TEST(Cli, ScanStopsAtCtrlZAtTheStartOfALine) {
    std::string f = tempFile("cli_ctrlz.asp", "Sub a()\r\n\x1aSub b()\r\nSub c()\r\n");
    EXPECT_EQ(RunOndrex({"scan", "--count", f}).out,
              "Functions found\t0\nSubs found\t1\nDim statements found\t0\n");
}

// ---- block -------------------------------------------------------------------------------

TEST(Cli, BlockJsonOfAFunction) {
    TRunResult r = RunOndrex({"block", "--format", "json", "samples/shop.asp", "9"});
    ASSERT_EQ(r.status, 0) << r.err;
    Json v(r.out);
    EXPECT_EQ(Keys(v.Root()), (std::vector<std::string>{"start", "end", "single", "info"}));
    EXPECT_EQ(Num(v["start"]), 9);
    EXPECT_EQ(Num(v["end"]), 16);
    EXPECT_FALSE(Bool(v["single"]));
    std::vector<std::pair<std::string, std::string>> info;
    for (const Element row : Arr(v["info"])) {
        ASSERT_EQ(Arr(row).size(), 2u);
        info.emplace_back(Str(row.at(0)), Str(row.at(1)));
    }
    EXPECT_EQ(info, (std::vector<std::pair<std::string, std::string>>{
                        {"Functions found", "2"},
                        {"Subs found", "3"},
                        {"Dim statements found", "16"},
                        {"", ""},
                        {"Function / Sub name", "Function PriceWithTax(price)"},
                        {"Start at line", "9"},
                        {"Ends at line", "16"},
                        {"Lines in codeblock", "7"}}));
}

TEST(Cli, BlockTextPrintsTheBlocksOwnLines) {
    TRunResult r = RunOndrex({"block", "samples/shop.asp", "9"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(lineCount(r.out), 8);
    EXPECT_EQ(r.out.rfind("Function PriceWithTax(price)\n  Dim taxed\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\nEnd Function\n"), std::string::npos);
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
}

TEST(Cli, BlockOfAStatementIsASingleLine) {
    TRunResult r = RunOndrex({"block", "--dim", "--format", "json", "samples/shop.asp", "10"});
    ASSERT_EQ(r.status, 0) << r.err;
    Json v(r.out);
    EXPECT_TRUE(Bool(v["single"]));
    EXPECT_EQ(Num(v["start"]), 10);
    EXPECT_EQ(Num(v["end"]), 10);
    EXPECT_EQ(Arr(v["info"]).size(), 3u);
    EXPECT_EQ(RunOndrex({"block", "--dim", "samples/shop.asp", "10"}).out, "  Dim taxed\n");
    // Without --dim there is no row on that line.
    EXPECT_EQ(RunOndrex({"block", "samples/shop.asp", "10"}).status, 1);
}

TEST(Cli, BlockWithoutARowAtTheLineIsBadInput) {
    TRunResult r = RunOndrex({"block", "--format", "json", "samples/shop.asp", "3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "ondrex: samples/shop.asp: no result row at line 3\n");
}

// ---- errors and usage --------------------------------------------------------------------

TEST(Cli, BadInputGivesOneLineNamingTheFileAndStatusOne) {
    TRunResult r = RunOndrex({"scan", "--format", "json", "/no/such/shop.asp"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "ondrex: /no/such/shop.asp: no such file\n");
    r = RunOndrex({"block", "/tmp", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ondrex: /tmp: is a directory\n");
    r = RunOndrex({"scan", "--count", "/proc/self/mem"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("ondrex: /proc/self/mem: read error (", 0), 0u) << r.err;
    EXPECT_EQ(lineCount(r.err), 1);
    // Control characters in a name cannot split the line.
    r = RunOndrex({"scan", "/no/such\nline\t\x1b\x7f.asp"});
    EXPECT_EQ(r.err, "ondrex: /no/such\\nline\\t\\x1b\\x7f.asp: no such file\n");
    r = RunOndrex({"scan", "--format\r", "x"});
    EXPECT_EQ(r.err, "ondrex: unknown option '--format\\r' (try 'ondrex --help')\n");
}

TEST(Cli, AFileWithoutReadPermissionIsBadInput) {
    std::string f = tempFile("cli_secret.asp", "Sub a()\n");
    ASSERT_EQ(chmod(f.c_str(), 0), 0);
    // Root reads anything, so the check runs as "nobody" in a child process.
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(90);
        std::ostringstream out, err;
        int status = cli::runScan({"--format", "json", f}, out, err);
        _exit(status == 1 && out.str().empty() &&
                      err.str() == "ondrex: " + f + ": permission denied\n"
                  ? 0
                  : 91);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::remove(f.c_str());
}

// Windows editors save "Unicode" as UTF-16 with a byte-order mark: every command reads it as
// the same text in UTF-8.
TEST(Cli, Utf16WithAMarkReadsAsItsUtf8Twin) {
    const std::string text =
        "Sub Gr\xc3\xbc\xc3\x9f()\r\n  Dim \xe2\x82\xac\r\n  If a Then\r\nEnd Sub\r\n";
    std::string le = "\xff\xfe", be = "\xfe\xff";
    for (std::size_t i = 0; i < text.size();) { // the text is BMP-only: one unit a character
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : 3;
        char32_t u = length == 1 ? c : length == 2 ? c & 0x1F : c & 0x0F;
        for (int k = 1; k < length; ++k)
            u = u << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        le += {char(u & 0xFF), char(u >> 8)};
        be += {char(u >> 8), char(u & 0xFF)};
        i += std::size_t(length);
    }
    const std::string twin = tempFile("cli_utf8.vbs", text);
    for (const std::string& bytes : {le, be}) {
        const std::string file = tempFile("cli_utf16.vbs", bytes);
        for (const std::vector<std::string>& command :
             std::vector<std::vector<std::string>>{{"scan", "--dim", "--if", "--format", "tsv"},
                                                   {"scan", "--count"},
                                                   {"block", "--format", "json"},
                                                   {"cat", "--color=always"},
                                                   {"tokens"}}) {
            auto args = command;
            args.push_back(file);
            auto twinArgs = command;
            twinArgs.push_back(twin);
            if (command[0] == "block") {
                args.push_back("1");
                twinArgs.push_back("1");
            }
            const TRunResult run = RunOndrex(args);
            EXPECT_EQ(run.status, 0) << command[0];
            EXPECT_EQ(run.out, RunOndrex(twinArgs).out) << command[0];
        }
        std::remove(file.c_str());
    }
    std::remove(twin.c_str());
}

TEST(Cli, InputTooLargeForMemoryIsNamed) {
    if (testsupport::kSanitizedBuild) GTEST_SKIP() << "no address-space limit under the sanitizers";
    // /dev/zero is one endless line; a sparse file is a large one that costs no disk.
    const std::string big = tempFile("cli_big.php", "");
    ASSERT_EQ(truncate(big.c_str(), off_t(8) << 30), 0);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"scan", "--format", "json", "/dev/zero"}, {"cat", big}, {"tokens", big}}) {
        const int status = testsupport::RunUnderAddressSpaceLimit(std::size_t(256) << 20, [&] {
            std::ostringstream out, err;
            const int exit = cli::RunCommandLine(args, out, err);
            return exit == 1 && err.str() == "ondrex: " + args.back() +
                                                 ": too large for the memory available\n"
                       ? 0
                       : 1;
        });
        EXPECT_EQ(status, 0) << testing::PrintToString(args);
    }
    std::remove(big.c_str());
}

TEST(Cli, UsageErrorsGiveStatusTwo) {
    // Where there is a display, `ondrex` alone opens the window: none here.
    const char* display[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    std::vector<std::pair<std::string, std::string>> saved;
    for (const char* name : display)
        if (const char* v = std::getenv(name)) saved.emplace_back(name, v);
    for (const char* name : display)
        unsetenv(name);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--frobnicate"},
                                               {"scan"},
                                               {"scan", "a", "b"},
                                               {"scan", "--bogus", "samples/shop.asp"},
                                               {"scan", "--format", "xml", "samples/shop.asp"},
                                               {"scan", "samples/shop.asp", "--format"},
                                               {"block", "samples/shop.asp"},
                                               {"block", "samples/shop.asp", "x9"},
                                               {"block", "samples/shop.asp", "0"},
                                               {"block", "samples/shop.asp", "9", "10"}}) {
        TRunResult r = RunOndrex(args);
        EXPECT_EQ(r.status, 2) << testing::PrintToString(args);
        EXPECT_EQ(r.out, "") << testing::PrintToString(args);
        EXPECT_NE(r.err, "") << testing::PrintToString(args);
    }
    EXPECT_EQ(RunOndrex({"scan", "--bogus", "x"}).err,
              "ondrex: unknown option '--bogus' (try 'ondrex --help')\n");
    // A file alone, without a display: one line saying so, then its scan.
    TRunResult r = RunOndrex({"samples/shop.asp"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, RunOndrex({"scan", "samples/shop.asp"}).out);
    EXPECT_EQ(lineCount(r.err), 1);
    for (const auto& [name, value] : saved)
        setenv(name.c_str(), value.c_str(), 1);
}

// A full disk is not a success: a script must not take a cut-off result for a whole one.
TEST(Cli, OutputThatCannotBeWrittenIsAFailure) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full to write to";
    testsupport::TRunOptions toFullDisk;
    toFullDisk.outputFile = "/dev/full";
    const std::string big = tempFile("big.php", std::string(3 << 20, 'x') + "\n<?php $a; ?>\n");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"scan", "samples/shop.asp"},
                                               {"block", "samples/shop.asp", "9"},
                                               {"tokens", big},
                                               {"cat", "--color=always", big},
                                               {"cat", "--html", big},
                                               {"cat", "--color=never", big},
                                               {"--help"},
                                               {"--version"}}) {
        const TRunResult run = RunOndrex(args, toFullDisk);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_NE(run.err.find("ondrex: cannot write the output: No space left on device"),
                  std::string::npos)
            << args[0] << ": " << run.err;
    }
}

TEST(Cli, HelpAndVersion) {
    TRunResult r = RunOndrex({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("scan [--dim] [--if] [--no-calls]"), std::string::npos);
    EXPECT_NE(r.out.find("block [--dim]"), std::string::npos);
    r = RunOndrex({"scan", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: ondrex scan", 0), 0u);
    r = RunOndrex({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("ondrex ", 0), 0u);
    EXPECT_EQ(lineCount(r.out), 1);
}

TEST(Cli, TheReadmeCommandScansTheBundledSample) {
    TRunResult r = RunOndrex({"scan", "samples/shop.asp"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

TEST(Cli, EverySampleScansAndHasFunctionsOrSubsAndStatements) {
    for (const char* sample : {"samples/shop.asp", "samples/tools.vbs", "samples/cart.js",
                               "samples/orders.php", "samples/report.pl"}) {
        TRunResult r = RunOndrex({"scan", "--dim", "--if", "--format", "json", sample});
        ASSERT_EQ(r.status, 0) << sample;
        Json v(r.out);
        std::set<std::string> types;
        for (const Element row : Arr(v["rows"]))
            types.insert(Str(row["type"]));
        EXPECT_TRUE(types.count("Function") || types.count("Sub")) << sample;
        for (const char* t : {"Dim", "If ", "Else ", "Call "})
            EXPECT_TRUE(types.count(t)) << sample << t;
    }
}

} // namespace
} // namespace ondrex

// cat, tokens and scan write as they read: their memory stays within a small budget (plus the
// longest line) whatever the input's size, from a file or through a pipe.

#include "tests/support/AddressSpaceLimit.h"
#include "tests/support/RunOndrex.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace ondrex {
namespace {

using testsupport::RunOndrex;
using testsupport::TRunOptions;
using testsupport::TRunResult;

constexpr std::size_t kInputBytes = std::size_t(48) << 20;
constexpr long kBudgetKiB = 32 * 1024; // beyond what a tiny input takes

// A script whose every line is a hit (rows are what `scan` used to hold), with text in UTF-8.
// Written out piece by piece: the peak of a run counts this process's memory too (the run
// starts as a copy of it).
const std::string kLines = "Function Gr\xc3\xbc\xc3\x9f"
                           "e(a, b)\r\n"
                           "  Dim caf\xc3\xa9, total, count, result\r\n"
                           "  If total > count Then Call Report(\"\xe2\x82\xac\", total)\r\n"
                           "  ElseIf a Then Call Report(b, a) ' a comment\r\n"
                           "End Function\r\n";

// Writes kInputBytes of the script to fd; a FIFO whose reader never comes is let go.
void writeScript(int fd) {
    std::string piece;
    while (piece.size() < (std::size_t(1) << 20))
        piece += kLines;
    for (std::size_t total = 0; total < kInputBytes; total += piece.size())
        for (std::size_t at = 0; at < piece.size();) {
            const ssize_t n = write(fd, piece.data() + at, piece.size() - at);
            if (n <= 0) return;
            at += std::size_t(n);
        }
}

TEST(CliStreaming, MemoryStaysWithinABudgetWhateverTheInputsSize) {
    // A sanitized binary keeps freed memory in quarantine, so its peak says nothing of ours.
    if (testsupport::kSanitizedBuild)
        GTEST_SKIP() << "peak memory is not ours under the sanitizers";
    const std::string dir = ::testing::TempDir() + std::to_string(getpid());
    const std::string file = dir + "_stream.vbs", fifo = dir + "_stream.fifo";
    {
        const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        writeScript(fd);
        close(fd);
    }
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    signal(SIGPIPE, SIG_IGN); // a reader that fails early must not end the test
    TRunOptions toNull;
    toNull.outputFile = "/dev/null";
    const long baseline = RunOndrex({"scan", "samples/shop.asp"}, toNull).peakKiB;
    for (const std::vector<std::string>& command :
         std::vector<std::vector<std::string>>{{"cat", "--color=always"},
                                               {"cat", "--html"},
                                               {"tokens"},
                                               {"scan", "--dim", "--if", "--format", "json"}}) {
        for (const std::string& input : {file, fifo}) {
            std::vector<std::string> args = command;
            args.push_back(input);
            std::thread writer;
            if (input == fifo)
                writer = std::thread([&] {
                    if (const int fd = open(fifo.c_str(), O_WRONLY); fd >= 0) {
                        writeScript(fd);
                        close(fd);
                    }
                });
            const TRunResult run = RunOndrex(args, toNull);
            if (writer.joinable()) writer.join();
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_LT(run.peakKiB - baseline, kBudgetKiB)
                << testing::PrintToString(args) << ": " << run.peakKiB << " KiB at the peak";
        }
    }
    std::remove(file.c_str());
    std::remove(fifo.c_str());
}

} // namespace
} // namespace ondrex

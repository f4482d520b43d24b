#include "app/FileLoad.h"
#include "editor/TqvEditList.h"
#include "tests/support/LineLists.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace ondrex {
namespace {

std::string tempFile(const std::string& bytes) {
    const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "_load.asp";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

// The lines a list shows for the text: one empty line for no bytes.
std::vector<std::string> expectedLines(const std::string& text) {
    std::vector<std::string> lines = test::PlainLines(text);
    if (lines.empty()) lines.emplace_back();
    return lines;
}

// Mapped, and read (the file open for writing elsewhere refuses the lease the map needs), the
// list after every piece holds the lines of the bytes so far and the whole lines end after a
// settled break; at the end both are the file's. Texts at the edges: nothing, one byte, no
// final break, lone CRs, and CR LF split across pieces and across a page.
TEST(FileLoad, MappedOrReadEveryPieceShowsTheBytesSoFarAndTheEndIsTheFile) {
    std::string paged(4095, 'p');
    paged += "\r\n";
    paged += std::string(4094, 'q') + "\r\r\nz";
    const std::string texts[] = {"", "a", "\r", "\n", "ab\r\ncd", "\r\r\r", "a\r\rb\r", paged};
    for (const bool readIt : {false, true}) {
        for (const std::string& text : texts) {
            for (const std::size_t piece : {std::size_t(1), std::size_t(2), std::size_t(4096)}) {
                const std::string path = tempFile(text);
                const int writer = readIt ? ::open(path.c_str(), O_WRONLY) : -1;
                TqvEditList list;
                {
                    TFileLoad load(path, list, piece);
                    if (!readIt && !text.empty() && !load.Mapped())
                        GTEST_SKIP() << "no file leases here";
                    EXPECT_FALSE(readIt && load.Mapped());
                    while (!load.Ended()) {
                        load.ReadPiece();
                        const std::string soFar = text.substr(0, load.BytesRead());
                        ASSERT_EQ(test::ShownLines(list), expectedLines(soFar))
                            << readIt << " " << piece << " at " << load.BytesRead();
                        const std::string_view whole = load.WholeLines();
                        ASSERT_EQ(whole, soFar.substr(0, whole.size()));
                        // Up to the last break that a later byte cannot change.
                        std::size_t settled = load.Ended() ? soFar.size() : 0;
                        for (std::size_t k = soFar.size(); k > 0 && !settled; --k)
                            if (soFar[k - 1] == '\n' || (soFar[k - 1] == '\r' && k < soFar.size()))
                                settled = k;
                        ASSERT_EQ(whole.size(), settled) << piece << " at " << load.BytesRead();
                    }
                    EXPECT_EQ(load.WholeLines(), text);
                }
                EXPECT_EQ(test::ShownLines(list), expectedLines(text));
                EXPECT_FALSE(list.LoadingInPasses());
                if (writer >= 0) ::close(writer);
                std::remove(path.c_str());
            }
        }
    }
}

// Another program truncating and rewriting the file while the window shows it waits until the
// shown text is a copy of its own; the lines keep their text.
TEST(FileLoad, AFileRewrittenWhileShownKeepsItsLines) {
    std::string text;
    for (int i = 0; i < 20'000; ++i)
        text += "line " + std::to_string(i) + (i % 3 ? "\r\n" : "\n");
    const std::string path = tempFile(text);
    TqvEditList list;
    {
        TFileLoad load(path, list, 64 * 1024);
        if (!load.Mapped()) GTEST_SKIP() << "no file leases here";
        while (!load.Ended())
            load.ReadPiece();
    }
    const int refused = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK);
    EXPECT_EQ(refused, -1);
    EXPECT_EQ(errno, EWOULDBLOCK);
    if (refused >= 0) ::close(refused);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "x";
    EXPECT_EQ(test::ShownLines(list), expectedLines(text));
    std::remove(path.c_str());
}

} // namespace
} // namespace ondrex

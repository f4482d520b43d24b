// The code page of a streamed file is that of its whole bytes, however the pieces it is read
// in cut its characters; a mapped file gives the same code page and lines in whole runs.

#include "app/CliInput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrex::cli {
namespace {

TCodePage CodePageOf(const std::string& bytes, std::size_t pieceSize) {
    const auto path = std::filesystem::temp_directory_path() / "ondrex_cli_input_test.txt";
    std::ofstream(path, std::ios::binary) << bytes;
    const TCodePage codePage = TStreamedInput(path.string(), pieceSize).CodePage();
    const TMappedInput mapped(path.string(), pieceSize);
    EXPECT_TRUE(mapped.Mapped());
    EXPECT_EQ(mapped.CodePage(), codePage) << testing::PrintToString(bytes) << " " << pieceSize;
    std::filesystem::remove(path);
    return codePage;
}

TEST(CliInput, TheCodePageIsThatOfTheWholeFileWherePiecesCutItsCharacters) {
    const std::string valid = "a\xc3\xa9"
                              "b\xe2\x82\xac"
                              "c\xf0\x9f\x98\x80"
                              "d";
    for (std::size_t piece : {1u, 2u, 3u, 4u, 5u, 7u, 4096u}) {
        for (std::size_t shift = 0; shift < 4; ++shift) {
            const std::string text = std::string(shift, 'x') + valid + valid;
            EXPECT_EQ(CodePageOf(text, piece), TCodePage::Utf8) << piece << " " << shift;
            // A character left open at the end, or broken off by the next byte, is not UTF-8.
            EXPECT_EQ(CodePageOf(text + "\xe2\x82", piece), TCodePage::Windows1252) << piece;
            EXPECT_EQ(CodePageOf(text +
                                     "\xe2\x82"
                                     "a" +
                                     valid,
                                 piece),
                      TCodePage::Windows1252)
                << piece;
            EXPECT_EQ(CodePageOf(text + "\x80\x80\x80\x80" + valid, piece), TCodePage::Windows1252)
                << piece;
        }
    }
}

// `opened` comes before the input is read at all (cat's page head goes out then): what it
// writes into the file is what the code page and the runs are found from.
TEST(CliInput, OpenedComesBeforeTheInputIsRead) {
    const auto path = std::filesystem::temp_directory_path() / "ondrex_cli_input_opened.txt";
    std::ofstream(path, std::ios::binary) << "caf\xe9\n";
    int calls = 0;
    TStreamedInput input(path.string(), TStreamedInput::kDefaultRunSize, [&] {
        ++calls;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << "caf\xc3\xa9\n";
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(input.CodePage(), TCodePage::Utf8);
    const std::span<char> run = input.Next();
    EXPECT_EQ(std::string(run.data(), run.size()), "caf\xc3\xa9\n");
    std::filesystem::remove(path);
}

// Runs of whole lines (a CR LF never split, a long line whole) that add up to the file, and
// nothing mapped where the reader must read (a pipe, a UTF-16 file, an empty file).
TEST(CliInput, AMappedFileComesInRunsOfWholeLines) {
    const auto path = std::filesystem::temp_directory_path() / "ondrex_cli_input_runs.txt";
    const char* pieces[] = {"Function a(b)", "\r\n", "\r", "\n", "x", "caf\xe9"};
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int i = int(rng() % 40); i > 0; --i)
            text += pieces[rng() % 6];
        if (rng() % 4 == 0) text += std::string(300, 'y');
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        const std::size_t runSize = 1 + rng() % 64;
        TMappedInput input(path.string(), runSize);
        ASSERT_EQ(input.Mapped(), !text.empty());
        std::string joined;
        for (std::string_view run; !(run = input.Next()).empty();) {
            joined += run;
            const bool atEnd = joined.size() == text.size();
            const char last = run.back();
            EXPECT_TRUE(atEnd || last == '\n' || (last == '\r' && text[joined.size()] != '\n'))
                << testing::PrintToString(text) << " " << runSize;
            const std::size_t breaks = std::size_t(std::count(run.begin(), run.end() - 1, '\n') +
                                                   std::count(run.begin(), run.end() - 1, '\r'));
            EXPECT_TRUE(run.size() <= runSize + 1 || breaks == 0 ||
                        (breaks == 1 && run.substr(run.size() - 2) == "\r\n"))
                << "a run longer than asked holds one long line";
        }
        ASSERT_EQ(joined, text) << runSize;
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        << "\xff\xfe" << std::string("a\0\n\0", 4);
    EXPECT_FALSE(TMappedInput(path.string(), 64).Mapped());
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_FALSE(TMappedInput(path.string(), 64).Mapped()); // not opened: no writer is waited for
    std::filesystem::remove(path);
}

// A file shortened while it is read ends in an error naming it, not in a normal end or a crash.
TEST(CliInput, AMappedFileShortenedWhileReadIsAnError) {
    const auto path = std::filesystem::temp_directory_path() / "ondrex_cli_input_shortened.txt";
    std::string text;
    while (text.size() < 64 * 1024)
        text += "Function a(b)\r\n";
    std::ofstream(path, std::ios::binary) << text;
    TMappedInput input(path.string(), 4096);
    ASSERT_TRUE(input.Mapped());
    EXPECT_FALSE(input.Next().empty());
    ASSERT_EQ(::truncate(path.c_str(), 5000), 0);
    try {
        while (!input.Next().empty()) {
        }
        ADD_FAILURE() << "the shortened file ended as if whole";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
    }
    std::filesystem::remove(path);
}

} // namespace
} // namespace ondrex::cli

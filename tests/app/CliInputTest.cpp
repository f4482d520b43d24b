// The code page of a streamed file is that of its whole bytes, however the pieces it is read
// in cut its characters.

#include "app/CliInput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <span>
#include <string>

namespace ondrex::cli {
namespace {

TCodePage CodePageOf(const std::string& bytes, std::size_t pieceSize) {
    const auto path = std::filesystem::temp_directory_path() / "ondrex_cli_input_test.txt";
    std::ofstream(path, std::ios::binary) << bytes;
    const TCodePage codePage = TStreamedInput(path.string(), pieceSize).CodePage();
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

} // namespace
} // namespace ondrex::cli

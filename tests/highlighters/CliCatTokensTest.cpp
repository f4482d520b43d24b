// ondrex cat and ondrex tokens, run as a user runs them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct TRun {
    int status;
    std::string out;
};

TRun Ondrex(const std::string& arguments, const std::string& environment = "") {
    const std::string command = environment + " " ONDREX_BINARY " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    TRun run{-1, {}};
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("ondrex-cli-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string File(const std::string& name, const std::string& bytes) {
        const auto path = dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::filesystem::path dir;
};

TEST_F(CliTest, TokensAsJsonLines) {
    const std::string file = File("a.vbs", "Dim x\r\n\r\n\"q\\\"\n");
    const TRun run = Ondrex("tokens --format json " + file);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "{\"line\": 1, \"range\": 1, \"tokens\": [[2, 0, \"Dim\"], [5, 3, \" \"], "
                       "[1, 4, \"x\"]]}\n"
                       "{\"line\": 2, \"range\": 1, \"tokens\": []}\n"
                       "{\"line\": 3, \"range\": 1, \"tokens\": [[6, 0, \"\\\"q\\\\\\\"\"]]}\n");
}

TEST_F(CliTest, TokensDecodeWindows1252AndStopAtNul) {
    const std::string file = File("b.txt", std::string("'\xe9\0x", 4));
    const TRun run = Ondrex("tokens --format json " + file);
    EXPECT_EQ(run.out, "{\"line\": 1, \"range\": 1, \"tokens\": [[0, 0, \"'\xc3\xa9\"]]}\n");
}

TEST_F(CliTest, LanguageChoice) {
    const std::string file = File("c.txt", "Dim");
    EXPECT_NE(Ondrex("tokens " + file).out.find("[[2, 0, \"Dim\"]]"), std::string::npos);
    const TRun bad = Ondrex("tokens --lang cobol " + file);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("unknown language 'cobol'"), std::string::npos);
    EXPECT_EQ(Ondrex("tokens --format text " + file).status, 2);
}

TEST_F(CliTest, MissingFileIsBadInputNamingTheFile) {
    const TRun run = Ondrex("cat " + (dir / "none.vbs").string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("none.vbs"), std::string::npos);
}

TEST_F(CliTest, CatColourChoice) {
    const std::string file = File("d.asp", "Dim x\r\nEnd");
    EXPECT_EQ(Ondrex("cat --color=never " + file).out, "Dim x\nEnd\n");
    // Not a terminal, and NO_COLOR: plain either way under auto.
    EXPECT_EQ(Ondrex("cat " + file).out, "Dim x\nEnd\n");
    EXPECT_EQ(Ondrex("cat --color=auto " + file, "NO_COLOR=1").out, "Dim x\nEnd\n");
    EXPECT_EQ(Ondrex("cat --color=always " + file).out,
              "\x1b[0;1;94mDim\x1b[0m x\n\x1b[0;1;94mEnd\x1b[0m\n");
    EXPECT_EQ(Ondrex("cat --color=sometimes " + file).status, 2);
}

TEST_F(CliTest, CatLosesNoTextAfterANul) {
    const std::string file = File("e.vbs", std::string("ab\0cd", 5));
    EXPECT_EQ(Ondrex("cat --color=always " + file).out, "ab^@cd\n");
}

TEST_F(CliTest, CatHtmlPage) {
    const std::string file = File("f.vbs", "If a < b Then");
    const TRun run = Ondrex("cat --html " + file);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(run.out.find("a &lt; b"), std::string::npos);
    EXPECT_NE(run.out.find("f.vbs</title>"), std::string::npos);
}

} // namespace

// Output that is checked in: every language's reference input against its expected tokens,
// HTML page and scan, and the generated Perl keyword table against its generator. After an
// intended change of output, `bash scripts/update_reference.sh` rewrites the expected files
// and the change is reviewed as a diff.
#include "highlighters/THighlighterList.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace ondrex {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = ONDREX_SOURCE_DIR;
const fs::path kReference = kSource / "tests/highlighters/reference";
const char* const kExpectedSuffixes[] = {".tokens.json", ".cat.html", ".scan.json"};

std::string quoted(const fs::path& path) {
    std::string out = "'";
    for (char c : path.string())
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The exit status of a shell command and what it printed on either stream.
std::pair<int, std::string> shell(const std::string& command) {
    std::pair<int, std::string> result{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.second.append(buffer, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) result.first = WEXITSTATUS(status);
    return result;
}

// Fails with a unified diff when the committed file is not the one just written.
void expectSame(const fs::path& committed, const fs::path& written, std::string_view advice) {
    auto [status, diff] = shell("diff -u " + quoted(committed) + " " + quoted(written));
    if (status == 0) return;
    constexpr std::size_t kShown = 6000;
    if (diff.size() > kShown) diff = diff.substr(0, kShown) + "\n[... diff cut]\n";
    ADD_FAILURE() << committed << " is not what is written now (- committed, + now). " << advice
                  << "\n"
                  << diff;
}

class ScratchFolder {
public:
    ScratchFolder()
        : path_(fs::temp_directory_path() / ("ondrex-reference-" + std::to_string(getpid()))) {
        fs::create_directories(path_);
    }
    ~ScratchFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// reference/<id>.<one of the language's extensions>, or empty when there is none.
fs::path inputOf(const THighlighterClass& language) {
    for (const std::string& extension : language.Extensions) {
        const fs::path path =
            kReference / (language.Language + AnsiLowerCase(TCodePage::Utf8, extension));
        if (fs::exists(path)) return path;
    }
    return {};
}

TEST(ReferenceFiles, EveryLanguageHasAnInputAndItsExpectedOutputs) {
    const THighlighterList& list = THighlighterList::Instance();
    for (int i = 0; i < list.Count(); ++i) {
        const fs::path input = inputOf(list[i]);
        ASSERT_FALSE(input.empty())
            << "no reference input for " << list[i].Language << " in " << kReference;
        for (const char* suffix : kExpectedSuffixes)
            EXPECT_TRUE(fs::exists(input.string() + suffix)) << input << suffix;
    }
}

TEST(ReferenceFiles, OutputsAreTheExpectedOnes) {
    ScratchFolder scratch;
    const auto [status, log] = shell("bash " + quoted(kSource / "scripts/update_reference.sh") +
                                     " " + quoted(ONDREX_BINARY) + " " + quoted(scratch.path()));
    ASSERT_EQ(status, 0) << log;
    int compared = 0;
    for (const fs::directory_entry& written : fs::directory_iterator(scratch.path())) {
        const fs::path committed = kReference / written.path().filename();
        ++compared;
        expectSame(committed, written.path(),
                   "After an intended change of output run `bash scripts/update_reference.sh` "
                   "and review the diff.");
    }
    EXPECT_EQ(compared, 3 * THighlighterList::Instance().Count());
}

TEST(GeneratedFiles, PerlKeywordTableIsWhatItsGeneratorWrites) {
    if (shell("command -v python3").first != 0)
        GTEST_SKIP() << "python3 is not installed: the Perl keyword table was not regenerated";
    ScratchFolder scratch;
    const fs::path table = scratch.path() / "XoqPerlSynKeywords.cpp";
    const auto [status, log] = shell(
        "python3 " + quoted(kSource / "highlighters/XoqPerlSynKeywords.py") + " " + quoted(table));
    ASSERT_EQ(status, 0) << log;
    expectSame(kSource / "highlighters/XoqPerlSynKeywords.cpp", table,
               "Run `python3 highlighters/XoqPerlSynKeywords.py` and commit the table with it.");
}

} // namespace
} // namespace ondrex

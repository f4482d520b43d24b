// scan -R and tags through the real binary, and the tags file through Vim and readtags.

#include "tests/JsonTestSupport.h"
#include "tests/app/index/ScratchTree.h"
#include "tests/support/RunOndrex.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrex {
namespace {

namespace fs = std::filesystem;
using testsupport::RunOndrex;
using testsupport::TRunResult;

using TTree = testsupport::TScratchTree;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

TEST(CliSite, JsonLinesAreTheOneFileObjectsInPathOrder) {
    const TRunResult tree = RunOndrex({"scan", "-R", "--format", "json", "--dim", "samples"});
    ASSERT_EQ(tree.status, 0) << tree.err;
    const auto lines = linesOf(tree.out);
    ASSERT_GE(lines.size(), 4u);
    std::string previous;
    for (const std::string& line : lines) {
        const std::string file = testjson::Str(testjson::Json(line)["file"]);
        EXPECT_LT(previous, file);
        previous = file;
        TRunResult one = RunOndrex({"scan", "--format", "json", "--dim", file});
        std::erase(one.out, '\n'); // the one-file object puts each row on a line of its own
        EXPECT_EQ(line, one.out);
    }
}

TEST(CliSite, BadPathsAreOneLineEachAndTheRestStillGoesOut) {
    TTree t;
    t.file("ok.asp", "Sub Fine\n");
    t.file("odd\nname\xff.asp", "Function Odd()\n");
    ASSERT_EQ(::mkfifo((t.root / "pipe.asp").c_str(), 0600), 0);
    const std::string root = t.root.string();
    const TRunResult r = RunOndrex({"scan", "-R", root + "/missing", root});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ondrex: " + root + "/missing: no such file or folder\n" + "ondrex: " + root +
                         "/pipe.asp: not a regular file, skipped\n");
    EXPECT_NE(r.out.find(root + "/odd\\nname\\xff.asp  Function"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(root + "/ok.asp  Sub"), std::string::npos);

    const TRunResult json = RunOndrex({"scan", "-R", "--count", "--format", "json", root});
    const auto lines = linesOf(json.out);
    ASSERT_EQ(lines.size(), 3u) << json.out;
    EXPECT_EQ(testjson::Str(testjson::Json(lines[0])["file"]), root + "/odd\nname\xc3\xbf.asp");
    EXPECT_EQ(lines[2], R"({"total":{"functions":1,"subs":1,"statements":0},"files":2})");

    const TRunResult folder = RunOndrex({"scan", root});
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err, "ondrex: " + root + ": is a directory\n");
}

// Runs Vim headless in `dir` with the commands, and gives back "file:line" of where it ends.
std::string vimJump(const fs::path& dir, const std::string& commands) {
    const fs::path out = dir / "vim.out";
    const std::string cmd = "cd '" + dir.string() + "' && vim -es -N -u NONE -i NONE " + commands +
                            " -c 'call writefile([expand(\"%\") . \":\" . line(\".\")], \"" +
                            out.string() + "\")' -c 'qa!' </dev/null >/dev/null 2>&1";
    (void)std::system(cmd.c_str());
    std::ifstream in(out);
    std::string where;
    std::getline(in, where);
    fs::remove(out);
    return where;
}

TEST(CliSite, VimAndReadtagsReadTheTagsFile) {
    if (std::system("command -v vim >/dev/null && command -v readtags >/dev/null") != 0)
        GTEST_SKIP() << "vim or readtags (universal-ctags) not installed";
    TTree t;
    t.file("site/lib/users.asp", "<%\nFunction GetUser(id)\n  x = 1\nEnd Function\n"
                                 "Sub A_b\nEnd Sub\nSub Az\nEnd Sub\n%>\n");
    t.file("site/js/app.js", "var re = 1;\nfunction path(a) { return a / 2; }\n");
    t.file("site/Z.vbs", "Function getuser()\nEnd Function\n");
    testsupport::TRunOptions in;
    in.directory = (t.root / "site").string();
    const TRunResult r = RunOndrex({"tags", "-R"}, in);
    ASSERT_EQ(r.status, 0) << r.err;

    const std::string list = "cd '" + in.directory + "' && readtags -t tags -l > listed";
    ASSERT_EQ(std::system(list.c_str()), 0) << "readtags refused the file";
    std::ifstream listed(t.root / "site/listed");
    std::stringstream names;
    names << listed.rdbuf();
    EXPECT_EQ(linesOf(names.str()).size(), 5u) << names.str();

    EXPECT_EQ(vimJump(t.root / "site", "-c 'tag GetUser'"), "lib/users.asp:2");
    EXPECT_EQ(vimJump(t.root / "site", "-c 'tag getuser'"), "Z.vbs:1");
    EXPECT_EQ(vimJump(t.root / "site", "-c 'tag A_b'"), "lib/users.asp:5");
    EXPECT_EQ(vimJump(t.root / "site", "-c 'tag Az'"), "lib/users.asp:7");
    EXPECT_EQ(vimJump(t.root / "site", "-c 'tag path'"), "js/app.js:2");
    // VBScript spelling in any case, as the language reads it.
    EXPECT_EQ(vimJump(t.root / "site", "-c 'set tagcase=ignore' -c 'tag AZ'"), "lib/users.asp:7");

    // Written elsewhere, the tags file names files from its own folder.
    in.directory = t.root.string();
    fs::create_directory(t.root / "out");
    ASSERT_EQ(RunOndrex({"tags", "-R", "-o", "out/tags", "site/js"}, in).status, 0);
    EXPECT_EQ(vimJump(t.root / "out", "-c 'tag path'"), "../site/js/app.js:2");
}

// The window's spelling of a language filters the same files as the command line's.
TEST(CliSite, LanguageFilterTakesEitherSpelling) {
    const TRunResult perl = RunOndrex({"scan", "-R", "--lang", "perl", "samples"});
    ASSERT_EQ(perl.status, 0) << perl.err;
    EXPECT_NE(perl.out.find("samples/report.pl"), std::string::npos) << perl.out;
    EXPECT_EQ(perl.out.find("samples/shop.asp"), std::string::npos) << perl.out;
    EXPECT_EQ(RunOndrex({"scan", "-R", "--lang", "PerlScript", "samples"}).out, perl.out);
}

} // namespace
} // namespace ondrex

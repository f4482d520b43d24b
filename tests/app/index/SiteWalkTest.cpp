#include "app/index/SiteIndex.h"
#include "tests/app/index/ScratchTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrex {
namespace {

namespace fs = std::filesystem;

// A scratch tree removed at the end of the test.
using TTree = testsupport::TScratchTree;

std::vector<std::string> walk(const std::vector<std::string>& roots, const TSiteFilter& filter = {},
                              const std::string& strip = {}) {
    TSiteWalk w(roots, filter);
    std::vector<std::string> seen;
    for (TWalkEntry e; w.Next(e);) {
        std::string p = e.path.starts_with(strip) ? e.path.substr(strip.size()) : e.path;
        if (e.kind != TWalkEntry::TKind::File) p += " [" + e.message + "]";
        seen.push_back(p);
    }
    return seen;
}

TEST(SiteWalk, PathOrderHiddenIgnoredAndFilteredFolders) {
    TTree t;
    for (const char* f :
         {"a.asp", "a/b.asp", "a-z.vbs", "notes.txt", "A.PHP", "x.js", ".hidden/h.asp",
          "node_modules/m.js", "lib/vendor/v.pl", "vendor/top.pl", "build/out.js",
          "src/build/keep.js", "deep/x/cache/c.asp", "logs/l.asp", "keep/k.asp"})
        t.file(f);
    t.file(".gitignore", "# comment\nnode_modules/\n/build\nlib/vendor\n**/cache\n!keep\n\n"
                         "log?\n");
    const std::string prefix = t.path() + "/";
    EXPECT_EQ(walk({t.path()}, {}, prefix),
              (std::vector<std::string>{"A.PHP", "a-z.vbs", "a.asp", "a/b.asp", "keep/k.asp",
                                        "src/build/keep.js", "vendor/top.pl", "x.js"}));
    EXPECT_EQ(walk({t.path()}, {{"PHP", "perl"}, {}, {}}, prefix),
              (std::vector<std::string>{"A.PHP", "vendor/top.pl"}));
    EXPECT_EQ(walk({t.path()}, {{}, {"*.asp", "src/*/*.js"}, {"a"}}, prefix),
              (std::vector<std::string>{"a.asp", "keep/k.asp", "src/build/keep.js"}));
    // A file named by the caller is taken whatever its name; a missing one is an error.
    EXPECT_EQ(walk({prefix + "notes.txt", prefix + "gone.asp"}, {}, prefix),
              (std::vector<std::string>{"notes.txt", "gone.asp [no such file or folder]"}));
}

TEST(SiteWalk, SymlinksFifosAndLoopsNeverHangTheWalk) {
    TTree t;
    t.file("real/r.asp");
    t.file("outside/o.asp");
    fs::create_directories(t.root / "site/inner");
    fs::create_directory_symlink("../real", t.root / "site/inner/../linked"); // outside "site"
    fs::create_directory_symlink("inner", t.root / "site/alias");             // inside
    fs::create_directory_symlink("..", t.root / "site/inner/up");             // a loop
    std::ofstream(t.root / "site/inner/i.asp") << "Sub I\n";
    fs::create_symlink("nowhere.asp", t.root / "site/broken.asp");
    ASSERT_EQ(::mkfifo((t.root / "site/pipe.php").c_str(), 0600), 0);
    const std::string site = (t.root / "site").string();
    EXPECT_EQ(walk({site}, {}, site + "/"),
              (std::vector<std::string>{"alias/i.asp", "alias/up [symbolic link loop, skipped]",
                                        "broken.asp [broken symbolic link]", "inner/i.asp",
                                        "inner/up [symbolic link loop, skipped]",
                                        "linked [symbolic link out of the tree, skipped]",
                                        "pipe.php [not a regular file, skipped]"}));
}

TEST(SiteIndex, RescanFollowsChangesAndTheFilter) {
    TTree t;
    t.file("a.asp", "Function One()\nEnd Function\n");
    t.file("skip/b.asp");
    t.file(".gitignore", "skip\n");
    TSiteIndex index({}, {});
    index.Build({t.path()});
    const std::string a = t.path() + "/a.asp";
    ASSERT_EQ(index.Files().size(), 1u);
    ASSERT_EQ(index.Find(a)->symbols.size(), 1u);
    EXPECT_EQ(index.Find(a)->symbols[0].endLine, 2);

    t.file("a.asp", "Sub Two\nSub Three\n");
    EXPECT_TRUE(index.Rescan(a));
    ASSERT_EQ(index.Find(a)->symbols.size(), 2u);
    EXPECT_EQ(index.Find(a)->symbols[1].name, "Three");

    t.file("skip/c.asp");
    EXPECT_FALSE(index.Rescan(t.path() + "/skip/c.asp")); // an ignored folder stays out
    t.file("new.js", "function n() {}\n");
    EXPECT_TRUE(index.Rescan(t.path() + "/new.js"));
    fs::remove(t.root / "a.asp");
    EXPECT_FALSE(index.Rescan(a));
    EXPECT_EQ(index.Find(a), nullptr);
    EXPECT_EQ(index.Files().size(), 1u);
}

} // namespace
} // namespace ondrex

// The command line loads no Qt: it links none, and a window request goes to the window
// program; without one it says so and the scan still goes to the terminal.

#include "tests/app/index/ScratchTree.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace ondrex {
namespace {

namespace fs = std::filesystem;

TEST(CliWindowProgram, TheCommandLineLinksNoQt) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(
        ::popen("readelf -d '" ONDREX_BINARY "' 2>/dev/null", "r"), ::pclose);
    ASSERT_TRUE(pipe);
    std::string dynamic;
    for (char buffer[4096]; std::fgets(buffer, sizeof buffer, pipe.get());)
        dynamic += buffer;
    if (dynamic.empty()) GTEST_SKIP() << "readelf (binutils) not installed";
    EXPECT_NE(dynamic.find("libstdc++"), std::string::npos) << dynamic;
    EXPECT_EQ(dynamic.find("libQt"), std::string::npos) << dynamic;
    EXPECT_TRUE(fs::exists(fs::path(ONDREX_BINARY).parent_path() / "ondrex-window"));
}

TEST(CliWindowProgram, WithoutTheWindowProgramTheScanStillGoesOut) {
    testsupport::TScratchTree t;
    fs::copy_file(ONDREX_BINARY, t.root / "ondrex");
    t.file("x.asp", "Function Alone()\n");
    // A copy alone in a folder has no window program beside it nor an installed one.
    const std::string run = "cd '" + t.path() + "' && DISPLAY=:0 ./ondrex x.asp >out 2>err";
    EXPECT_EQ(std::system(run.c_str()), 0);
    std::ifstream err(t.root / "err"), out(t.root / "out");
    std::string firstErr, firstOut;
    std::getline(err, firstErr);
    std::getline(out, firstOut);
    EXPECT_EQ(firstErr, "ondrex: cannot start the window program (ondrex-window not found)");
    EXPECT_EQ(firstOut, "Type         Line  Name");
}

} // namespace
} // namespace ondrex

// `ondrex FILE` where no window can open: one line saying so, then the scan on the terminal.

#include "app/CliCommands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

namespace ondrex::cli {
namespace {

TEST(CliWithoutDisplay, AFileAloneOpensTheWindowAndCommandsDoNot) {
    EXPECT_TRUE(OpensWindow({}));
    EXPECT_TRUE(OpensWindow({"shop.asp"}));
    EXPECT_TRUE(OpensWindow({"-"})); // a lone dash is a file name
    EXPECT_FALSE(OpensWindow({"scan", "shop.asp"}));
    EXPECT_FALSE(OpensWindow({"--help"}));
    EXPECT_FALSE(OpensWindow({"--version"}));
}

TEST(CliWithoutDisplay, TheScanGoesToTheTerminalAfterOneLine) {
    const std::string file = ONDREX_SOURCE_DIR "/samples/shop.asp";
    std::ostringstream out, err, scanOut, scanErr;
    EXPECT_EQ(RunCommandLine({file}, out, err), kExitOk);
    EXPECT_EQ(RunCommandLine({"scan", file}, scanOut, scanErr), kExitOk);
    EXPECT_EQ(out.str(), scanOut.str());
    EXPECT_EQ(err.str(),
              "ondrex: no display to open the window on; the scan of " + file + " follows\n");
    std::ostringstream missingOut, missingErr;
    EXPECT_EQ(RunCommandLine({"/no/such.asp"}, missingOut, missingErr), kExitBadInput);
}

TEST(CliWithoutDisplay, ADisplayIsAnyOfTheThreeVariables) {
    const char* names[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    std::string saved[3];
    bool had[3];
    for (int i = 0; i < 3; ++i) {
        const char* v = std::getenv(names[i]);
        had[i] = v != nullptr;
        saved[i] = v ? v : "";
        unsetenv(names[i]);
    }
    EXPECT_FALSE(HasDisplay());
    for (const char* name : names) {
        setenv(name, ":0", 1);
        EXPECT_TRUE(HasDisplay()) << name;
        setenv(name, "", 1);
        EXPECT_FALSE(HasDisplay()) << name;
        unsetenv(name);
    }
    for (int i = 0; i < 3; ++i)
        if (had[i]) setenv(names[i], saved[i].c_str(), 1);
}

} // namespace
} // namespace ondrex::cli

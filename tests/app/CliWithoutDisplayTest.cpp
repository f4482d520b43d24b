// `ondrex FILE` where no window can open: one line saying so, then the scan on the terminal.

#include "app/CliCommands.h"
#include "tests/support/RunOndrex.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace ondrex::cli {
namespace {

using testsupport::RunOndrex;
using testsupport::TRunOptions;
using testsupport::TRunResult;

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

// Qt aborts (status 134) on a display it cannot reach or a platform plugin it cannot load;
// ondrex tries first and takes the terminal path instead.
TEST(CliWithoutDisplay, AnUnopenableDisplayFallsBackToTheScan) {
    const std::string file = "samples/shop.asp";
    const std::string scan = RunOndrex({"scan", file}).out;
    const std::string line =
        "ondrex: no display to open the window on; the scan of " + file + " follows\n";
    const std::vector<std::vector<std::string>> environments = {
        {"QT_QPA_PLATFORM=", "DISPLAY=:93", "WAYLAND_DISPLAY="}, // nothing listens there
        {"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY="},    // nothing set at all
        {"QT_QPA_PLATFORM=no-such-plugin", "DISPLAY=:93"},       // a plugin not installed
        {"QT_QPA_PLATFORM=xcb", "DISPLAY=bad:display:name"},     // a name that does not parse
    };
    for (const auto& environment : environments) {
        TRunOptions options;
        options.environment = environment;
        const TRunResult run = RunOndrex({file}, options);
        EXPECT_EQ(run.status, kExitOk) << environment[0] << ' ' << environment[1];
        EXPECT_EQ(run.err, line) << environment[0] << ' ' << environment[1];
        EXPECT_EQ(run.out, scan) << environment[0] << ' ' << environment[1];
    }
}

TEST(CliWithoutDisplay, AnInvisibleWindowSaysSo) {
    TRunOptions options;
    options.environment = {"QT_QPA_PLATFORM=offscreen", "DISPLAY="};
    options.endWhenErrHas = "invisible";
    const TRunResult run = RunOndrex({"samples/shop.asp"}, options);
    EXPECT_NE(
        run.err.find("ondrex: the window opens on the 'offscreen' platform, where it is invisible"),
        std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "");
}

} // namespace
} // namespace ondrex::cli

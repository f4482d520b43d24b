// Queuing a finished PDF through a stand-in `lp` on PATH: the arguments it gets, and what the
// user is told when the queue refuses the job or there is no queue command.

#include "platform/PrintSpooler.h"
#include "platform/Printer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace ondrex;

namespace {

class PrintSpooler : public testing::Test {
protected:
    void SetUp() override {
        bin_ =
            std::filesystem::temp_directory_path() / ("ondrex_spooler_" + std::to_string(getpid()));
        std::filesystem::create_directories(bin_);
        if (const char* path = std::getenv("PATH")) oldPath_ = path;
        setenv("PATH", bin_.c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath_.c_str(), 1);
        std::filesystem::remove_all(bin_);
    }
    // An `lp` that writes one argument a line beside itself and runs `then`.
    void FakeSpooler(const std::string& then) {
        const auto lp = bin_ / "lp";
        std::ofstream(lp) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '"
                          << (bin_ / "args").string() << "'\n"
                          << then << "\n";
        std::filesystem::permissions(lp, std::filesystem::perms::owner_all);
    }
    std::string Args() const {
        std::ifstream in(bin_ / "args");
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    std::string Refusal(const std::string& title) {
        try {
            QueuePdf("Office", title, bin_ / "job.pdf");
        } catch (const EPrinterError& e) {
            return e.what();
        }
        return "(queued)";
    }

    std::filesystem::path bin_;
    std::string oldPath_;
};

} // namespace

TEST_F(PrintSpooler, QueuesTheFileOnThePrinterUnderTheTitle) {
    EXPECT_FALSE(PrintSpoolerAvailable());
    FakeSpooler("exit 0");
    EXPECT_TRUE(PrintSpoolerAvailable());
    // A title that starts with a dash stays the title, and the file cannot be read as an option.
    QueuePdf("Office", "-n 99 file.asp", bin_ / "job.pdf");
    EXPECT_EQ(Args(), "-d\nOffice\n-t\n-n 99 file.asp\n--\n" + (bin_ / "job.pdf").string() + "\n");
}

TEST_F(PrintSpooler, ARefusalOrAMissingCommandIsAnErrorThatSaysWhy) {
    EXPECT_EQ(Refusal("a.asp"), "Printing \"a.asp\" failed: lp: No such file or directory");
    FakeSpooler("echo 'lp: The printer or class does not exist.' >&2; exit 1");
    EXPECT_EQ(Refusal("a.asp"),
              "Printing \"a.asp\" failed: lp: The printer or class does not exist.");
    FakeSpooler("kill -9 $$");
    EXPECT_EQ(Refusal("a.asp"), "Printing \"a.asp\" failed");
}

#include "app/index/SiteScan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace ondrex {
namespace {

namespace fs = std::filesystem;

// Many files of very different sizes, so that workers finish out of order and the window of
// files in flight fills and drains many times.
struct TManyFiles {
    fs::path root = fs::path(::testing::TempDir()) / ("sitescan_" + std::to_string(::getpid()));
    TManyFiles() {
        fs::remove_all(root);
        for (int i = 0; i < 300; ++i) {
            fs::create_directories(root / std::to_string(i % 7));
            std::ofstream f(root / std::to_string(i % 7) / (std::to_string(i) + ".asp"));
            for (int k = 0; k < (i * 37) % 2000; ++k)
                f << (k % 3 ? "x = 1\n" : "Function F" + std::to_string(k) + "()\nEnd Function\n");
        }
    }
    ~TManyFiles() { fs::remove_all(root); }
};

std::vector<std::string> scanned(const fs::path& root, unsigned threads) {
    TSiteWalk walk({root.string()}, {});
    TSiteScanOptions options;
    options.threads = threads;
    options.symbols = true;
    std::vector<std::string> seen;
    ScanSite(walk, options, [&](TSiteFile& f) {
        seen.push_back(f.entry.path + " " + std::to_string(f.results.counters.functionCount) + " " +
                       std::to_string(f.results.rows.size()) + " " +
                       std::to_string(f.symbols.size()));
    });
    return seen;
}

TEST(SiteScan, ThePoolGivesTheWalksOrderAndTheSameResultsAsOneThread) {
    TManyFiles tree;
    const auto one = scanned(tree.root, 1);
    ASSERT_EQ(one.size(), 300u);
    EXPECT_TRUE(std::is_sorted(one.begin(), one.end()));
    EXPECT_EQ(scanned(tree.root, 4), one);
}

TEST(SiteScan, AFailingCollectorStopsTheWorkers) {
    TManyFiles tree;
    TSiteWalk walk({tree.root.string()}, {});
    TSiteScanOptions options;
    options.threads = 3;
    int calls = 0;
    EXPECT_THROW(ScanSite(walk, options,
                          [&](TSiteFile&) {
                              if (++calls == 5) throw std::runtime_error("disk full");
                          }),
                 std::runtime_error);
    EXPECT_EQ(calls, 5);
}

} // namespace
} // namespace ondrex

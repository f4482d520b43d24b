#pragma once
// A folder of files made for one test and removed after it, named after the test so that
// cases run in parallel never share one.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace ondrex::testsupport {

struct TScratchTree {
    std::filesystem::path root = std::filesystem::path(::testing::TempDir()) /
                                 ("tree_" + std::to_string(::getpid()) + "_" +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    TScratchTree() {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
    }
    ~TScratchTree() { std::filesystem::remove_all(root); }
    TScratchTree(const TScratchTree&) = delete;
    TScratchTree& operator=(const TScratchTree&) = delete;

    void file(const std::string& relative, const std::string& text = "Sub S\n") const {
        std::filesystem::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << text;
    }
    std::string path() const { return root.string(); }
};

} // namespace ondrex::testsupport

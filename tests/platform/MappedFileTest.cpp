#include "platform/MappedFile.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <numeric>
#include <string>
#include <unistd.h>

namespace ondrex {
namespace {

std::string writeTemp(const std::string& name, const std::string& bytes) {
    std::string path = ::testing::TempDir() + std::to_string(getpid()) + "_" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

// Another program truncating a file while it is mapped must not kill the reader: the lost
// pages read as zeros, only that map is marked, and its owner gets an error naming the file.
TEST(MappedFile, AFileShortenedUnderTheMapReadsZerosAndIsReported) {
    const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
    const std::string shrinking = writeTemp("mapped_shrinking.txt", std::string(3 * page + 7, 'a'));
    const std::string steady = writeTemp("mapped_steady.txt", std::string(2 * page, 'b'));
    const TMappedFile shrinkingMap(shrinking), steadyMap(steady);
    ASSERT_TRUE(shrinkingMap.Mapped());
    ASSERT_TRUE(steadyMap.Mapped());
    ASSERT_EQ(::truncate(shrinking.c_str(), 100), 0);

    const std::string_view bytes = shrinkingMap.Bytes();
    EXPECT_EQ(std::accumulate(bytes.begin(), bytes.end(), std::size_t(0)), 100 * std::size_t('a'));
    EXPECT_TRUE(shrinkingMap.Shortened());
    EXPECT_FALSE(steadyMap.Shortened());
    EXPECT_EQ(steadyMap.Bytes().back(), 'b');
    try {
        shrinkingMap.ThrowIfShortened(shrinking);
        ADD_FAILURE() << "no error for a shortened file";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.cause(), EFileError::TCause::ReadError);
        EXPECT_NE(std::string(e.what()).find(shrinking), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("shortened"), std::string::npos) << e.what();
    }
    EXPECT_NO_THROW(steadyMap.ThrowIfShortened(steady));
    std::remove(shrinking.c_str());
    std::remove(steady.c_str());
}

} // namespace
} // namespace ondrex

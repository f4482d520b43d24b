#include "platform/MappedFile.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
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

// A guarded map keeps the bytes it showed: a writer that truncates and rewrites the file
// waits until the map is a private copy, and only the map whose file was wanted is copied.
TEST(MappedFile, AGuardedMapIsCopiedBeforeAnotherWriterChangesItsFile) {
    const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
    std::string text(5 * page + 3, 'x');
    for (std::size_t i = 0; i < text.size(); i += 97)
        text[i] = char('a' + i % 26);
    const std::string wanted = writeTemp("guarded_wanted.txt", text);
    const std::string other = writeTemp("guarded_other.txt", "left alone");
    {
        const TMappedFile map(wanted, TMappedFile::TGuard::CopyBeforeChange);
        const TMappedFile otherMap(other, TMappedFile::TGuard::CopyBeforeChange);
        if (!map.Mapped() || !otherMap.Mapped()) GTEST_SKIP() << "no file leases here";
        const char* before = map.Bytes().data();
        EXPECT_EQ(map.Bytes(), text);

        // A program's stray SIGIO neither ends the process nor copies anything.
        ::raise(SIGIO);
        EXPECT_FALSE(map.Copied());

        // The writer is told to wait; the lease's signal copies the map and lets it go on.
        const int refused = ::open(wanted.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK);
        EXPECT_EQ(refused, -1);
        EXPECT_EQ(errno, EWOULDBLOCK);
        if (refused >= 0) ::close(refused);
        EXPECT_TRUE(map.Copied());
        std::ofstream(wanted, std::ios::binary | std::ios::trunc) << "short";
        ASSERT_EQ(::truncate(wanted.c_str(), 2), 0);

        EXPECT_EQ(map.Bytes().data(), before);
        EXPECT_EQ(map.Bytes(), text);
        EXPECT_FALSE(map.Shortened());
        EXPECT_FALSE(otherMap.Copied());
        EXPECT_EQ(otherMap.Bytes(), "left alone");
    }
    // Once the maps are gone a writer no longer waits, and a late signal harms nothing.
    const int writer = ::open(other.c_str(), O_WRONLY | O_NONBLOCK);
    EXPECT_GE(writer, 0);
    if (writer >= 0) ::close(writer);
    std::remove(wanted.c_str());
    std::remove(other.c_str());
}

} // namespace
} // namespace ondrex

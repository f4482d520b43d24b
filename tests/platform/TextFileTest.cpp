#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ondrex {
namespace {

using namespace std::string_literals;

std::string writeTemp(const std::string& name, const std::string& bytes) {
    std::string path = ::testing::TempDir() + std::to_string(getpid()) + "_" +
                       name; // unique per process: ctest runs cases in parallel
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
    return path;
}

EFileError::TCause causeOf(const std::string& path) {
    try {
        ReadFileBytes(path);
    } catch (const EFileError& e) {
        return e.cause();
    }
    ADD_FAILURE() << "no error for " << path;
    return EFileError::TCause::OpenError;
}

TEST(TextFile, ReadsEveryByte) {
    const std::string bytes = "Function a()\r\n\0\x1a\xff\rz"s;
    std::string path = writeTemp("textfile_bytes.txt", bytes);
    EXPECT_EQ(ReadFileBytes(path), bytes);
    std::remove(path.c_str());
}

TEST(TextFile, ReadsAnEmptyFileAndALargeOne) {
    std::string empty = writeTemp("textfile_empty.txt", "");
    EXPECT_EQ(ReadFileBytes(empty), "");
    std::string big(3'000'000, 'x');
    for (std::size_t i = 0; i < big.size(); i += 97)
        big[i] = '\n';
    std::string path = writeTemp("textfile_big.txt", big);
    EXPECT_EQ(ReadFileBytes(path), big);
    std::remove(empty.c_str());
    std::remove(path.c_str());
}

TEST(TextFile, AMissingFileNamesTheFileAndTheCause) {
    try {
        ReadFileBytes("/no/such/dir/shop.asp");
        FAIL();
    } catch (const EFileError& e) {
        EXPECT_EQ(e.cause(), EFileError::TCause::NotFound);
        EXPECT_EQ(e.path(), "/no/such/dir/shop.asp");
        EXPECT_STREQ(e.what(), "/no/such/dir/shop.asp: no such file");
    }
    EXPECT_EQ(causeOf(""), EFileError::TCause::NotFound);
}

TEST(TextFile, ADirectoryIsNotAFile) {
    try {
        ReadFileBytes("/tmp");
        FAIL();
    } catch (const EFileError& e) {
        EXPECT_EQ(e.cause(), EFileError::TCause::IsDirectory);
        EXPECT_STREQ(e.what(), "/tmp: is a directory");
    }
}

TEST(TextFile, AFileWithoutReadPermission) {
    std::string path = writeTemp("textfile_secret.txt", "secret");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    if (geteuid() != 0) {
        EXPECT_EQ(causeOf(path), EFileError::TCause::PermissionDenied);
    } else {
        // root reads anything: try as the unprivileged user "nobody" in a child process.
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(90);
            try {
                ReadFileBytes(path);
            } catch (const EFileError& e) {
                std::string what = e.what();
                bool ok = e.cause() == EFileError::TCause::PermissionDenied &&
                          what == path + ": permission denied";
                _exit(ok ? 0 : 91);
            }
            _exit(92);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    std::remove(path.c_str());
}

TEST(TextFile, AReadErrorNamesTheFileAndTheSystemsReason) {
    // Reading /proc/self/mem from offset 0 fails with an I/O error.
    try {
        ReadFileBytes("/proc/self/mem");
        FAIL();
    } catch (const EFileError& e) {
        EXPECT_EQ(e.cause(), EFileError::TCause::ReadError);
        EXPECT_EQ(std::string(e.what()).rfind("/proc/self/mem: read error (", 0), 0u) << e.what();
    }
}

TEST(TextFile, ReadsAFileWhoseSizeIsUnknownBeforehand) {
    // /proc files report size 0 but have content.
    std::string status = ReadFileBytes("/proc/self/status");
    EXPECT_NE(status.find("Name:"), std::string::npos);
}

} // namespace
} // namespace ondrex

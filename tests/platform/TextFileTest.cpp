#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

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

// What TFileReader hands out, read in pieces of `piece` bytes.
std::string readInPieces(const std::string& path, std::size_t piece) {
    TFileReader reader(path);
    std::string all, buffer(piece, '\0');
    while (const std::size_t got = reader.Read(buffer.data(), piece))
        all.append(buffer, 0, got);
    return all;
}

TEST(TextFile, Utf16WithAMarkIsReadAsUtf8) {
    // "Dim ä" CR LF, a character beyond the first plane (a surrogate pair), a lone low half.
    const std::string le = "\xff\xfe"
                           "D\0i\0m\0 \0\xe4\0\r\0\n\0\x3d\xd8\x00\xde\x00\xdc"s;
    const std::string text = "Dim \xc3\xa4\r\n\xf0\x9f\x98\x80\xef\xbf\xbd"s;
    std::string be = "\xfe\xff"s;
    for (std::size_t i = 2; i < le.size(); i += 2)
        be += std::string{le[i + 1], le[i]};
    // A high half at the very end and an odd last byte are cut-off characters.
    const std::string cut = le.substr(0, 12) + "\x3d\xd8" + "A";
    const std::string cutText = "Dim \xc3\xa4\xef\xbf\xbd\xef\xbf\xbd"s;
    for (const auto& [bytes, expected] : std::vector<std::pair<std::string, std::string>>{
             {le, text}, {be, text}, {cut, cutText}, {"\xff\xfe"s, ""}}) {
        const std::string path = writeTemp("textfile_utf16.vbs", bytes);
        EXPECT_EQ(ReadFileBytes(path), expected);
        for (const std::size_t piece : {1, 3, 4096})
            EXPECT_EQ(readInPieces(path, piece), expected) << piece;
        std::remove(path.c_str());
    }
    // No mark, no guessing: NUL bytes between the letters stay.
    const std::string unmarked = "D\0i\0m\0"s;
    const std::string path = writeTemp("textfile_unmarked.vbs", unmarked);
    EXPECT_EQ(ReadFileBytes(path), unmarked);
    EXPECT_EQ(readInPieces(path, 1), unmarked);
    std::remove(path.c_str());
}

} // namespace
} // namespace ondrex

#pragma once
// Reading whole files as bytes, with errors that name the file and the cause.

#include "platform/Utf16.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ondrex {

// The text with its control characters (C0 and DEL) written as \n, \r, \t or \xHH, so that a
// file name holding them cannot split a one-line message.
std::string EscapeControls(std::string_view text);

// A file could not be opened or read. what() is "FILE: cause", for example
// "samples/x.asp: no such file", "dir: is a directory", "f.vbs: permission denied" or
// "f.vbs: read error (Input/output error)"; control characters in the name are escaped.
class EFileError : public std::runtime_error {
public:
    enum class TCause {
        NotFound,
        IsDirectory,
        PermissionDenied,
        ReadError,
        OpenError,
        TooLarge,
        NotRegularFile,
        OutOfMemory
    };

    EFileError(std::string path, TCause cause, const std::string& detail = {});

    const std::string& path() const { return path_; }
    TCause cause() const { return cause_; }

private:
    std::string path_;
    TCause cause_;
};

// What a reader accepts: the command line reads FIFOs and devices as `cat` does; the window
// takes regular files only, since opening a FIFO would block it until a writer comes.
enum class TFileKinds { Any, RegularOnly };

// The whole file, every byte; a file that starts with a UTF-16 byte-order mark comes as
// UTF-8 (converted, the mark left out). Throws EFileError.
std::string ReadFileBytes(const std::string& path, TFileKinds kinds = TFileKinds::Any);

// Sequential reading in pieces, with the same errors and the same UTF-16 conversion.
class TFileReader {
public:
    // Throws EFileError (not found, directory, not a regular file when only those are taken).
    explicit TFileReader(const std::string& path, TFileKinds kinds = TFileKinds::Any);
    ~TFileReader();
    TFileReader(const TFileReader&) = delete;
    TFileReader& operator=(const TFileReader&) = delete;

    // Up to n bytes into `into`; 0 at the end of the file. Throws EFileError on a read error.
    std::size_t Read(char* into, std::size_t n);
    // The size the file reports (0 for pipes and special files).
    std::size_t SizeHint() const { return sizeHint_; }
    const std::string& Path() const { return path_; }

private:
    void checkMark();
    std::size_t readRaw(char* into, std::size_t n);

    std::string path_;
    int fd_ = -1;
    std::size_t sizeHint_ = 0;
    bool markChecked_ = false;
    std::unique_ptr<TUtf16Decoder> utf16_; // set for a UTF-16 file
    std::string decoded_;                  // read but not yet handed out
    std::string raw_;                      // UTF-16 bytes as read
    std::size_t decodedAt_ = 0;
};

} // namespace ondrex

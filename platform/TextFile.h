#pragma once
// Reading whole files as bytes, with errors that name the file and the cause.

#include <stdexcept>
#include <string>

namespace ondrex {

// A file could not be opened or read. what() is "FILE: cause", for example
// "samples/x.asp: no such file", "dir: is a directory", "f.vbs: permission denied" or
// "f.vbs: read error (Input/output error)".
class EFileError : public std::runtime_error {
public:
    enum class TCause { NotFound, IsDirectory, PermissionDenied, ReadError, OpenError, TooLarge };

    EFileError(std::string path, TCause cause, const std::string& detail = {});

    const std::string& path() const { return path_; }
    TCause cause() const { return cause_; }

private:
    std::string path_;
    TCause cause_;
};

// The whole file, every byte. Throws EFileError.
std::string ReadFileBytes(const std::string& path);

// Sequential reading in pieces, with the same errors.
class TFileReader {
public:
    explicit TFileReader(const std::string& path); // throws EFileError (not found, directory, ...)
    ~TFileReader();
    TFileReader(const TFileReader&) = delete;
    TFileReader& operator=(const TFileReader&) = delete;

    // Up to n bytes into `into`; 0 at the end of the file. Throws EFileError on a read error.
    std::size_t Read(char* into, std::size_t n);
    // The size the file reports (0 for pipes and special files).
    std::size_t SizeHint() const { return sizeHint_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
    std::size_t sizeHint_ = 0;
};

} // namespace ondrex

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

} // namespace ondrex

#pragma once
// A regular file's bytes mapped read-only into memory, so that a large file is read without
// copying it. Anything else (a pipe, a device, an empty file, a map that fails) maps nothing
// and the caller reads it the ordinary way, which also reports any error.
//
// A mapped file that another program shortens while it is read raises SIGBUS; only
// short-lived readers (the command line) map.

#include <cstddef>
#include <string>
#include <string_view>

namespace ondrex {

class TMappedFile {
public:
    explicit TMappedFile(const std::string& path);
    ~TMappedFile();
    TMappedFile(const TMappedFile&) = delete;
    TMappedFile& operator=(const TMappedFile&) = delete;

    bool Mapped() const { return data_ != nullptr; }
    std::string_view Bytes() const { return {data_, size_}; }

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace ondrex

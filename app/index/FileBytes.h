#pragma once
// A file's bytes for one scan: read into memory when small, mapped when large, so a 1 GB
// file among small ones costs address space rather than a 1 GB buffer. The map is the guarded
// TMappedFile, so a file shortened while it is scanned is reported instead of ending the process.

#include <memory>
#include <string>
#include <string_view>

namespace ondrex {

class TMappedFile;

class TFileBytes {
public:
    // Throws EFileError naming the file and the cause.
    explicit TFileBytes(const std::string& path);
    ~TFileBytes();
    TFileBytes(const TFileBytes&) = delete;
    TFileBytes& operator=(const TFileBytes&) = delete;

    std::string_view View() const { return view_; }
    // Throws EFileError when the mapped file lost bytes while it was read.
    void ThrowIfShortened(const std::string& path) const;

private:
    std::string read_; // when the open failed and the reader tried again
    std::unique_ptr<char[]> buffer_;
    std::unique_ptr<TMappedFile> map_;
    std::string_view view_;
};

} // namespace ondrex

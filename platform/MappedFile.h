#pragma once
// A regular file's bytes mapped read-only into memory, so that a large file is read without
// copying it. Anything else (a pipe, a device, an empty file, a map that fails) maps nothing
// and the caller reads it the ordinary way, which also reports any error.
//
// A file that another program shortens while it is mapped would raise SIGBUS on the lost
// pages. While a map lives, a bus error inside it puts zero pages in place of the lost ones
// and marks the map Shortened(): the reader finishes its pass, and its owner reports the file
// instead of the process dying. Bus errors anywhere else go to the handler that was there.
//
// A map that is shown for long (the window's text) asks for TGuard::CopyBeforeChange: it is
// made only when the system grants a read lease on the file, and a program that then opens
// the file for writing or truncates it waits until the map's pages were replaced, at the same
// addresses, by a private copy of the same bytes. Whatever views into the map keeps its text.
// The lease's signal goes to the thread that made the map, which must also be the one that
// ends it.

#include <cstddef>
#include <string>
#include <string_view>

namespace ondrex {

class TMappedFile {
public:
    enum class TGuard { None, CopyBeforeChange };
    explicit TMappedFile(const std::string& path, TGuard guard = TGuard::None);
    ~TMappedFile();
    TMappedFile(const TMappedFile&) = delete;
    TMappedFile& operator=(const TMappedFile&) = delete;

    bool Mapped() const { return data_ != nullptr; }
    std::string_view Bytes() const { return {data_, size_}; }
    // The file lost bytes under the map: what was read past its new end were zeros.
    bool Shortened() const;
    // Throws EFileError (a read error naming the file) when Shortened().
    void ThrowIfShortened(const std::string& path) const;
    // A guarded map whose bytes are now a private copy (another program wanted the file).
    bool Copied() const;
    // Lets go of the memory of the pages from the one holding byte `from` up to the one holding
    // byte `to` (not included): a reader done with them keeps its resident memory small, and
    // calls with consecutive ranges drop every page once. Reading them again reads the file.
    void Drop(std::size_t from, std::size_t to) const;

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    int slot_ = -1;
    int leaseFd_ = -1;
};

} // namespace ondrex

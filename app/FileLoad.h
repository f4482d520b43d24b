#pragma once
// TFileLoad: a file read into the editor's line list a piece at a time, so that the window
// runs between pieces and shows the first screen while the rest is still being read. The
// list holds what was read so far (TqvEditList::LoadPass); the caller scans the lines each
// piece completed. When the file has ended, the list and the bytes are those of a whole load.
//
// A regular file is mapped where the system guards the map (TMappedFile's CopyBeforeChange:
// another program that wants to change the file waits until the map is a private copy), so
// its bytes are neither zeroed nor copied; otherwise, and for UTF-16 text, it is read into a
// block of its size.

#include "platform/TextFile.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace ondrex {

class TMappedFile;
class TqvEditList;

class TFileLoad {
public:
    // Opens the file and empties the list. Throws EFileError before any change: the window
    // takes regular files only (a FIFO would block it).
    TFileLoad(const std::string& path, TqvEditList& lines, std::size_t pieceBytes);
    ~TFileLoad();
    TFileLoad(const TFileLoad&) = delete;
    TFileLoad& operator=(const TFileLoad&) = delete;

    // Reads the next piece and shows it in the list. Throws EFileError on a read error.
    void ReadPiece();
    bool Ended() const { return ended_; }
    // The bytes read so far that end after a settled line break (a CR at the very end may
    // still be followed by its LF); every byte once the file has ended.
    std::string_view WholeLines() const { return std::string_view(base_, wholeEnd_); }
    std::size_t BytesRead() const { return read_; }
    // The file's size as it was opened (UTF-16 text grows when converted).
    std::size_t SizeHint() const { return sizeHint_; }
    // The bytes are the file's own pages (for tests).
    bool Mapped() const { return map_ != nullptr; }

private:
    void readIntoBlock();
    void makeRoom(std::string_view probe);
    void findWholeEnd();
    const void* owner() const;

    std::string path_;
    TqvEditList& lines_;
    std::size_t pieceBytes_;
    std::shared_ptr<const TMappedFile> map_;
    std::unique_ptr<TFileReader> file_; // when not mapped
    std::shared_ptr<std::string> block_;
    const char* base_ = nullptr;
    std::size_t sizeHint_ = 0;
    std::size_t read_ = 0;
    std::size_t wholeEnd_ = 0;
    std::size_t searchedTo_ = 0; // no line break after wholeEnd_ before this
    bool ended_ = false;
};

} // namespace ondrex

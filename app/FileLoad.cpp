#include "app/FileLoad.h"

#include "editor/TqvEditList.h"
#include "platform/HugePages.h"
#include "platform/MappedFile.h"
#include "platform/Utf16.h"

#include <algorithm>
#include <cstring>

namespace ondrex {

TFileLoad::TFileLoad(const std::string& path, TqvEditList& lines, std::size_t pieceBytes)
    : path_(path), lines_(lines), pieceBytes_(std::max<std::size_t>(pieceBytes, 1)) {
    auto map = std::make_shared<const TMappedFile>(path, TMappedFile::TGuard::CopyBeforeChange);
    if (map->Mapped() && !Utf16Mark(map->Bytes())) {
        map_ = std::move(map);
        base_ = map_->Bytes().data();
        sizeHint_ = map_->Bytes().size();
        lines_.BeginLoadInPasses(map_, base_, sizeHint_);
        return;
    }
    map.reset();
    file_ = std::make_unique<TFileReader>(path, TFileKinds::RegularOnly);
    sizeHint_ = file_->SizeHint();
    // The file's size, so that the lines' views into the block never move; only UTF-16 text,
    // or a file that grew meanwhile, needs a larger copy.
    block_ = std::make_shared<std::string>();
    block_->reserve(sizeHint_);
    AdviseHugePages(block_->data(), block_->capacity());
    base_ = block_->data();
    lines_.BeginLoadInPasses(block_, base_, block_->capacity());
}

TFileLoad::~TFileLoad() {
    lines_.EndLoadInPasses(owner());
}

const void* TFileLoad::owner() const {
    return map_ ? static_cast<const void*>(map_.get()) : block_.get();
}

void TFileLoad::ReadPiece() {
    if (ended_) return;
    if (map_) {
        read_ = std::min(read_ + pieceBytes_, map_->Bytes().size());
        ended_ = read_ == map_->Bytes().size();
    } else {
        readIntoBlock();
    }
    lines_.LoadPass(read_);
    findWholeEnd();
    if (ended_) lines_.EndLoadInPasses(owner());
    // Only a file cut short past the guard (its writer no longer waited) reads as zeros.
    if (map_) map_->ThrowIfShortened(path_);
}

void TFileLoad::readIntoBlock() {
    std::string& b = *block_;
    if (b.size() < b.capacity()) {
        const std::size_t used = b.size();
        b.resize(used + std::min(pieceBytes_, b.capacity() - used));
        std::size_t got = 0;
        while (used + got < b.size()) {
            const std::size_t n = file_->Read(b.data() + used + got, b.size() - used - got);
            if (n == 0) {
                ended_ = true;
                break;
            }
            got += n;
        }
        b.resize(used + got);
    }
    if (!ended_ && b.size() == b.capacity()) {
        // Full: a small read tells the end of a file of the expected size from one that goes on.
        char probe[4096];
        const std::size_t got = file_->Read(probe, sizeof probe);
        if (got == 0)
            ended_ = true;
        else
            makeRoom(std::string_view(probe, got));
    }
    read_ = b.size();
}

void TFileLoad::makeRoom(std::string_view probe) {
    auto grown = std::make_shared<std::string>();
    grown->reserve(block_->size() + std::max(block_->size() / 2, pieceBytes_) + probe.size());
    grown->assign(*block_).append(probe);
    lines_.GrowLoadedBlock(grown, grown->data(), grown->capacity());
    block_ = std::move(grown);
    base_ = block_->data();
}

void TFileLoad::findWholeEnd() {
    if (ended_) {
        wholeEnd_ = read_;
        return;
    }
    std::size_t n = read_;
    if (n > wholeEnd_ && base_[n - 1] == '\r') --n; // its LF may come with the next piece
    // Bytes searched by an earlier piece held no break: a long line is walked once.
    const std::size_t searched = std::max(wholeEnd_, searchedTo_);
    searchedTo_ = n;
    while (n > searched && base_[n - 1] != '\n' && base_[n - 1] != '\r')
        --n;
    if (n > searched) wholeEnd_ = n;
}

} // namespace ondrex

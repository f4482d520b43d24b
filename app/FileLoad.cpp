#include "app/FileLoad.h"

#include "editor/TqvEditList.h"

#include <algorithm>
#include <cstring>

namespace ondrex {

TFileLoad::TFileLoad(const std::string& path, TqvEditList& lines, std::size_t pieceBytes)
    : file_(path, TFileKinds::RegularOnly), lines_(lines),
      pieceBytes_(std::max<std::size_t>(pieceBytes, 1)), block_(std::make_shared<std::string>()) {
    // The file's size, so that the lines' views into the block never move; only UTF-16 text,
    // or a file that grew meanwhile, needs a larger copy.
    block_->reserve(file_.SizeHint());
    lines_.BeginLoadInPasses(block_);
}

TFileLoad::~TFileLoad() {
    lines_.EndLoadInPasses(block_);
}

void TFileLoad::ReadPiece() {
    if (ended_) return;
    std::string& b = *block_;
    if (b.size() < b.capacity()) {
        const std::size_t used = b.size();
        b.resize(used + std::min(pieceBytes_, b.capacity() - used));
        std::size_t got = 0;
        while (used + got < b.size()) {
            const std::size_t n = file_.Read(b.data() + used + got, b.size() - used - got);
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
        const std::size_t got = file_.Read(probe, sizeof probe);
        if (got == 0)
            ended_ = true;
        else
            makeRoom(std::string_view(probe, got));
    }
    lines_.LoadPass();
    findWholeEnd();
    if (ended_) lines_.EndLoadInPasses(block_);
}

void TFileLoad::makeRoom(std::string_view probe) {
    auto grown = std::make_shared<std::string>();
    grown->reserve(block_->size() + std::max(block_->size() / 2, pieceBytes_) + probe.size());
    grown->assign(*block_).append(probe);
    lines_.GrowLoadedBlock(grown);
    block_ = std::move(grown);
}

void TFileLoad::findWholeEnd() {
    const std::string& b = *block_;
    if (ended_) {
        wholeEnd_ = b.size();
        return;
    }
    std::size_t n = b.size();
    if (n > wholeEnd_ && b[n - 1] == '\r') --n; // its LF may come with the next piece
    while (n > wholeEnd_ && b[n - 1] != '\n' && b[n - 1] != '\r')
        --n;
    wholeEnd_ = n;
}

} // namespace ondrex

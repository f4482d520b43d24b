#include "editor/LineCheckpoints.h"

#include "editor/DisplayCells.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace ondrex {

namespace {

// Non-zero when any of eight bytes is a tab or not ASCII: the bytes that do not take one
// cell each.
std::uint64_t SpecialBytes(std::uint64_t w) {
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    const std::uint64_t tabs = w ^ 0x0909090909090909ull;
    return (w | ((tabs - kOnes) & ~tabs)) & kHigh;
}

bool HasSpecialByte(const char* bytes, std::size_t words) {
    std::uint64_t special = 0;
    for (std::size_t i = 0; i < words; ++i) {
        std::uint64_t word;
        std::memcpy(&word, bytes + 8 * i, 8);
        special |= SpecialBytes(word);
    }
    return special != 0;
}

// Tokens are scanned in pieces of the line; a token is trusted only when it ends this far
// before the piece's end, since a language may look a few characters past a token to end it.
constexpr std::size_t kPiece = 1 << 20;
constexpr std::size_t kLookAhead = TLineCheckpoints::kSpacing;

} // namespace

TLineCheckpoints::TLineCheckpoints(std::string_view line, int lineIndex, int tabWidth,
                                   TCodePage codePage)
    : line_(line), lineIndex_(lineIndex), tabWidth_(tabWidth), codePage_(codePage) {
    cells_.push_back({});
}

bool TLineCheckpoints::Matches(std::string_view line, int tabWidth, TCodePage codePage) const {
    return line.data() == line_.data() && line.size() == line_.size() && tabWidth == tabWidth_ &&
           codePage == codePage_;
}

// Most text is ASCII without tabs: eight such bytes are eight cells, counted a word at a time.
bool TLineCheckpoints::AddCellCheckpoint() {
    const std::size_t target = cells_.size() * std::size_t(kSpacing);
    if (target >= line_.size()) return false;
    std::size_t pos = std::size_t(cells_.back().Byte);
    int cell = cells_.back().Cell;
    while (pos < target) {
        // Four words at a time while they are plain, then word by word up to the first that
        // is not.
        for (; pos + 32 <= target && !HasSpecialByte(line_.data() + pos, 4); pos += 32)
            cell += 32;
        for (; pos + 8 <= target && !HasSpecialByte(line_.data() + pos, 1); pos += 8)
            cell += 8;
        if (pos >= target) break;
        const unsigned char c = static_cast<unsigned char>(line_[pos]);
        if (c == '\t') {
            cell += TabCells(cell, tabWidth_);
            ++pos;
        } else if (c < 0x80) {
            ++cell;
            ++pos;
        } else {
            const TDecodedChar ch = DecodeChar(codePage_, line_, pos);
            cell += CharCellWidth(ch.codePoint);
            pos += ch.length;
        }
    }
    cells_.push_back({int(pos), cell});
    return true;
}

int TLineCheckpoints::AtByte(int byte) {
    if (byte <= 0) return 0;
    const std::size_t wanted = std::size_t(byte) / std::size_t(kSpacing);
    while (cells_.size() <= wanted && AddCellCheckpoint()) {
    }
    int k = int(std::min(wanted, cells_.size() - 1));
    while (k > 0 && cells_[std::size_t(k)].Byte > byte)
        --k;
    return k;
}

int TLineCheckpoints::AtCell(int cell) {
    while (cells_.back().Cell <= cell && AddCellCheckpoint()) {
    }
    const auto after =
        std::upper_bound(cells_.begin(), cells_.end(), cell,
                         [](int c, const TCellCheckpoint& mark) { return c < mark.Cell; });
    return std::max(int(after - cells_.begin()) - 1, 0);
}

void TLineCheckpoints::StartTokens(TqvCustomHighLighter& highlighter, TqvRangeState startRange) {
    if (!tokens_.empty() && &highlighter == highlighter_ && startRange == startRange_) return;
    highlighter_ = &highlighter;
    startRange_ = scanRange_ = startRange;
    scanFrom_ = 0;
    pieceLength_ = kPiece;
    tokensEnd_ = -1;
    tokens_.assign(1, {0, 0, nullptr, startRange});
}

const TTokenCheckpoint& TLineCheckpoints::Tokens(int k, TqvCustomHighLighter& highlighter,
                                                 TqvRangeState startRange) {
    std::size_t unlimited = SIZE_MAX;
    return *Tokens(k, highlighter, startRange, unlimited);
}

const TTokenCheckpoint* TLineCheckpoints::Tokens(int k, TqvCustomHighLighter& highlighter,
                                                 TqvRangeState startRange, std::size_t& budget) {
    StartTokens(highlighter, startRange);
    // Too far to reach: nothing is spent on it.
    if (tokensEnd_ < 0 && std::size_t(k) >= tokens_.size() &&
        std::size_t(cells_[std::size_t(k)].Byte - scanFrom_) > budget)
        return nullptr;
    while (tokens_.size() <= std::size_t(k))
        if (!ScanTokens(budget)) return nullptr;
    return &tokens_[std::size_t(k)];
}

bool TLineCheckpoints::CellsComplete() const {
    return cells_.size() * std::size_t(kSpacing) >= line_.size();
}

bool TLineCheckpoints::Complete(const TqvCustomHighLighter* highlighter,
                                TqvRangeState startRange) const {
    if (!CellsComplete()) return false;
    return !highlighter || (highlighter == highlighter_ && startRange == startRange_ &&
                            tokens_.size() == cells_.size());
}

void TLineCheckpoints::WorkAhead(TqvCustomHighLighter* highlighter, TqvRangeState startRange) {
    constexpr std::size_t kCellsAtOnce = kPiece / kSpacing;
    if (!CellsComplete()) {
        for (std::size_t i = 0; i < kCellsAtOnce && AddCellCheckpoint(); ++i) {
        }
        return;
    }
    if (!highlighter) return;
    StartTokens(*highlighter, startRange);
    std::size_t unlimited = SIZE_MAX;
    if (tokens_.size() < cells_.size()) ScanTokens(unlimited);
}

bool TLineCheckpoints::WaitingPaintReady() {
    if (waitingPaint_ == INT_MAX || std::size_t(waitingPaint_) >= tokens_.size()) return false;
    waitingPaint_ = INT_MAX;
    return true;
}

// One piece of the line from the last trusted token boundary. When no token of it could be
// trusted (one token is longer), the next try takes a piece twice as long; each try is a
// call of its own, so that work done between events stays short while it can. The cells of
// the piece are found first: every checkpoint the scan passes takes its token.
bool TLineCheckpoints::ScanTokens(std::size_t& budget) {
    if (tokensEnd_ >= 0) {
        TokensEndAt(tokensEnd_, scanRange_);
        return true;
    }
    const std::size_t size = line_.size();
    const std::size_t from = std::size_t(scanFrom_);
    const std::size_t end = std::min(size, from + pieceLength_);
    if (end - from > budget) return false;
    budget -= end - from;
    while (std::size_t(cells_.back().Byte) < end && AddCellCheckpoint()) {
    }
    const std::size_t trusted = end == size ? size : end - std::min(kLookAhead, end - from);
    scanText_.assign(line_.substr(from, end - from));
    highlighter_->SetRangeState(scanRange_);
    highlighter_->StartLine(scanText_.c_str(), lineIndex_);
    bool progressed = false;
    while (!highlighter_->AtLineEnd()) {
        const int start = int(from) + highlighter_->TokenStart();
        const TqvHighLightAttributes* attribute = highlighter_->TokenAttribute();
        const TqvRangeState after = highlighter_->RangeState();
        highlighter_->NextToken();
        const int stop = int(from) + highlighter_->TokenStart();
        if (std::size_t(stop) > trusted) break;
        for (std::size_t m = tokens_.size(); m < cells_.size() && cells_[m].Byte < stop; ++m)
            tokens_.push_back({start, stop, attribute, after});
        scanFrom_ = stop;
        scanRange_ = after;
        progressed = true;
    }
    // The tokens end at a NUL of the line, or at its end.
    const std::size_t at = from + std::size_t(highlighter_->TokenStart());
    if (highlighter_->AtLineEnd() && (at < end || end == size) && std::size_t(scanFrom_) == at)
        TokensEndAt(int(at), scanRange_);
    else if (!progressed)
        pieceLength_ *= 2;
    // A piece that had to grow for one long token is not kept.
    if (progressed || tokensEnd_ >= 0) {
        pieceLength_ = kPiece;
        if (scanText_.capacity() > 2 * kPiece) std::string().swap(scanText_);
    }
    return true;
}

// Checkpoints found later lie past the tokens as well.
void TLineCheckpoints::TokensEndAt(int end, TqvRangeState range) {
    tokensEnd_ = end;
    scanRange_ = range;
    for (std::size_t m = tokens_.size(); m < cells_.size(); ++m)
        tokens_.push_back({end, end, nullptr, range});
}

TLineCheckpoints* TLineCheckpointCache::For(int lineIndex, std::string_view line, int tabWidth,
                                            TCodePage codePage) {
    if (!TLineCheckpoints::Needed(line)) return nullptr;
    ++clock_;
    auto entry = std::find_if(entries_.begin(), entries_.end(),
                              [&](const TEntry& e) { return e.Line == lineIndex; });
    if (entry == entries_.end()) {
        if (entries_.size() < kLines)
            entry = entries_.insert(entries_.end(), TEntry{});
        else
            entry = std::min_element(
                entries_.begin(), entries_.end(),
                [](const TEntry& a, const TEntry& b) { return a.LastUse < b.LastUse; });
        entry->Checkpoints.reset();
    }
    entry->Line = lineIndex;
    entry->LastUse = clock_;
    if (!entry->Checkpoints || !entry->Checkpoints->Matches(line, tabWidth, codePage))
        entry->Checkpoints =
            std::make_unique<TLineCheckpoints>(line, lineIndex, tabWidth, codePage);
    return entry->Checkpoints.get();
}

void TLineCheckpointCache::Forget(int lineIndex) {
    std::erase_if(entries_, [&](const TEntry& e) { return e.Line == lineIndex; });
}

} // namespace ondrex

#include "editor/LineCheckpoints.h"

#include "editor/DisplayCells.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace ondrex {

namespace {

// Whether any of eight bytes is a tab or not ASCII: the bytes that do not take one cell each.
bool HasSpecialByte(std::uint64_t w) {
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    const std::uint64_t tabs = w ^ 0x0909090909090909ull;
    return ((w | ((tabs - kOnes) & ~tabs)) & kHigh) != 0;
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
        for (std::uint64_t word; pos + 8 <= target; pos += 8, cell += 8) {
            std::memcpy(&word, line_.data() + pos, 8);
            if (HasSpecialByte(word)) break;
        }
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

const TTokenCheckpoint& TLineCheckpoints::Tokens(int k, TqvCustomHighLighter& highlighter,
                                                 TqvRangeState startRange) {
    if (tokens_.empty() || &highlighter != highlighter_ || startRange != startRange_) {
        highlighter_ = &highlighter;
        startRange_ = scanRange_ = startRange;
        scanFrom_ = 0;
        tokensEnd_ = -1;
        tokens_.assign(1, {0, 0, nullptr, startRange});
    }
    while (tokens_.size() <= std::size_t(k))
        ScanTokens();
    return tokens_[std::size_t(k)];
}

// One piece of the line from the last trusted token boundary; a piece in which no token
// could be trusted (one token longer than it) is taken again twice as long.
void TLineCheckpoints::ScanTokens() {
    if (tokensEnd_ >= 0) return TokensEndAt(tokensEnd_, scanRange_);
    const std::size_t size = line_.size();
    for (std::size_t length = kPiece;; length *= 2) {
        const std::size_t from = std::size_t(scanFrom_);
        const std::size_t end = std::min(size, from + length);
        const std::size_t trusted = end == size ? size : end - std::min(kLookAhead, end - from);
        const std::string text(line_.substr(from, end - from));
        highlighter_->SetRangeState(scanRange_);
        highlighter_->StartLine(text.c_str(), lineIndex_);
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
            return TokensEndAt(int(at), scanRange_);
        if (progressed) return;
    }
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

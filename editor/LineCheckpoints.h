#pragma once
// Checkpoints along one long line, so that a column far along it is laid out and highlighted
// without going through everything before it. Checkpoint k (k >= 1) stands at the first
// character boundary at or after k * kSpacing bytes and keeps the display cell there and the
// highlighter's token that holds that byte, with the range state the token after it starts
// from. Checkpoint 0 is the line's start. They are found lazily, only as far as asked for.
//
// The line must stay as it was given: the owner drops its checkpoints when it changes. The
// token checkpoints are found again when the highlighter or its state at the line's start
// differs from the last time.

#include "editor/DisplayCells.h"
#include "highlighters/qvHighlighter.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

// The token holding a checkpoint's byte, [Start, End) (empty where the tokens ended before
// it, at a NUL), and the range state scanning resumes with at End.
struct TTokenCheckpoint {
    int Start = 0;
    int End = 0;
    const TqvHighLightAttributes* Attribute = nullptr;
    TqvRangeState RangeAfter = 0;
};

class TLineCheckpoints {
public:
    static constexpr int kSpacing = 1 << 16;
    // Shorter lines are laid out and highlighted whole.
    static bool Needed(std::string_view line) { return line.size() > std::size_t(kSpacing); }

    TLineCheckpoints(std::string_view line, int lineIndex, int tabWidth, TCodePage codePage);

    bool Matches(std::string_view line, int tabWidth, TCodePage codePage) const;

    // The last checkpoint at or before a byte, or before (or at) a cell.
    int AtByte(int byte);
    int AtCell(int cell);
    const TCellCheckpoint& Cells(int k) const { return cells_[std::size_t(k)]; }
    // Scans the tokens as far as checkpoint k when they are not known yet; `startRange` is
    // the highlighter's state at the line's start.
    const TTokenCheckpoint& Tokens(int k, TqvCustomHighLighter& highlighter,
                                   TqvRangeState startRange);
    // The same, scanning at most about `budget` bytes of the line (what it scans is taken
    // from it): nullptr when that is not enough. What was scanned stays known.
    const TTokenCheckpoint* Tokens(int k, TqvCustomHighLighter& highlighter,
                                   TqvRangeState startRange, std::size_t& budget);

    // Whether every checkpoint is known: the cells, and the tokens of this highlighter and
    // start state (with none, the cells only).
    bool Complete(const TqvCustomHighLighter* highlighter, TqvRangeState startRange) const;
    // A little more of what Complete misses: the cells of a MiB of the line, else one piece
    // of tokens. A token longer than a piece is scanned whole in one go.
    void WorkAhead(TqvCustomHighLighter* highlighter, TqvRangeState startRange);

    // A row was painted without the tokens of checkpoint k; answers once whether they are
    // known now, so that the owner repaints it.
    void PaintedWithout(int k) { waitingPaint_ = std::min(waitingPaint_, k); }
    bool WaitingPaintReady();

private:
    bool AddCellCheckpoint();
    bool CellsComplete() const;
    void StartTokens(TqvCustomHighLighter& highlighter, TqvRangeState startRange);
    bool ScanTokens(std::size_t& budget);
    void TokensEndAt(int end, TqvRangeState range);

    std::string_view line_;
    int lineIndex_;
    int tabWidth_;
    TCodePage codePage_;
    TqvCustomHighLighter* highlighter_ = nullptr;
    TqvRangeState startRange_ = 0;
    std::vector<TCellCheckpoint> cells_;
    std::vector<TTokenCheckpoint> tokens_;
    // Where token scanning goes on: a token boundary and the state there.
    int scanFrom_ = 0;
    TqvRangeState scanRange_ = 0;
    std::size_t pieceLength_ = 0;
    std::string scanText_; // the highlighter reads a terminated copy
    int tokensEnd_ = -1;   // known once the scan reached a NUL or the line's end
    int waitingPaint_ = INT_MAX;
};

// The checkpoints of the long lines in use, by line index: a few dozen bytes for every 64 KiB
// of a line, so a screenful of long lines is kept.
class TLineCheckpointCache {
public:
    // The line's checkpoints, made (again) when the line or the layout's settings changed;
    // nullptr for a line short enough to need none.
    TLineCheckpoints* For(int lineIndex, std::string_view line, int tabWidth, TCodePage codePage);
    // The line's text changed.
    void Forget(int lineIndex);
    // Lines were inserted or deleted.
    void Clear() { entries_.clear(); }

private:
    static constexpr std::size_t kLines = 256;
    struct TEntry {
        int Line = 0;
        unsigned LastUse = 0;
        std::unique_ptr<TLineCheckpoints> Checkpoints;
    };
    std::vector<TEntry> entries_;
    unsigned clock_ = 0;
};

} // namespace ondrex

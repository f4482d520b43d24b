#pragma once
// Scroll-bar vocabulary of windowed controls: the bar's state and the request codes a
// control receives when the user works a bar.

namespace ondrex {

enum class TScrollBarKind { sbHorizontal, sbVertical };

// A bar covers positions Min..Max of which Page are visible at once, so the thumb can go
// from Min to Max - Page + 1. A bar whose range fits in its page is not needed.
struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;

    bool operator==(const TScrollInfo&) const = default;
    int MaxPos() const { return Page > 1 ? Max - Page + 1 : Max; }
    bool Needed() const { return MaxPos() > Min; }
};

// Request codes (the same numbers for both bars: LINEUP is LINELEFT and so on).
enum : int {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4, // the thumb was released at Pos
    SB_THUMBTRACK = 5,    // the thumb is being dragged, now at Pos
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};

// The first row a vertical request asks for, before the control clamps it; `bottom` is where
// SB_BOTTOM goes. Requests that move no rows (SB_ENDSCROLL) leave `top` as it is.
inline int RequestedTopRow(int code, int top, int page, int pos, int bottom) {
    switch (code) {
    case SB_LINEUP:
        return top - 1;
    case SB_LINEDOWN:
        return top + 1;
    case SB_PAGEUP:
        return top - page;
    case SB_PAGEDOWN:
        return top + page;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        return pos;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return bottom;
    default:
        return top;
    }
}

} // namespace ondrex

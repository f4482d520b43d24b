#pragma once
// The small value types of the editor view: its option set, the status-change flags it
// reports, the selection modes and the caret shapes.

#include <cstdint>

namespace ondrex {

using TqvEditorOptions = std::uint16_t;
enum TqvEditorOption : TqvEditorOptions {
    qveoAutoIndent = 1,
    qveoDragDropEditing = 2,
    qveoDropFiles = 4,
    qveoHalfPageScroll = 8,
    qveoNoCaret = 16,
    qveoNoSelection = 32,
    qveoScrollPastEol = 64,
    qveoShowScrollHint = 128,
    qveoTabsToSpaces = 256,
    qveoSmartTabs = 512,
};
constexpr TqvEditorOptions qvDefaultEditorOptions = 963;

using TqvStatusChanges = std::uint8_t;
enum TqvStatusChange : TqvStatusChanges {
    scCaretColumn = 2,
    scCaretLine = 4,
    scLeftColumn = 8,
    scTopLine = 16,
    scInsertMode = 32,
    scModified = 64,
    scSelection = 128,
};

enum TSelectionMode : std::uint8_t { smNormal, smColumn, smLine };

enum TCaretType : std::uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };

enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

} // namespace ondrex

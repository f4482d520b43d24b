#pragma once
// Editor command codes and their names. The keystroke table maps keys to these codes and the
// command processor runs them; codes from ecUserFirst on belong to the application.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ondrex {

using TqvEditorCommand = std::uint16_t;

constexpr TqvEditorCommand ecNone = 0;

// Caret movement.
constexpr TqvEditorCommand ecLeft = 1;
constexpr TqvEditorCommand ecRight = 2;
constexpr TqvEditorCommand ecUp = 3;
constexpr TqvEditorCommand ecDown = 4;
constexpr TqvEditorCommand ecWordLeft = 5;
constexpr TqvEditorCommand ecWordRight = 6;
constexpr TqvEditorCommand ecLineStart = 7;
constexpr TqvEditorCommand ecLineEnd = 8;
constexpr TqvEditorCommand ecPageUp = 9;
constexpr TqvEditorCommand ecPageDown = 10;
constexpr TqvEditorCommand ecPageLeft = 11;
constexpr TqvEditorCommand ecPageRight = 12;
constexpr TqvEditorCommand ecPageTop = 13;
constexpr TqvEditorCommand ecPageBottom = 14;
constexpr TqvEditorCommand ecEditorTop = 15;
constexpr TqvEditorCommand ecEditorBottom = 16;
constexpr TqvEditorCommand ecGotoXY = 17;

// The same movements extending the selection: movement code + ecSelection.
constexpr TqvEditorCommand ecSelection = 100;
constexpr TqvEditorCommand ecSelLeft = ecLeft + ecSelection;
constexpr TqvEditorCommand ecSelRight = ecRight + ecSelection;
constexpr TqvEditorCommand ecSelUp = ecUp + ecSelection;
constexpr TqvEditorCommand ecSelDown = ecDown + ecSelection;
constexpr TqvEditorCommand ecSelWordLeft = ecWordLeft + ecSelection;
constexpr TqvEditorCommand ecSelWordRight = ecWordRight + ecSelection;
constexpr TqvEditorCommand ecSelLineStart = ecLineStart + ecSelection;
constexpr TqvEditorCommand ecSelLineEnd = ecLineEnd + ecSelection;
constexpr TqvEditorCommand ecSelPageUp = ecPageUp + ecSelection;
constexpr TqvEditorCommand ecSelPageDown = ecPageDown + ecSelection;
constexpr TqvEditorCommand ecSelPageLeft = ecPageLeft + ecSelection;
constexpr TqvEditorCommand ecSelPageRight = ecPageRight + ecSelection;
constexpr TqvEditorCommand ecSelPageTop = ecPageTop + ecSelection;
constexpr TqvEditorCommand ecSelPageBottom = ecPageBottom + ecSelection;
constexpr TqvEditorCommand ecSelEditorTop = ecEditorTop + ecSelection;
constexpr TqvEditorCommand ecSelEditorBottom = ecEditorBottom + ecSelection;
constexpr TqvEditorCommand ecSelGotoXY = ecGotoXY + ecSelection;

constexpr TqvEditorCommand ecSelectAll = 199;

// Text changes.
constexpr TqvEditorCommand ecDeleteLastChar = 401;
constexpr TqvEditorCommand ecDeleteChar = 402;
constexpr TqvEditorCommand ecDeleteWord = 403;
constexpr TqvEditorCommand ecDeleteLastWord = 404;
constexpr TqvEditorCommand ecDeleteBOL = 405;
constexpr TqvEditorCommand ecDeleteEOL = 406;
constexpr TqvEditorCommand ecDeleteLine = 407;
constexpr TqvEditorCommand ecClearAll = 408;
constexpr TqvEditorCommand ecLineBreak = 409;
constexpr TqvEditorCommand ecInsertLine = 410;
constexpr TqvEditorCommand ecChar = 411;
constexpr TqvEditorCommand ecImeStr = 500;

// Clipboard, undo, modes, scrolling.
constexpr TqvEditorCommand ecUndo = 601;
constexpr TqvEditorCommand ecRedo = 602;
constexpr TqvEditorCommand ecCut = 603;
constexpr TqvEditorCommand ecCopy = 604;
constexpr TqvEditorCommand ecPaste = 605;
constexpr TqvEditorCommand ecScrollUp = 606;
constexpr TqvEditorCommand ecScrollDown = 607;
constexpr TqvEditorCommand ecScrollLeft = 608;
constexpr TqvEditorCommand ecScrollRight = 609;
constexpr TqvEditorCommand ecInsertMode = 610;
constexpr TqvEditorCommand ecOverwriteMode = 611;
constexpr TqvEditorCommand ecToggleMode = 612;
constexpr TqvEditorCommand ecBlockIndent = 613;
constexpr TqvEditorCommand ecBlockUnindent = 614;
constexpr TqvEditorCommand ecNormalSelect = 615;
constexpr TqvEditorCommand ecColumnSelect = 616;
constexpr TqvEditorCommand ecLineSelect = 617;
constexpr TqvEditorCommand ecTab = 618;
constexpr TqvEditorCommand ecShiftTab = 619;
constexpr TqvEditorCommand ecMatchBracket = 620;

// Bookmarks: ecGotoMarker0 + n and ecSetMarker0 + n for n = 0..9.
constexpr TqvEditorCommand ecGotoMarker0 = 701;
constexpr TqvEditorCommand ecGotoMarker1 = 702;
constexpr TqvEditorCommand ecGotoMarker2 = 703;
constexpr TqvEditorCommand ecGotoMarker3 = 704;
constexpr TqvEditorCommand ecGotoMarker4 = 705;
constexpr TqvEditorCommand ecGotoMarker5 = 706;
constexpr TqvEditorCommand ecGotoMarker6 = 707;
constexpr TqvEditorCommand ecGotoMarker7 = 708;
constexpr TqvEditorCommand ecGotoMarker8 = 709;
constexpr TqvEditorCommand ecGotoMarker9 = 710;
constexpr TqvEditorCommand ecSetMarker0 = 751;
constexpr TqvEditorCommand ecSetMarker1 = 752;
constexpr TqvEditorCommand ecSetMarker2 = 753;
constexpr TqvEditorCommand ecSetMarker3 = 754;
constexpr TqvEditorCommand ecSetMarker4 = 755;
constexpr TqvEditorCommand ecSetMarker5 = 756;
constexpr TqvEditorCommand ecSetMarker6 = 757;
constexpr TqvEditorCommand ecSetMarker7 = 758;
constexpr TqvEditorCommand ecSetMarker8 = 759;
constexpr TqvEditorCommand ecSetMarker9 = 760;

constexpr TqvEditorCommand ecUserFirst = 1001;

struct TCommandName {
    TqvEditorCommand Command;
    std::string_view Name;
};

// Every named code with its identifier, in code order.
std::span<const TCommandName> EditorCommandNames();

// The name is compared without regard to case; empty when no code has that name.
std::optional<TqvEditorCommand> CommandFromName(std::string_view name);
// Empty for a code without a name.
std::optional<std::string_view> CommandToName(TqvEditorCommand command);
// The name, or the decimal number for a code without one.
std::string CommandToText(TqvEditorCommand command);

} // namespace ondrex

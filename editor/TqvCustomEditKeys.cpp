// Keys and characters through the keystroke table, the frame every command runs in, and
// the bookmarks.

#include "editor/TqvCustomEdit.h"

#include "editor/TqvScopedGuards.h"
#include "platform/CodePage.h"

namespace ondrex {

// ---- Keyboard --------------------------------------------------------------------------

void TqvCustomEdit::KeyDown(std::uint16_t& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    const TqvEditorCommand command = keystrokes_.TranslateKey(key, shift, chordPrefix_);
    keyWasCommand_ = command != ecNone;
    if (!keyWasCommand_) return;
    key = 0;
    ExecuteCommand(command, {}, nullptr);
}

// The character message that follows a key which ran a command is not typed as well.
void TqvCustomEdit::KeyPress(std::string& character) {
    if (imePendingCount_ > 0) {
        --imePendingCount_;
        return;
    }
    if (keyWasCommand_) {
        keyWasCommand_ = false;
        return;
    }
    TCustomControl::KeyPress(character);
    ExecuteCommand(ecChar, character, nullptr);
}

// The input method's text is inserted at once; the characters the host sends after it are
// swallowed one by one.
void TqvCustomEdit::ImeResult(const std::string& text) {
    const TCodePage codePage = ActiveCodePage();
    int characters = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += CharLength(codePage, text, pos))
        ++characters;
    imePendingCount_ = characters;
    std::string data = text;
    ExecuteCommand(ecImeStr, {}, &data);
}

// ---- Commands --------------------------------------------------------------------------

void TqvCustomEdit::DoOnProcessCommand(TqvEditorCommand& command, std::string& character,
                                       void* data) {
    if (command >= ecUserFirst)
        OnProcessUserCommand(this, command, character, data);
    else
        OnProcessCommand(this, command, character, data);
}

// Codes from ecUserFirst on are the application's: only its hook sees them.
void TqvCustomEdit::ExecuteCommand(TqvEditorCommand command, std::string character, void* data) {
    DoOnProcessCommand(command, character, data);
    if (command == ecNone || command >= ecUserFirst) return;
    {
        TqvPaintLock lock(*this);
        CommandProcessor(command, character, data);
    }
    OnCommandDone(this);
}

namespace {

// Commands that change the text or the undo state: nothing while ReadOnly.
bool ChangesText(TqvEditorCommand command) {
    switch (command) {
    case ecDeleteLastChar:
    case ecDeleteChar:
    case ecDeleteWord:
    case ecDeleteLastWord:
    case ecDeleteBOL:
    case ecDeleteEOL:
    case ecDeleteLine:
    case ecClearAll:
    case ecLineBreak:
    case ecInsertLine:
    case ecChar:
    case ecImeStr:
    case ecUndo:
    case ecRedo:
    case ecCut:
    case ecPaste:
    case ecBlockIndent:
    case ecBlockUnindent:
    case ecTab:
        return true;
    default:
        return false;
    }
}

// Printable: code 32 and above but not 127 (a multi-byte character's lead byte counts).
bool IsTypable(const std::string& character) {
    if (character.empty()) return false;
    const auto first = std::uint8_t(character.front());
    return first >= 32 && first != 127;
}

} // namespace

void TqvCustomEdit::CommandProcessor(TqvEditorCommand command, const std::string& character,
                                     void* data) {
    if (ReadOnly() && ChangesText(command)) return;
    if (MovementCommand(command, data) || EditingCommand(command, character, data)) return;
    if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
        if (bookMarkOptions_.EnableKeys()) GotoBookmark(command - ecGotoMarker0);
        return;
    }
    if (command >= ecSetMarker0 && command <= ecSetMarker9) {
        if (!bookMarkOptions_.EnableKeys()) return;
        const int number = command - ecSetMarker0;
        const TMark* mark = Bookmark(number);
        if (mark && mark->Line() == CaretLine())
            ClearBookmark(number);
        else
            SetBookmark(number, CaretColumn(), CaretLine());
        return;
    }
    switch (command) {
    case ecScrollUp:
    case ecScrollDown:
    case ecScrollLeft:
    case ecScrollRight:
        ScrollCommand(command);
        break;
    case ecInsertMode:
        SetInsertMode(true);
        break;
    case ecOverwriteMode:
        SetInsertMode(false);
        break;
    case ecToggleMode:
        SetInsertMode(!insertMode_);
        break;
    case ecNormalSelect:
        SetSelectionMode(smNormal);
        break;
    case ecColumnSelect:
        SetSelectionMode(smColumn);
        break;
    case ecLineSelect:
        SetSelectionMode(smLine);
        break;
    case ecMatchBracket:
        FindMatchingBracket();
        break;
    case ecCopy:
        CopyToClipboard();
        break;
    default: // ecShiftTab and codes without a meaning change nothing
        break;
    }
}

// Commands that change the text; false for any other command.
bool TqvCustomEdit::EditingCommand(TqvEditorCommand command, const std::string& character,
                                   void* data) {
    if (ChangesText(command)) SnapCaretToCharacter();
    switch (command) {
    case ecChar:
        if (IsTypable(character)) TypeText(character, false);
        return true;
    case ecImeStr:
        if (data) TypeText(*static_cast<const std::string*>(data), true);
        return true;
    case ecDeleteLastChar:
        DeleteLastChar();
        return true;
    case ecDeleteChar:
        DeleteChar();
        return true;
    case ecDeleteWord:
    case ecDeleteLastWord:
        DeleteWordCommand(command == ecDeleteWord);
        return true;
    case ecDeleteBOL:
    case ecDeleteEOL:
        DeleteToLineEdge(command == ecDeleteBOL);
        return true;
    case ecDeleteLine:
        DeleteLine();
        return true;
    case ecClearAll:
        // The records point into the text that is gone.
        lines_.Clear();
        ClearUndo();
        return true;
    case ecLineBreak:
    case ecInsertLine:
        LineBreak(command == ecLineBreak);
        return true;
    case ecTab:
        InsertTab();
        return true;
    case ecBlockIndent:
        BlockIndent();
        return true;
    case ecBlockUnindent:
        BlockUnindent();
        return true;
    case ecUndo:
        Undo();
        return true;
    case ecRedo:
        Redo();
        return true;
    case ecCut:
        CutToClipboard();
        return true;
    case ecPaste:
        PasteFromClipboard();
        return true;
    default:
        return false;
    }
}

// ---- Bookmarks -------------------------------------------------------------------------

TMark* TqvCustomEdit::Bookmark(int number) const {
    return number >= 0 && number <= 9 ? bookmarks_[std::size_t(number)] : nullptr;
}

void TqvCustomEdit::SetBookmark(int number, int column, int line) {
    if (number < 0 || number > 9 || line < 1 || line > LineCount()) return;
    auto mark = std::make_unique<TMark>(this);
    mark->SetLine(line);
    mark->SetColumn(column);
    mark->SetImageIndex(number);
    mark->SetBookmarkNumber(number);
    mark->SetVisible(true);
    mark->SetInternalImage(bookMarkOptions_.BookmarkImages() == nullptr);
    TMark* offered = mark.get();
    OnPlaceBookmark(this, offered);
    if (!offered) return;
    // One bookmark per line.
    for (int i = 0; i <= 9; ++i)
        if (bookmarks_[std::size_t(i)] && bookmarks_[std::size_t(i)]->Line() == mark->Line())
            ClearBookmark(i);
    ClearBookmark(number);
    bookmarks_[std::size_t(number)] = mark.get();
    marks_.Add(std::move(mark));
}

void TqvCustomEdit::ClearBookmark(int number) {
    TMark* mark = Bookmark(number);
    if (!mark) return;
    bookmarks_[std::size_t(number)] = nullptr;
    marks_.Remove(mark);
}

void TqvCustomEdit::GotoBookmark(int number) {
    const TMark* mark = Bookmark(number);
    if (mark && mark->Line() <= LineCount()) SetCaretPosition({mark->Column(), mark->Line()});
}

// A bookmark taken out of the mark list directly must not leave a reference behind.
void TqvCustomEdit::MarkListChanged(TObject*) {
    for (TMark*& mark : bookmarks_)
        if (mark && marks_.IndexOf(mark) < 0) mark = nullptr;
    InvalidateGutterLines(-1, -1);
}

} // namespace ondrex

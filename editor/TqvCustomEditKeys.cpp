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

void TqvCustomEdit::CommandProcessor(TqvEditorCommand command, const std::string&, void*) {
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
    default:
        break;
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

#include "editor/TqvKeyStrokes.h"

#include <algorithm>
#include <array>

namespace ondrex {

namespace {

constexpr TShiftState ssShiftCtrl = ssShift | ssCtrl;

struct TDefaultBinding {
    std::uint16_t Key;
    TShiftState Shift;
    TqvEditorCommand Command;
};

constexpr auto kDefaultBindings = [] {
    constexpr TDefaultBinding head[] = {
        {VK_UP, 0, ecUp},
        {VK_UP, ssShift, ecSelUp},
        {VK_UP, ssCtrl, ecScrollUp},
        {VK_DOWN, 0, ecDown},
        {VK_DOWN, ssShift, ecSelDown},
        {VK_DOWN, ssCtrl, ecScrollDown},
        {VK_LEFT, 0, ecLeft},
        {VK_LEFT, ssShift, ecSelLeft},
        {VK_LEFT, ssCtrl, ecWordLeft},
        {VK_LEFT, ssShiftCtrl, ecSelWordLeft},
        {VK_RIGHT, 0, ecRight},
        {VK_RIGHT, ssShift, ecSelRight},
        {VK_RIGHT, ssCtrl, ecWordRight},
        {VK_RIGHT, ssShiftCtrl, ecSelWordRight},
        {VK_NEXT, 0, ecPageDown},
        {VK_NEXT, ssShift, ecSelPageDown},
        {VK_NEXT, ssCtrl, ecPageBottom},
        {VK_NEXT, ssShiftCtrl, ecSelPageBottom},
        {VK_PRIOR, 0, ecPageUp},
        {VK_PRIOR, ssShift, ecSelPageUp},
        {VK_PRIOR, ssCtrl, ecPageTop},
        {VK_PRIOR, ssShiftCtrl, ecSelPageTop},
        {VK_HOME, 0, ecLineStart},
        {VK_HOME, ssShift, ecSelLineStart},
        {VK_HOME, ssCtrl, ecEditorTop},
        {VK_HOME, ssShiftCtrl, ecSelEditorTop},
        {VK_END, 0, ecLineEnd},
        {VK_END, ssShift, ecSelLineEnd},
        {VK_END, ssCtrl, ecEditorBottom},
        {VK_END, ssShiftCtrl, ecSelEditorBottom},
        {VK_INSERT, 0, ecToggleMode},
        {VK_INSERT, ssCtrl, ecCopy},
        {VK_INSERT, ssShift, ecPaste},
        {VK_DELETE, 0, ecDeleteChar},
        {VK_DELETE, ssShift, ecCut},
        {VK_BACK, 0, ecDeleteLastChar},
        {VK_BACK, ssCtrl, ecDeleteLastWord},
        {VK_BACK, ssAlt, ecUndo},
        {VK_BACK, ssShift | ssAlt, ecRedo},
        {VK_RETURN, 0, ecLineBreak},
        {'A', ssCtrl, ecSelectAll},
        {'C', ssCtrl, ecCopy},
        {'I', ssShiftCtrl, ecBlockIndent},
        {'M', ssCtrl, ecLineBreak},
        {'N', ssCtrl, ecInsertLine},
        {'T', ssCtrl, ecDeleteWord},
        {'U', ssShiftCtrl, ecBlockUnindent},
        {'V', ssCtrl, ecPaste},
        {'X', ssCtrl, ecCut},
        {'Y', ssCtrl, ecDeleteLine},
        {'Y', ssShiftCtrl, ecDeleteEOL},
        {'Z', ssCtrl, ecUndo},
        {'Z', ssShiftCtrl, ecRedo},
    };
    constexpr TDefaultBinding tail[] = {
        {'N', ssShiftCtrl, ecNormalSelect}, {'C', ssShiftCtrl, ecColumnSelect},
        {'L', ssShiftCtrl, ecLineSelect},   {VK_TAB, 0, ecTab},
        {VK_TAB, ssShift, ecShiftTab},      {'B', ssShiftCtrl, ecMatchBracket},
    };
    constexpr std::size_t headSize = std::size(head);
    std::array<TDefaultBinding, headSize + 20 + std::size(tail)> all{};
    std::ranges::copy(head, all.begin());
    // Ctrl+digit jumps to a bookmark, Shift+Ctrl+digit places one.
    for (std::uint16_t n = 0; n < 10; ++n) {
        all[headSize + n] = {std::uint16_t('0' + n), ssCtrl, TqvEditorCommand(ecGotoMarker0 + n)};
        all[headSize + 10 + n] = {std::uint16_t('0' + n), ssShiftCtrl,
                                  TqvEditorCommand(ecSetMarker0 + n)};
    }
    std::ranges::copy(tail, all.begin() + headSize + 20);
    return all;
}();

static_assert(kDefaultBindings.size() == 79);

} // namespace

TShortCut TqvKeyStroke::ShortCut() const {
    return ondrex::ShortCut(key_, shift_);
}

TShortCut TqvKeyStroke::ShortCut2() const {
    return ondrex::ShortCut(key2_, shift2_);
}

void TqvKeyStroke::SetShortCut(TShortCut value) {
    if (value != 0) {
        int found = strokes_->LookUpShortcutPair(value, ShortCut2());
        if (found >= 0 && found != Index()) throw EqvKeyError("Shortcut already exists");
    }
    ShortCutToKey(value, key_, shift_);
}

void TqvKeyStroke::SetShortCut2(TShortCut value) {
    if (value != 0) {
        int found = strokes_->LookUpShortcutPair(ShortCut(), value);
        if (found >= 0 && found != Index()) throw EqvKeyError("Shortcut already exists");
    }
    ShortCutToKey(value, key2_, shift2_);
}

std::string TqvKeyStroke::DisplayName() const {
    std::string name = CommandToText(command_) + " - " + ShortCutToText(ShortCut());
    if (ShortCut2() != 0) name += " " + ShortCutToText(ShortCut2());
    return name;
}

int TqvKeyStroke::Index() const {
    return strokes_->IndexOf(this);
}

TqvKeyStroke& TqvKeyStrokes::Add() {
    items_.push_back(std::unique_ptr<TqvKeyStroke>(new TqvKeyStroke(this)));
    return *items_.back();
}

void TqvKeyStrokes::Assign(const TqvKeyStrokes& source) {
    if (&source == this) return;
    Clear();
    for (const auto& from : source.items_) {
        TqvKeyStroke& to = Add();
        to.key_ = from->key_;
        to.shift_ = from->shift_;
        to.key2_ = from->key2_;
        to.shift2_ = from->shift2_;
        to.command_ = from->command_;
    }
}

void TqvKeyStrokes::Clear() {
    items_.clear();
}

void TqvKeyStrokes::Delete(int index) {
    items_.erase(items_.begin() + index);
}

int TqvKeyStrokes::IndexOf(const TqvKeyStroke* stroke) const {
    return FindFirst([stroke](const TqvKeyStroke& s) { return &s == stroke; });
}

template <class Pred> int TqvKeyStrokes::FindFirst(Pred pred) const {
    auto it = std::ranges::find_if(items_, [&](const auto& stroke) { return pred(*stroke); });
    return it == items_.end() ? -1 : int(it - items_.begin());
}

int TqvKeyStrokes::LookUpKey(std::uint16_t key, TShiftState shift) const {
    return FindFirst(
        [&](const TqvKeyStroke& s) { return s.key_ == key && s.shift_ == shift && s.key2_ == 0; });
}

int TqvKeyStrokes::LookUpChord(std::uint16_t key1, TShiftState shift1, std::uint16_t key2,
                               TShiftState shift2) const {
    return FindFirst([&](const TqvKeyStroke& s) {
        return s.key_ == key1 && s.shift_ == shift1 && s.key2_ == key2 && s.shift2_ == shift2;
    });
}

int TqvKeyStrokes::LookUpShortcutPair(TShortCut shortCut, TShortCut shortCut2) const {
    return FindFirst([&](const TqvKeyStroke& s) {
        return s.ShortCut() == shortCut && s.ShortCut2() == shortCut2;
    });
}

void TqvKeyStrokes::LoadDefaultBindings() {
    Clear();
    for (const TDefaultBinding& binding : kDefaultBindings) {
        TqvKeyStroke& stroke = Add();
        stroke.key_ = binding.Key;
        stroke.shift_ = binding.Shift;
        stroke.command_ = binding.Command;
    }
}

TqvEditorCommand TqvKeyStrokes::TranslateKey(std::uint16_t key, TShiftState shift,
                                             TKeyChordPrefix& prefix) const {
    shift &= ssModifiers;
    int found = LookUpChord(prefix.Key, prefix.Shift, key, shift);
    if (found < 0) found = LookUpKey(key, shift);
    TqvEditorCommand command = found >= 0 ? items_[std::size_t(found)]->command_ : ecNone;
    if (command == ecNone && key >= 0x1E && key <= 0x91)
        prefix = {key, shift};
    else
        prefix = {};
    return command;
}

} // namespace ondrex

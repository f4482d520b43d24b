#pragma once
// The editor's key bindings: each binding names a command and one key, or a chord of two
// keys, each with its own modifiers. Lookups return the first matching binding, so order
// matters.

#include "editor/qvEditorCommands.h"
#include "platform/Keys.h"
#include "platform/Object.h"
#include "platform/ShortCut.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ondrex {

class EqvKeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TqvKeyStrokes;

class TqvKeyStroke : public TObject {
public:
    std::string ClassName() const override { return "TqvKeyStroke"; }

    std::uint16_t Key() const { return key_; }
    TShiftState Shift() const { return shift_; }
    std::uint16_t Key2() const { return key2_; }
    TShiftState Shift2() const { return shift2_; }

    // Setting a pair of shortcuts that another binding of the table already has raises
    // EqvKeyError "Shortcut already exists" and keeps the old keys. 0 means no key.
    TShortCut ShortCut() const;
    void SetShortCut(TShortCut value);
    TShortCut ShortCut2() const;
    void SetShortCut2(TShortCut value);

    TqvEditorCommand Command() const { return command_; }
    void SetCommand(TqvEditorCommand value) { command_ = value; }

    // "ecUp - Ctrl+Shift+N", with the second key's text after a blank for a chord.
    std::string DisplayName() const;
    int Index() const;

private:
    friend class TqvKeyStrokes;
    explicit TqvKeyStroke(TqvKeyStrokes* strokes) : strokes_(strokes) {}

    TqvKeyStrokes* strokes_;
    std::uint16_t key_ = 0;
    TShiftState shift_ = 0;
    std::uint16_t key2_ = 0;
    TShiftState shift2_ = 0;
    TqvEditorCommand command_ = ecNone;
};

// The key pressed before the present one, kept by the editor as a possible chord prefix.
struct TKeyChordPrefix {
    std::uint16_t Key = 0;
    TShiftState Shift = 0;
};

class TqvKeyStrokes : public TObject {
public:
    explicit TqvKeyStrokes(TObject* owner) : owner_(owner) {}
    TqvKeyStrokes(const TqvKeyStrokes&) = delete;
    TqvKeyStrokes& operator=(const TqvKeyStrokes&) = delete;
    std::string ClassName() const override { return "TqvKeyStrokes"; }

    TObject* Owner() const { return owner_; }

    // Appends an empty binding.
    TqvKeyStroke& Add();
    // Replaces the bindings by copies of the source's, in its order.
    void Assign(const TqvKeyStrokes& source);
    void Clear();
    void Delete(int index);
    int Count() const { return int(items_.size()); }
    TqvKeyStroke& Items(int index) const { return *items_.at(index); }

    // Indices of the first match, -1 when none.
    int LookUpKey(std::uint16_t key, TShiftState shift) const;
    int LookUpChord(std::uint16_t key1, TShiftState shift1, std::uint16_t key2,
                    TShiftState shift2) const;
    int LookUpShortcutPair(TShortCut shortCut, TShortCut shortCut2) const;

    // The editor's standard bindings, all single keys.
    void LoadDefaultBindings();

    // The command of a key press: the chord it completes with the prefix, else the key
    // alone, else ecNone. An unbound key with a code in 30..145 becomes the next prefix;
    // anything else clears it. Only the keyboard modifiers of shift count.
    TqvEditorCommand TranslateKey(std::uint16_t key, TShiftState shift,
                                  TKeyChordPrefix& prefix) const;

private:
    friend class TqvKeyStroke;
    int IndexOf(const TqvKeyStroke* stroke) const;
    template <class Pred> int FindFirst(Pred pred) const;

    TObject* owner_;
    std::vector<std::unique_ptr<TqvKeyStroke>> items_;
};

} // namespace ondrex

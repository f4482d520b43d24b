#pragma once
// TDialogs: the modal dialogs the program asks the user with: open a file, type one line,
// answer a message box, wait for long work. The application talks to Dialogs(), the toolkit's
// implementation on screen; a test installs a TScriptedDialogs so that no test ever waits
// for a user.

#include "platform/Progress.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message box, combined as bits.
using TMsgDlgButtons = unsigned;
enum : TMsgDlgButtons {
    mbYes = 0x01,
    mbNo = 0x02,
    mbOK = 0x04,
    mbCancel = 0x08,
    mbAbort = 0x10,
    mbRetry = 0x20,
    mbIgnore = 0x40,
    mbYesNo = mbYes | mbNo,
    mbYesNoCancel = mbYes | mbNo | mbCancel,
    mbOKCancel = mbOK | mbCancel,
};

// The answer of a modal dialog.
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

// The answer a message box gives when it is closed without choosing (Escape, the close
// box): Cancel when offered, else No, else the only or first button's result.
TModalResult DefaultAnswer(TMsgDlgButtons buttons);

struct TOpenDialogOptions {
    std::string Title;
    // Pairs of description and patterns, "|"-separated: "Webfiles|*.asp;*.js|All files|*.*".
    std::string Filter;
    int FilterIndex = 1; // 1-based
    // Added to a typed name without an extension: "asp" or ".asp".
    std::string DefaultExt;
    std::string InitialDir;
    std::string FileName;
};

// One filter of an open dialog: its description and its patterns.
struct TFileFilter {
    std::string Description;
    std::vector<std::string> Patterns;
    bool operator==(const TFileFilter&) const = default;
};

// The filters of a "|"-separated filter string. An odd final description without patterns
// is dropped; blanks around patterns are ignored.
std::vector<TFileFilter> ParseFilter(std::string_view filter);
// `path` with ".ext" added when its file name has no extension (DefaultExt with or without
// its dot; nothing added when DefaultExt is empty).
std::string ApplyDefaultExt(const std::string& path, std::string_view defaultExt);

class TDialogs {
public:
    virtual ~TDialogs() = default;

    // The chosen file's full path, none when cancelled.
    virtual std::optional<std::string> OpenFile(const TOpenDialogOptions& options) = 0;
    // One line of input; `value` is the preset text and, when true is returned, the answer.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt,
                            std::string& value) = 0;
    // A message box with an icon by type and the given buttons.
    virtual TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                                    TMsgDlgButtons buttons, const std::string& caption = {}) = 0;
    // Shows `text` and a progress of `total` steps with a Cancel button, modal, until the
    // returned object is destroyed.
    virtual std::unique_ptr<TProgress> BeginProgress(const std::string& text,
                                                     std::size_t total) = 0;

    // InputQuery that returns the preset when cancelled.
    std::string InputBox(const std::string& caption, const std::string& prompt,
                         const std::string& preset);
    void ShowMessage(const std::string& text);
};

// The dialogs in use: the toolkit's unless a test set others. Throws std::logic_error when
// neither exists (a binary without a toolkit asked a user something).
TDialogs& Dialogs();
// Installs `dialogs` (kept until replaced); null goes back to the toolkit's. Returns the
// previous installed ones.
std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs);

// How the toolkit makes its dialogs; it installs this at start-up, and they are made on
// first use.
using TDialogsFactory = std::unique_ptr<TDialogs> (*)();
void SetToolkitDialogs(TDialogsFactory factory);

} // namespace ondrex

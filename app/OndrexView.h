#pragma once
// TOndrexView: what the main window's commands (TScriptExplorer) need of the window's
// controls. Tfrm_Ondrex implements it on screen; tests implement it with a recorder.

#include "app/ScriptScanner.h"

#include <cstddef>
#include <string>
#include <vector>

namespace ondrex {

class TOndrexView {
public:
    virtual ~TOndrexView() = default;

    // ListView2: emptied when a scan starts; rows [first, rows.size()) appended as the scan
    // finds them (at each message-pump pass and at the end).
    virtual void ResultsCleared() = 0;
    virtual void ResultsAppended(const std::vector<TScanRow>& rows, std::size_t first) = 0;
    virtual void SetResultsEnabled(bool enabled) = 0;
    // ListView1.
    virtual void SetInfo(const std::vector<TInfoRow>& rows) = 0;
    // Button1 ("Parse Selected files").
    virtual void SetParseEnabled(bool enabled) = 0;
    // SpeedButton2 ("Copy Block") and SpeedButton3 ("Print codeblock").
    virtual void SetBlockButtonsEnabled(bool enabled) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // Tfrm_copied, modal.
    virtual void ShowCopied() = 0;
    // One pass of the message pump during a scan: whatever the user does runs from here.
    virtual void ProcessMessages() = 0;
    // The editor's text or read-only flag changed (the status bar shows them).
    virtual void EditorStateChanged() = 0;
    // The status bar's progress bar while a large file loads and is scanned: `done` of
    // `total` lines, drawn at once (no event runs from here); hidden again by HideLoadProgress.
    virtual void ShowLoadProgress(std::size_t done, std::size_t total) = 0;
    virtual void HideLoadProgress() = 0;
};

} // namespace ondrex

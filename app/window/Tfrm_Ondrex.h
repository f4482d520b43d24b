#pragma once
// Tfrm_Ondrex: the main window. It lays out the controls, turns buttons, menus, check boxes,
// list selections and dropped files into the commands of TScriptExplorer, and shows what
// they report (TOndrexView). It owns the three dialog windows.

#include "app/OndrexView.h"
#include "app/ScriptExplorer.h"
#include "app/window/WindowControls.h"
#include "controls/TFlatHint.h"
#include "editor/TqvCustomEdit.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;
class QTimer;
class QToolButton;

namespace ondrex {

class TQtControlHost;

namespace window {

class Tfrm_about;
class Tfrm_copied;
class Tclippad;

class Tfrm_Ondrex : public QMainWindow, public TOndrexView {
public:
    // `startFile`: the command line's file, scanned at the first activation.
    explicit Tfrm_Ondrex(std::string startFile = {});
    ~Tfrm_Ondrex() override;

    TScriptExplorer& Explorer() { return *explorer_; }
    TqvCustomEdit& memo1() { return memo1_; }
    QWidget* MemoWidget() const;
    TResultsList& ListView2() { return *listView2_; }
    TInfoList& ListView1() { return *listView1_; }
    TOptionBox& dimcheck() { return *dimcheck_; }
    TOptionBox& Checkbox2() { return *checkbox2_; }
    TOptionBox& Checkbox3() { return *checkbox3_; }
    // The status bar panels' texts, left to right.
    QStringList StatusTexts() const;
    Tfrm_about& About() { return *about_; }
    Tfrm_copied& Copied() { return *copied_; }
    Tclippad& Clippad() { return *clippad_; }
    // True once the first activation ran (the command line's file scanned).
    bool Started() const { return started_; }

    // ---- TOndrexView --------------------------------------------------------------------
    void ResultsCleared() override;
    void ResultsAppended(const std::vector<TScanRow>& rows, std::size_t first) override;
    void SetResultsEnabled(bool enabled) override;
    void SetInfo(const std::vector<TInfoRow>& rows) override;
    void SetParseEnabled(bool enabled) override;
    void SetBlockButtonsEnabled(bool enabled) override;
    void SetCaption(const std::string& caption) override;
    void ShowCopied() override;
    void ProcessMessages() override;
    void EditorStateChanged() override;
    void ShowLoadProgress(std::size_t done, std::size_t total) override;
    void HideLoadProgress() override;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    QWidget* buildLeftPane();
    QWidget* buildRightPane();
    QWidget* buildEditorArea();
    void buildMenus();
    QToolButton* addButton(QWidget* parent, const char* name, const QString& hint);
    // Runs a command; what it throws goes to the application's exception handler.
    template <class F> void run(F&& command);
    void formActivate();
    void fillScreenUnlessMaximised();
    void refreshStatus();
    void refreshClock();
    void optionClicked();
    void editorStatusChange(TObject* sender, TqvStatusChanges changes);
    void editorChanged(TObject* sender);

    std::string startFile_;
    bool started_ = false;
    TqvCustomEdit memo1_;
    std::unique_ptr<TQtControlHost> memoHost_;
    std::unique_ptr<TResultsList> listView2_;
    std::unique_ptr<TInfoList> listView1_;
    std::unique_ptr<TOptionBox> dimcheck_;
    std::unique_ptr<TOptionBox> checkbox2_;
    std::unique_ptr<TOptionBox> checkbox3_;
    QToolButton* button1_ = nullptr;      // Parse
    QToolButton* speedButton2_ = nullptr; // Copy Block
    QToolButton* speedButton3_ = nullptr; // Print codeblock
    QStatusBar* statusBar1_ = nullptr;
    QLabel* panels_[5] = {};
    QProgressBar* loadProgress_ = nullptr; // over the status bar's right end, never in its row
    QTimer* timer1_ = nullptr;
    QMenu* popupMenu1_ = nullptr;
    std::unique_ptr<Tfrm_about> about_;
    std::unique_ptr<Tfrm_copied> copied_;
    std::unique_ptr<Tclippad> clippad_;
    std::unique_ptr<TScriptExplorer> explorer_;
    TFlatHint flatHint1_; // every hint of the application in the flat look
};

} // namespace window
} // namespace ondrex

#pragma once
// TApplication: the process-wide object behind Application(): the message loop and the
// message pump, the default exception handling and the hint machinery's settings.
//
// Exceptions: hosts, timers and dialogs catch what an event handler throws and call
// HandleException, which raises OnException when set and otherwise shows the exception's
// message in an error message box (through the current TDialogs); the program goes on.

#include "platform/Color.h"
#include "platform/Event.h"
#include "platform/Geometry.h"
#include "platform/Object.h"
#include "platform/SystemColors.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace ondrex {

class TCustomControl;
class THintWindow;
class THintController;

using TExceptionEvent = TEvent<TObject*, const std::exception&>;

// What the hint machinery is about to show; OnShowHint may change any of it.
struct THintInfo {
    TCustomControl* HintControl = nullptr; // none for a toolkit widget's tooltip
    TPoint CursorPos;                      // the pointer, in screen pixels
    TRect CursorRect;                      // screen area the hint belongs to
    TPoint HintPos;                        // screen pixels of the hint window's top-left
    int HintMaxWidth = 0;                  // 0: no limit but the screen's width
    TColor HintColor = clInfoBk;
    int HideTimeout = 0; // milliseconds; 0 uses HintHidePause
    std::string HintStr;
};

// Hint text, in-out "may show", in-out hint record.
using TShowHintEvent = TEvent<std::string&, bool&, THintInfo&>;

// Makes the hint window the application shows hints in.
using THintWindowClass = std::function<std::unique_ptr<THintWindow>()>;

class TApplication : public TObject {
public:
    TApplication();
    ~TApplication() override;

    std::string ClassName() const override { return "TApplication"; }

    std::string Title = "Ondrex";

    // ---- Message loop ----
    // Runs pending window messages and timers. A call within `PumpInterval` ms of the last
    // pump returns at once, so calling it once per processed line costs nothing measurable.
    void ProcessMessages();
    // Always pumps.
    void ProcessMessagesNow();
    int PumpInterval = 5;
    // Runs the loop until Terminate(); returns at once when already terminated.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // ---- Exceptions ----
    void HandleException(const std::exception& e);
    // For a throw of something that is not a std::exception.
    void HandleUnknownException();
    // The message box of the default handling.
    void ShowException(const std::exception& e);
    TExceptionEvent OnException;

    // ---- Hints ----
    bool ShowHint() const { return showHint_; }
    // Switching hints off hides and frees the hint window; on again makes the next hint use
    // the current HintWindowClass.
    void SetShowHint(bool show);
    THintWindowClass HintWindowClass; // the plain THintWindow when empty
    int HintPause = 500;              // before the first hint
    int HintShortPause = 50;          // from a shown hint to a neighbour's
    int HintHidePause = 2500;         // how long a hint stays
    TColor HintColor = clInfoBk;
    TShowHintEvent OnShowHint;
    // The hint machinery (hosts report the pointer to it).
    THintController& Hints() { return *hints_; }

private:
    bool terminated_ = false;
    bool showHint_ = true;
    long long lastPump_ = -1'000'000;
    std::unique_ptr<THintController> hints_;
};

TApplication& Application();

} // namespace ondrex

#pragma once
// TFlatHint: placed once on the main window, it gives every hint of the application the flat
// look of TFlatHintWindow and sets the application's hint timing (500 ms before the first
// hint, 25 ms between neighbours, 5 s on screen). The colours, font and width limit are read
// when a hint opens, so a change shows from the next hint on.
//
// While several exist the oldest one is used; with none left the hint windows fall back to
// the plain look.

#include "platform/Application.h"
#include "platform/Font.h"
#include "platform/Object.h"

namespace ondrex {

class TFlatHint : public TObject {
public:
    TFlatHint();
    ~TFlatHint() override;
    TFlatHint(const TFlatHint&) = delete;
    TFlatHint& operator=(const TFlatHint&) = delete;

    std::string ClassName() const override { return "TFlatHint"; }

    TFont Font;
    TColor ColorBackground = 0xFFFFFF;
    TColor ColorBorder = 0x000000;          // the frame around the whole window
    TColor ColorArrowBackground = 0x53D2FF; // the side strip
    TColor ColorArrow = 0x000000;
    int MaxHintWidth = 200; // the window's width limit for wrapping
    // Raised with the application's arguments whenever a hint is about to open.
    TShowHintEvent OnShowHint;

    // The one in use; null when there is none.
    static TFlatHint* Current();

private:
    void ApplicationShowHint(std::string& hintStr, bool& canShow, THintInfo& hintInfo);
};

} // namespace ondrex

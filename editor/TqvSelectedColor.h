#pragma once
// The colours of selected text. Each real change is announced through OnChange so the
// editor can repaint.

#include "platform/Color.h"
#include "platform/Event.h"
#include "platform/Object.h"

namespace ondrex {

class TqvSelectedColor : public TObject {
public:
    TqvSelectedColor();
    std::string ClassName() const override { return "TqvSelectedColor"; }

    TColor Background() const { return background_; }
    void SetBackground(TColor value);
    TColor Foreground() const { return foreground_; }
    void SetForeground(TColor value);

    TNotifyEvent OnChange;

private:
    TColor background_;
    TColor foreground_;
};

} // namespace ondrex

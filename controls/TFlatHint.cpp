#include "controls/TFlatHint.h"

#include "controls/TFlatHintWindow.h"

#include <algorithm>
#include <vector>

namespace ondrex {

namespace {

// Oldest first.
std::vector<TFlatHint*>& Instances() {
    static std::vector<TFlatHint*> instances;
    return instances;
}

} // namespace

TFlatHint::TFlatHint() {
    Instances().push_back(this);
    TApplication& app = Application();
    app.HintWindowClass = [] { return std::make_unique<TFlatHintWindow>(); };
    // Off and on again: the next hint is made in the new class.
    app.SetShowHint(false);
    app.SetShowHint(true);
    app.OnShowHint = TShowHintEvent::bind<&TFlatHint::ApplicationShowHint>(this);
    app.HintPause = 500;
    app.HintShortPause = 25;
    app.HintHidePause = 5000;
}

TFlatHint::~TFlatHint() {
    auto& instances = Instances();
    instances.erase(std::find(instances.begin(), instances.end(), this));
    // The application must not call back into a destroyed component.
    TApplication& app = Application();
    if (app.OnShowHint.receiver() == this) app.OnShowHint = {};
}

TFlatHint* TFlatHint::Current() {
    const auto& instances = Instances();
    return instances.empty() ? nullptr : instances.front();
}

void TFlatHint::ApplicationShowHint(std::string& hintStr, bool& canShow, THintInfo& hintInfo) {
    OnShowHint(hintStr, canShow, hintInfo);
}

} // namespace ondrex

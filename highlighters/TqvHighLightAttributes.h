#pragma once
// Colours and font style of one token class. Setters notify only on a real change, so an
// editor hooked to the owning highlighter repaints only when something is different.

#include "platform/BetterRegistry.h"
#include "platform/Color.h"
#include "platform/Event.h"
#include "platform/Object.h"

#include <stdexcept>
#include <string>

namespace ondrex {

// Raised when Assign is given an object it cannot copy from.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TqvHighLightAttributes : public TObject {
public:
    explicit TqvHighLightAttributes(std::string name);

    TColor Background() const { return background_; }
    void SetBackground(TColor value);
    TColor Foreground() const { return foreground_; }
    void SetForeground(TColor value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);
    const std::string& Name() const { return name_; }

    // Raised (sender = this attribute) after Background, Foreground or Style changed.
    TNotifyEvent OnChange;

    // Copies name, colours and style from another attribute and notifies once if a colour or
    // the style changed; any other source fails with "Cannot assign a %s to a %s".
    virtual void Assign(const TObject* source);

    // The attribute's subkey (named by Name) below the registry's current key. Both answer
    // false when the subkey cannot be opened; a value of the wrong type raises the
    // registry's own error. The registry is left at the key it was on.
    bool ReadFromRegistry(TBetterRegistry& registry);
    bool WriteToRegistry(TBetterRegistry& registry);

    // Reads colours and style stored by another editor's settings, in the newer layout (one
    // subkey per attribute) or the older one (one comma-separated text value). Answers false
    // when something is missing or malformed; what was applied before that stays.
    virtual bool ImportEditorColors(HKEY rootKey, const std::string& key, bool newLayout,
                                    const std::string& valueName);

    std::string ClassName() const override { return "TqvHighLightAttributes"; }

private:
    bool ImportNewLayout(TBetterRegistry& registry, const std::string& key,
                         const std::string& valueName);
    bool ImportOldLayout(TBetterRegistry& registry, const std::string& key,
                         const std::string& valueName);
    void Changed();

    std::string name_;
    TColor background_;
    TColor foreground_;
    TFontStyles style_ = 0;
};

} // namespace ondrex

#pragma once
// Opening a link (a web page, a mail address) with the program the desktop keeps for it.
// The address reaches the desktop's URL handler as one value; no shell ever reads it.

#include <functional>
#include <string>

namespace ondrex {

// False when the address is no valid URL with a scheme, or the desktop could not open it.
bool OpenUrl(const std::string& url);

// While it lives, OpenUrl hands well-formed addresses to `handler` instead of the desktop
// (tests).
class TUrlHandlerOverride {
public:
    using THandler = std::function<bool(const std::string&)>;
    explicit TUrlHandlerOverride(THandler handler);
    ~TUrlHandlerOverride();
    TUrlHandlerOverride(const TUrlHandlerOverride&) = delete;
    TUrlHandlerOverride& operator=(const TUrlHandlerOverride&) = delete;

private:
    THandler previous_;
};

} // namespace ondrex

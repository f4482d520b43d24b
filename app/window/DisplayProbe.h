#pragma once
// Whether a window can open: found out by trying, not by reading DISPLAY and friends, since a
// stale variable, an unreachable server or a missing platform plugin make Qt abort the process.

#include <string>

namespace ondrex::window {

// Tries to start the platform integration in a child process (its messages silenced); true
// when it started. A display that neither answers nor refuses within a few seconds counts as
// none.
bool CanOpenDisplay(int argc, char** argv);

// The one line for stderr when the window opens on a platform nobody can see ("offscreen",
// "minimal"), else empty.
std::string InvisibleWindowNotice(const std::string& platformName);

} // namespace ondrex::window

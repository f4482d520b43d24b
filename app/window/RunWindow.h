#pragma once
// The window side of `ondrex [FILE]`: creates the application, the main window (which owns
// the three dialog windows) and runs the message loop until the main window closes.

#include <string>

namespace ondrex::window {

int RunWindow(int argc, char** argv, const std::string& file);

} // namespace ondrex::window

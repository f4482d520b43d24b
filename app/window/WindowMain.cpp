// ondrex-window: the program `ondrex` hands a window request to (`ondrex [FILE]`), so that
// only opening a window loads Qt. Where no window can open it runs the command line itself.

#include "app/CliCommands.h"
#include "app/window/DisplayProbe.h"
#include "app/window/RunWindow.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    ondrex::cli::TCliArgs args(argv + 1, argv + argc);
    if (ondrex::cli::OpensWindow(args) && ondrex::window::CanOpenDisplay(argc, argv))
        return ondrex::window::RunWindow(argc, argv, args.empty() ? std::string() : args[0]);
    return ondrex::cli::RunCommandLine(args, std::cout, std::cerr);
}

// ondrex: the window, or the command line (ARCHITECTURE.md, "Command line").

#include "app/CliCommands.h"
#include "app/window/RunWindow.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    ondrex::cli::TCliArgs args(argv + 1, argv + argc);
    if (ondrex::cli::OpensWindow(args) && ondrex::cli::HasDisplay())
        return ondrex::window::RunWindow(argc, argv, args.empty() ? std::string() : args[0]);
    return ondrex::cli::RunCommandLine(args, std::cout, std::cerr);
}

// ondrex: the command line (ARCHITECTURE.md, "Command line"). It never loads Qt: a window
// request is handed to the window program in place of this process, which finds out whether a
// window can open.

#include "app/CliCommands.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    ondrex::cli::TCliArgs args(argv + 1, argv + argc);
    if (ondrex::cli::OpensWindow(args))
        ondrex::cli::HandToWindowProgram(argv, std::cerr); // returns only when it cannot
    return ondrex::cli::RunCommandLine(args, std::cout, std::cerr);
}

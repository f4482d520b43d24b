// Handing `ondrex [FILE]` to the window program, found beside the command line (a build
// folder) or where the installation puts it.

#include "app/CliCommands.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <unistd.h>

#ifndef ONDREX_WINDOW_PROGRAM_FROM_BIN
#define ONDREX_WINDOW_PROGRAM_FROM_BIN "../libexec/ondrex/ondrex-window"
#endif

namespace ondrex::cli {

std::string WindowProgram() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    for (const std::filesystem::path& candidate :
         {self.parent_path() / "ondrex-window",
          (self.parent_path() / ONDREX_WINDOW_PROGRAM_FROM_BIN).lexically_normal()})
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    return {};
}

void HandToWindowProgram(char** argv, std::ostream& err) {
    const std::string program = WindowProgram();
    if (!program.empty()) {
        err.flush();
        ::execv(program.c_str(), argv);
    }
    err << "ondrex: cannot start the window program"
        << (program.empty() ? std::string(" (ondrex-window not found)")
                            : " " + program + " (" + std::strerror(errno) + ")")
        << '\n';
}

} // namespace ondrex::cli

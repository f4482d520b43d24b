#pragma once
// The subcommands of `ondrex` (ARCHITECTURE.md, "Command line"). Each runs with the arguments
// after its name and returns the exit status; RunCommandLine dispatches through the table
// kCommands in app/CliMain.cpp.
//
// To add a subcommand: declare its runner here, define it in its own app/Cli<Name>.cpp, and
// add one row {name, runner, usage} to kCommands in app/CliMain.cpp. `ondrex NAME --help`
// prints the usage row; everything else is the runner's (see app/CliSupport.h for the
// argument parser, file reading, decoding, JSON strings and the exit-status guard).

#include "app/CliSupport.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace ondrex::cli {

using TCliRunner = int (*)(const TCliArgs& args, std::ostream& out, std::ostream& err);

struct TCliCommand {
    std::string_view name;
    TCliRunner run;
    std::string_view usage; // "scan [OPTIONS] FILE" and a line per option, for --help
};

// ondrex scan [--dim] [--if] [--no-calls] [--count] [--format text|tsv|json] FILE
int runScan(const TCliArgs& args, std::ostream& out, std::ostream& err);
// ondrex scan -R [scan options] [--lang L] [--include=GLOB] [--exclude=GLOB] [--jobs N] [PATH...]
int runScanTree(const TCliArgs& args, std::ostream& out, std::ostream& err);
// ondrex tags [-R] [-e] [-o FILE] [--lang L] [--include=GLOB] [--exclude=GLOB] [PATH...]
int runTags(const TCliArgs& args, std::ostream& out, std::ostream& err);
// ondrex block [--dim] [--if] [--no-calls] [--format text|tsv|json] FILE LINE
int runBlock(const TCliArgs& args, std::ostream& out, std::ostream& err);
// ondrex cat [--color=auto|always|never] [--lang L] [--html] FILE
int runCat(const TCliArgs& args, std::ostream& out, std::ostream& err);
// ondrex tokens [--lang L] --format json FILE
int runTokens(const TCliArgs& args, std::ostream& out, std::ostream& err);

// ondrex lsp [--stdio]: the language server (app/CliLsp.cpp).
int runLsp(const TCliArgs& args, std::ostream& out, std::ostream& err);

// The table of subcommands, in the order --help lists them, and a row's usage text with the
// language ids in place.
std::span<const TCliCommand> Commands();
std::string UsageOf(const TCliCommand& command);
// `ondrex --completion bash|zsh`: a completion script for the shell made from the table's
// synopsis lines (throws EUsage for another shell).
std::string CompletionScript(std::string_view shell);

// Runs the whole command line (argv without the program name) as `ondrex` does where no
// window opens: `ondrex FILE` says so in one line on `err` and prints the scan of FILE.
int RunCommandLine(const TCliArgs& args, std::ostream& out, std::ostream& err);
// The version `ondrex --version` prints.
std::string_view ProgramVersion();
// The window program (ondrex-window) beside this one or where it is installed; empty when
// there is none.
std::string WindowProgram();
// Runs the window program in place of this process with the same arguments. Returns only when
// it cannot, after one line on `err` saying why.
void HandToWindowProgram(char** argv, std::ostream& err);
// True for what opens the window: no arguments, or a file as the first one.
bool OpensWindow(const TCliArgs& args);

} // namespace ondrex::cli

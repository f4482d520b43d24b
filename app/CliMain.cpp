// The command line's dispatcher: the table of subcommands, --help and --version, and what
// `ondrex FILE` does where no window opens.

#include "app/CliCommands.h"

#include <cerrno>
#include <iostream>
#include <string>

#ifndef ONDREX_VERSION
#define ONDREX_VERSION "0.0.0"
#endif

namespace ondrex::cli {

namespace {

// One row per subcommand: name, runner, usage (first line: synopsis; then the options).
constexpr TCliCommand kCommands[] = {
    {"scan", runScan,
     "scan [--dim] [--if] [--no-calls] [--count] [--format text|tsv|json] FILE\n"
     "    List the Function/Sub headers and Dim/If/ElseIf/Else/Call statements of FILE\n"
     "    and the three counters. --dim and --if also list Dim and If/ElseIf/Else rows,\n"
     "    --no-calls leaves out Call rows; --count prints only the counter rows."},
    {"block", runBlock,
     "block [--dim] [--if] [--no-calls] [--format text|tsv|json] FILE LINE\n"
     "    Locate the code block of the first result row on LINE (1-based) and print its\n"
     "    lines (text), its information rows (tsv) or both (json)."},
    {"cat", runCat,
     "cat [--color=auto|always|never] [--lang vbscript|javascript|perl|php] [--html] FILE\n"
     "    Print FILE highlighted for a terminal (colour under auto only when stdout is a\n"
     "    terminal and NO_COLOR is unset), or as a standalone HTML page with --html. The\n"
     "    language follows the extension; --lang overrides; others use vbscript."},
    {"tokens", runTokens,
     "tokens [--lang vbscript|javascript|perl|php] --format json FILE\n"
     "    One JSON object per line: {\"line\": n, \"range\": state at the line's start,\n"
     "    \"tokens\": [[kind, byte offset, \"text\"], ...]} (the end-of-line token left out)."},
};

void printUsage(std::ostream& out) {
    out << "Usage: ondrex [FILE]\n"
           "       ondrex COMMAND [OPTIONS] ARGS\n"
           "       ondrex --help | --version\n\n"
           "Reads web script files and lists their functions, subs and statements.\n"
           "Without a command it opens the window, and scans FILE at once when one is named.\n"
           "Where there is no display, 'ondrex FILE' prints the scan of FILE instead.\n\n"
           "Commands:\n";
    for (const TCliCommand& c : kCommands)
        out << "  " << c.usage << "\n";
    out << "\nExit status: 0 success, 1 bad input or output not written, 2 usage error.\n";
}

bool isCommand(const std::string& name) {
    for (const TCliCommand& c : kCommands)
        if (c.name == name) return true;
    return false;
}

bool wantsHelp(const TCliArgs& args) {
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

int RunCommand(const TCliArgs& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        printUsage(err);
        return kExitUsage;
    }
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") {
        printUsage(out);
        return kExitOk;
    }
    if (first == "--version") {
        out << "ondrex " ONDREX_VERSION "\n";
        return kExitOk;
    }
    for (const TCliCommand& c : kCommands) {
        if (c.name != first) continue;
        TCliArgs rest(args.begin() + 1, args.end());
        if (wantsHelp(rest)) {
            out << "Usage: ondrex " << c.usage << "\n";
            return kExitOk;
        }
        return c.run(rest, out, err);
    }
    if (first.size() > 1 && first[0] == '-') {
        err << "ondrex: unknown option '" << EscapeControls(first) << "' (try 'ondrex --help')\n";
        return kExitUsage;
    }
    // `ondrex FILE` reaches here only where no window can open: the scan goes to the terminal.
    err << "ondrex: no display to open the window on; the scan of " << EscapeControls(first)
        << " follows\n";
    return runScan({first}, out, err);
}

} // namespace

int RunCommandLine(const TCliArgs& args, std::ostream& out, std::ostream& err) {
    const int status = RunCommand(args, out, err);
    // What is still buffered (help, version) fails only now.
    errno = 0;
    out.flush();
    if (status != kExitOk || out) return status;
    err << "ondrex: " << EWriteFailed(errno).what() << '\n';
    return kExitBadInput;
}

bool OpensWindow(const TCliArgs& args) {
    if (args.empty()) return true;
    return !(args[0].size() > 1 && args[0][0] == '-') && !isCommand(args[0]);
}

} // namespace ondrex::cli

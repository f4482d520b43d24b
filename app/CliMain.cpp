// The command line's dispatcher: the table of subcommands, --help and --version, and what
// `ondrex FILE` does where no window opens.

#include "app/CliCommands.h"
#include "highlighters/THighlighterList.h"

#include <cerrno>
#include <iostream>
#include <string>

#ifndef ONDREX_VERSION
#define ONDREX_VERSION "0.0.0"
#endif

namespace ondrex::cli {

namespace {

// One row per subcommand: name, runner, usage (first line: synopsis; then the options).
// "{languages}" stands for the language ids of THighlighterList.
constexpr TCliCommand kCommands[] = {
    {"scan", runScan,
     "scan [--dim] [--if] [--no-calls] [--count] [--format text|tsv|json] FILE\n"
     "    List the Function/Sub headers and Dim/If/ElseIf/Else/Call statements of FILE\n"
     "    and the three counters. --dim and --if also list Dim and If/ElseIf/Else rows,\n"
     "    --no-calls leaves out Call rows; --count prints only the counter rows.\n"
     "  scan -R [scan options] [--lang L] [--include=GLOB] [--exclude=GLOB] [--jobs N] [PATH...]\n"
     "    Scan every script file under the PATHs (default: the current folder) on all\n"
     "    processors, printed in path order: rows with a path column (text, tsv), one JSON\n"
     "    object per file (json), or --count's counters per file and a total. Hidden\n"
     "    folders and those the root's .gitignore names are skipped (its forms: name,\n"
     "    name/, /name, a/b, **/name, with * ? [...]; no ! or files); symlinked folders\n"
     "    only inside the tree; FIFOs and devices never opened. --lang, --include and\n"
     "    --exclude (a GLOB without / matches the name, with / the path) narrow the walk."},
    {"tags", runTags,
     "tags [-R] [-e] [-o FILE] [--lang L] [--include=GLOB] [--exclude=GLOB] [--jobs N] [PATH...]\n"
     "    Write a tags file of every Function/Sub (default 'tags'; -o - for standard\n"
     "    output) that Vim and readtags read, sorted with case folded so VBScript names\n"
     "    match in any case; -e writes Emacs' TAGS instead. -R walks as scan -R does."},
    {"block", runBlock,
     "block [--dim] [--if] [--no-calls] [--format text|tsv|json] FILE LINE\n"
     "    Locate the code block of the first result row on LINE (1-based) and print its\n"
     "    lines (text), its information rows (tsv) or both (json)."},
    {"cat", runCat,
     "cat [--color=auto|always|never] [--lang {languages}] [--html] FILE\n"
     "    Print FILE highlighted for a terminal (colour under auto only when stdout is a\n"
     "    terminal and NO_COLOR is unset), or as a standalone HTML page with --html. The\n"
     "    language follows the extension; --lang overrides; others use vbscript."},
    {"tokens", runTokens,
     "tokens [--lang {languages}] --format json FILE\n"
     "    One JSON object per line: {\"line\": n, \"range\": state at the line's start,\n"
     "    \"tokens\": [[kind, byte offset, \"text\"], ...]} (the end-of-line token left out)."},
    {"lsp", runLsp,
     "lsp [--stdio]\n"
     "    Serve the Language Server Protocol on standard input and output: outline,\n"
     "    folding, include links, semantic tokens, definitions and hover."},
};

} // namespace

std::string UsageOf(const TCliCommand& command) {
    std::string usage(command.usage);
    constexpr std::string_view kLanguages = "{languages}";
    if (const std::size_t at = usage.find(kLanguages); at != std::string::npos)
        usage.replace(at, kLanguages.size(), THighlighterList::Instance().LanguageIds("|"));
    return usage;
}

std::span<const TCliCommand> Commands() {
    return kCommands;
}

namespace {

void printUsage(std::ostream& out) {
    out << "Usage: ondrex [FILE]\n"
           "       ondrex COMMAND [OPTIONS] ARGS\n"
           "       ondrex --help | --version\n\n"
           "Reads web script files and lists their functions, subs and statements.\n"
           "Without a command it opens the window, and scans FILE at once when one is named.\n"
           "Where there is no display, 'ondrex FILE' prints the scan of FILE instead.\n\n"
           "Commands:\n";
    for (const TCliCommand& c : kCommands)
        out << "  " << UsageOf(c) << "\n";
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
        out << "ondrex " << ProgramVersion() << "\n";
        return kExitOk;
    }
    if (first == "--completion") {
        return Guarded(err, [&] {
            if (args.size() != 2) throw EUsage("--completion takes one shell: bash or zsh");
            out << CompletionScript(args[1]);
            return kExitOk;
        });
    }
    for (const TCliCommand& c : kCommands) {
        if (c.name != first) continue;
        TCliArgs rest(args.begin() + 1, args.end());
        if (wantsHelp(rest)) {
            out << "Usage: ondrex " << UsageOf(c) << "\n";
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

std::string_view ProgramVersion() {
    return ONDREX_VERSION;
}

bool OpensWindow(const TCliArgs& args) {
    if (args.empty()) return true;
    return !(args[0].size() > 1 && args[0][0] == '-') && !isCommand(args[0]);
}

} // namespace ondrex::cli

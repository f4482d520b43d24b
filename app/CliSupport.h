#pragma once
// Helpers shared by the subcommands of the command line (ARCHITECTURE.md, "Command line"):
// argument parsing, errors with their exit codes, UTF-8 decoding and JSON strings (the input:
// app/CliInput.h).
//
// Exit status: 0 success, 1 bad input (one line on stderr naming the file and the problem)
// or output that could not be written, 2 usage error.

#include "app/JsonText.h"
#include "app/ScriptScanner.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"

#include <charconv>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex::cli {

using TCliArgs = std::vector<std::string>; // the arguments after the subcommand's name

constexpr int kExitOk = 0;
constexpr int kExitBadInput = 1;
constexpr int kExitUsage = 2;

// A usage error (exit 2): "ondrex: <message>" and a hint to --help.
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// Bad input (exit 1): "ondrex: <message>"; the message names the file and the problem.
class EBadInput : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs a subcommand body, turning EUsage, EBadInput, EFileError and other exceptions into
// their one-line message on `err` and the exit status. The body names its input file in
// `input` once known, so that running out of memory says which file was too large.
int Guarded(std::ostream& err, const std::function<int(std::string& input)>& body);
// The same for a body without one input file (a tree): "ondrex: out of memory".
int Guarded(std::ostream& err, const std::function<int()>& body);

// A small option parser: flags (--dim), options with a value (--format json, --format=json,
// --color[=WHEN] when the value is optional), "--" ends the options, "-" is a positional.
// Unknown options are usage errors.
class TArgParser {
public:
    void Flag(std::string name); // "--dim"
    void Option(std::string name, bool valueOptional = false, std::string implicit = {});
    // Parses; throws EUsage. Options may stand anywhere among the positionals.
    void Parse(const TCliArgs& args);

    bool Has(const std::string& name) const { return seen_.count(name) != 0; }
    // The value of an option (the last one given), or `fallback`.
    std::string Value(const std::string& name, const std::string& fallback = {}) const;
    // Every value of a repeated option, in the order given.
    std::vector<std::string> Values(const std::string& name) const;
    const std::vector<std::string>& Positionals() const { return positionals_; }

private:
    std::map<std::string, int> kinds_; // 0 flag, 1 value required, 2 value optional
    std::map<std::string, std::string> implicit_;
    std::map<std::string, std::vector<std::string>> values_;
    std::map<std::string, int> seen_;
    std::vector<std::string> positionals_;
};

// The three check boxes as options: --dim, --if, --no-calls (and --format).
void AddScanOptions(TArgParser& parser);
TScanOptions ScanOptionsFrom(const TArgParser& parser);

// "--format": text (default), tsv or json; anything else is a usage error.
enum class TFormat { Text, Tsv, Json };
TFormat ParseFormat(const std::string& value);

// The file's bytes as UTF-8 text: as they are when the whole block is valid UTF-8, else
// Windows-1252. DetectCodePage once per file, then AppendUtf8 per piece.
using ondrex::AppendUtf8;
using ondrex::DetectCodePage;
using ondrex::ToUtf8;

// JSON strings and numbers (app/JsonText.h).
using ondrex::AppendJsonString;
using ondrex::AppendNumber;

// Output that could not be written (a full disk, a closed file): exit 1, so that a script
// does not take a cut-off result for a whole one.
class EWriteFailed : public std::runtime_error {
public:
    explicit EWriteFailed(int error); // errno of the failed write, or 0
};

// Writes the text to the stream in one go (output is built in memory, then written); throws
// EWriteFailed when the stream fails.
void Write(std::ostream& out, std::string_view text);

} // namespace ondrex::cli

#pragma once
// What the commands that walk a site share (`scan -R`, `tags -R`): their options, the lines
// for files that were not read, and paths made safe for text output.

#include "app/CliSupport.h"
#include "app/index/SiteScan.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace ondrex::cli {

// -R/--recursive, --lang L (repeatable), --include=GLOB, --exclude=GLOB (repeatable),
// --jobs N.
void AddSiteOptions(TArgParser& parser);
bool Recursive(const TArgParser& parser);
// Throws EUsage for a language the registry does not know.
TSiteFilter SiteFilterFrom(const TArgParser& parser);
// --jobs: 0 (every processor) when not given; throws EUsage for anything but 1..1024.
unsigned JobsFrom(const TArgParser& parser);
// True when the arguments ask for a walk (-R or --recursive before a "--").
bool AsksRecursive(const TCliArgs& args);

// Without -R every path must be a file: a folder is the usual error (exit 1).
void RequireFiles(const std::vector<std::string>& paths);

// The path with line breaks, tabs, other control characters, backslashes and bytes that are
// not UTF-8 written as escapes (\n, \t, \\, \xHH), so that one file is one line of text.
std::string EscapedPath(std::string_view path);

// "ondrex: PATH: message" on `err` for an entry that was not read. True for an error (the
// command ends with exit 1); skipped entries are only told.
bool ReportEntry(std::ostream& err, const TWalkEntry& entry);

} // namespace ondrex::cli

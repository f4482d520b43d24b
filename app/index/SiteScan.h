#pragma once
// A site scanned on a pool of threads: the walk hands out files in path order, each worker
// scans one file at a time, and the results reach the caller in the walk's order whatever
// finished first. At most a small window of files is in flight, so memory does not grow with
// the number of files (a caller that streams its output holds nothing more).

#include "app/ScriptScanner.h"
#include "app/index/SiteSymbols.h"
#include "app/index/SiteWalk.h"

#include <functional>
#include <string>
#include <vector>

namespace ondrex {

struct TSiteScanOptions {
    TScanOptions scan;      // the three check boxes
    bool countOnly = false; // counters only (no rows, no symbols)
    bool rows = true;       // keep the scan's rows in each file's results
    bool symbols = false;   // collect the named Function/Sub blocks
    unsigned threads = 0;   // 0: one per processor
};

struct TSiteFile {
    TWalkEntry entry; // a File read and scanned; Skipped or Error: entry.message says why
    TScanResults results;
    // The whole file is valid UTF-8; looked at for its rows, and for its symbols when a header
    // line is not ASCII (their columns depend on it).
    bool validUtf8 = true;
    std::vector<TSiteSymbol> symbols;
};

// Scans one file the walk gave (the kind becomes Error when it cannot be read).
void ScanSiteFile(TSiteFile& file, const TSiteScanOptions& options);

// Walks and scans; `collect` runs on the calling thread, once per entry, in path order. An
// exception from `collect` stops the workers and reaches the caller.
void ScanSite(TSiteWalk& walk, const TSiteScanOptions& options,
              const std::function<void(TSiteFile&)>& collect);

} // namespace ondrex

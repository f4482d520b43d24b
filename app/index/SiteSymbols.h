#pragma once
// The named Function/Sub blocks of one scanned file: what a tags file lists and what the
// language server's workspace symbols find.

#include "app/ScriptScanner.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ondrex {

struct TSiteSymbol {
    std::string name;             // the identifier after the keyword: "GetUser"
    bool isSub = false;           // a Sub (else a Function)
    int line = 0;                 // 1-based header line
    int endLine = 0;              // the block's end, by the block locator's rule
    std::size_t nameColumn = 0;   // 0-based byte offset of the name in the header line
    std::uint64_t lineOffset = 0; // byte offset of the header line in the file
    // The header line's bytes; a line longer than kMaxSymbolLine is cut there (lineCut).
    std::string lineText;
    bool lineCut = false;
};

constexpr std::size_t kMaxSymbolLine = 256;

// One symbol per Function/Sub row of `results` (the scan of `block`) whose keyword starts a
// word and is followed by a name: "MyFunction x" and "Exit Function " give none. Names are
// runs of letters, digits, '_', '$', bytes above 127 and "::" (a Perl package path).
std::vector<TSiteSymbol> CollectSymbols(std::string_view block, const TScanResults& results);

} // namespace ondrex

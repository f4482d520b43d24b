#pragma once
// The outline of a document as the scanner and the block locator see it: every listed hit,
// each Function/Sub with its located block (the same as `ondrex block`), each Dim, If/ElseIf/
// Else and Call statement inside the innermost block that holds it.

#include "app/ScriptScanner.h"

#include <functional>
#include <string>
#include <vector>

namespace ondrex {
class TqvEditList;
}

namespace ondrex::lsp {

struct TOutlineEntry {
    TScanRow row;
    bool block = false;        // a Function/Sub hit
    int end = 0;               // 1-based last line of its located block (row.line for others)
    std::string identifier;    // the name after "Function"/"Sub" (empty: none, or no block)
    std::size_t nameStart = 0; // byte span of the identifier (or of the trimmed line)
    std::size_t nameEnd = 0;
    int parent = -1; // index of the block holding a statement
};

// Called every few thousand lines; it may throw to stop the work (a cancelled request).
using TPoll = std::function<void()>;

std::vector<TOutlineEntry> BuildOutline(const TqvEditList& lines, const TScanOptions& options,
                                        const TPoll& poll = {});

// The display name of an entry: the identifier, else the scanner's name trimmed, else the
// row's caption.
std::string DisplayName(const TOutlineEntry& entry);

} // namespace ondrex::lsp

// documentSymbol and foldingRange: the outline of the scanner and the block locator.

#include "app/lsp/Features.h"

namespace ondrex::lsp {

namespace {

// SymbolKind values of the protocol.
constexpr int kFunction = 12;
constexpr int kVariable = 13;
constexpr int kBoolean = 17;
constexpr int kEvent = 24;

int kindOf(const TOutlineEntry& e) {
    if (e.block) return kFunction;
    if (e.row.image == siDim) return kVariable;
    if (e.row.image == siIfElse) return kBoolean;
    return kEvent; // a call
}

void writeSymbol(TJsonWriter& out, const TFeatureContext& context, const TTextDocument& document,
                 const std::vector<TOutlineEntry>& entries,
                 const std::vector<std::vector<std::size_t>>& children, std::size_t i) {
    const TOutlineEntry& e = entries[i];
    const int first = e.row.line - 1;
    const int last = std::min(e.end, document.LineCount()) - 1;
    const std::string_view firstText = document.Line(first);
    const std::string_view lastText = document.Line(last);
    out.BeginObject();
    out.Member("name", DisplayName(e));
    // The header as the scanner normalised it (tabs and leading blanks off).
    out.Member("detail", e.row.text);
    out.Member("kind", kindOf(e));
    out.Key("range");
    WriteRange(out, context, first, firstText, 0, last, lastText, lastText.size());
    out.Key("selectionRange");
    WriteRange(out, context, first, firstText, e.nameStart, first, firstText, e.nameEnd);
    if (!children[i].empty()) {
        out.Key("children").BeginArray();
        for (std::size_t child : children[i])
            writeSymbol(out, context, document, entries, children, child);
        out.EndArray();
    }
    out.EndObject();
}

} // namespace

void WritePosition(TJsonWriter& out, const TFeatureContext& context, std::string_view lineText,
                   int line, std::size_t column, TCodePage codePage) {
    out.BeginObject()
        .Member("line", line)
        .Member("character", CharacterOf(lineText, column, codePage, context.encoding))
        .EndObject();
}

void WriteRange(TJsonWriter& out, const TFeatureContext& context, int startLine,
                std::string_view startText, std::size_t startColumn, int endLine,
                std::string_view endText, std::size_t endColumn, TCodePage codePage) {
    out.BeginObject().Key("start");
    WritePosition(out, context, startText, startLine, startColumn, codePage);
    out.Key("end");
    WritePosition(out, context, endText, endLine, endColumn, codePage);
    out.EndObject();
}

void WriteDocumentSymbols(TJsonWriter& out, const TFeatureContext& context,
                          const TTextDocument& document) {
    const std::vector<TOutlineEntry> entries =
        BuildOutline(document.Lines(), context.symbolOptions, context.poll);
    std::vector<std::vector<std::size_t>> children(entries.size());
    std::vector<std::size_t> top;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].parent >= 0)
            children[std::size_t(entries[i].parent)].push_back(i);
        else
            top.push_back(i);
    }
    out.BeginArray();
    for (std::size_t i : top)
        writeSymbol(out, context, document, entries, children, i);
    out.EndArray();
}

void WriteFoldingRanges(TJsonWriter& out, const TFeatureContext& context,
                        const TTextDocument& document) {
    // Only the blocks matter here: no statement rows.
    const std::vector<TOutlineEntry> entries =
        BuildOutline(document.Lines(), TScanOptions{false, false, false}, context.poll);
    out.BeginArray();
    int lastStart = -1, lastEnd = -1;
    for (const TOutlineEntry& e : entries) {
        const int end = std::min(e.end, document.LineCount());
        if (!e.block || end <= e.row.line) continue;
        if (e.row.line == lastStart && end == lastEnd) continue; // a Function and a Sub hit
        lastStart = e.row.line;
        lastEnd = end;
        out.BeginObject()
            .Member("startLine", e.row.line - 1)
            .Member("endLine", end - 1)
            .EndObject();
    }
    out.EndArray();
}

} // namespace ondrex::lsp

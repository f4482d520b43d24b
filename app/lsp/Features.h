#pragma once
// The answers the server computes from an open document, each written as the JSON value of
// a response's "result". Positions follow the session's encoding; TPoll is called now and
// then and may throw to stop a long answer.

#include "app/ScriptScanner.h"
#include "app/lsp/JsonWriter.h"
#include "app/lsp/Positions.h"
#include "app/lsp/ScriptOutline.h"
#include "app/lsp/TextDocument.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ondrex::lsp {

struct TFeatureContext {
    TPositionEncoding encoding = TPositionEncoding::Utf16;
    TScanOptions symbolOptions; // the three check boxes: which statements are children
    std::vector<std::string> workspaceFolders;
    TPoll poll;
};

// {"line": l, "character": c} for a byte column of a line.
void WritePosition(TJsonWriter& out, const TFeatureContext& context, std::string_view lineText,
                   int line, std::size_t column, TCodePage codePage = TCodePage::Utf8);
// A range over lines of one text: from a byte column of one line to one of another.
void WriteRange(TJsonWriter& out, const TFeatureContext& context, int startLine,
                std::string_view startText, std::size_t startColumn, int endLine,
                std::string_view endText, std::size_t endColumn,
                TCodePage codePage = TCodePage::Utf8);

// DocumentSymbol[]: Function/Sub blocks at the top, their statements as children.
void WriteDocumentSymbols(TJsonWriter& out, const TFeatureContext& context,
                          const TTextDocument& document);
// FoldingRange[]: every located block of more than one line.
void WriteFoldingRanges(TJsonWriter& out, const TFeatureContext& context,
                        const TTextDocument& document);
// DocumentLink[]: the targets of #include file= and virtual= directives.
void WriteDocumentLinks(TJsonWriter& out, const TFeatureContext& context,
                        const TTextDocument& document);

// The token types of every semantic token answer, in the order their indices refer to.
const std::vector<std::string>& SemanticTokenTypes();
// The semantic tokens of the lines first..last (0-based, inclusive): five numbers a token
// (line and start relative to the token before, length, type, no modifiers).
std::vector<std::uint32_t> SemanticTokenData(const TFeatureContext& context,
                                             TTextDocument& document, int first, int last);
void WriteNumbers(TJsonWriter& out, const std::uint32_t* first, const std::uint32_t* last);
// SemanticTokensEdit[]: the one edit that turns `before` into `after` (none when equal).
void WriteSemanticTokensEdits(TJsonWriter& out, const std::vector<std::uint32_t>& before,
                              const std::vector<std::uint32_t>& after);

} // namespace ondrex::lsp

// semanticTokens: the highlighters' tokens in the protocol's standard token types.

#include "app/lsp/Features.h"
#include "highlighters/TqvHighLightAttributes.h"
#include "highlighters/TqvTableHighLighter.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <string_view>

namespace ondrex::lsp {

namespace {

enum TTokenType : int {
    ttKeyword,
    ttString,
    ttComment,
    ttNumber,
    ttOperator,
    ttVariable,
    ttFunction,
    ttMacro,
    ttNone = -1
};

// Attributes by name (every language builds its attributes from the same names).
TTokenType typeOfAttribute(const TqvHighLightAttributes* attribute) {
    if (!attribute) return ttNone;
    static constexpr std::pair<std::string_view, TTokenType> kTypes[] = {
        {"Reserved word", ttKeyword}, {"String", ttString},     {"Comment", ttComment},
        {"Number", ttNumber},         {"Symbol", ttOperator},   {"Operator", ttOperator},
        {"Identifier", ttVariable},   {"Variable", ttVariable}, {"Pragma", ttMacro},
    };
    for (const auto& [name, type] : kTypes)
        if (attribute->Name() == name) return type;
    return ttNone; // space, illegal characters
}

bool isDefiningKeyword(std::string_view word) {
    for (std::string_view k : {"function", "sub", "call"})
        if (SameText(word, k)) return true;
    return false;
}

} // namespace

const std::vector<std::string>& SemanticTokenTypes() {
    static const std::vector<std::string> types = {"keyword",  "string",   "comment",  "number",
                                                   "operator", "variable", "function", "macro"};
    return types;
}

std::vector<std::uint32_t> SemanticTokenData(const TFeatureContext& context,
                                             TTextDocument& document, int first, int last) {
    TqvCustomHighLighter& highlighter = document.Highlighter();
    const auto* table = dynamic_cast<const TqvTableHighLighter*>(&highlighter);
    std::vector<std::uint32_t> data;
    int previousLine = 0, previousStart = 0;
    std::string line;
    std::string token;
    for (int i = first; i <= last && i < document.LineCount(); ++i) {
        if ((i & 4095) == 4095 && context.poll) context.poll();
        line.assign(document.Line(i));
        document.LoadState(i);
        highlighter.StartLine(line.c_str(), i);
        TColumnCounter columns(line, TCodePage::Utf8, context.encoding);
        bool afterDefiningKeyword = false;
        for (; !highlighter.AtLineEnd(); highlighter.NextToken()) {
            TTokenType type = typeOfAttribute(highlighter.TokenAttribute());
            if (type == ttNone) continue;
            const std::string_view text =
                table ? table->TokenView() : std::string_view(token = highlighter.TokenText());
            if (type == ttVariable && afterDefiningKeyword) type = ttFunction;
            afterDefiningKeyword = type == ttKeyword && isDefiningKeyword(text);
            const std::size_t startByte = std::size_t(highlighter.TokenStart());
            const int start = columns.At(startByte);
            const int length = columns.At(startByte + text.size()) - start;
            if (length <= 0) continue;
            data.insert(data.end(),
                        {std::uint32_t(i - previousLine),
                         std::uint32_t(i == previousLine ? start - previousStart : start),
                         std::uint32_t(length), std::uint32_t(type), 0u});
            previousLine = i;
            previousStart = start;
        }
    }
    return data;
}

void WriteNumbers(TJsonWriter& out, const std::uint32_t* first, const std::uint32_t* last) {
    out.BeginArray();
    for (; first != last; ++first)
        out.Number(*first);
    out.EndArray();
}

void WriteSemanticTokensEdits(TJsonWriter& out, const std::vector<std::uint32_t>& before,
                              const std::vector<std::uint32_t>& after) {
    out.BeginArray();
    if (before != after) {
        // One edit: what lies between the common head and the common tail.
        const std::size_t shorter = std::min(before.size(), after.size());
        std::size_t head = 0, tail = 0;
        while (head < shorter && before[head] == after[head])
            ++head;
        while (tail < shorter - head &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
        out.BeginObject().Member("start", std::int64_t(head));
        out.Member("deleteCount", std::int64_t(before.size() - head - tail)).Key("data");
        WriteNumbers(out, after.data() + head, after.data() + after.size() - tail);
        out.EndObject();
    }
    out.EndArray();
}

} // namespace ondrex::lsp

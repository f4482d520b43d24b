// documentLink: the files that #include directives name.

#include "app/lsp/Features.h"
#include "app/lsp/FileUri.h"
#include "app/lsp/IncludeDirectives.h"

namespace ondrex::lsp {

void WriteDocumentLinks(TJsonWriter& out, const TFeatureContext& context,
                        const TTextDocument& document) {
    out.BeginArray();
    for (int i = 0; i < document.LineCount(); ++i) {
        const std::string_view line = document.Line(i);
        if (line.find('#') == std::string_view::npos) continue;
        for (const TIncludeDirective& d : FindIncludes(line)) {
            const std::optional<std::string> path =
                ResolveInclude(d, document.Path(), context.workspaceFolders);
            if (!path) continue;
            out.BeginObject().Key("range");
            WriteRange(out, context, i, line, d.start, i, line, d.end);
            out.Member("target", UriFromPath(*path)).EndObject();
        }
        if ((i & 4095) == 4095 && context.poll) context.poll();
    }
    out.EndArray();
}

} // namespace ondrex::lsp

// The methods the server answers: life cycle, document synchronisation and the features.

#include "app/lsp/LanguageServer.h"

#include "app/lsp/Definitions.h"
#include "app/lsp/FileUri.h"
#include "app/lsp/LspRequest.h"
#include "app/lsp/WorkspaceIndex.h"

#include <unistd.h>

#ifndef ONDREX_VERSION
#define ONDREX_VERSION "0.0.0"
#endif

namespace ondrex::lsp {

namespace {

bool boolOption(simdjson::dom::element options, std::string_view key, bool fallback) {
    bool value = fallback;
    if (const auto member = OptionalMember(options, key); member && member->get(value))
        return fallback;
    return value;
}

bool isReadableFolder(const std::string& path) {
    return access(path.c_str(), R_OK | X_OK) == 0 && access((path + "/.").c_str(), F_OK) == 0;
}

} // namespace

const std::map<std::string, TLanguageServer::TMethod, std::less<>>& TLanguageServer::methods() {
    static const std::map<std::string, TMethod, std::less<>> table = {
        {"initialize", {&TLanguageServer::onInitialize, true}},
        {"initialized", {&TLanguageServer::onInitialized, false}},
        {"shutdown", {&TLanguageServer::onShutdown, true}},
        {"$/cancelRequest", {&TLanguageServer::onCancelRequest, false}},
        {"$/setTrace", {&TLanguageServer::onSetTrace, false}},
        {"textDocument/didOpen", {&TLanguageServer::onDidOpen, false}},
        {"textDocument/didChange", {&TLanguageServer::onDidChange, false}},
        {"textDocument/didClose", {&TLanguageServer::onDidClose, false}},
        {"textDocument/didSave", {&TLanguageServer::onDidSave, false}},
        {"textDocument/documentSymbol", {&TLanguageServer::onDocumentSymbol, true}},
        {"textDocument/foldingRange", {&TLanguageServer::onFoldingRange, true}},
        {"textDocument/documentLink", {&TLanguageServer::onDocumentLink, true}},
        {"textDocument/semanticTokens/full", {&TLanguageServer::onSemanticTokensFull, true}},
        {"textDocument/semanticTokens/range", {&TLanguageServer::onSemanticTokensRange, true}},
        {"textDocument/semanticTokens/full/delta", {&TLanguageServer::onSemanticTokensDelta, true}},
        {"textDocument/definition", {&TLanguageServer::onDefinition, true}},
        {"textDocument/hover", {&TLanguageServer::onHover, true}},
        {"workspace/didChangeConfiguration", {&TLanguageServer::onIgnored, false}},
        {"workspace/symbol", {&TLanguageServer::onWorkspaceSymbol, true}},
        {"workspace/didChangeWatchedFiles", {&TLanguageServer::onDidChangeWatchedFiles, false}},
    };
    return table;
}

// ---- Life cycle --------------------------------------------------------------------------

void TLanguageServer::onInitialize(TRequest& r) {
    if (initialized_) throw ELspError(ecInvalidRequest, "initialize came twice");
    canLog_ = true;
    const simdjson::dom::element params = r.params;
    if (const auto capabilities = OptionalMember(params, "capabilities")) {
        simdjson::dom::array offered;
        if (const auto g = OptionalMember(*capabilities, "general");
            g && !(*g)["positionEncodings"].get(offered))
            for (simdjson::dom::element e : offered)
                if (std::string_view name; !e.get(name) && name == "utf-8")
                    context_.encoding = TPositionEncoding::Utf8;
        if (const auto window = OptionalMember(*capabilities, "window"))
            clientProgress_ = boolOption(*window, "workDoneProgress", false);
        if (const auto workspace = OptionalMember(*capabilities, "workspace"))
            if (const auto watch = OptionalMember(*workspace, "didChangeWatchedFiles"))
                clientWatchesFiles_ = boolOption(*watch, "dynamicRegistration", false);
    }
    if (const auto options = OptionalMember(params, "initializationOptions")) {
        context_.symbolOptions.dim = boolOption(*options, "dim", false);
        context_.symbolOptions.ifs = boolOption(*options, "if", false);
        context_.symbolOptions.calls = boolOption(*options, "calls", true);
    }
    // The workspace folders: workspaceFolders, else rootUri, else rootPath.
    std::vector<std::string> uris;
    simdjson::dom::array folders;
    if (const auto f = OptionalMember(params, "workspaceFolders"); f && !f->get(folders)) {
        for (simdjson::dom::element folder : folders)
            if (std::string_view uri; !folder["uri"].get(uri)) uris.emplace_back(uri);
    } else if (const auto root = OptionalMember(params, "rootUri")) {
        if (std::string_view uri; !root->get(uri)) uris.emplace_back(uri);
    } else if (const auto path = OptionalMember(params, "rootPath")) {
        if (std::string_view p; !path->get(p)) uris.push_back(UriFromPath(p));
    }
    for (const std::string& uri : uris) {
        const std::optional<std::string> path = PathFromUri(uri);
        if (!path)
            logMessage(ltWarning, "workspace folder " + uri + " is not a local file: left out");
        else if (!isReadableFolder(*path))
            logMessage(ltWarning,
                       "workspace folder " + *path + " does not exist or cannot be read: left out");
        else
            context_.workspaceFolders.push_back(path->size() > 1 && path->back() == '/'
                                                    ? path->substr(0, path->size() - 1)
                                                    : *path);
    }

    TJsonWriter w;
    w.BeginObject().Key("capabilities").BeginObject();
    w.Member("positionEncoding", context_.encoding == TPositionEncoding::Utf8 ? "utf-8" : "utf-16");
    w.Key("textDocumentSync").BeginObject();
    w.Member("openClose", true).Member("change", 2); // incremental
    w.Key("save").BeginObject().Member("includeText", false).EndObject();
    w.EndObject();
    w.Member("documentSymbolProvider", true);
    w.Member("foldingRangeProvider", true);
    w.Key("documentLinkProvider").BeginObject().Member("resolveProvider", false).EndObject();
    w.Key("semanticTokensProvider").BeginObject();
    w.Key("legend").BeginObject().Key("tokenTypes").BeginArray();
    for (const std::string& type : SemanticTokenTypes())
        w.String(type);
    w.EndArray().Key("tokenModifiers").BeginArray().EndArray().EndObject();
    w.Key("full").BeginObject().Member("delta", true).EndObject().Member("range", true);
    w.EndObject();
    w.Member("definitionProvider", true).Member("hoverProvider", true);
    w.Member("workspaceSymbolProvider", true);
    w.EndObject();
    w.Key("serverInfo").BeginObject().Member("name", "ondrex").Member("version", ONDREX_VERSION);
    w.EndObject().EndObject();
    initialized_ = true;
    reply(r.id, w.Text());
}

void TLanguageServer::onInitialized(TRequest&) {
    startWorkspaceIndex();
}

void TLanguageServer::onShutdown(TRequest& r) {
    shutdown_ = true;
    reply(r.id, "null");
}

void TLanguageServer::onExit(TRequest&) {
    finished_ = true;
}

void TLanguageServer::onCancelRequest(TRequest& r) {
    // The reading side marked it as it came; a request answered since needs no mark.
    simdjson::dom::element id;
    if (!r.hasParams || r.params["id"].get(id)) return;
    std::lock_guard lock(mutex_);
    cancelled_.erase(simdjson::minify(id));
}

void TLanguageServer::onSetTrace(TRequest&) {}

void TLanguageServer::onIgnored(TRequest&) {}

// ---- Documents ---------------------------------------------------------------------------

TTextDocument& TLanguageServer::documentOf(TRequest& r) {
    const simdjson::dom::element textDocument =
        Member(r.params, "textDocument", "params.textDocument");
    const std::string_view uri = StringMember(textDocument, "uri", "params.textDocument.uri");
    TTextDocument* document = Document(uri);
    if (!document) throw ELspError(ecInvalidParams, "no open document " + std::string(uri));
    return *document;
}

TBytePosition TLanguageServer::positionIn(const TTextDocument& document,
                                          const simdjson::dom::element& position,
                                          bool& clamped) const {
    const std::int64_t line = IntegerMember(position, "line", "position.line");
    const std::int64_t character = IntegerMember(position, "character", "position.character");
    if (line < 0 || character < 0)
        throw ELspError(ecInvalidParams, "a position cannot be negative");
    if (line >= document.LineCount()) {
        clamped = true;
        const int last = document.LineCount() - 1;
        return {last, document.Line(last).size()};
    }
    const std::string_view text = document.Line(int(line));
    const std::size_t column = ByteOf(text, character, TCodePage::Utf8, context_.encoding);
    if (column == text.size() &&
        CharacterOf(text, column, TCodePage::Utf8, context_.encoding) < character)
        clamped = true;
    return {int(line), column};
}

void TLanguageServer::onDidOpen(TRequest& r) {
    const simdjson::dom::element item = Member(r.params, "textDocument", "params.textDocument");
    const std::string uri(StringMember(item, "uri", "params.textDocument.uri"));
    const std::string_view languageId =
        StringMember(item, "languageId", "params.textDocument.languageId");
    std::string text(StringMember(item, "text", "params.textDocument.text"));
    auto document = std::make_unique<TTextDocument>(uri, languageId, std::move(text));
    document->version = IntegerMember(item, "version", "params.textDocument.version");
    openSymbols_.erase(uri);
    tokens_.erase(uri);
    documents_[uri] = std::move(document);
}

void TLanguageServer::onDidChange(TRequest& r) {
    TTextDocument& document = documentOf(r);
    simdjson::dom::array changes;
    if (Member(r.params, "contentChanges", "params.contentChanges").get(changes))
        throw ELspError(ecInvalidParams, "params.contentChanges must be an array");
    for (simdjson::dom::element change : changes) {
        const std::string_view text = StringMember(change, "text", "contentChanges[].text");
        const auto range = OptionalMember(change, "range");
        if (!range) {
            document.SetText(std::string(text));
            continue;
        }
        bool clamped = false;
        TBytePosition start = positionIn(document, Member(*range, "start", "range.start"), clamped);
        TBytePosition end = positionIn(document, Member(*range, "end", "range.end"), clamped);
        if (end.line < start.line || (end.line == start.line && end.column < start.column))
            std::swap(start, end);
        if (clamped)
            logMessage(ltWarning, "didChange of " + document.Uri() +
                                      ": a range past the end of the text was cut to the text");
        document.Replace(start, end, text);
    }
    std::int64_t version = 0;
    if (const auto given = OptionalMember(Member(r.params, "textDocument", ""), "version");
        given && !given->get(version))
        document.version = version;
}

void TLanguageServer::onDidClose(TRequest& r) {
    const TTextDocument& document = documentOf(r);
    openSymbols_.erase(document.Uri());
    tokens_.erase(document.Uri());
    documents_.erase(document.Uri());
}

void TLanguageServer::onDidSave(TRequest& r) {
    const TTextDocument& document = documentOf(r);
    if (workspace_ && document.Path() && workspace_->Covers(*document.Path()))
        workspace_->Changed(*document.Path());
}

// ---- Features ----------------------------------------------------------------------------

TFeatureContext TLanguageServer::featureContext() {
    TFeatureContext context = context_;
    context.poll = [this] {
        if (currentCancelled_) throw ELspError(ecRequestCancelled, "cancelled");
    };
    return context;
}

void TLanguageServer::onDocumentSymbol(TRequest& r) {
    TJsonWriter w;
    WriteDocumentSymbols(w, featureContext(), documentOf(r));
    reply(r.id, w.Text());
}

void TLanguageServer::onFoldingRange(TRequest& r) {
    TJsonWriter w;
    WriteFoldingRanges(w, featureContext(), documentOf(r));
    reply(r.id, w.Text());
}

void TLanguageServer::onDocumentLink(TRequest& r) {
    TJsonWriter w;
    WriteDocumentLinks(w, featureContext(), documentOf(r));
    reply(r.id, w.Text());
}

void TLanguageServer::onSemanticTokensFull(TRequest& r) {
    TTextDocument& document = documentOf(r);
    std::vector<std::uint32_t> data =
        SemanticTokenData(featureContext(), document, 0, document.LineCount() - 1);
    TJsonWriter w;
    w.BeginObject();
    if (const std::string id = keepTokens(document.Uri(), data); !id.empty())
        w.Member("resultId", id);
    WriteNumbers(w.Key("data"), data.data(), data.data() + data.size());
    w.EndObject();
    reply(r.id, w.Text());
}

void TLanguageServer::onSemanticTokensDelta(TRequest& r) {
    TTextDocument& document = documentOf(r);
    const std::string_view previous =
        StringMember(r.params, "previousResultId", "params.previousResultId");
    const auto kept = tokens_.find(document.Uri());
    if (kept == tokens_.end() || kept->second.resultId != previous) {
        onSemanticTokensFull(r); // a result no longer kept: the whole answer
        return;
    }
    std::vector<std::uint32_t> data =
        SemanticTokenData(featureContext(), document, 0, document.LineCount() - 1);
    const std::vector<std::uint32_t> before = std::move(kept->second.data);
    TJsonWriter w;
    w.BeginObject();
    if (const std::string id = keepTokens(document.Uri(), data); !id.empty())
        w.Member("resultId", id);
    WriteSemanticTokensEdits(w.Key("edits"), before, data);
    w.EndObject();
    reply(r.id, w.Text());
}

std::string TLanguageServer::keepTokens(const std::string& uri,
                                        const std::vector<std::uint32_t>& data) {
    // A large document's tokens would cost several times its text: those are answered
    // whole every time instead.
    if (data.size() > kMaxKeptTokenNumbers) {
        tokens_.erase(uri);
        return {};
    }
    TKeptTokens& kept = tokens_[uri];
    kept.resultId = std::to_string(++lastTokensResult_);
    kept.data = data;
    return kept.resultId;
}

void TLanguageServer::onSemanticTokensRange(TRequest& r) {
    TTextDocument& document = documentOf(r);
    const simdjson::dom::element range = Member(r.params, "range", "params.range");
    const std::int64_t first =
        IntegerMember(Member(range, "start", "range.start"), "line", "range.start.line");
    const std::int64_t last =
        IntegerMember(Member(range, "end", "range.end"), "line", "range.end.line");
    const std::vector<std::uint32_t> data = SemanticTokenData(
        featureContext(), document, int(std::clamp<std::int64_t>(first, 0, document.LineCount())),
        int(std::clamp<std::int64_t>(last, -1, document.LineCount() - 1)));
    TJsonWriter w;
    w.BeginObject();
    WriteNumbers(w.Key("data"), data.data(), data.data() + data.size());
    w.EndObject();
    reply(r.id, w.Text());
}

} // namespace ondrex::lsp

namespace ondrex::lsp {

std::vector<TDefinition> TLanguageServer::definitionsAt(TRequest& r, TTextDocument& document,
                                                        TBytePosition& wordStart,
                                                        std::size_t& wordEnd) {
    bool clamped = false;
    const TBytePosition at =
        positionIn(document, Member(r.params, "position", "params.position"), clamped);
    const std::string_view line = document.Line(at.line);
    std::size_t start = 0;
    const std::string_view word = WordAt(line, at.column, start);
    wordStart = {at.line, start};
    wordEnd = start + word.size();
    const TOpenDocumentOf openDocument = [this](const std::string& path) -> const TTextDocument* {
        for (const auto& [uri, open] : documents_)
            if (open->Path() == path) return open.get();
        return nullptr;
    };
    const TWorkspaceCandidates workspace = [&](std::string_view name) {
        return workspaceCandidates(name, document.Path());
    };
    return FindDefinitions(featureContext(), document, word, openDocument, workspace);
}

void TLanguageServer::onDefinition(TRequest& r) {
    TTextDocument& document = documentOf(r);
    TBytePosition start;
    std::size_t end = 0;
    const std::vector<TDefinition> found = definitionsAt(r, document, start, end);
    TJsonWriter w;
    WriteLocations(w, featureContext(), found);
    reply(r.id, w.Text());
}

void TLanguageServer::onHover(TRequest& r) {
    TTextDocument& document = documentOf(r);
    TBytePosition start;
    std::size_t end = 0;
    const std::vector<TDefinition> found = definitionsAt(r, document, start, end);
    if (found.empty()) {
        reply(r.id, "null");
        return;
    }
    const std::string_view line = document.Line(start.line);
    TJsonWriter w;
    w.BeginObject().Key("contents").BeginObject();
    w.Member("kind", "markdown").Member("value", HoverText(found.front())).EndObject();
    w.Key("range");
    WriteRange(w, featureContext(), start.line, line, start.column, start.line, line, end);
    w.EndObject();
    reply(r.id, w.Text());
}

} // namespace ondrex::lsp

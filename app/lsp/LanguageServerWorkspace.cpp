// The workspace: the site index of the workspace folders (built after `initialized`, with
// work-done progress where the client shows it), kept current by saves and watched-file
// events, and what it answers: workspace symbols and the last step of a definition.

#include "app/lsp/LanguageServer.h"

#include "app/lsp/FileUri.h"
#include "app/lsp/LspRequest.h"
#include "app/lsp/WorkspaceIndex.h"
#include "app/lsp/WorkspaceSymbols.h"
#include "highlighters/THighlighterList.h"

#include <algorithm>

namespace ondrex::lsp {

namespace {

constexpr std::string_view kProgressRequest = "ondrex:progress";
constexpr std::string_view kWatchRequest = "ondrex:watch";
constexpr std::string_view kProgressToken = "ondrex:index";
// A query of one letter can match most of a site; clients show the first ones anyway.
constexpr std::size_t kMaxWorkspaceSymbols = 1000;

// "**/*.{asp,ASP,inc,INC,...}": every script extension of the registry, in both cases (a
// glob's case rule is the client's).
std::string scriptFilesGlob() {
    std::string glob = "**/*.{";
    const THighlighterList& list = THighlighterList::Instance();
    for (int i = 0; i < list.Count(); ++i)
        for (const std::string& extension : list[i].Extensions) {
            const std::string upper = extension.substr(1);
            std::string lower = upper;
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? char(c | 0x20) : c; });
            glob += lower + ',' + upper + ',';
        }
    glob.back() = '}';
    return glob;
}

std::string folderOf(const std::string& path) {
    return path.substr(0, path.rfind('/') + 1);
}

std::size_t sharedPrefix(std::string_view a, std::string_view b) {
    std::size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n;
}

bool definesName(const std::vector<TSiteSymbol>& symbols, std::string_view name) {
    return std::any_of(symbols.begin(), symbols.end(), [&](const TSiteSymbol& s) {
        const std::optional<TSymbolRank> rank = RankSymbol(s.name, name);
        return rank && rank->tier == 0;
    });
}

} // namespace

void TLanguageServer::startWorkspaceIndex() {
    if (context_.workspaceFolders.empty() || workspace_) return;
    TWorkspaceIndexEvents events;
    events.progress = [this](std::size_t files) {
        reportIndexProgress(progressBegun_ ? "report" : "begin", std::to_string(files) + " files");
    };
    events.built = [this](std::size_t files, std::size_t symbols) {
        const std::string summary =
            std::to_string(files) + " files, " + std::to_string(symbols) + " symbols";
        if (progressBegun_) reportIndexProgress("end", summary);
        logMessage(ltLog, "workspace index: " + summary);
    };
    events.problem = [this](const std::string& problem) {
        logMessage(ltWarning, "workspace index: " + problem);
    };
    workspace_ = std::make_unique<TWorkspaceIndex>(context_.workspaceFolders, std::move(events));
    if (clientWatchesFiles_) {
        TJsonWriter w;
        w.BeginObject().Key("registrations").BeginArray().BeginObject();
        w.Member("id", "ondrex:watched-files").Member("method", "workspace/didChangeWatchedFiles");
        w.Key("registerOptions").BeginObject().Key("watchers").BeginArray();
        w.BeginObject().Member("globPattern", scriptFilesGlob()).EndObject();
        w.EndArray().EndObject().EndObject().EndArray().EndObject();
        request(kWatchRequest, "client/registerCapability", w.Text());
    }
    if (!clientProgress_) {
        workspace_->Start();
        return;
    }
    // The build waits for the token, so that its progress is shown from the first file.
    progressToken_ = TProgressToken::Asked;
    TJsonWriter w;
    w.BeginObject().Member("token", kProgressToken).EndObject();
    request(kProgressRequest, "window/workDoneProgress/create", w.Text());
}

void TLanguageServer::reportIndexProgress(std::string_view kind, const std::string& message) {
    if (progressToken_ != TProgressToken::Granted) return;
    progressBegun_ = kind != "end";
    TJsonWriter w;
    w.BeginObject().Member("token", kProgressToken).Key("value").BeginObject();
    w.Member("kind", kind);
    if (kind == "begin") w.Member("title", "Indexing the workspace").Member("cancellable", false);
    w.Member("message", message).EndObject().EndObject();
    notify("$/progress", w.Text());
}

void TLanguageServer::onResponse(TRequest& r) {
    const bool failed = !r.root["error"].error();
    std::string_view id;
    if (simdjson::dom::element given; r.root["id"].get(given) || given.get(id)) return;
    if (id == kProgressRequest && workspace_) {
        progressToken_ = failed ? TProgressToken::Refused : TProgressToken::Granted;
        workspace_->Start();
    } else if (id == kWatchRequest && failed) {
        logMessage(ltWarning, "the client refused to watch the workspace's files: saves alone "
                              "keep the workspace index current");
    }
}

const std::vector<TSiteSymbol>& TLanguageServer::openSymbols(const TTextDocument& document) {
    TOpenSymbols& cached = openSymbols_[document.Uri()];
    if (cached.revision != document.Revision()) {
        cached.symbols = SymbolsOfText(document.Lines().GetText());
        cached.revision = document.Revision();
    }
    return cached.symbols;
}

void TLanguageServer::onWorkspaceSymbol(TRequest& r) {
    TWorkspaceSymbolSearch search(std::string(StringMember(r.params, "query", "params.query")),
                                  kMaxWorkspaceSymbols);
    // Open documents answer for their files with the text the client holds.
    std::set<std::string, std::less<>> open;
    for (const auto& [uri, document] : documents_)
        if (document->Path() && open.insert(*document->Path()).second)
            search.Add(*document->Path(), openSymbols(*document), TCodePage::Utf8);
    const TFeatureContext context = featureContext();
    TJsonWriter w;
    const auto answer = [&](const TSiteIndex* index) {
        if (index)
            for (const auto& [path, file] : index->Files())
                if (!open.count(path))
                    search.Add(path, file.symbols,
                               file.validUtf8 ? TCodePage::Utf8 : TCodePage::Windows1252);
        search.Write(w, context);
    };
    if (workspace_)
        workspace_->Use([&](const TSiteIndex& index) { answer(&index); }, context.poll);
    else
        answer(nullptr);
    reply(r.id, w.Text());
}

void TLanguageServer::onDidChangeWatchedFiles(TRequest& r) {
    simdjson::dom::array changes;
    if (Member(r.params, "changes", "params.changes").get(changes))
        throw ELspError(ecInvalidParams, "params.changes must be an array");
    if (!workspace_) return;
    for (simdjson::dom::element change : changes) {
        const std::optional<std::string> path =
            PathFromUri(StringMember(change, "uri", "changes[].uri"));
        if (!path || !workspace_->Covers(*path)) continue;
        if (IntegerMember(change, "type", "changes[].type") == 3) // Deleted
            workspace_->Removed(*path);
        else
            workspace_->Changed(*path);
    }
}

std::vector<std::string>
TLanguageServer::workspaceCandidates(std::string_view name,
                                     const std::optional<std::string>& from) {
    std::vector<std::string> paths;
    std::set<std::string, std::less<>> open;
    for (const auto& [uri, document] : documents_)
        if (document->Path() && open.insert(*document->Path()).second &&
            definesName(openSymbols(*document), name))
            paths.push_back(*document->Path());
    if (workspace_)
        workspace_->Use(
            [&](const TSiteIndex& index) {
                for (const auto& [path, file] : index.Files())
                    if (!open.count(path) && definesName(file.symbols, name)) paths.push_back(path);
            },
            featureContext().poll);
    // Nearest first: the longest folder in common with the document, then path order.
    const std::string here = from ? folderOf(*from) : std::string();
    std::sort(paths.begin(), paths.end(), [&](const std::string& a, const std::string& b) {
        const std::size_t na = sharedPrefix(folderOf(a), here);
        const std::size_t nb = sharedPrefix(folderOf(b), here);
        return na != nb ? na > nb : a < b;
    });
    return paths;
}

} // namespace ondrex::lsp

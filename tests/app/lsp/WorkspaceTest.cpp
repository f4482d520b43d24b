// The workspace: symbols from the site index ranked against a query, the open documents'
// text in place of their files', the index kept current by saves and watched files, its
// build's progress, and the workspace step of a definition.

#include "app/lsp/FileUri.h"
#include "app/lsp/WorkspaceIndex.h"
#include "app/lsp/WorkspaceSymbols.h"
#include "tests/app/index/ScratchTree.h"
#include "tests/app/lsp/LspSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace ondrex::lsp {
namespace {

using testing::TLspSession;
using testjson::Arr;
using testjson::Element;
using testjson::Json;
using testjson::Num;
using testjson::Str;
using testsupport::TScratchTree;

std::string folderParams(const TScratchTree& tree) {
    return ",\"workspaceFolders\":[{\"uri\":\"" + UriFromPath(tree.path()) + "\",\"name\":\"w\"}]";
}

// "name @ relative path" of each symbol answered, in order.
std::vector<std::string> symbolsFor(TLspSession& s, const TScratchTree& tree,
                                    const std::string& query) {
    Json answer = s.Call("workspace/symbol", "{\"query\":\"" + query + "\"}");
    std::vector<std::string> found;
    for (Element symbol : Arr(answer["result"])) {
        const std::string path = *PathFromUri(Str(symbol["location"]["uri"]));
        found.push_back(Str(symbol["name"]) + " @ " + path.substr(tree.path().size() + 1));
    }
    return found;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The messages of a method the server sent, as JSON texts.
std::vector<std::string> sent(const TLspSession& s, const std::string& method) {
    std::vector<std::string> out;
    for (const std::string& body : s.written)
        if (body.find("\"method\":\"" + method + "\"") != std::string::npos) out.push_back(body);
    return out;
}

TEST(WorkspaceSymbols, RankingTiersAndTheirEdges) {
    EXPECT_EQ(RankSymbol("GetUser", "getuser"), (TSymbolRank{0, 0}));
    EXPECT_EQ(RankSymbol("GetUsers", "GETUSER"), (TSymbolRank{1, 0}));
    EXPECT_EQ(RankSymbol("MyGetUser", "getuser"), (TSymbolRank{2, 2}));
    EXPECT_EQ(RankSymbol("GetTheUser", "getuser"), (TSymbolRank{3, 10})); // spread over 10
    EXPECT_EQ(RankSymbol("Get", "getuser"), std::nullopt);     // query longer than the name
    EXPECT_EQ(RankSymbol("UserGet", "getuser"), std::nullopt); // letters out of order
    EXPECT_EQ(RankSymbol("Any", ""), (TSymbolRank{1, 0}));
    EXPECT_EQ(RankSymbol("", ""), (TSymbolRank{0, 0}));
}

TEST(WorkspaceSymbols, IndexedFilesAnsweredRankedAndOpenTextWinsForItsFile) {
    TScratchTree tree;
    tree.file("a.asp", "<%\nFunction GetUser()\nEnd Function\nSub getusers\nEnd Sub\n%>\n");
    tree.file("lib/b.inc", "Function GetTheUser\nEnd Function\nFunction UserGet\nEnd Function\n");
    tree.file(".hidden/c.asp", "Function GetUser\nEnd Function\n");
    // Windows-1252 bytes: the name is "été", whose UTF-8 form takes 5 bytes.
    tree.file("latin.asp", "Sub \xe9t\xe9()\nEnd Sub\n");
    TLspSession s;
    s.Initialize(folderParams(tree), "{\"general\":{\"positionEncodings\":[\"utf-8\"]}}");

    EXPECT_EQ(symbolsFor(s, tree, "getuser"),
              (std::vector<std::string>{"GetUser @ a.asp", "getusers @ a.asp",
                                        "GetTheUser @ lib/b.inc"}));
    Json answer = s.Call("workspace/symbol", "{\"query\":\"t\xc3\xa9\"}");
    const std::vector<Element> latin = Arr(answer["result"]);
    ASSERT_EQ(latin.size(), 1u);
    EXPECT_EQ(Str(latin[0]["name"]), "\xc3\xa9t\xc3\xa9");
    EXPECT_EQ(Num(latin[0]["location"]["range"]["start"]["character"]), 4);
    EXPECT_EQ(Num(latin[0]["location"]["range"]["end"]["character"]), 9);
    EXPECT_EQ(Num(latin[0]["kind"]), 12);

    // Unsaved text of an open file replaces what the index read from it, until it closes.
    const std::string a = UriFromPath(tree.path() + "/a.asp");
    s.Open(a, "Function GetUserNew()\nEnd Function\n");
    EXPECT_EQ(symbolsFor(s, tree, "getuser"),
              (std::vector<std::string>{"GetUserNew @ a.asp", "GetTheUser @ lib/b.inc"}));
    s.Notify("textDocument/didClose", TLspSession::DocumentParams(a));
    EXPECT_EQ(symbolsFor(s, tree, "getuser").size(), 3u);
}

TEST(WorkspaceSymbols, SavesAndWatchedFilesKeepTheIndexCurrent) {
    TScratchTree tree;
    tree.file("a.asp", "Sub Old\nEnd Sub\n");
    tree.file("lib/b.inc", "Sub Lib\nEnd Sub\n");
    TLspSession s;
    s.Initialize(folderParams(tree));
    EXPECT_EQ(symbolsFor(s, tree, "").size(), 2u);

    // A save of an open file: the index reads what was saved.
    const std::string a = UriFromPath(tree.path() + "/a.asp");
    s.Open(a, "Sub Saved\nEnd Sub\n");
    tree.file("a.asp", "Sub Saved\nEnd Sub\n");
    s.Notify("textDocument/didSave", TLspSession::DocumentParams(a));
    s.Notify("textDocument/didClose", TLspSession::DocumentParams(a));
    EXPECT_EQ(symbolsFor(s, tree, "saved"), (std::vector<std::string>{"Saved @ a.asp"}));

    // Watched files: one created, a folder deleted with what it held, one changed to a file
    // no walk takes (hidden folder), one outside the workspace.
    tree.file("new.asp", "Function Fresh\nEnd Function\n");
    std::filesystem::remove_all(tree.root / "lib");
    s.Notify("workspace/didChangeWatchedFiles",
             "{\"changes\":[{\"uri\":\"" + UriFromPath(tree.path() + "/new.asp") +
                 "\",\"type\":1},{\"uri\":\"" + UriFromPath(tree.path() + "/lib") +
                 "\",\"type\":3},{\"uri\":\"file:///elsewhere/x.asp\",\"type\":2}]}");
    EXPECT_EQ(symbolsFor(s, tree, ""),
              (std::vector<std::string>{"Fresh @ new.asp", "Saved @ a.asp"}));
    // A bad change list is refused and logged.
    s.Notify("workspace/didChangeWatchedFiles", "{\"changes\":3}");
    EXPECT_NE(s.logged.back().find("params.changes must be an array"), std::string::npos);
}

TEST(WorkspaceSymbols, TheBuildReportsProgressOnTheClientsTokenAndWaitsForIt) {
    TScratchTree tree;
    for (std::size_t i = 0; i < TWorkspaceIndex::kProgressStep + 1; ++i)
        tree.file("f" + std::to_string(i) + ".asp", "Sub S" + std::to_string(i) + "\nEnd Sub\n");
    TLspSession s;
    s.Initialize(folderParams(tree), "{\"window\":{\"workDoneProgress\":true},\"workspace\":"
                                     "{\"didChangeWatchedFiles\":{\"dynamicRegistration\":true}}}");
    const std::vector<std::string> created = sent(s, "window/workDoneProgress/create");
    ASSERT_EQ(created.size(), 1u);
    const std::vector<std::string> registered = sent(s, "client/registerCapability");
    ASSERT_EQ(registered.size(), 1u);
    EXPECT_NE(registered[0].find("**/*.{asp,ASP,inc,INC,"), std::string::npos) << registered[0];
    EXPECT_TRUE(sent(s, "$/progress").empty()); // nothing before the token is granted

    s.Send("{\"jsonrpc\":\"2.0\",\"id\":\"ondrex:progress\",\"result\":null}");
    std::vector<std::string> kinds;
    for (const std::string& body : sent(s, "$/progress")) {
        Json message(body);
        EXPECT_EQ(Str(message["params"]["token"]), "ondrex:index");
        kinds.push_back(Str(message["params"]["value"]["kind"]) + " " +
                        Str(message["params"]["value"]["message"]));
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"begin 0 files", "report 500 files",
                                               "end 501 files, 501 symbols"}));
}

TEST(WorkspaceSymbols, AnUnansweredOrRefusedTokenNeitherBlocksNorReports) {
    TScratchTree tree;
    tree.file("a.asp");
    const std::string progress = "{\"window\":{\"workDoneProgress\":true}}";
    TLspSession silent; // never answers: the first request that needs the index builds it
    silent.Initialize(folderParams(tree), progress);
    EXPECT_EQ(symbolsFor(silent, tree, "s"), (std::vector<std::string>{"S @ a.asp"}));

    TLspSession refusing;
    refusing.Initialize(folderParams(tree), progress);
    refusing.Send("{\"jsonrpc\":\"2.0\",\"id\":\"ondrex:progress\",\"error\":"
                  "{\"code\":-32603,\"message\":\"no\"}}");
    EXPECT_EQ(symbolsFor(refusing, tree, "s").size(), 1u);
    EXPECT_TRUE(sent(refusing, "$/progress").empty());
    EXPECT_TRUE(sent(silent, "$/progress").empty());
}

TEST(WorkspaceSymbols, ARequestCancelledWhileItWaitsForTheIndexIsAnsweredAsCancelled) {
    TScratchTree tree;
    tree.file("a.asp");
    std::filesystem::create_symlink(tree.root / "missing", tree.root / "broken.asp");
    std::vector<std::string> written;
    TLanguageServer* self = nullptr;
    TLanguageServer server([&](const std::string& body) { written.push_back(body); },
                           [&](const std::string& line) {
                               // The build meets the broken link while the request waits on
                               // it: the client cancels the request then.
                               if (line.find("broken.asp") != std::string::npos)
                                   self->Receive(testing::Framed(
                                       testing::NotificationJson("$/cancelRequest", "{\"id\":2}")));
                           });
    self = &server;
    // The client shows progress but never grants the token: the request starts the build.
    server.Receive(testing::Framed(testing::RequestJson(
        1, "initialize",
        "{\"capabilities\":{\"window\":{\"workDoneProgress\":true}}" + folderParams(tree) + "}")));
    server.Receive(testing::Framed(testing::NotificationJson("initialized", "{}")));
    server.Receive(
        testing::Framed(testing::RequestJson(2, "workspace/symbol", "{\"query\":\"\"}")));
    server.ProcessQueued();
    server.WaitForWorkspaceIndex();
    ASSERT_FALSE(written.empty());
    Json answer(written.back());
    EXPECT_EQ(Num(answer["id"]), 2);
    EXPECT_EQ(Num(answer["error"]["code"]), ecRequestCancelled) << written.back();
}

TEST(WorkspaceDefinitions, TheWorkspaceIsTheLastPlaceNearestFilesFirst) {
    TScratchTree tree;
    tree.file("pages/main.asp", "<%\nCall Helper()\n%>\n");
    tree.file("pages/util.inc", "Function Helper()\nEnd Function\n");
    tree.file("lib/helpers.inc", "' far away\nFunction helper()\nEnd Function\n");
    tree.file("pages/with_include.asp", "<!-- #include file=\"../lib/helpers.inc\" -->\n"
                                        "<% Call Helper() %>\n");
    TLspSession s;
    s.Initialize(folderParams(tree));
    const auto definitionsOf = [&](const std::string& relative, int line, int character) {
        const std::string uri = UriFromPath(tree.path() + "/" + relative);
        if (!s.server.Document(uri)) s.Open(uri, readFile(tree.root / relative));
        Json answer = s.Call("textDocument/definition",
                             "{\"textDocument\":{\"uri\":\"" + uri +
                                 "\"},\"position\":{\"line\":" + std::to_string(line) +
                                 ",\"character\":" + std::to_string(character) + "}}");
        std::vector<std::string> found;
        for (Element location : Arr(answer["result"]))
            found.push_back(PathFromUri(Str(location["uri"]))->substr(tree.path().size() + 1) +
                            ":" + std::to_string(int(Num(location["range"]["start"]["line"]))));
        return found;
    };
    // Not in the document, which includes nothing: every definition in the workspace, the
    // one in the document's own folder first.
    EXPECT_EQ(definitionsOf("pages/main.asp", 1, 6),
              (std::vector<std::string>{"pages/util.inc:0", "lib/helpers.inc:1"}));
    // Found through an include: the workspace is not looked at.
    EXPECT_EQ(definitionsOf("pages/with_include.asp", 1, 9),
              (std::vector<std::string>{"lib/helpers.inc:1"}));
    // An open document's unsaved text: a definition the disk does not have yet.
    s.Open(UriFromPath(tree.path() + "/lib/new.inc"), "Sub Unsaved()\nEnd Sub\n");
    s.Open(UriFromPath(tree.path() + "/pages/caller.asp"), "<% Unsaved %>\n");
    EXPECT_EQ(definitionsOf("pages/caller.asp", 0, 4), (std::vector<std::string>{"lib/new.inc:0"}));
    EXPECT_TRUE(definitionsOf("pages/caller.asp", 0, 0).empty()); // no word there
}

} // namespace
} // namespace ondrex::lsp

// The answers on documents built for the test: outline, folding, links, semantic tokens,
// and the document synchronisation under them.

#include "tests/app/lsp/LspSession.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <tuple>

namespace ondrex::lsp {
namespace {

using testing::TLspSession;
using testjson::Arr;
using testjson::Element;
using testjson::Json;
using testjson::Num;
using testjson::Str;

const char* const kShop = "<%\n"                           // 0
                          "' Adds the tax\n"               // 1
                          "Function PriceWithTax(price)\n" // 2
                          "  Dim rate\n"                   // 3
                          "  If price > 0 Then\n"          // 4
                          "    Call Log(price)\n"          // 5
                          "  End If\n"                     // 6
                          "End Function\n"                 // 7
                          "Sub Missing()\n"                // 8: its End Sub is missing
                          "  Call Foo\n"                   // 9
                          "Sub Following()\n"              // 10
                          "End Sub\n"                      // 11
                          "%>\n";

// [start line, start character, end line, end character]
std::vector<int> rangeOf(Element range) {
    return {int(Num(range["start"]["line"])), int(Num(range["start"]["character"])),
            int(Num(range["end"]["line"])), int(Num(range["end"]["character"]))};
}

std::vector<std::string> namesOf(Element symbols) {
    std::vector<std::string> names;
    for (Element s : Arr(symbols))
        names.push_back(Str(s["name"]));
    return names;
}

TEST(DocumentFeatures, SymbolsAreTheLocatedBlocksWithTheStatementsTheOptionsAskFor) {
    TLspSession s;
    s.Initialize();
    s.Open("file:///shop.asp", kShop);
    Json answer =
        s.Call("textDocument/documentSymbol", TLspSession::DocumentParams("file:///shop.asp"));
    const Element symbols = answer["result"].value();
    EXPECT_EQ(namesOf(symbols), (std::vector<std::string>{"PriceWithTax", "Missing", "Following"}));
    const Element price = symbols.at(0).value();
    EXPECT_EQ(Str(price["detail"]), "Function PriceWithTax(price)");
    EXPECT_EQ(Num(price["kind"]), 12);
    EXPECT_EQ(rangeOf(price["range"].value()), (std::vector<int>{2, 0, 7, 12}));
    EXPECT_EQ(rangeOf(price["selectionRange"].value()), (std::vector<int>{2, 9, 2, 21}));
    // Calls by default; the block without its end runs to the next end, as `ondrex block`
    // locates it, and the next header stays a symbol of its own.
    EXPECT_EQ(namesOf(price["children"].value()), (std::vector<std::string>{"Log(price)"}));
    const Element missing = symbols.at(1).value();
    EXPECT_EQ(rangeOf(missing["range"].value()), (std::vector<int>{8, 0, 11, 7}));
    EXPECT_EQ(namesOf(missing["children"].value()), (std::vector<std::string>{"Foo"}));

    TLspSession options;
    options.Initialize(",\"initializationOptions\":{\"dim\":true,\"if\":true,\"calls\":false}");
    options.Open("file:///shop.asp", kShop);
    answer = options.Call("textDocument/documentSymbol",
                          TLspSession::DocumentParams("file:///shop.asp"));
    const Element children = answer["result"].at(0)["children"].value();
    EXPECT_EQ(namesOf(children), (std::vector<std::string>{"rate", "price > 0 Then"}));
    EXPECT_EQ(Num(children.at(0)["kind"]), 13);              // a variable
    EXPECT_TRUE(answer["result"].at(1)["children"].error()); // no Call rows, no children
}

TEST(DocumentFeatures, FoldingFollowsTheBlocksAndAnIncrementalEdit) {
    TLspSession s;
    s.Initialize();
    s.Open("file:///shop.asp", kShop);
    auto folds = [&] {
        std::vector<std::pair<int, int>> out;
        Json answer =
            s.Call("textDocument/foldingRange", TLspSession::DocumentParams("file:///shop.asp"));
        for (Element f : Arr(answer["result"]))
            out.emplace_back(int(Num(f["startLine"])), int(Num(f["endLine"])));
        return out;
    };
    EXPECT_EQ(folds(), (std::vector<std::pair<int, int>>{{2, 7}, {8, 11}, {10, 11}}));
    // The missing End Sub typed in, as an editor sends it: an insertion at line 10.
    s.Notify("textDocument/didChange",
             "{\"textDocument\":{\"uri\":\"file:///shop.asp\",\"version\":2},\"contentChanges\":"
             "[{\"range\":{\"start\":{\"line\":10,\"character\":0},\"end\":{\"line\":10,"
             "\"character\":0}},\"text\":\"End Sub\\n\"}]}");
    EXPECT_EQ(folds(), (std::vector<std::pair<int, int>>{{2, 7}, {8, 10}, {11, 12}}));
    EXPECT_EQ(s.server.Document("file:///shop.asp")->version, 2);
}

TEST(DocumentFeatures, PositionsCountUtf16UnitsOrUtf8BytesAsAgreed) {
    // "é" is one UTF-16 unit and two bytes, the emoji two units and four bytes.
    const std::string line = "Dim s : s = \"\xC3\xA9\xF0\x9F\x98\x80\" : b";
    for (const bool utf8 : {false, true}) {
        TLspSession s;
        s.Initialize("", utf8 ? "{\"general\":{\"positionEncodings\":[\"utf-8\"]}}" : "{}");
        s.Open("file:///u.asp", line + "\n");
        const int b = utf8 ? 23 : 20; // where "b" starts
        s.Notify("textDocument/didChange",
                 "{\"textDocument\":{\"uri\":\"file:///u.asp\",\"version\":2},\"contentChanges\":"
                 "[{\"range\":{\"start\":{\"line\":0,\"character\":" +
                     std::to_string(b) + "},\"end\":{\"line\":0,\"character\":" +
                     std::to_string(b + 1) + "}},\"text\":\"c\"}]}");
        EXPECT_EQ(s.server.Document("file:///u.asp")->Line(0),
                  "Dim s : s = \"\xC3\xA9\xF0\x9F\x98\x80\" : c")
            << utf8;
        // The string token: 6 bytes of text between its quotes are 3 units or 6 bytes.
        Json tokens = s.Call("textDocument/semanticTokens/full",
                             TLspSession::DocumentParams("file:///u.asp"));
        const std::vector<Element> data = Arr(tokens["result"]["data"]);
        bool found = false;
        int column = 0;
        for (std::size_t i = 0; i + 4 < data.size(); i += 5) {
            column = Num(data[i]) ? int(Num(data[i + 1])) : column + int(Num(data[i + 1]));
            if (Num(data[i + 3]) == 1) { // a string
                EXPECT_EQ(column, 12);
                EXPECT_EQ(Num(data[i + 2]), utf8 ? 8 : 5);
                found = true;
            }
        }
        EXPECT_TRUE(found);
    }
}

TEST(DocumentFeatures, SemanticTokensCarryTheHighlightersKindsInTheStandardTypes) {
    TLspSession s;
    s.Initialize();
    s.Open("file:///t.asp", "Function Foo()\n' note\nx = \"s\" + 12\n");
    auto tokens = [&](const std::string& method, const std::string& extra) {
        Json answer = s.Call(method, "{\"textDocument\":{\"uri\":\"file:///t.asp\"}" + extra + "}");
        const std::vector<Element> data = Arr(answer["result"]["data"]);
        std::vector<std::tuple<int, int, int, std::string>> out;
        int line = 0, column = 0;
        for (std::size_t i = 0; i + 4 < data.size(); i += 5) {
            line += int(Num(data[i]));
            column = Num(data[i]) ? int(Num(data[i + 1])) : column + int(Num(data[i + 1]));
            out.emplace_back(line, column, int(Num(data[i + 2])),
                             SemanticTokenTypes()[std::size_t(Num(data[i + 3]))]);
        }
        return out;
    };
    using T = std::tuple<int, int, int, std::string>;
    EXPECT_EQ(tokens("textDocument/semanticTokens/full", ""),
              (std::vector<T>{{0, 0, 8, "keyword"},
                              {0, 9, 3, "function"},
                              {0, 12, 1, "operator"},
                              {0, 13, 1, "operator"},
                              {1, 0, 6, "comment"},
                              {2, 0, 1, "variable"},
                              {2, 2, 1, "operator"},
                              {2, 4, 3, "string"},
                              {2, 8, 1, "operator"},
                              {2, 10, 2, "number"}}));
    // A range answers its lines only, still from the document's start.
    EXPECT_EQ(tokens("textDocument/semanticTokens/range",
                     ",\"range\":{\"start\":{\"line\":1,\"character\":0},"
                     "\"end\":{\"line\":1,\"character\":3}}"),
              (std::vector<T>{{1, 0, 6, "comment"}}));
}

TEST(DocumentFeatures, ATokenDeltaAppliedToTheLastAnswerGivesTheFullAnswer) {
    TLspSession s;
    s.Initialize();
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "x" + std::to_string(i) + " = \"s\" + " + std::to_string(i) + "\n";
    s.Open("file:///d.asp", text);
    const std::string doc = "{\"textDocument\":{\"uri\":\"file:///d.asp\"}";
    auto numbers = [](Element array) {
        std::vector<double> out;
        for (Element e : Arr(array))
            out.push_back(Num(e));
        return out;
    };
    Json first = s.Call("textDocument/semanticTokens/full", doc + "}");
    std::vector<double> data = numbers(first["result"]["data"].value());
    std::string id = Str(first["result"]["resultId"]);
    // Edits at the start, inside a line (a token longer), a line joined to the next, the end.
    const std::vector<std::string> edits = {"0,0,0,0,\"' \"", "7,5,7,5,\"tt\"", "20,9,21,0,\"\"",
                                            "48,0,48,0,\"y=1\\n\""};
    int version = 1;
    for (const std::string& e : edits) {
        int l1, c1, l2, c2;
        std::sscanf(e.c_str(), "%d,%d,%d,%d", &l1, &c1, &l2, &c2);
        s.Notify("textDocument/didChange",
                 "{\"textDocument\":{\"uri\":\"file:///d.asp\",\"version\":" +
                     std::to_string(++version) +
                     "},\"contentChanges\":[{\"range\":{\"start\":{"
                     "\"line\":" +
                     std::to_string(l1) + ",\"character\":" + std::to_string(c1) +
                     "},\"end\":{\"line\":" + std::to_string(l2) + ",\"character\":" +
                     std::to_string(c2) + "}},\"text\":" + e.substr(e.rfind(',') + 1) + "}]}");
        Json delta = s.Call("textDocument/semanticTokens/full/delta",
                            doc + ",\"previousResultId\":\"" + id + "\"}");
        const std::vector<Element> changes = Arr(delta["result"]["edits"]);
        ASSERT_EQ(changes.size(), 1u) << e;
        const auto start = data.begin() + std::ptrdiff_t(Num(changes[0]["start"]));
        data.erase(start, start + std::ptrdiff_t(Num(changes[0]["deleteCount"])));
        const std::vector<double> inserted = numbers(changes[0]["data"].value());
        data.insert(data.begin() + std::ptrdiff_t(Num(changes[0]["start"])), inserted.begin(),
                    inserted.end());
        id = Str(delta["result"]["resultId"]);
        Json whole = s.Call("textDocument/semanticTokens/full", doc + "}");
        EXPECT_EQ(data, numbers(whole["result"]["data"].value())) << e;
        id = Str(whole["result"]["resultId"]);
    }
    // Nothing changed: no edit. An id no longer kept: the whole answer.
    Json same = s.Call("textDocument/semanticTokens/full/delta",
                       doc + ",\"previousResultId\":\"" + id + "\"}");
    EXPECT_TRUE(Arr(same["result"]["edits"]).empty());
    Json stale = s.Call("textDocument/semanticTokens/full/delta",
                        doc + ",\"previousResultId\":\"" + id + "\"}");
    EXPECT_EQ(numbers(stale["result"]["data"].value()), data);
}

TEST(DocumentFeatures, LinksResolveFileRelativeToTheDocumentAndVirtualToTheWorkspace) {
    const std::filesystem::path site =
        std::filesystem::path(::testing::TempDir()) / "ondrex_lsp_links";
    std::filesystem::create_directories(site / "pages");
    TLspSession s;
    s.Initialize(",\"rootUri\":\"file://" + site.string() + "\"");
    const std::string uri = "file://" + (site / "pages" / "x.asp").string();
    s.Open(uri, "<!-- #include file=\"inc\\a.inc\" -->\n"
                "<!--#INCLUDE VIRTUAL='/lib/b.inc'-->\n"
                "x = \"#include file=\"\n");
    Json answer = s.Call("textDocument/documentLink", TLspSession::DocumentParams(uri));
    const std::vector<Element> links = Arr(answer["result"]);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(Str(links[0]["target"]), "file://" + (site / "pages/inc/a.inc").string());
    EXPECT_EQ(rangeOf(links[0]["range"].value()), (std::vector<int>{0, 20, 0, 29}));
    EXPECT_EQ(Str(links[1]["target"]), "file://" + (site / "lib/b.inc").string());
}

TEST(DocumentFeatures, BadDocumentInputIsLoggedAndNothingBreaks) {
    TLspSession s;
    s.Initialize(",\"rootUri\":\"file:///no/such/folder\"");
    s.Notify("textDocument/didChange",
             "{\"textDocument\":{\"uri\":\"file:///never.asp\",\"version\":2},"
             "\"contentChanges\":[{\"text\":\"x\"}]}");
    s.Open("file:///a.asp", "Sub A()\nEnd Sub");
    // A range past the end is cut to the text (the text goes at its end).
    s.Notify("textDocument/didChange",
             "{\"textDocument\":{\"uri\":\"file:///a.asp\",\"version\":2},\"contentChanges\":"
             "[{\"range\":{\"start\":{\"line\":9,\"character\":0},\"end\":{\"line\":99,"
             "\"character\":5}},\"text\":\"\\n'x\"}]}");
    EXPECT_EQ(s.server.Document("file:///a.asp")->Lines().GetText(), "Sub A()\r\nEnd Sub\r\n'x");
    std::string log;
    for (const std::string& line : s.logged)
        log += line + "\n";
    EXPECT_NE(log.find("workspace folder /no/such/folder does not exist or cannot be read"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("no open document file:///never.asp"), std::string::npos) << log;
    EXPECT_NE(log.find("a range past the end of the text was cut"), std::string::npos) << log;
    // A 10 MB line opens and answers.
    s.Open("file:///long.asp", "Function Long()" + std::string(10 << 20, 'x') + "\nEnd Function");
    Json answer =
        s.Call("textDocument/foldingRange", TLspSession::DocumentParams("file:///long.asp"));
    EXPECT_EQ(Arr(answer["result"]).size(), 1u);
}

} // namespace
} // namespace ondrex::lsp

// The life cycle and the error replies of the server, message by message.

#include "tests/app/lsp/LspSession.h"

#include <gtest/gtest.h>

namespace ondrex::lsp {
namespace {

using testing::Framed;
using testing::RequestJson;
using testing::TLspSession;
using testjson::Json;
using testjson::Num;
using testjson::Str;

int errorCode(const Json& response) {
    return int(Num(response["error"]["code"]));
}

// The error replies sent with a null id, in order.
std::vector<int> nullIdErrors(const TLspSession& session) {
    std::vector<int> codes;
    for (const std::string& body : session.written) {
        Json message(body);
        if (message["id"].is_null()) codes.push_back(int(Num(message["error"]["code"])));
    }
    return codes;
}

TEST(LanguageServerProtocol, InitializeAnswersCapabilitiesAndTheEncodingTheClientOffers) {
    TLspSession plain;
    Json answer = plain.Call("initialize", "{\"capabilities\":{}}");
    EXPECT_EQ(Str(answer["result"]["capabilities"]["positionEncoding"]), "utf-16");
    EXPECT_EQ(Str(answer["result"]["serverInfo"]["name"]), "ondrex");
    EXPECT_FALSE(Str(answer["result"]["serverInfo"]["version"]).empty());
    EXPECT_EQ(Num(answer["result"]["capabilities"]["textDocumentSync"]["change"]), 2);

    TLspSession utf8;
    answer = utf8.Call("initialize", "{\"capabilities\":{\"general\":{\"positionEncodings\":"
                                     "[\"utf-32\",\"utf-8\",\"utf-16\"]}}}");
    EXPECT_EQ(Str(answer["result"]["capabilities"]["positionEncoding"]), "utf-8");
    // A second initialize is a mistake of the client.
    EXPECT_EQ(errorCode(utf8.Call("initialize", "{\"capabilities\":{}}")), ecInvalidRequest);
}

TEST(LanguageServerProtocol, ErrorsNameTheFaultAndTheServerGoesOn) {
    TLspSession s;
    // Before initialize: requests are refused, notifications dropped.
    EXPECT_EQ(errorCode(s.Call("textDocument/documentSymbol", "{}")), ecServerNotInitialized);
    s.Initialize();
    EXPECT_EQ(errorCode(s.Call("textDocument/noSuchThing", "{}")), ecMethodNotFound);
    // A known method with missing params, and one for a document that is not open.
    Json missing = s.Call("textDocument/documentSymbol", "{}");
    EXPECT_EQ(errorCode(missing), ecInvalidParams);
    EXPECT_EQ(Str(missing["error"]["message"]), "params.textDocument is missing");
    EXPECT_EQ(errorCode(s.Call("textDocument/foldingRange",
                               TLspSession::DocumentParams("file:///nowhere.asp"))),
              ecInvalidParams);

    s.written.clear();
    s.Feed(Framed("{\"jsonrpc\":\"2.0\",\"id\":7,\"method\":") +               // invalid JSON
           Framed("[1,2]") +                                                   // not an object
           Framed("{\"id\":8,\"method\":\"shutdown\"}") +                      // no jsonrpc
           Framed("{\"jsonrpc\":\"2.0\",\"id\":{},\"method\":\"shutdown\"}") + // bad id
           Framed("\xff\xfe") +                                                // not UTF-8
           "Content-Length: x\r\n\r\n{}" + Framed(RequestJson(9, "unknown/method", "{}")));
    EXPECT_EQ(nullIdErrors(s), (std::vector<int>{ecParseError, ecInvalidRequest, ecInvalidRequest,
                                                 ecParseError, ecParseError}));
    EXPECT_EQ(errorCode(s.Response(8)), ecInvalidRequest); // its id was readable
    EXPECT_EQ(errorCode(s.Response(9)), ecMethodNotFound);
    // Each went to the log as well (stderr and window/logMessage).
    EXPECT_GE(s.logged.size(), 6u);
    EXPECT_GE(s.CountWritten("window/logMessage"), 6);
}

TEST(LanguageServerProtocol, ACancelledRequestIsAnsweredAsCancelledAndOthersStillRun) {
    TLspSession s;
    s.Initialize();
    s.Open("file:///a.asp", "Function A()\nEnd Function\n");
    // The cancel arrives while the request waits behind another one: both come in one read.
    s.Feed(Framed(RequestJson(20, "textDocument/documentSymbol",
                              TLspSession::DocumentParams("file:///a.asp"))) +
           Framed(RequestJson(21, "textDocument/documentSymbol",
                              TLspSession::DocumentParams("file:///a.asp"))) +
           Framed("{\"jsonrpc\":\"2.0\",\"method\":\"$/cancelRequest\",\"params\":{\"id\":21}}"));
    EXPECT_TRUE(s.Response(20)["result"].is_array());
    EXPECT_EQ(errorCode(s.Response(21)), ecRequestCancelled);
    // A cancel for a request already answered changes nothing; the same id may come again.
    s.Notify("$/cancelRequest", "{\"id\":20}");
    s.Send(
        RequestJson(21, "textDocument/foldingRange", TLspSession::DocumentParams("file:///a.asp")));
    EXPECT_EQ(s.CountWritten("\"id\":21,\"result\""), 1);
}

TEST(LanguageServerProtocol, ShutdownRefusesLaterRequestsAndExitGivesItsStatus) {
    TLspSession s;
    s.Initialize();
    EXPECT_TRUE(s.Call("shutdown", "null")["result"].is_null());
    EXPECT_EQ(errorCode(s.Call("textDocument/documentSymbol", "{}")), ecInvalidRequest);
    EXPECT_FALSE(s.server.Finished());
    s.Notify("exit", "null");
    EXPECT_TRUE(s.server.Finished());
    EXPECT_EQ(s.server.ExitStatus(), 0);

    TLspSession noShutdown;
    noShutdown.Initialize();
    noShutdown.Notify("exit", "null");
    EXPECT_TRUE(noShutdown.server.Finished());
    EXPECT_EQ(noShutdown.server.ExitStatus(), 1);
}

TEST(LanguageServerProtocol, TheInputEndingMidMessageIsLoggedAndEndsTheServer) {
    TLspSession s;
    s.Initialize();
    s.server.Receive("Content-Length: 100\r\n\r\n{\"jsonrpc\"");
    s.server.ReceiveEnd();
    EXPECT_FALSE(s.server.ProcessQueued());
    EXPECT_TRUE(s.server.Finished());
    EXPECT_EQ(s.server.ExitStatus(), 1);
    ASSERT_GE(s.logged.size(), 2u);
    EXPECT_EQ(s.logged[s.logged.size() - 2],
              "ondrex lsp: the input ended inside a message: 10 of 100 bytes of its body had "
              "arrived");
}

} // namespace
} // namespace ondrex::lsp

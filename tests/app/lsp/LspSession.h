#pragma once
// A language server driven in memory: messages in as framed bytes, every message it writes
// and every log line kept for the test to look at.

#include "app/lsp/JsonWriter.h"
#include "app/lsp/LanguageServer.h"
#include "tests/JsonTestSupport.h"

#include <string>
#include <vector>

namespace ondrex::lsp::testing {

inline std::string Framed(const std::string& body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

inline std::string RequestJson(int id, const std::string& method, const std::string& params) {
    return "{\"jsonrpc\":\"2.0\",\"id\":" + std::to_string(id) + ",\"method\":\"" + method +
           "\",\"params\":" + params + "}";
}

inline std::string NotificationJson(const std::string& method, const std::string& params) {
    return "{\"jsonrpc\":\"2.0\",\"method\":\"" + method + "\",\"params\":" + params + "}";
}

class TLspSession {
public:
    TLspSession()
        : server([this](const std::string& body) { written.push_back(body); },
                 [this](const std::string& line) { logged.push_back(line); }) {}

    // Bytes as they would come from the pipe, then handled (and a workspace index build
    // they began, whose progress messages then all lie in `written`).
    void Feed(const std::string& bytes) {
        server.Receive(bytes);
        server.ProcessQueued();
        server.WaitForWorkspaceIndex();
    }
    void Send(const std::string& body) { Feed(Framed(body)); }
    void Notify(const std::string& method, const std::string& params) {
        Send(NotificationJson(method, params));
    }
    // Sends the request and answers its response (throws when there is none).
    testjson::Json Call(const std::string& method, const std::string& params) {
        const int id = ++lastId_;
        Send(RequestJson(id, method, params));
        return Response(id);
    }
    testjson::Json Response(int id) const {
        for (const std::string& body : written) {
            testjson::Json message(body);
            std::int64_t got = 0;
            if (!message["id"].get(got) && got == id) return message;
        }
        throw std::runtime_error("no response to request " + std::to_string(id));
    }
    void Initialize(const std::string& extra = "", const std::string& capabilities = "{}") {
        Call("initialize", "{\"processId\":null,\"capabilities\":" + capabilities + extra + "}");
        Notify("initialized", "{}");
    }
    void Open(const std::string& uri, const std::string& text,
              const std::string& languageId = "vbscript") {
        TJsonWriter params;
        params.BeginObject().Key("textDocument").BeginObject();
        params.Member("uri", uri).Member("languageId", languageId).Member("version", 1);
        params.Member("text", text).EndObject().EndObject();
        Notify("textDocument/didOpen", params.Text());
    }
    // The messages written that hold the text.
    int CountWritten(std::string_view text) const {
        int n = 0;
        for (const std::string& body : written)
            n += body.find(text) != std::string::npos;
        return n;
    }
    static std::string DocumentParams(const std::string& uri) {
        return "{\"textDocument\":{\"uri\":\"" + uri + "\"}}";
    }

    std::vector<std::string> written;
    std::vector<std::string> logged;
    TLanguageServer server;

private:
    int lastId_ = 0;
};

} // namespace ondrex::lsp::testing

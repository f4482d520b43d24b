#pragma once
// The language server: life cycle, dispatch and error replies of JSON-RPC 2.0 messages,
// the open documents, and the features on them.
//
// Two sides, which may run on two threads: Receive() takes the client's bytes as they come
// (framing them, and marking a cancelled request at once so that its work stops), and
// ProcessQueued() handles the framed messages in order on the worker side, which alone
// writes. Every bad message gets its error reply or a log message, never an end of the
// server: only `exit` (or the end of the input) ends it.
//
// The server reads no file it is not asked about and never writes one: its output is the
// messages it hands to `write` and the log lines it hands to `log`.

#include "app/index/SiteSymbols.h"
#include "app/lsp/Definitions.h"
#include "app/lsp/Features.h"
#include "app/lsp/MessageReader.h"
#include "app/lsp/TextDocument.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace simdjson::dom {
class element;
class parser;
} // namespace simdjson::dom

namespace ondrex::lsp {

class TWorkspaceIndex;

// JSON-RPC and protocol error codes.
enum TErrorCode : int {
    ecParseError = -32700,
    ecInvalidRequest = -32600,
    ecMethodNotFound = -32601,
    ecInvalidParams = -32602,
    ecInternalError = -32603,
    ecServerNotInitialized = -32002,
    ecRequestCancelled = -32800,
};

// Message types of window/logMessage.
enum TLogType : int { ltError = 1, ltWarning = 2, ltInfo = 3, ltLog = 4 };

class TLanguageServer {
public:
    using TWrite = std::function<void(const std::string& body)>; // one message's JSON
    using TLog = std::function<void(const std::string& line)>;   // one line for stderr

    TLanguageServer(TWrite write, TLog log);
    ~TLanguageServer();
    TLanguageServer(const TLanguageServer&) = delete;
    TLanguageServer& operator=(const TLanguageServer&) = delete;

    // ---- The reading side ----------------------------------------------------------------
    void Receive(std::string_view bytes);
    // The input ended (the client closed the pipe).
    void ReceiveEnd();

    // ---- The working side -----------------------------------------------------------------
    // Handles every queued message; answers false once the server has finished.
    bool ProcessQueued();
    // Waits until a message is queued or the input ended.
    void WaitForInput();
    bool Finished() const { return finished_; }
    // 0 after shutdown then exit, 1 for an exit (or an end of input) without shutdown.
    int ExitStatus() const { return shutdown_ ? 0 : 1; }

    // The open document of a URI (for tests and benchmarks), or nullptr.
    TTextDocument* Document(std::string_view uri);
    // Waits until a workspace index build that has begun is over (for tests and benchmarks).
    void WaitForWorkspaceIndex();

private:
    struct TRequest; // one message being handled
    using THandler = void (TLanguageServer::*)(TRequest&);
    struct TMethod {
        THandler handler;
        bool request; // answered (else a notification)
    };
    static const std::map<std::string, TMethod, std::less<>>& methods();

    void handle(TFramedMessage& message);
    void dispatch(TRequest& request);
    void markCancelled(const std::string& body);

    // Output, from the worker or the index's build (one message at a time).
    void send(const std::string& body);
    void request(std::string_view id, std::string_view method, const std::string& paramsJson);
    void reply(const std::string& id, const std::string& resultJson);
    void replyError(const std::string& id, int code, const std::string& message);
    void notify(std::string_view method, const std::string& paramsJson);
    void logMessage(TLogType type, const std::string& message);

    // Handlers (LanguageServerHandlers.cpp).
    void onInitialize(TRequest& r);
    void onInitialized(TRequest& r);
    void onShutdown(TRequest& r);
    void onExit(TRequest& r);
    void onCancelRequest(TRequest& r);
    void onSetTrace(TRequest& r);
    void onDidOpen(TRequest& r);
    void onDidChange(TRequest& r);
    void onDidClose(TRequest& r);
    void onDidSave(TRequest& r);
    void onDocumentSymbol(TRequest& r);
    void onFoldingRange(TRequest& r);
    void onDocumentLink(TRequest& r);
    void onSemanticTokensFull(TRequest& r);
    void onSemanticTokensRange(TRequest& r);
    void onSemanticTokensDelta(TRequest& r);
    // Keeps a document's full token answer for a later delta; its result id (empty: too
    // large to keep).
    std::string keepTokens(const std::string& uri, const std::vector<std::uint32_t>& data);
    void onDefinition(TRequest& r);
    void onHover(TRequest& r);
    void onIgnored(TRequest& r);
    // The workspace (LanguageServerWorkspace.cpp).
    void onWorkspaceSymbol(TRequest& r);
    void onDidChangeWatchedFiles(TRequest& r);
    void onResponse(TRequest& r);
    void startWorkspaceIndex();
    void reportIndexProgress(std::string_view kind, const std::string& message);
    // Files of the workspace and open documents that define `name`, nearest to `from` first.
    std::vector<std::string> workspaceCandidates(std::string_view name,
                                                 const std::optional<std::string>& from);
    // The symbols of an open document (kept until it changes).
    const std::vector<TSiteSymbol>& openSymbols(const TTextDocument& document);

    // The open document a request's params.textDocument.uri names; throws when none.
    TTextDocument& documentOf(TRequest& r);
    // A position of the params in the document's bytes (clamped into the text).
    TBytePosition positionIn(const TTextDocument& document, const simdjson::dom::element& position,
                             bool& clamped) const;
    TFeatureContext featureContext();
    // The definitions of the word at params.position, and where that word lies.
    std::vector<TDefinition> definitionsAt(TRequest& r, TTextDocument& document,
                                           TBytePosition& wordStart, std::size_t& wordEnd);

    TWrite write_;
    TLog log_;

    std::mutex writeMutex_;

    // Shared between the two sides.
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<TFramedMessage> queue_;
    bool inputEnded_ = false;
    TMessageReader reader_;
    std::unique_ptr<simdjson::dom::parser> cancelParser_;
    std::set<std::string> cancelled_; // ids (as JSON text) cancelled, not yet answered
    std::string currentId_;           // the request being handled
    std::atomic<bool> currentCancelled_{false};

    // The working side's own.
    std::unique_ptr<simdjson::dom::parser> parser_;
    bool initialized_ = false;
    bool shutdown_ = false;
    bool finished_ = false;
    bool canLog_ = false; // window/logMessage may be sent (initialize was received)
    TFeatureContext context_;
    std::map<std::string, std::unique_ptr<TTextDocument>, std::less<>> documents_;
    struct TOpenSymbols {
        std::uint64_t revision = 0;
        std::vector<TSiteSymbol> symbols;
    };
    std::map<std::string, TOpenSymbols, std::less<>> openSymbols_; // by URI
    struct TKeptTokens {
        std::string resultId;
        std::vector<std::uint32_t> data;
    };
    static constexpr std::size_t kMaxKeptTokenNumbers = std::size_t(1) << 20; // 4 MB
    std::map<std::string, TKeptTokens, std::less<>> tokens_; // by URI: the last full answer
    std::uint64_t lastTokensResult_ = 0;

    // What the client can do.
    bool clientProgress_ = false;     // window/workDoneProgress/create
    bool clientWatchesFiles_ = false; // registers workspace/didChangeWatchedFiles
    // The index's progress token: asked for, then granted or refused by the client.
    enum class TProgressToken { None, Asked, Granted, Refused };
    std::atomic<TProgressToken> progressToken_{TProgressToken::None};
    bool progressBegun_ = false; // the build's thread alone

    // Last: its build thread ends before the rest goes.
    std::unique_ptr<TWorkspaceIndex> workspace_;
};

} // namespace ondrex::lsp

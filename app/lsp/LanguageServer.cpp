#include "app/lsp/LanguageServer.h"

#include "app/lsp/LspError.h"
#include "app/lsp/LspRequest.h"
#include "app/lsp/WorkspaceIndex.h"

#include <simdjson.h>

namespace ondrex::lsp {

namespace {

// A cancel notification is small; larger bodies are not looked into on the reading side.
constexpr std::size_t kMaxCancelBody = 4096;
// After a large message the parser gives its buffers back.
constexpr std::size_t kParserKeep = std::size_t(1) << 22;

std::string errorJson(int code, const std::string& message) {
    TJsonWriter w;
    w.BeginObject().Member("code", code).Member("message", message).EndObject();
    return w.Take();
}

} // namespace

TLanguageServer::TLanguageServer(TWrite write, TLog log)
    : write_(std::move(write)), log_(std::move(log)),
      cancelParser_(std::make_unique<simdjson::dom::parser>()),
      parser_(std::make_unique<simdjson::dom::parser>()) {}

TLanguageServer::~TLanguageServer() = default;

// ---- The reading side ----------------------------------------------------------------------

void TLanguageServer::Receive(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    reader_.Append(bytes);
    for (TFramedMessage message; reader_.Next(message);) {
        if (message.error.empty()) markCancelled(message.body);
        queue_.push_back(std::move(message));
    }
    queued_.notify_all();
}

void TLanguageServer::ReceiveEnd() {
    std::lock_guard lock(mutex_);
    inputEnded_ = true;
    queued_.notify_all();
}

void TLanguageServer::markCancelled(const std::string& body) {
    if (body.size() > kMaxCancelBody || body.find("$/cancelRequest") == std::string::npos) return;
    simdjson::dom::element message;
    if (cancelParser_->parse(body).get(message)) return; // the worker reports it
    std::string_view method;
    simdjson::dom::element id;
    if (message["method"].get(method) || method != "$/cancelRequest" ||
        message["params"]["id"].get(id))
        return;
    const std::string key = simdjson::minify(id);
    cancelled_.insert(key);
    if (key == currentId_) currentCancelled_ = true;
}

// ---- The working side ----------------------------------------------------------------------

void TLanguageServer::WaitForInput() {
    std::unique_lock lock(mutex_);
    queued_.wait(lock, [&] { return !queue_.empty() || inputEnded_; });
}

bool TLanguageServer::ProcessQueued() {
    for (;;) {
        if (finished_) return false;
        TFramedMessage message;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                if (!inputEnded_) return true;
                const std::string rest = reader_.Unfinished();
                if (!rest.empty()) logMessage(ltError, rest);
                if (!shutdown_)
                    logMessage(ltError, "the client closed the input without shutdown and exit");
                finished_ = true;
                return false;
            }
            message = std::move(queue_.front());
            queue_.pop_front();
        }
        handle(message);
    }
}

void TLanguageServer::handle(TFramedMessage& message) {
    if (!message.error.empty()) {
        logMessage(ltError, "bad message framing: " + message.error);
        replyError("null", ecParseError, message.error);
        return;
    }
    simdjson::dom::element root;
    if (const auto error = parser_->parse(message.body).get(root)) {
        const std::string why = std::string("not valid JSON: ") + simdjson::error_message(error);
        logMessage(ltError, "message of " + std::to_string(message.body.size()) + " bytes " + why);
        replyError("null", ecParseError, why);
        return;
    }
    // The parsed document holds its own copy of every string: the body's memory can go
    // before a large didOpen builds its lines.
    std::string().swap(message.body);
    TRequest request(root);
    try {
        request.Parse();
    } catch (const ELspError& e) {
        logMessage(ltError, "invalid message: " + std::string(e.what()));
        replyError(request.id.empty() ? "null" : request.id, e.Code(), e.what());
        return;
    }
    if (request.isResponse) {
        onResponse(request);
        return;
    }
    dispatch(request);
    // A large message leaves large buffers behind: give them back.
    if (parser_->capacity() > kParserKeep) parser_ = std::make_unique<simdjson::dom::parser>();
}

void TLanguageServer::dispatch(TRequest& r) {
    const auto& table = methods();
    const auto found = table.find(r.method);
    const bool isRequest = !r.id.empty();
    if (r.method == "exit") {
        onExit(r);
        return;
    }
    if (!initialized_ && r.method != "initialize") {
        if (isRequest)
            replyError(r.id, ecServerNotInitialized, "the server is not initialized: " + r.method);
        return;
    }
    if (shutdown_) {
        if (isRequest) replyError(r.id, ecInvalidRequest, "the server is shut down: " + r.method);
        return;
    }
    if (found == table.end() || found->second.request != isRequest) {
        if (isRequest)
            replyError(r.id, ecMethodNotFound, "unknown method: " + r.method);
        else if (!r.method.starts_with("$/"))
            logMessage(ltLog, "notification ignored: " + r.method);
        return;
    }
    if (isRequest) {
        std::lock_guard lock(mutex_);
        if (cancelled_.erase(r.id)) {
            replyError(r.id, ecRequestCancelled, "cancelled before it started: " + r.method);
            return;
        }
        currentId_ = r.id;
        currentCancelled_ = false;
    }
    try {
        (this->*found->second.handler)(r);
    } catch (const ELspError& e) {
        if (isRequest)
            replyError(r.id, e.Code(), e.what());
        else
            logMessage(ltError, r.method + ": " + e.what());
    } catch (const std::exception& e) {
        logMessage(ltError, r.method + " failed: " + e.what());
        if (isRequest) replyError(r.id, ecInternalError, e.what());
    }
    if (isRequest) {
        std::lock_guard lock(mutex_);
        cancelled_.erase(r.id);
        currentId_.clear();
    }
}

// ---- Output ----------------------------------------------------------------------------------

void TLanguageServer::send(const std::string& body) {
    std::lock_guard lock(writeMutex_);
    write_(body);
}

void TLanguageServer::reply(const std::string& id, const std::string& resultJson) {
    send("{\"jsonrpc\":\"2.0\",\"id\":" + id + ",\"result\":" + resultJson + "}");
}

void TLanguageServer::replyError(const std::string& id, int code, const std::string& message) {
    send("{\"jsonrpc\":\"2.0\",\"id\":" + id + ",\"error\":" + errorJson(code, message) + "}");
}

void TLanguageServer::request(std::string_view id, std::string_view method,
                              const std::string& paramsJson) {
    TJsonWriter w;
    w.BeginObject().Member("jsonrpc", "2.0").Member("id", id).Member("method", method);
    w.Key("params").Raw(paramsJson).EndObject();
    send(w.Text());
}

void TLanguageServer::notify(std::string_view method, const std::string& paramsJson) {
    TJsonWriter w;
    w.BeginObject().Member("jsonrpc", "2.0").Member("method", method).Key("params");
    w.Raw(paramsJson).EndObject();
    send(w.Text());
}

void TLanguageServer::logMessage(TLogType type, const std::string& message) {
    {
        std::lock_guard lock(writeMutex_);
        log_("ondrex lsp: " + message);
    }
    if (!canLog_) return;
    TJsonWriter params;
    params.BeginObject().Member("type", int(type)).Member("message", message).EndObject();
    notify("window/logMessage", params.Text());
}

TTextDocument* TLanguageServer::Document(std::string_view uri) {
    const auto it = documents_.find(uri);
    return it == documents_.end() ? nullptr : it->second.get();
}

void TLanguageServer::WaitForWorkspaceIndex() {
    if (workspace_) workspace_->WaitIfBuilding();
}

} // namespace ondrex::lsp

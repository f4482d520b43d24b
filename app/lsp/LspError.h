#pragma once
// An error a handler reports to the client: a request gets it as its error reply, a
// notification as a log message.

#include <stdexcept>
#include <string>

namespace ondrex::lsp {

class ELspError : public std::runtime_error {
public:
    ELspError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

} // namespace ondrex::lsp

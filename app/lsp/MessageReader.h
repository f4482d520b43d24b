#pragma once
// Splits the bytes a client sends into messages: "Content-Length: N" headers (other headers
// are read and ignored), a blank line, then N bytes of body. Bytes arrive in pieces of any
// size; a header may be split across reads and one read may hold several messages.
//
// Bad framing never stops the stream: a header block without a valid length, or bytes that
// are no header at all, give one framing error and the reader goes on at the next "Content-Length"
// header.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace ondrex::lsp {

struct TFramedMessage {
    std::string body;  // the message's JSON text, when error is empty
    std::string error; // what was wrong with the framing (no body then)
};

class TMessageReader {
public:
    // Bodies above this many bytes are refused (their header counts as bad).
    static constexpr std::size_t kMaxBody = std::size_t(1) << 30;

    void Append(std::string_view bytes);
    // The next message or framing error, in the order they came; false when more bytes are
    // needed.
    bool Next(TFramedMessage& out);

    // At the end of the input: what was left of an unfinished message, as a sentence for the
    // log, or empty when the input ended between messages.
    std::string Unfinished() const;

private:
    void frame();
    bool frameOne();
    // Drops bytes up to the next "Content-Length" (or all but a possible start of one);
    // answers how many bytes went.
    std::size_t resync(std::size_t from);
    void compact();
    std::string_view pending() const { return std::string_view(buffer_).substr(pos_); }

    std::string buffer_;
    std::size_t pos_ = 0;        // start of what is not yet framed
    std::size_t bodyLength_ = 0; // of the message whose body is awaited
    bool inBody_ = false;
    std::deque<TFramedMessage> out_; // framed, not yet taken
};

} // namespace ondrex::lsp

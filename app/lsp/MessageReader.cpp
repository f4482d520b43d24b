#include "app/lsp/MessageReader.h"

#include <algorithm>

namespace ondrex::lsp {

namespace {

constexpr std::string_view kLengthHeader = "content-length";
// A header block longer than this is not a header.
constexpr std::size_t kMaxHeader = 64 * 1024;

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(s[i]) != prefix[i]) return false;
    return true;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The end of the header block (the index after its blank line) and where the blank line
// starts; npos when it has not arrived yet. Lines end in CR LF, or in LF alone.
std::size_t headerEnd(std::string_view s, std::size_t& blank) {
    for (std::size_t i = s.find('\n'); i != std::string_view::npos; i = s.find('\n', i + 1)) {
        const std::size_t next = i + 1;
        if (next < s.size() && s[next] == '\n') {
            blank = i + 1;
            return next + 1;
        }
        if (next + 1 < s.size() && s[next] == '\r' && s[next + 1] == '\n') {
            blank = i + 1;
            return next + 2;
        }
    }
    return std::string_view::npos;
}

// The length given by the header block, or an explanation of why there is none.
bool parseLength(std::string_view header, std::size_t& length, std::string& why) {
    bool found = false;
    while (!header.empty()) {
        const std::size_t eol = header.find('\n');
        const std::string_view line = trim(header.substr(0, eol));
        header.remove_prefix(eol == std::string_view::npos ? header.size() : eol + 1);
        if (line.empty()) continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            why = "a header line without a colon: '" + std::string(line.substr(0, 80)) + "'";
            return false;
        }
        if (trim(line.substr(0, colon)).size() != kLengthHeader.size() ||
            !startsWithNoCase(line, kLengthHeader))
            continue; // Content-Type and others say nothing the server needs
        const std::string_view value = trim(line.substr(colon + 1));
        std::size_t n = 0;
        bool digits = !value.empty() && value.size() <= 10;
        for (char c : value) {
            if (c < '0' || c > '9') digits = false;
            if (digits) n = n * 10 + std::size_t(c - '0');
        }
        if (!digits || n > TMessageReader::kMaxBody) {
            why = "a Content-Length that is not a length up to " +
                  std::to_string(TMessageReader::kMaxBody) + ": '" +
                  std::string(value.substr(0, 40)) + "'";
            return false;
        }
        length = n;
        found = true;
    }
    if (!found) why = "a header without Content-Length";
    return found;
}

} // namespace

void TMessageReader::Append(std::string_view bytes) {
    buffer_.append(bytes);
    frame();
}

bool TMessageReader::Next(TFramedMessage& out) {
    if (out_.empty()) return false;
    out = std::move(out_.front());
    out_.pop_front();
    return true;
}

void TMessageReader::frame() {
    while (frameOne()) {
    }
    compact();
}

bool TMessageReader::frameOne() {
    if (inBody_) {
        if (buffer_.size() - pos_ < bodyLength_) return false;
        // Room behind the text lets the JSON parser read it in place (it reads ahead in
        // blocks of up to 64 bytes).
        TFramedMessage message;
        message.body.reserve(bodyLength_ + 64);
        message.body.assign(buffer_, pos_, bodyLength_);
        out_.push_back(std::move(message));
        pos_ += bodyLength_;
        inBody_ = false;
        return true;
    }
    // Blank lines between messages are harmless.
    while (pos_ < buffer_.size() && (buffer_[pos_] == '\r' || buffer_[pos_] == '\n'))
        ++pos_;
    const std::string_view rest = pending();
    if (rest.empty()) return false;
    const std::size_t colon = rest.find(':');
    const std::size_t eol = rest.find('\n');
    // A header line is a name (letters, digits, dashes) and a colon before the line's end.
    const bool looksLikeHeader =
        colon != std::string_view::npos && colon > 0 &&
        (eol == std::string_view::npos || colon < eol) &&
        std::all_of(rest.begin(), rest.begin() + std::ptrdiff_t(colon), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '-';
        });
    if (!looksLikeHeader && (eol != std::string_view::npos || rest.size() > kMaxHeader)) {
        const std::size_t skipped = resync(pos_ + 1);
        out_.push_back(
            {{}, "skipped " + std::to_string(skipped) + " bytes that were not a message header"});
        return true;
    }
    std::size_t blank = 0;
    const std::size_t end = headerEnd(rest, blank);
    if (end == std::string_view::npos) {
        if (rest.size() <= kMaxHeader) return false;
        const std::size_t skipped = resync(pos_ + 1);
        out_.push_back({{},
                        "a header of more than " + std::to_string(kMaxHeader) +
                            " bytes without an end; skipped " + std::to_string(skipped) +
                            " bytes"});
        return true;
    }
    std::size_t length = 0;
    std::string why;
    if (!parseLength(rest.substr(0, blank), length, why)) {
        resync(pos_ + end);
        out_.push_back({{}, why + "; skipped to the next message"});
        return true;
    }
    pos_ += end;
    bodyLength_ = length;
    inBody_ = true;
    return true;
}

std::size_t TMessageReader::resync(std::size_t from) {
    const std::size_t start = pos_;
    std::size_t i = std::min(from, buffer_.size());
    for (;; ++i) {
        i = buffer_.find_first_of("Cc", i);
        if (i == std::string::npos) break;
        // Anywhere, not only at a line's start: a body is not followed by a line break.
        if (startsWithNoCase(std::string_view(buffer_).substr(i), kLengthHeader)) {
            pos_ = i;
            return pos_ - start;
        }
    }
    // Keep a tail that may be the start of a header still arriving.
    const std::size_t keep =
        std::min(buffer_.size() - std::min(from, buffer_.size()), kLengthHeader.size());
    pos_ = std::max(std::min(from, buffer_.size()), buffer_.size() - keep);
    return pos_ - start;
}

void TMessageReader::compact() {
    if (pos_ == 0) return;
    if (pos_ == buffer_.size()) {
        buffer_.clear();
        pos_ = 0;
        // A large body leaves a large buffer behind; give it back.
        if (buffer_.capacity() > (1u << 20)) buffer_.shrink_to_fit();
    } else if (pos_ > buffer_.size() / 2) {
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
}

std::string TMessageReader::Unfinished() const {
    const std::size_t have = buffer_.size() - pos_;
    if (inBody_)
        return "the input ended inside a message: " + std::to_string(have) + " of " +
               std::to_string(bodyLength_) + " bytes of its body had arrived";
    std::string_view rest = pending();
    while (!rest.empty() && (rest.front() == '\r' || rest.front() == '\n'))
        rest.remove_prefix(1);
    if (rest.empty()) return {};
    return "the input ended inside a message header (" + std::to_string(rest.size()) +
           " bytes of it had arrived)";
}

} // namespace ondrex::lsp

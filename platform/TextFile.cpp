#include "platform/TextFile.h"

#include "platform/FileDescriptor.h"
#include "platform/HugePages.h"

#include "platform/Utf16.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrex {

namespace {

std::string describe(EFileError::TCause cause, const std::string& detail) {
    std::string text;
    switch (cause) {
    case EFileError::TCause::NotFound:
        text = "no such file";
        break;
    case EFileError::TCause::IsDirectory:
        text = "is a directory";
        break;
    case EFileError::TCause::PermissionDenied:
        text = "permission denied";
        break;
    case EFileError::TCause::ReadError:
        text = "read error";
        break;
    case EFileError::TCause::OpenError:
        text = "cannot open";
        break;
    case EFileError::TCause::TooLarge:
        text = "file too large";
        break;
    case EFileError::TCause::NotRegularFile:
        text = "not a regular file";
        break;
    case EFileError::TCause::OutOfMemory:
        text = "too large for the memory available";
        break;
    }
    if (!detail.empty()) text += " (" + detail + ")";
    return text;
}

EFileError openError(const std::string& path, int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return EFileError(path, EFileError::TCause::NotFound);
    case EISDIR:
        return EFileError(path, EFileError::TCause::IsDirectory);
    case EACCES:
    case EPERM:
        return EFileError(path, EFileError::TCause::PermissionDenied);
    default:
        return EFileError(path, EFileError::TCause::OpenError, std::strerror(err));
    }
}

} // namespace

std::string EscapeControls(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7F) {
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += "\\x";
            out += hex[u >> 4];
            out += hex[u & 15];
        }
    }
    return out;
}

EFileError::EFileError(std::string path, TCause cause, const std::string& detail)
    : std::runtime_error(EscapeControls(path) + ": " + describe(cause, detail)),
      path_(std::move(path)), cause_(cause) {}

TFileReader::TFileReader(const std::string& path, TFileKinds kinds) : path_(path) {
    if (path.empty()) throw EFileError(path, EFileError::TCause::NotFound);
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const int nonBlocking = kinds == TFileKinds::RegularOnly ? O_NONBLOCK : 0;
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | nonBlocking);
    if (fd_ < 0) throw openError(path, errno);
    struct stat st {};
    int statError = ::fstat(fd_, &st) != 0 ? errno : 0;
    const bool refused = kinds == TFileKinds::RegularOnly && !S_ISREG(st.st_mode);
    if (statError || S_ISDIR(st.st_mode) || refused) {
        ::close(fd_);
        fd_ = -1;
        if (statError)
            throw EFileError(path, EFileError::TCause::ReadError, std::strerror(statError));
        if (S_ISDIR(st.st_mode)) throw EFileError(path, EFileError::TCause::IsDirectory);
        throw EFileError(path, EFileError::TCause::NotRegularFile);
    }
    if (S_ISREG(st.st_mode) && st.st_size > 0) sizeHint_ = std::size_t(st.st_size);
}

TFileReader::~TFileReader() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t TFileReader::Read(char* into, std::size_t n) {
    if (!markChecked_) checkMark();
    if (decodedAt_ == decoded_.size() && !utf16_) return readRaw(into, n);
    // What waits in `decoded_`: the first bytes, or the UTF-16 text converted.
    while (decodedAt_ == decoded_.size()) {
        decoded_.clear();
        decodedAt_ = 0;
        raw_.resize(std::max<std::size_t>(n, 2));
        const std::size_t got = readRaw(raw_.data(), raw_.size());
        if (got == 0) {
            utf16_->Finish(decoded_);
            if (decoded_.empty()) return 0;
            break;
        }
        utf16_->Append(std::string_view(raw_.data(), got), decoded_);
    }
    const std::size_t count = std::min(n, decoded_.size() - decodedAt_);
    std::memcpy(into, decoded_.data() + decodedAt_, count);
    decodedAt_ += count;
    return count;
}

void TFileReader::checkMark() {
    markChecked_ = true;
    char head[2];
    std::size_t got = 0;
    while (got < 2) {
        const std::size_t more = readRaw(head + got, 2 - got);
        if (more == 0) break;
        got += more;
    }
    if (const auto order = Utf16Mark(std::string_view(head, got)))
        utf16_ = std::make_unique<TUtf16Decoder>(*order);
    else
        decoded_.assign(head, got); // not a mark: the first bytes of the text
}

std::size_t TFileReader::readRaw(char* into, std::size_t n) {
    for (;;) {
        ssize_t got = ::read(fd_, into, n);
        if (got >= 0) return std::size_t(got);
        if (errno == EINTR) continue;
        if (errno == EISDIR) throw EFileError(path_, EFileError::TCause::IsDirectory);
        throw EFileError(path_, EFileError::TCause::ReadError, std::strerror(errno));
    }
}

std::string ReadFileBytes(const std::string& path, TFileKinds kinds) {
    if (path.empty()) throw EFileError(path, EFileError::TCause::NotFound);
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const int nonBlocking = kinds == TFileKinds::RegularOnly ? O_NONBLOCK : 0;
    TFileDescriptor f(::open(path.c_str(), O_RDONLY | O_CLOEXEC | nonBlocking));
    if (f.fd < 0) throw openError(path, errno);
    struct stat st {};
    if (::fstat(f.fd, &st) != 0)
        throw EFileError(path, EFileError::TCause::ReadError, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) throw EFileError(path, EFileError::TCause::IsDirectory);
    if (kinds == TFileKinds::RegularOnly && !S_ISREG(st.st_mode))
        throw EFileError(path, EFileError::TCause::NotRegularFile);

    std::string data;
    // Regular files are read into a buffer of their exact size, so a 50 MB file costs 50 MB;
    // pipes and special files (size 0) grow the buffer as they go.
    std::size_t want = S_ISREG(st.st_mode) && st.st_size > 0 ? std::size_t(st.st_size) : 0;
    if (want > data.max_size()) throw EFileError(path, EFileError::TCause::TooLarge);
    // Large files: huge pages asked for before the buffer is first touched.
    data.reserve(want);
    AdviseHugePages(data.data(), want);
    data.resize(want ? want : 65536);
    std::size_t used = 0;
    char probe[4096];
    for (;;) {
        char* into = data.data() + used;
        std::size_t room = data.size() - used;
        if (room == 0) {
            // Full: read into a small probe so that a file of the expected size does not
            // make the buffer grow; only a file that grew meanwhile (or a pipe) does.
            into = probe;
            room = sizeof probe;
        }
        ssize_t n = ::read(f.fd, into, room);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EISDIR) throw EFileError(path, EFileError::TCause::IsDirectory);
            throw EFileError(path, EFileError::TCause::ReadError, std::strerror(errno));
        }
        if (n == 0) break;
        if (into == probe) {
            data.resize(used + std::max<std::size_t>(65536, used / 2));
            std::memcpy(data.data() + used, probe, std::size_t(n));
        }
        used += std::size_t(n);
    }
    data.resize(used);
    if (const auto order = Utf16Mark(data)) return Utf16ToUtf8(data, *order);
    if (used != want) data.shrink_to_fit();
    return data;
}

} // namespace ondrex

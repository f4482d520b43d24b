#include "app/index/FileBytes.h"

#include "platform/FileDescriptor.h"
#include "platform/MappedFile.h"
#include "platform/TextFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrex {

namespace {

constexpr off_t kMapFrom = off_t(64) << 20;

} // namespace

TFileBytes::TFileBytes(const std::string& path) {
    // Non-blocking, so that a FIFO put in place since the walk saw a file cannot hang us.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        read_ = ReadFileBytes(path); // says what went wrong, in the words of every command
        view_ = read_;
        return;
    }
    const TFileDescriptor closer(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw EFileError(path, EFileError::TCause::ReadError, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) throw EFileError(path, EFileError::TCause::IsDirectory);
    if (!S_ISREG(st.st_mode))
        throw EFileError(path, EFileError::TCause::OpenError, "not a regular file");
    if (st.st_size >= kMapFrom) {
        auto mapped = std::make_unique<TMappedFile>(path);
        if (mapped->Mapped()) {
            view_ = mapped->Bytes();
            map_ = std::move(mapped);
            return;
        }
    }
    // The bytes the file had when opened; a file still growing is read up to that size.
    const std::size_t size = std::size_t(st.st_size);
    buffer_.reset(new char[size ? size : 1]); // not zeroed first: every byte used is read
    std::size_t used = 0;
    while (used < size) {
        const ssize_t n = ::read(fd, buffer_.get() + used, size - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EFileError(path, EFileError::TCause::ReadError, std::strerror(errno));
        if (n == 0) break;
        used += std::size_t(n);
    }
    view_ = std::string_view(buffer_.get(), used);
}

TFileBytes::~TFileBytes() = default;

void TFileBytes::ThrowIfShortened(const std::string& path) const {
    if (map_) map_->ThrowIfShortened(path);
}

} // namespace ondrex

#include "app/CliSpool.h"

#include "app/CliSupport.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace ondrex::cli {

namespace {

std::runtime_error spoolError(const char* what) {
    return std::runtime_error(std::string(what) + " a temporary file: " + std::strerror(errno));
}

} // namespace

TSpool::TSpool() {
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/ondrex-XXXXXX";
    fd_ = mkstemp(path.data());
    if (fd_ < 0) throw spoolError("cannot create");
    unlink(path.c_str());
}

TSpool::~TSpool() {
    close(fd_);
}

void TSpool::Append(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw spoolError("cannot write");
        bytes.remove_prefix(std::size_t(n));
        size_ += std::uint64_t(n);
    }
}

std::size_t TSpool::Read(char* into, std::size_t n) {
    if (!reading_ && lseek(fd_, 0, SEEK_SET) != 0) throw spoolError("cannot rewind");
    reading_ = true;
    for (;;) {
        const ssize_t got = read(fd_, into, n);
        if (got >= 0) return std::size_t(got);
        if (errno != EINTR) throw spoolError("cannot read");
    }
}

void TSpool::CopyTo(std::ostream& out) {
    std::vector<char> buffer(std::size_t(1) << 20);
    while (const std::size_t n = Read(buffer.data(), buffer.size()))
        Write(out, std::string_view(buffer.data(), n));
}

} // namespace ondrex::cli

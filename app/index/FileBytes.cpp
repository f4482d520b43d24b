#include "app/index/FileBytes.h"

#include "platform/TextFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrex {

namespace {

constexpr off_t kMapFrom = off_t(64) << 20;

} // namespace

TFileBytes::TFileBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    const bool stated = fd >= 0 && ::fstat(fd, &st) == 0;
    if (stated && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        // Became a FIFO or a device since the walk saw it: never read (it could block).
        ::close(fd);
        throw EFileError(path, EFileError::TCause::OpenError, "not a regular file");
    }
    if (stated && S_ISREG(st.st_mode) && st.st_size >= kMapFrom) {
        void* map = ::mmap(nullptr, std::size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (map != MAP_FAILED) {
            ::madvise(map, std::size_t(st.st_size), MADV_SEQUENTIAL);
            map_ = map;
            mapped_ = std::size_t(st.st_size);
            view_ = std::string_view(static_cast<const char*>(map), mapped_);
            ::close(fd);
            return;
        }
    }
    if (fd >= 0) ::close(fd);
    // Small files, and whatever failed above: the reader says what went wrong.
    read_ = ReadFileBytes(path);
    view_ = read_;
}

TFileBytes::~TFileBytes() {
    if (map_) ::munmap(map_, mapped_);
}

} // namespace ondrex

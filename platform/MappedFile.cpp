#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrex {

TMappedFile::TMappedFile(const std::string& path) {
    // Only regular files are opened here: opening a pipe or a device has effects of its own.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        const std::size_t size = std::size_t(st.st_size);
        void* p = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (p != MAP_FAILED) {
            ::madvise(p, size, MADV_SEQUENTIAL);
            data_ = static_cast<const char*>(p);
            size_ = size;
        }
    }
    ::close(fd); // the map keeps the file
}

TMappedFile::~TMappedFile() {
    if (data_) ::munmap(const_cast<char*>(data_), size_);
}

} // namespace ondrex

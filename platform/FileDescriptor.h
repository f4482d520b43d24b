#pragma once
// A file descriptor closed however the scope that holds it ends.

#include <unistd.h>

namespace ondrex {

struct TFileDescriptor {
    explicit TFileDescriptor(int fd) : fd(fd) {}
    ~TFileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int fd;
};

} // namespace ondrex

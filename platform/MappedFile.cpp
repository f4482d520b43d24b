#include "platform/MappedFile.h"

#include "platform/TextFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace ondrex {

namespace {

// The maps alive now, read by the bus-error handler: plain atomics, no locks, so the handler
// stays async-signal-safe. A map that finds no free slot is not made (the caller reads).
struct TMapSlot {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> shortened{false};
    std::atomic<int> leaseFd{-1}; // a guarded map's leased file, until its copy is made
    std::atomic<bool> copied{false};
};
constexpr int kSlots = 64;
TMapSlot slots[kSlots];
std::uintptr_t pageSize = 4096;
struct sigaction previousBusHandler {};
struct sigaction previousLeaseHandler {};

void onBusError(int signal, siginfo_t* info, void* context) {
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (TMapSlot& slot : slots) {
        const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
        if (begin == 0 || at < begin || at >= slot.end.load(std::memory_order_acquire)) continue;
        void* page = reinterpret_cast<void*>(at & ~(pageSize - 1));
        if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
            MAP_FAILED) {
            slot.shortened.store(true, std::memory_order_release);
            return; // the read is retried on the zero page
        }
    }
    // Not one of ours: the handler that was there decides, as if we were not.
    if (previousBusHandler.sa_flags & SA_SIGINFO) {
        if (previousBusHandler.sa_sigaction)
            return previousBusHandler.sa_sigaction(signal, info, context);
    } else if (previousBusHandler.sa_handler != SIG_DFL &&
               previousBusHandler.sa_handler != SIG_IGN) {
        return previousBusHandler.sa_handler(signal);
    }
    ::signal(SIGBUS, SIG_DFL); // the faulting read runs again and ends the process as before
}

// The slot's pages become a private copy of their bytes at the same addresses: the anonymous
// copy is moved over the file's pages in one step, so a reader meanwhile sees one or the other.
bool copyInPlace(const TMapSlot& slot) {
    const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
    const std::uintptr_t end = slot.end.load(std::memory_order_acquire);
    if (begin == 0 || end <= begin) return false;
    const std::size_t size = end - begin;
    void* copy = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (copy == MAP_FAILED) return false;
    std::memcpy(copy, reinterpret_cast<const void*>(begin), size);
    ::mprotect(copy, size, PROT_READ);
    if (::mremap(copy, size, size, MREMAP_MAYMOVE | MREMAP_FIXED, reinterpret_cast<void*>(begin)) ==
        MAP_FAILED) {
        ::munmap(copy, size);
        return false;
    }
    return true;
}

// Another program opens a leased file for writing or truncates it: every guarded map whose
// lease is being broken is copied first, then the lease is given up and that program goes on.
// Signals do not queue, so one signal serves every lease broken meanwhile.
void onLeaseBreak(int signal, siginfo_t* info, void* context) {
    const int savedErrno = errno;
    bool ours = false;
    // Only the kernel's own signal is taken: one sent by a program may come at any moment,
    // even while a map ends in another thread.
    const bool fromKernel = info->si_code > 0;
    for (TMapSlot& slot : slots) {
        const int fd = slot.leaseFd.load(std::memory_order_acquire);
        if (fd < 0 || !fromKernel) continue;
        ours = ours || info->si_fd == fd;
        if (::fcntl(fd, F_GETLEASE) == F_RDLCK) continue; // not being broken
        ours = true;
        if (copyInPlace(slot)) slot.copied.store(true, std::memory_order_release);
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        slot.leaseFd.store(-1, std::memory_order_release);
    }
    errno = savedErrno;
    if (ours) return;
    // Someone else's: their handler, if any. The default (ending the process) is not taken
    // for a late signal of a lease already given up.
    if (previousLeaseHandler.sa_flags & SA_SIGINFO) {
        if (previousLeaseHandler.sa_sigaction)
            previousLeaseHandler.sa_sigaction(signal, info, context);
    } else if (previousLeaseHandler.sa_handler != SIG_DFL &&
               previousLeaseHandler.sa_handler != SIG_IGN) {
        previousLeaseHandler.sa_handler(signal);
    }
}

void installLeaseHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = onLeaseBreak;
        action.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGIO, &action, &previousLeaseHandler);
    });
}

// The lease's signal held off in this thread (it is sent to the thread that made the map)
// while a map's slot and lease change together; one sent meanwhile comes when this ends.
class TLeaseSignalHeld {
public:
    TLeaseSignalHeld() {
        sigset_t io;
        sigemptyset(&io);
        sigaddset(&io, SIGIO);
        ::pthread_sigmask(SIG_BLOCK, &io, &before_);
    }
    ~TLeaseSignalHeld() { ::pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
    TLeaseSignalHeld(const TLeaseSignalHeld&) = delete;
    TLeaseSignalHeld& operator=(const TLeaseSignalHeld&) = delete;

private:
    sigset_t before_;
};

// A read lease that lasts as long as the map: only where the kernel sees every writer (not
// on a user-space file system, whose server may change the file behind it).
bool takeLease(int fd) {
    constexpr long kFuseMagic = 0x65735546;
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0 || long(fs.f_type) == kFuseMagic) return false;
    installLeaseHandler();
    f_owner_ex owner{F_OWNER_TID, ::gettid()};
    return ::fcntl(fd, F_SETSIG, SIGIO) == 0 && ::fcntl(fd, F_SETOWN_EX, &owner) == 0 &&
           ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0;
}

void installBusHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousBusHandler);
    });
}

int claimSlot(const char* data, std::size_t size) {
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    for (int i = 0; i < kSlots; ++i) {
        std::uintptr_t free = 0;
        if (!slots[i].begin.compare_exchange_strong(free, begin, std::memory_order_acq_rel))
            continue;
        slots[i].shortened.store(false, std::memory_order_relaxed);
        slots[i].end.store(begin + size, std::memory_order_release);
        return i;
    }
    return -1;
}

} // namespace

TMappedFile::TMappedFile(const std::string& path, TGuard guard) {
    // Only regular files are opened here: opening a pipe or a device has effects of its own.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
    const TLeaseSignalHeld held;
    const bool leased = guard == TGuard::CopyBeforeChange && takeLease(fd);
    if (guard == TGuard::CopyBeforeChange && !leased) {
        ::close(fd);
        return;
    }
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        const std::size_t size = std::size_t(st.st_size);
        installBusHandler();
        void* p = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (p != MAP_FAILED) {
            slot_ = claimSlot(static_cast<const char*>(p), size);
            if (slot_ < 0) {
                ::munmap(p, size);
            } else {
                ::madvise(p, size, MADV_SEQUENTIAL);
                data_ = static_cast<const char*>(p);
                size_ = size;
            }
        }
    }
    if (leased && data_) {
        leaseFd_ = fd; // the lease lives with this descriptor
        slots[slot_].copied.store(false, std::memory_order_relaxed);
        slots[slot_].leaseFd.store(fd, std::memory_order_release);
        return;
    }
    ::close(fd); // the map keeps the file (and a lease not needed ends)
}

TMappedFile::~TMappedFile() {
    if (!data_) return;
    const TLeaseSignalHeld held;
    slots[slot_].leaseFd.store(-1, std::memory_order_release);
    if (leaseFd_ >= 0) ::close(leaseFd_);
    slots[slot_].end.store(0, std::memory_order_release);
    ::munmap(const_cast<char*>(data_), size_);
    slots[slot_].begin.store(0, std::memory_order_release);
}

bool TMappedFile::Copied() const {
    return slot_ >= 0 && slots[slot_].copied.load(std::memory_order_acquire);
}

void TMappedFile::Drop(std::size_t from, std::size_t to) const {
    if (leaseFd_ >= 0) return; // a guarded map's pages may be its only copy of the bytes
    const std::size_t first = from & ~std::size_t(pageSize - 1);
    const std::size_t last = std::min(to, size_) & ~std::size_t(pageSize - 1);
    if (data_ && first < last)
        ::madvise(const_cast<char*>(data_) + first, last - first, MADV_DONTNEED);
}

bool TMappedFile::Shortened() const {
    return slot_ >= 0 && slots[slot_].shortened.load(std::memory_order_acquire);
}

void TMappedFile::ThrowIfShortened(const std::string& path) const {
    if (Shortened())
        throw EFileError(path, EFileError::TCause::ReadError,
                         "the file was shortened while it was read");
}

} // namespace ondrex

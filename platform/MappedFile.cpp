#include "platform/MappedFile.h"

#include "platform/TextFile.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ondrex {

namespace {

// The maps alive now, read by the bus-error handler: plain atomics, no locks, so the handler
// stays async-signal-safe. A map that finds no free slot is not made (the caller reads).
struct TMapSlot {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> shortened{false};
};
constexpr int kSlots = 64;
TMapSlot slots[kSlots];
std::uintptr_t pageSize = 4096;
struct sigaction previousBusHandler {};

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

TMappedFile::TMappedFile(const std::string& path) {
    // Only regular files are opened here: opening a pipe or a device has effects of its own.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
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
    ::close(fd); // the map keeps the file
}

TMappedFile::~TMappedFile() {
    if (!data_) return;
    slots[slot_].end.store(0, std::memory_order_release);
    ::munmap(const_cast<char*>(data_), size_);
    slots[slot_].begin.store(0, std::memory_order_release);
}

void TMappedFile::Drop(std::size_t from, std::size_t to) const {
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

#include "platform/HugePages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace ondrex {

void AdviseHugePages(const void* p, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (bytes < (std::size_t(4) << 20)) return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(p) + 4095) & ~std::uintptr_t(4095);
    const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~std::uintptr_t(4095);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}

} // namespace ondrex

#pragma once
// Runs a check in a child process whose address space may grow only a little beyond what the
// test process maps now, so that running out of memory happens at once and harms nothing.

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ondrex::testsupport {

// The sanitizers reserve terabytes of address space up front, so no limit can be set.
constexpr bool kSanitizedBuild =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

// The child's exit status: what `check` returned (0 for a pass), or -1 when it died.
inline int RunUnderAddressSpaceLimit(std::size_t headroom, const std::function<int()>& check) {
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + headroom;
        const rlimit cap{limit, limit};
        if (setrlimit(RLIMIT_AS, &cap) != 0) _exit(98);
        _exit(check());
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace ondrex::testsupport

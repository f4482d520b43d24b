#pragma once
// Large buffers that are written once right after allocation (a file read whole, millions of
// line records): asking for huge pages before the first touch saves most of the page faults.

#include <cstddef>

namespace ondrex {

// A hint only, for buffers of 4 MiB and more; nothing happens where the system has no such
// request.
void AdviseHugePages(const void* p, std::size_t bytes);

} // namespace ondrex

#pragma once
// Bytes set aside in a temporary file (unlinked at once, so nothing is left behind however
// the run ends): a command keeps a small fixed amount in memory whatever the input's size.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string_view>

namespace ondrex::cli {

class TSpool {
public:
    TSpool(); // in $TMPDIR, else /tmp; throws std::runtime_error naming the cause
    ~TSpool();
    TSpool(const TSpool&) = delete;
    TSpool& operator=(const TSpool&) = delete;

    void Append(std::string_view bytes); // throws std::runtime_error (a full disk)
    std::uint64_t Size() const { return size_; }
    // Reading back from the start (the first Read after appending rewinds).
    std::size_t Read(char* into, std::size_t n);
    // Writes everything appended to `out` (throws EWriteFailed).
    void CopyTo(std::ostream& out);

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
    bool reading_ = false;
};

} // namespace ondrex::cli

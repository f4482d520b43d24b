#pragma once
// Multipliers for hashing addresses and keys into small tables: odd (so no bit of the input
// is lost) and well mixed, from a counter, so every run picks the same ones in turn.

#include <cstdint>

namespace ondrex {

// The next multiplier of the sequence `state` stands at.
inline std::uint64_t NextOddMultiplier(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return (z ^ (z >> 31)) | 1;
}

} // namespace ondrex

#include "app/KeywordFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <sys/mman.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace ondrex {
namespace {

// (position, breaks before it, the start of its line when there were breaks)
using TStops = std::vector<std::tuple<std::size_t, std::size_t, std::size_t>>;

// The scanner's keys.
const std::vector<std::string_view> kScannerKeys = {"ION ", "SUB ", "DIM ", "IF ", "ELSE", "ALL "};

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

// The filter's stops written out plainly: each key compared at each place, letters lowered
// on both sides, and breaks counted one by one.
TStops referenceStops(const std::string& block, const std::vector<std::string_view>& keys) {
    TStops stops;
    std::size_t breaks = 0, lineStart = 0;
    for (std::size_t p = 0; p < block.size(); ++p) {
        bool stop = block[p] == 26;
        for (std::string_view key : keys) {
            if (key.size() > p + 1) continue;
            bool same = true;
            for (std::size_t k = 0; k < key.size(); ++k)
                same = same && lower(block[p + 1 - key.size() + k]) == lower(key[k]);
            stop = stop || same;
        }
        if (stop) {
            stops.emplace_back(p, breaks, breaks ? lineStart : 0);
            breaks = 0;
        }
        if (block[p] == '\n' ||
            (block[p] == '\r' && (p + 1 == block.size() || block[p + 1] != '\n'))) {
            ++breaks;
            lineStart = p + 1;
        }
    }
    stops.emplace_back(block.size(), breaks, breaks ? lineStart : 0);
    return stops;
}

// Every stop, each search starting after the last one.
TStops stopsOf(const char* b, std::size_t n, const TFilterKeys& keys, TVectorPath path) {
    TStops stops;
    for (std::size_t from = 0;;) {
        const TFilterHit hit = NextFilterHit(b, n, from, keys, path);
        stops.emplace_back(hit.pos, hit.breaks, hit.breaks ? hit.lineStart : 0);
        if (hit.pos >= n) return stops;
        from = hit.pos + 1;
    }
}

std::vector<TVectorPath> availablePaths() {
    std::vector<TVectorPath> paths;
    for (TVectorPath p : {TVectorPath::Scalar, TVectorPath::Ssse3, TVectorPath::Avx2})
        if (HasVectorPath(p)) paths.push_back(p);
    return paths;
}

// The stops, and the next line break from every place.
void expectAllPathsMatchTheReference(const std::string& block,
                                     const std::vector<std::string_view>& keys = kScannerKeys) {
    const TStops want = referenceStops(block, keys);
    const TFilterKeys filter(keys);
    for (TVectorPath path : availablePaths()) {
        ASSERT_EQ(stopsOf(block.data(), block.size(), filter, path), want)
            << "path " << int(path) << " on " << testing::PrintToString(block);
        for (std::size_t from = 0; from <= block.size(); ++from)
            ASSERT_EQ(NextLineBreak(block.data(), block.size(), from, path),
                      std::min(block.find_first_of("\r\n", from), block.size()))
                << "path " << int(path) << " from " << from << " on "
                << testing::PrintToString(block);
    }
}

// Bytes the keys hold in both cases, line breaks, Ctrl+Z, and bytes that differ from a
// letter or a blank in one bit (Windows-1252 letters differ in case by the same bit).
constexpr char kAlphabet[] = "iIoOnN sSuUbBdDmMfFeElLaA\r\n\x1a\t\xC9\xE9\xCE\xEE\xAC\x0E\x00\xA0";

TEST(KeywordFilter, EveryPathStopsWhereTheReferenceDoesOnRandomText) {
    std::mt19937 rng(2112);
    for (int round = 0; round < 4000; ++round) {
        std::string block(rng() % 300, ' ');
        for (char& c : block)
            c = kAlphabet[rng() % (sizeof kAlphabet - 1)];
        expectAllPathsMatchTheReference(block);
    }
}

TEST(KeywordFilter, AnySetOfUpToEightKeysOfOneToFourBytes) {
    std::mt19937 rng(7);
    for (int round = 0; round < 1500; ++round) {
        std::vector<std::string> owned(1 + rng() % kMaxFilterKeys);
        for (std::string& key : owned) {
            key.resize(1 + rng() % kMaxFilterKeyBytes);
            for (char& c : key)
                do
                    c = kAlphabet[rng() % (sizeof kAlphabet - 1)];
                while (c == '\r' || c == '\n');
        }
        const std::vector<std::string_view> keys(owned.begin(), owned.end());
        std::string block(rng() % 200, ' ');
        for (char& c : block)
            c = kAlphabet[rng() % (sizeof kAlphabet - 1)];
        expectAllPathsMatchTheReference(block, keys);
    }
}

TEST(KeywordFilter, KeywordsAtEveryOffsetOfAVectorWindow) {
    for (const char* keyword : {"Function ", "SUB ", "dim ", "If ", "ElSe", "cAlL ", "\r\n\x1a"})
        for (std::size_t offset = 0; offset < 64; ++offset)
            for (char filler : {'x', '\n', ' '}) {
                std::string block(64 + 16, filler);
                block.replace(offset, std::strlen(keyword), keyword);
                expectAllPathsMatchTheReference(block);
                expectAllPathsMatchTheReference(block.substr(0, 64));  // cut at the block's end
                expectAllPathsMatchTheReference(block.substr(offset)); // at the block's start
            }
}

// A block that ends at the end of a readable page, or starts at its start: any read beyond
// it faults.
TEST(KeywordFilter, ReadsNothingOutsideTheBlockAtPageEdges) {
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    char* area = static_cast<char*>(
        mmap(nullptr, 3 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(area, MAP_FAILED);
    ASSERT_EQ(mprotect(area, page, PROT_NONE), 0);
    ASSERT_EQ(mprotect(area + 2 * page, page, PROT_NONE), 0);
    char* first = area + page;
    const std::string keywords = "function ELSE\r\nsub \rdim if \x1a call ";
    const TFilterKeys filter(kScannerKeys);
    for (std::size_t size : {std::size_t(1), std::size_t(3), std::size_t(4), std::size_t(17),
                             std::size_t(33), std::size_t(100), page}) {
        std::string block;
        while (block.size() < size)
            block += keywords;
        block.resize(size);
        const TStops want = referenceStops(block, kScannerKeys);
        for (TVectorPath path : availablePaths()) {
            std::memcpy(first + page - size, block.data(), size); // ends at the edge
            EXPECT_EQ(stopsOf(first + page - size, size, filter, path), want) << size;
            std::memcpy(first, block.data(), size); // starts at the edge
            EXPECT_EQ(stopsOf(first, size, filter, path), want) << size;
            std::memset(first, 'x', page); // no line break: read up to either edge
            EXPECT_EQ(NextLineBreak(first + page - size, size, 0, path), size) << size;
            EXPECT_EQ(NextLineBreak(first, size, 0, path), size) << size;
        }
    }
    munmap(area, 3 * page);
}

} // namespace
} // namespace ondrex

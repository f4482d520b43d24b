#include "app/KeywordFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <sys/mman.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace ondrex {
namespace {

// (position, breaks before it, the start of its line when there were breaks)
using TStops = std::vector<std::tuple<std::size_t, std::size_t, std::size_t>>;

// The filter's stops written out plainly: the lower-cased text is compared with the endings
// it stands for, and breaks are counted one by one.
TStops referenceStops(const std::string& block) {
    std::string low = "\n\n" + block; // bytes before the block read as LF
    for (char& c : low)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    TStops stops;
    std::size_t breaks = 0, lineStart = 0;
    for (std::size_t p = 0; p < block.size(); ++p) {
        const std::string end3 = low.substr(p, 3);
        const bool stop =
            block[p] == 26 || end3 == "lse" ||
            (end3[2] == ' ' && std::string("nbmfl").find(end3[1]) != std::string::npos);
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
TStops stopsOf(const char* b, std::size_t n, TVectorPath path) {
    TStops stops;
    for (std::size_t from = 0;;) {
        const TFilterHit hit = NextFilterHit(b, n, from, path);
        stops.emplace_back(hit.pos, hit.breaks, hit.breaks ? hit.lineStart : 0);
        if (hit.pos >= n) return stops;
        from = hit.pos + 1;
    }
}

std::vector<TVectorPath> availablePaths() {
    std::vector<TVectorPath> paths;
    for (TVectorPath p : {TVectorPath::Scalar, TVectorPath::Sse2, TVectorPath::Avx2})
        if (HasVectorPath(p)) paths.push_back(p);
    return paths;
}

void expectAllPathsMatchTheReference(const std::string& block) {
    const TStops want = referenceStops(block);
    for (TVectorPath path : availablePaths())
        ASSERT_EQ(stopsOf(block.data(), block.size(), path), want)
            << "path " << int(path) << " on " << testing::PrintToString(block);
}

TEST(KeywordFilter, EveryPathStopsWhereTheReferenceDoesOnRandomText) {
    // Bytes the filter looks at in both cases, line breaks, Ctrl+Z and bytes that equal a
    // letter in their low five bits only.
    const char alphabet[] = "nNbBmMfFlLsSeE \r\n\x1a\t x.\xCE\xEE\xAC\x0E";
    std::mt19937 rng(2112);
    for (int round = 0; round < 4000; ++round) {
        std::string block(rng() % 300, ' ');
        for (char& c : block)
            c = alphabet[rng() % (sizeof alphabet - 1)];
        expectAllPathsMatchTheReference(block);
    }
}

TEST(KeywordFilter, KeywordsAtEveryOffsetOfAVectorWindow) {
    for (const char* keyword : {"Function ", "SUB ", "dim ", "If ", "ElSe", "call ", "\r\n\x1a"})
        for (std::size_t offset = 0; offset < 64; ++offset)
            for (char filler : {'x', '\n'}) {
                std::string block(64 + 16, filler);
                block.replace(offset, std::strlen(keyword), keyword);
                expectAllPathsMatchTheReference(block);
                expectAllPathsMatchTheReference(block.substr(0, 64)); // cut at the block's end
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
    for (std::size_t size : {std::size_t(1), std::size_t(2), std::size_t(17), std::size_t(33),
                             std::size_t(100), page}) {
        std::string block;
        while (block.size() < size)
            block += keywords;
        block.resize(size);
        const TStops want = referenceStops(block);
        for (TVectorPath path : availablePaths()) {
            std::memcpy(first + page - size, block.data(), size); // ends at the edge
            EXPECT_EQ(stopsOf(first + page - size, size, path), want) << size;
            std::memcpy(first, block.data(), size); // starts at the edge
            EXPECT_EQ(stopsOf(first, size, path), want) << size;
        }
    }
    munmap(area, 3 * page);
}

} // namespace
} // namespace ondrex

#include "app/CliPipeline.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace ondrex::cli {
namespace {

struct TNumbers {
    std::vector<int> values;
};

// Chunks of three numbers from 0 up to (not including) `count`.
auto Counting(int count) {
    return [count, next = 0](TNumbers& chunk) mutable {
        chunk.values.clear();
        for (; next < count && chunk.values.size() < 3; ++next)
            chunk.values.push_back(next);
        return !chunk.values.empty();
    };
}

TEST(Pipeline, ChunksArriveWholeAndInOrder) {
    std::vector<int> seen;
    RunPipelined<TNumbers>(Counting(1000), [&](const TNumbers& chunk) {
        seen.insert(seen.end(), chunk.values.begin(), chunk.values.end());
    });
    ASSERT_EQ(seen.size(), 1000u);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(seen[i], i);
}

TEST(Pipeline, NothingToDo) {
    int calls = 0;
    RunPipelined<TNumbers>(Counting(0), [&](const TNumbers&) { ++calls; });
    EXPECT_EQ(calls, 0);
}

TEST(Pipeline, AFailingStageStopsBothAndReachesTheCaller) {
    int consumed = 0;
    auto failing = [next = 0](TNumbers& chunk) mutable {
        if (++next == 5) throw std::runtime_error("produce");
        chunk.values = {next};
        return true;
    };
    EXPECT_THROW(RunPipelined<TNumbers>(failing, [&](const TNumbers&) { ++consumed; }),
                 std::runtime_error);
    EXPECT_EQ(consumed, 4);
    // The producer would run forever: the consumer's failure must stop it.
    EXPECT_THROW(RunPipelined<TNumbers>([](TNumbers&) { return true; },
                                        [](const TNumbers&) { throw std::logic_error("consume"); }),
                 std::logic_error);
}

} // namespace
} // namespace ondrex::cli

#pragma once
// Two stages over a run of chunks: `produce` fills chunks on a second thread while `consume`
// takes them on the calling thread, in the order they were filled. A few chunks take turns,
// so a stage waits for the other only when it is a few chunks ahead. With one processor both
// stages run on the calling thread by turns.
//
// produce(chunk) fills a chunk and answers whether it holds anything (false: the run is
// over). An exception in either stage stops both and reaches the caller.

#include <array>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>

namespace ondrex::cli {

template <class Chunk, class Produce, class Consume>
void RunPipelined(Produce produce, Consume consume) {
    if (std::thread::hardware_concurrency() < 2) {
        for (Chunk chunk; produce(chunk);)
            consume(chunk);
        return;
    }
    constexpr std::size_t kChunks = 4;
    std::array<Chunk, kChunks> chunks;
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t produced = 0, consumed = 0;
    bool finished = false, stopped = false;
    std::exception_ptr failure;

    std::thread producer([&] {
        try {
            for (;;) {
                {
                    std::unique_lock lock(mutex);
                    changed.wait(lock, [&] { return stopped || produced - consumed < kChunks; });
                    if (stopped) return;
                }
                const bool more = produce(chunks[produced % kChunks]);
                {
                    std::lock_guard lock(mutex);
                    if (more)
                        ++produced;
                    else
                        finished = true;
                }
                changed.notify_all();
                if (!more) return;
            }
        } catch (...) {
            {
                std::lock_guard lock(mutex);
                failure = std::current_exception();
                finished = true;
            }
            changed.notify_all();
        }
    });
    // Stops and joins the producer however the consumer leaves.
    struct TJoin {
        std::thread& thread;
        std::mutex& mutex;
        std::condition_variable& changed;
        bool& stopped;
        ~TJoin() {
            {
                std::lock_guard lock(mutex);
                stopped = true;
            }
            changed.notify_all();
            thread.join();
        }
    } join{producer, mutex, changed, stopped};

    for (;;) {
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return consumed < produced || finished; });
            if (consumed == produced) {
                if (failure) std::rethrow_exception(failure);
                return;
            }
        }
        consume(chunks[consumed % kChunks]);
        {
            std::lock_guard lock(mutex);
            ++consumed;
        }
        changed.notify_all();
    }
}

} // namespace ondrex::cli

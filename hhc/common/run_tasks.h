#pragma once
// Shares numbered tasks among threads: the compressor's groups of reset
// intervals and the search index's pages. Which thread runs a task never
// changes what the task produces, so results do not depend on the number of
// threads.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace hhc {

// Runs tasks 0 .. tasks-1 on up to `threads` threads, the calling thread
// among them. Each thread first calls makeWorker(threadNumber) (numbers below
// `threads`) for a function that runs one task, so that it can keep its own
// scratch space. The first exception thrown stops the handing out of tasks
// and is rethrown once every thread has finished.
template <class MakeWorker>
void RunTasks(std::size_t tasks, unsigned threads, MakeWorker makeWorker) {
    threads = static_cast<unsigned>(std::clamp<std::size_t>(tasks, 1, std::max(1u, threads)));
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto run = [&](unsigned threadNumber) {
        try {
            auto work = makeWorker(threadNumber);
            for (std::size_t t = next++; t < tasks; t = next++) work(t);
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failureMutex);
            if (!failure) failure = std::current_exception();
            next = tasks;
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(run, t);
        } catch (const std::system_error&) {
            break;  // fewer helpers; the calling thread does the rest
        }
    }
    run(0);
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace hhc

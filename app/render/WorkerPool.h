// Helper threads started once and kept, so that work split into many small jobs is shared among
// all cores picture after picture without the cost of starting threads each time. The helpers
// are started at the first call that has more than one job (as many as there are further
// cores; where no more can be started the pool goes on with those it has), and they wait,
// asleep, between calls. They are stopped and joined when the pool is destroyed.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CWorkerPool {
public:
    CWorkerPool() = default;
    ~CWorkerPool();
    CWorkerPool(const CWorkerPool&) = delete;
    CWorkerPool& operator=(const CWorkerPool&) = delete;

    // Runs job(i) for every i below count, each once, on the helpers and the calling thread;
    // returns when all have run. One caller at a time. A job that throws (memory that runs out
    // on a helper) ends the call early: the jobs not yet taken are left, and once the others are
    // done the first exception comes through in the calling thread, never on a helper.
    void Run(std::size_t count, const std::function<void(std::size_t)>& job);

    // The helper threads running (0 before the first call with more than one job).
    std::size_t GetHelperCount() const { return m_helpers.size(); }

private:
    void StartHelpers();
    void Serve();
    // Takes jobs of the current call until none is left.
    void Work(const std::function<void(std::size_t)>& job, std::size_t count);

    std::mutex m_mutex;
    std::condition_variable m_wake; // a new call, or the end
    std::condition_variable m_idle; // the last helper of a call is done
    // The current call's job and job count; m_job is null between calls, so that a helper that
    // wakes late takes no part in a call that has ended.
    const std::function<void(std::size_t)>* m_job = nullptr;
    std::size_t m_count = 0;
    uint64_t m_call = 0; // counts the calls, so that a helper joins each once
    std::size_t m_busy = 0;
    bool m_stop = false;
    bool m_started = false;
    std::exception_ptr m_failure; // the first exception of the current call's jobs
    std::atomic<std::size_t> m_next{0};
    std::vector<std::jthread> m_helpers;
};

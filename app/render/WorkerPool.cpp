// The kept helper threads and the sharing of jobs among them.
#include "app/render/WorkerPool.h"

#include <algorithm>
#include <system_error>

CWorkerPool::~CWorkerPool() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_helpers.clear(); // joins
}

void CWorkerPool::StartHelpers() {
    m_started = true;
    const std::size_t helpers = std::max(1u, std::thread::hardware_concurrency()) - 1;
    m_helpers.reserve(helpers);
    for (std::size_t t = 0; t < helpers; ++t) {
        try {
            m_helpers.emplace_back([this] { Serve(); });
        } catch (const std::system_error&) {
            break; // no more threads to be had: the ones running share the work
        }
    }
}

void CWorkerPool::Work(const std::function<void(std::size_t)>& job, std::size_t count) {
    try {
        for (std::size_t i = m_next++; i < count; i = m_next++) {
            job(i);
        }
    } catch (...) {
        // Kept for the caller (the exception is taken over, nothing allocated); the jobs not
        // taken yet are left.
        const std::lock_guard lock(m_mutex);
        if (!m_failure) {
            m_failure = std::current_exception();
        }
        m_next = count;
    }
}

void CWorkerPool::Serve() {
    uint64_t joined = 0;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_stop || (m_job != nullptr && m_call != joined); });
        if (m_stop) {
            return;
        }
        joined = m_call;
        const std::function<void(std::size_t)>& job = *m_job;
        const std::size_t count = m_count;
        ++m_busy;
        lock.unlock();
        Work(job, count);
        lock.lock();
        if (--m_busy == 0) {
            m_idle.notify_all();
        }
    }
}

void CWorkerPool::Run(std::size_t count, const std::function<void(std::size_t)>& job) {
    if (count == 0) {
        return;
    }
    if (!m_started && count > 1) {
        StartHelpers();
    }
    if (count == 1 || m_helpers.empty()) {
        for (std::size_t i = 0; i < count; ++i) {
            job(i);
        }
        return;
    }
    {
        // No helper is busy between calls, so the counter can be set back.
        const std::lock_guard lock(m_mutex);
        m_next = 0;
        m_job = &job;
        m_count = count;
        ++m_call;
    }
    m_wake.notify_all();
    Work(job, count);
    std::unique_lock lock(m_mutex);
    // Every job is taken; the helpers that took one finish it.
    m_idle.wait(lock, [&] { return m_busy == 0; });
    m_job = nullptr;
    if (m_failure) {
        std::exception_ptr failure = std::move(m_failure);
        m_failure = nullptr;
        lock.unlock();
        std::rethrow_exception(failure);
    }
}

#include "corvane/base/PagesAhead.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace {

constexpr uintptr_t kPageBytes = 4096;

// The start of the page after the one holding p, or limit.
char* NextPage(char* p, char* limit)
{
    const uintptr_t next = (reinterpret_cast<uintptr_t>(p) / kPageBytes + 1) * kPageBytes;
    return next < reinterpret_cast<uintptr_t>(limit) ? reinterpret_cast<char*>(next) : limit;
}

} // namespace

PagesAhead::PagesAhead(void* begin, size_t bytes)
    : m_begin(static_cast<char*>(begin)), m_end(static_cast<char*>(begin) + bytes), m_free(m_end),
      m_claimed(m_end), m_touched(m_end)
{
    if (!begin || bytes < kLeastBytes) return;
    char* const start = m_begin + kLead;
    m_claimed.store(start, std::memory_order_relaxed);
    m_touched.store(start, std::memory_order_relaxed);
    m_free = start;
    try {
        m_thread = std::thread([this] { Touch(); });
    } catch (const std::system_error&) {
        // No thread: the writer meets the pages itself.
        m_free = m_end;
    }
}

void PagesAhead::Touch()
{
    char* page = m_claimed.load(std::memory_order_acquire);
    while (page < m_end && !m_stop.load(std::memory_order_relaxed)) {
        char* const next = NextPage(page, m_end);
        // A failed claim finds where the writer left off.
        if (!m_claimed.compare_exchange_weak(page, next, std::memory_order_acq_rel)) continue;
        *static_cast<volatile char*>(page) = 0;
        m_touched.store(next, std::memory_order_release);
        page = next;
    }
}

void PagesAhead::Wait(const char* end)
{
    char* claimed = m_claimed.load(std::memory_order_acquire);
    for (;;) {
        if (end <= claimed) {
            // The thread's pages: it is done with them or on the last one.
            char* touched = m_touched.load(std::memory_order_acquire);
            while (touched < end) {
                std::this_thread::yield();
                touched = m_touched.load(std::memory_order_acquire);
            }
            m_free = touched;
            return;
        }
        // Caught up: the pages up to `end` and some more are the writer's,
        // once the thread is off the page it may be on below them.
        char* const mine = std::min(NextPage(const_cast<char*>(end) - 1, m_end) + kLead, m_end);
        if (m_claimed.compare_exchange_weak(claimed, std::max(mine, claimed), std::memory_order_acq_rel)) {
            while (m_touched.load(std::memory_order_acquire) < claimed) std::this_thread::yield();
            m_free = mine;
            return;
        }
    }
}

void PagesAhead::Stop()
{
    m_stop.store(true, std::memory_order_relaxed);
    if (m_thread.joinable()) m_thread.join();
    m_free = m_end;
}

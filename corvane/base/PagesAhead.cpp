#include "corvane/base/PagesAhead.h"
#include "corvane/base/PoolWork.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>

namespace {

constexpr uintptr_t kPageBytes = 4096;

// The start of the page after the one holding p, or limit.
char* NextPage(char* p, char* limit)
{
    const uintptr_t next = (reinterpret_cast<uintptr_t>(p) / kPageBytes + 1) * kPageBytes;
    return next < reinterpret_cast<uintptr_t>(limit) ? reinterpret_cast<char*>(next) : limit;
}

enum Phase { kWaiting, kTouching, kDone };

// Where the writer is free to write when no work touches pages for it: all
// memory.
const char* const kAnywhere = reinterpret_cast<const char*>(~uintptr_t(0));

} // namespace

struct PagesAhead::Shared {
    char* end;
    // The first page not yet claimed; every page below it is claimed by the
    // work or by the writer.
    std::atomic<char*> claimed;
    // The work has touched every page it claimed below this address.
    std::atomic<char*> touched;
    std::atomic<bool> stop{false};
    // kWaiting until the work starts; kDone once it touches no more (or
    // was stopped before it started).
    std::atomic<int> phase{kWaiting};
    // The writer and the work; the last to let go frees it.
    std::atomic<int> holders{2};

    void LetGo()
    {
        if (holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }
};

namespace {

void CALLBACK TouchPages(PTP_CALLBACK_INSTANCE instance, void* context)
{
    auto* shared = static_cast<PagesAhead::Shared*>(context);
    int waiting = kWaiting;
    if (shared->phase.compare_exchange_strong(waiting, kTouching, std::memory_order_acq_rel)) {
        char* page = shared->claimed.load(std::memory_order_acquire);
        while (page < shared->end && !shared->stop.load(std::memory_order_relaxed)) {
            char* const next = NextPage(page, shared->end);
            // A failed claim finds where the writer left off.
            if (!shared->claimed.compare_exchange_weak(page, next, std::memory_order_acq_rel)) continue;
            *static_cast<volatile char*>(page) = 0;
            shared->touched.store(next, std::memory_order_release);
            page = next;
        }
        shared->phase.store(kDone, std::memory_order_release);
    }
    shared->LetGo();
    EndPoolWork(instance);
}

} // namespace

PagesAhead::PagesAhead(void* begin, size_t bytes)
    : m_end(static_cast<char*>(begin) + bytes), m_free(kAnywhere)
{
    // On a single processor the work would only take turns with the writer.
    static const bool otherProcessors = [] {
        SYSTEM_INFO system{};
        ::GetSystemInfo(&system);
        return system.dwNumberOfProcessors > 1;
    }();
    if (!begin || bytes < kLeastBytes || !otherProcessors) return;
    char* const start = static_cast<char*>(begin) + kLead;
    auto* shared = new Shared;
    shared->end = m_end;
    shared->claimed.store(start, std::memory_order_relaxed);
    shared->touched.store(start, std::memory_order_relaxed);
    if (SubmitPoolWork(&TouchPages, shared)) {
        m_shared = shared;
        m_free = start;
        return;
    }
    // No work: the writer meets the pages itself.
    delete shared;
}

PagesAhead::~PagesAhead()
{
    Stop();
    if (m_shared) m_shared->LetGo();
}

void PagesAhead::Wait(const char* end)
{
    Shared& shared = *m_shared;
    char* claimed = shared.claimed.load(std::memory_order_acquire);
    for (;;) {
        if (end <= claimed) {
            // The work's pages: it is done with them or on the last one.
            char* touched = shared.touched.load(std::memory_order_acquire);
            while (touched < end) {
                std::this_thread::yield();
                touched = shared.touched.load(std::memory_order_acquire);
            }
            m_free = touched;
            return;
        }
        // Caught up: the pages up to `end` and some more are the writer's,
        // once the work is off the page it may be on below them.
        char* const mine = std::min(NextPage(const_cast<char*>(end) - 1, m_end) + kLead, m_end);
        if (shared.claimed.compare_exchange_weak(claimed, std::max(mine, claimed), std::memory_order_acq_rel)) {
            while (shared.touched.load(std::memory_order_acquire) < claimed) std::this_thread::yield();
            m_free = mine;
            return;
        }
    }
}

void PagesAhead::Stop()
{
    m_free = kAnywhere;
    if (!m_shared) return;
    Shared& shared = *m_shared;
    shared.stop.store(true, std::memory_order_relaxed);
    // A work not yet started never starts; one started ends after its page.
    int waiting = kWaiting;
    if (shared.phase.compare_exchange_strong(waiting, kDone, std::memory_order_acq_rel)) return;
    while (shared.phase.load(std::memory_order_acquire) != kDone) std::this_thread::yield();
}

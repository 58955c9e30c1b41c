#include "corvane/base/PagesAhead.h"
#include "corvane/base/PoolWork.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>

namespace {

constexpr uintptr_t kPageBytes = 4096;
// The work claims and touches the pages a piece of this size at a time.
constexpr uintptr_t kPieceBytes = 64 * 1024;

// The first multiple of `unit` above p, or limit.
char* NextBoundary(char* p, uintptr_t unit, char* limit)
{
    const uintptr_t next = (reinterpret_cast<uintptr_t>(p) / unit + 1) * unit;
    return next < reinterpret_cast<uintptr_t>(limit) ? reinterpret_cast<char*>(next) : limit;
}

// p moved on by up to `bytes`, not beyond limit.
char* Beyond(char* p, size_t bytes, char* limit)
{
    return static_cast<size_t>(limit - p) > bytes ? p + bytes : limit;
}

// kIdle: no work handed out (it ended where it could go no further, or none
// was handed out yet); kHandedOut: handed out, not yet started; kTouching:
// touching pages; kStopped: the writer stopped it for good.
enum Phase { kIdle, kHandedOut, kTouching, kStopped };

// Where the writer is free to write when no work touches pages for it: all
// memory.
const char* const kAnywhere = reinterpret_cast<const char*>(~uintptr_t(0));

} // namespace

struct PagesAhead::Shared {
    char* end;
    // The first page not yet claimed; every page below it is claimed by the
    // work or by the writer.
    std::atomic<char*> claimed;
    // Every page claimed below this address is done with: touched by the
    // work, or the writer's.
    std::atomic<char*> touched;
    // The work claims no page from here on (the writer moves it on).
    std::atomic<char*> allowed;
    std::atomic<bool> stop{false};
    std::atomic<int> phase{kIdle};
    // The writer and each piece of work handed out; the last to let go
    // frees it.
    std::atomic<int> holders{1};

    void LetGo()
    {
        if (holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }

    // Claims and touches the pages up to where the work is allowed, or
    // until it is told to stop.
    void TouchStretch()
    {
        char* piece = claimed.load(std::memory_order_acquire);
        while (!stop.load(std::memory_order_relaxed)) {
            char* const limit = allowed.load(std::memory_order_acquire);
            if (piece >= limit) return;
            char* const next = NextBoundary(piece, kPieceBytes, limit);
            // A failed claim finds where the writer left off.
            if (!claimed.compare_exchange_weak(piece, next, std::memory_order_acq_rel)) continue;
            TouchPages(piece, next);
            touched.store(next, std::memory_order_release);
            piece = next;
        }
    }
};

namespace {

void CALLBACK TouchAhead(PTP_CALLBACK_INSTANCE instance, void* context)
{
    auto* shared = static_cast<PagesAhead::Shared*>(context);
    int handedOut = kHandedOut;
    if (shared->phase.compare_exchange_strong(handedOut, kTouching, std::memory_order_acq_rel)) {
        for (;;) {
            shared->TouchStretch();
            shared->phase.store(kIdle, std::memory_order_release);
            // The writer may have let the work go further while it saw it
            // at work: it goes on, unless new work was handed out or it was
            // stopped meanwhile.
            if (shared->stop.load(std::memory_order_relaxed) ||
                shared->claimed.load(std::memory_order_acquire) >= shared->allowed.load(std::memory_order_acquire))
                break;
            int idle = kIdle;
            if (!shared->phase.compare_exchange_strong(idle, kTouching, std::memory_order_acq_rel)) break;
        }
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
    m_shared = new Shared;
    m_shared->end = m_end;
    m_shared->claimed.store(start, std::memory_order_relaxed);
    m_shared->touched.store(start, std::memory_order_relaxed);
    m_shared->allowed.store(static_cast<char*>(begin) + std::min(kAhead, bytes), std::memory_order_relaxed);
    if (!GoOn()) {
        // No work: the writer meets the pages itself.
        delete m_shared;
        m_shared = nullptr;
        return;
    }
    m_free = start;
}

PagesAhead::~PagesAhead()
{
    Stop();
    if (m_shared) m_shared->LetGo();
}

bool PagesAhead::GoOn()
{
    Shared& shared = *m_shared;
    if (shared.claimed.load(std::memory_order_acquire) >= shared.allowed.load(std::memory_order_relaxed)) return false;
    int idle = kIdle;
    if (!shared.phase.compare_exchange_strong(idle, kHandedOut, std::memory_order_acq_rel)) return false;
    shared.holders.fetch_add(1, std::memory_order_relaxed);
    if (SubmitPoolWork(&TouchAhead, &shared)) return true;
    // Not handed out; the writer tries again as it moves on.
    shared.holders.fetch_sub(1, std::memory_order_relaxed);
    shared.phase.store(kIdle, std::memory_order_release);
    return false;
}

void PagesAhead::Wait(const char* reach)
{
    Shared& shared = *m_shared;
    char* const end = std::min(const_cast<char*>(reach), m_end);
    // The work may go on to kAhead beyond here.
    char* const allowed = Beyond(end, kAhead, m_end);
    if (allowed > shared.allowed.load(std::memory_order_relaxed))
        shared.allowed.store(allowed, std::memory_order_release);
    char* free = nullptr;
    char* claimed = shared.claimed.load(std::memory_order_acquire);
    for (;;) {
        if (end <= claimed) {
            // The work's pages: it is done with them or on the last ones.
            char* touched = shared.touched.load(std::memory_order_acquire);
            while (touched < end) {
                std::this_thread::yield();
                touched = shared.touched.load(std::memory_order_acquire);
            }
            free = touched;
            break;
        }
        // Caught up: the pages up to `end` and some more are the writer's,
        // once the work is off the pages it may be on below them.
        char* const mine = Beyond(NextBoundary(end - 1, kPageBytes, m_end), kLead, m_end);
        if (shared.claimed.compare_exchange_weak(claimed, mine, std::memory_order_acq_rel)) {
            char* touched = shared.touched.load(std::memory_order_acquire);
            while (touched < claimed) {
                std::this_thread::yield();
                touched = shared.touched.load(std::memory_order_acquire);
            }
            // The writer's pages count as done with; the work, whose later
            // pieces lie beyond them, may have moved it further already.
            while (touched < mine &&
                   !shared.touched.compare_exchange_weak(touched, mine, std::memory_order_acq_rel)) {
            }
            free = mine;
            break;
        }
    }
    // Back before the writer is kStep further on, to move the work on.
    m_free = std::min(free, Beyond(end, kStep, m_end));
    GoOn();
}

void PagesAhead::Stop()
{
    m_free = kAnywhere;
    if (!m_shared) return;
    Shared& shared = *m_shared;
    shared.stop.store(true, std::memory_order_relaxed);
    // Work not yet started never starts; work at its pages ends after the
    // piece it is on.
    int phase = shared.phase.load(std::memory_order_acquire);
    for (;;) {
        if (phase == kStopped) return;
        if (phase == kTouching) {
            std::this_thread::yield();
            phase = shared.phase.load(std::memory_order_acquire);
        } else if (shared.phase.compare_exchange_weak(phase, kStopped, std::memory_order_acq_rel)) {
            return;
        }
    }
}

const void* PagesAhead::Claimed() const
{
    return m_shared ? m_shared->claimed.load(std::memory_order_acquire) : nullptr;
}

bool PagesAhead::Working() const
{
    if (!m_shared) return false;
    const int phase = m_shared->phase.load(std::memory_order_acquire);
    return phase == kHandedOut || phase == kTouching;
}

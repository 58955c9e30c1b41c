// PagesAhead: fresh memory that is filled from front to back, its pages
// touched by a thread of its own a bounded way ahead of the writer (internal
// to the library, not exported).
//
// A reader that fills a large block of new memory (the room reserved for a
// file's records) otherwise waits for the system at every fresh page it
// meets.  Work handed to the system's thread pool (a read makes no thread
// of its own) writes a zero byte into each page, from a little way ahead of
// the block's start (the writer takes the first pages itself while the work
// starts) towards its end, but never more than kAhead beyond where the
// writer last said it writes: room the writer never fills (a reader reserves
// for the most records a file may hold) is never made resident.  The work
// ends where it may go no further, and the writer hands it out again as it
// moves on.  Each page is claimed before it is touched, by the work or by
// the writer: before the writer writes up to an address, it waits for the
// work to finish the page it is on there, and a writer that has caught up
// with the work claims the pages before it and some more, so that the work
// goes on ahead of it.  No byte is written by both; the bytes the work
// writes are those of memory not yet given any value.  A block too small
// for the work to pay for itself gets none, and so does any block on a
// machine of one processor.
#pragma once
#include "corvane/CorvaneDefs.h"

#include <cstddef>

class PagesAhead
{
public:
    // Blocks smaller than this get no work.
    static constexpr size_t kLeastBytes = 1024 * 1024;
    // How far from the block's start the work begins, and how far ahead of
    // a writer that caught up with it it goes on.
    static constexpr size_t kLead = 64 * 1024;
    // How far beyond the end the writer last reached the work touches pages
    // at most.
    static constexpr size_t kAhead = 2 * 1024 * 1024;
    // How far the writer goes at most before it tells the work where it is.
    static constexpr size_t kStep = kAhead / 4;

    // The block [begin, begin + bytes), not yet written by anyone.
    PagesAhead(void* begin, size_t bytes);
    PagesAhead(const PagesAhead&) = delete;
    PagesAhead& operator=(const PagesAhead&) = delete;
    // Stops the work; the block may then be freed.
    ~PagesAhead();

    // Before the writer writes below `end` (within the block): that part of
    // the block is done with by the work, or the writer's.
    void Reach(const void* end)
    {
        if (static_cast<const char*>(end) > m_free) Wait(static_cast<const char*>(end));
    }
    // Ends the work (it finishes the pages it is on, or never starts); the
    // whole block is the writer's from then on.
    void Stop();

    // (For tests.)  The first page that neither the work nor the writer
    // claimed (the block's end once the work is stopped or when there is
    // none), and whether work is handed out and not yet ended.
    const void* Claimed() const;
    bool Working() const;

    // What the writer and the work share (it lives until all let go).
    struct Shared;

private:
    void Wait(const char* reach);
    // Hands the work out (again) when it is not at work and may go further;
    // true when it was handed out.
    bool GoOn();

    char* const m_end;
    // Below this address the writer is free to write (anywhere once the
    // work is stopped or when there is none).
    const char* m_free;
    Shared* m_shared = nullptr;
};

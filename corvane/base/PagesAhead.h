// PagesAhead: fresh memory that is filled from front to back, its pages
// touched by a thread of its own ahead of the writer (internal to the
// library, not exported).
//
// A reader that fills a large block of new memory (the room reserved for a
// file's records) otherwise waits for the system at every fresh page it
// meets.  The helper thread writes a zero byte into each page, from a little
// way ahead of the block's start (the writer takes the first pages itself
// while the thread starts) to its end.  Each page is claimed before it is
// touched, by the thread or by the writer: before the writer writes up to an
// address, it waits for the thread to finish the page it is on there, and a
// writer that has caught up with the thread claims the pages before it and
// some more, so that the thread goes on ahead of it.  No byte is written by
// both; the bytes the thread writes are those of memory not yet given any
// value.  A block too small for the thread to pay for itself gets none.
#pragma once
#include "corvane/CorvaneDefs.h"

#include <atomic>
#include <cstddef>
#include <thread>

class PagesAhead
{
public:
    // Blocks smaller than this get no thread.
    static constexpr size_t kLeastBytes = 1024 * 1024;
    // How far from the block's start the thread begins, and how far ahead
    // of a writer that caught up with it it goes on.
    static constexpr size_t kLead = 64 * 1024;

    // The block [begin, begin + bytes), not yet written by anyone.
    PagesAhead(void* begin, size_t bytes);
    PagesAhead(const PagesAhead&) = delete;
    PagesAhead& operator=(const PagesAhead&) = delete;
    // Stops the thread; the block may then be freed.
    ~PagesAhead() { Stop(); }

    // Before the writer writes below `end`: that part of the block is done
    // with by the thread, or the writer's.
    void Reach(const void* end)
    {
        if (static_cast<const char*>(end) > m_free) Wait(static_cast<const char*>(end));
    }
    // Ends the thread (it finishes the page it is on); the whole block is
    // the writer's from then on.
    void Stop();

private:
    void Touch();
    void Wait(const char* end);

    char* const m_begin;
    char* const m_end;
    // Below this address the writer is free to write.
    const char* m_free;
    // The first page not yet claimed; every page below it is claimed by the
    // thread or by the writer.
    std::atomic<char*> m_claimed;
    // The thread has touched every page it claimed below this address.
    std::atomic<char*> m_touched;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

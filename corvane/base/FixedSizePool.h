// FixedSizePool: the memory of many objects of one size, for classes whose
// objects are made and freed by the hundred thousand (internal to the
// library, not exported).
//
// Places are carved out of blocks of 1 MB taken from the system, each aligned
// to its size, so that a place's block is found from its address.  A place
// given back is handed out again before any new one.  A block whose last place
// is given back is kept empty for the next objects, up to kKeptBlocks empty
// blocks; any further one goes back to the system.  So a single object made
// and freed over and over costs no system call, and a set of objects freed
// and made again (a road's alignment reloaded) finds its memory already
// touched instead of faulting in fresh pages.  Safe to use from several
// threads.
//
// A pool made to prepare ahead has its next block ready before it is needed:
// whenever it starts a new block, a thread of the system's pool takes the
// following one from the system and touches its pages, so that objects made
// by the ten thousand (an alignment read into fresh memory) do not wait for
// each fresh page on the way.  Such a pool holds at most one prepared block
// beyond its kept ones, and must outlive the work it hands out (a static
// pool, which lives as long as the program).
#pragma once
#include "corvane/CorvaneDefs.h"

#include <atomic>
#include <cstddef>
#include <new>

class FixedSizePool
{
public:
    // `size` is the size of one object; the pool is constant-initialised,
    // so a static pool is ready before any other static object.
    constexpr explicit FixedSizePool(size_t size, bool prepareAhead = false)
        : m_objectSize(size), m_size((size + kAlign - 1) / kAlign * kAlign), m_prepareAhead(prepareAhead)
    {
    }
    FixedSizePool(const FixedSizePool&) = delete;
    FixedSizePool& operator=(const FixedSizePool&) = delete;

    // A place for one object; throws std::bad_alloc when the system has no
    // memory left.
    void* Take();
    // Gives back a place Take handed out (null is passed over).
    void Give(void* place);

    // Whether the pool's places are for objects of this size.
    bool Holds(size_t size) const { return size == m_objectSize; }
    // The class-specific operator new and delete of a class whose objects
    // come from the pool: an object of the pool's size gets a place of the
    // pool, any other (a derived class with members of its own) memory of
    // the heap.  `delete` passes the size of the object's own class.
    void* New(size_t size) { return Holds(size) ? Take() : ::operator new(size); }
    void Delete(void* object, size_t size)
    {
        if (Holds(size))
            Give(object);
        else
            ::operator delete(object);
    }

    // Empty blocks kept at most (of 1 MB each); further ones go back to the
    // system.
    static constexpr size_t kKeptBlocks = 8;

    // Gives the empty blocks kept and the prepared one back to the system;
    // from then on a block whose last place is given back goes back at once,
    // and no block is prepared (a block on the way when it closes goes back
    // as it is done).  Places still handed out stay valid, and the pool still
    // hands out places.  For the library's unload.
    void Close();

    // Blocks taken from the system and not given back, and places handed out
    // (for tests).
    size_t BlockCount() const;
    size_t LiveCount() const;
    // The prepared block waiting to be used, null when there is none (for
    // tests).
    const void* PreparedBlock() const;

private:
    struct Block;
    static constexpr size_t kAlign = 16;
    Block* NewBlock();
    // A block from the system, not yet counted (null when there is no memory).
    Block* AllocateBlock() const;
    // Starts the preparing of the next block if the pool prepares ahead and
    // none is prepared or on the way; called with the lock held, true when
    // the caller is to hand the work out (after letting go of the lock).
    bool ShouldPrepare();
    void StartPreparing();
    static void CALLBACK PrepareBlock(PTP_CALLBACK_INSTANCE instance, void* pool);
    void Link(Block* block);
    void Unlink(Block* block);
    // Back to the system, uncounted; called with the lock held.
    void Release(Block* block);

    size_t m_objectSize;
    size_t m_size; // of a place
    // Held for a few instructions at a time: a thread that finds it taken
    // gives way until it is free.
    mutable std::atomic_flag m_busy = ATOMIC_FLAG_INIT;
    Block* m_withRoom = nullptr; // blocks with a place free, the last one freed into first
    size_t m_empty = 0;          // of them, the empty blocks kept
    size_t m_blocks = 0;
    size_t m_live = 0;
    bool m_prepareAhead;
    bool m_preparing = false;      // a thread is preparing the next block
    Block* m_prepared = nullptr;   // the block prepared, touched and counted
    bool m_closed = false;         // keeps and prepares no block
};

#include "corvane/base/FixedSizePool.h"
#include "corvane/base/PoolWork.h"

#include <cstdint>
#include <new>

namespace {

constexpr size_t kBlockBytes = size_t(1) << 20;

// Holds the pool's lock for a scope.  (The system's slim lock costs several
// times as much, and a pool is asked for every cell of a grid.)
class Locked
{
public:
    explicit Locked(std::atomic_flag& busy) : m_busy(busy)
    {
        while (m_busy.test_and_set(std::memory_order_acquire)) ::SwitchToThread();
    }
    ~Locked() { m_busy.clear(std::memory_order_release); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    std::atomic_flag& m_busy;
};

} // namespace

// The head of a block; its places follow.
struct FixedSizePool::Block {
    void* reservation; // what goes back to the system
    Block* prev;       // in the list of blocks with room
    Block* next;
    bool listed;
    void* freed;       // places given back, each holding the next
    char* unused;      // the first place never handed out
    char* end;         // the end of the last whole place
    size_t live;       // places handed out and not given back

    char* First() { return reinterpret_cast<char*>(this) + (sizeof(Block) + kAlign - 1) / kAlign * kAlign; }
};

FixedSizePool::Block* FixedSizePool::NewBlock()
{
    Block* block = AllocateBlock();
    if (block) ++m_blocks;
    return block;
}

FixedSizePool::Block* FixedSizePool::AllocateBlock() const
{
    // Twice the size is reserved, and the aligned block within it taken.
    void* reservation = ::VirtualAlloc(nullptr, 2 * kBlockBytes, MEM_RESERVE, PAGE_NOACCESS);
    if (!reservation) return nullptr;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(reservation) + kBlockBytes - 1) & ~(kBlockBytes - 1);
    if (!::VirtualAlloc(reinterpret_cast<void*>(start), kBlockBytes, MEM_COMMIT, PAGE_READWRITE)) {
        ::VirtualFree(reservation, 0, MEM_RELEASE);
        return nullptr;
    }
    // Every member zero (written Block() so that tools/lifetime-check's
    // parser reads this file).
    Block* block = ::new (reinterpret_cast<void*>(start)) Block();
    block->reservation = reservation;
    block->unused = block->First();
    block->end = block->unused + (kBlockBytes - static_cast<size_t>(block->unused - reinterpret_cast<char*>(block))) /
                                     m_size * m_size;
    return block;
}

bool FixedSizePool::ShouldPrepare()
{
    if (!m_prepareAhead || m_closed || m_preparing || m_prepared) return false;
    m_preparing = true;
    return true;
}

void FixedSizePool::StartPreparing()
{
    if (SubmitPoolWork(&FixedSizePool::PrepareBlock, this)) return;
    Locked locked(m_busy);
    m_preparing = false;
}

void CALLBACK FixedSizePool::PrepareBlock(PTP_CALLBACK_INSTANCE instance, void* context)
{
    auto* pool = static_cast<FixedSizePool*>(context);
    Block* block = pool->AllocateBlock();
    // Its head is written; the pages of its places are had now.
    if (block) TouchPages(block->First(), reinterpret_cast<char*>(block) + kBlockBytes);
    bool unwanted = false;
    {
        Locked locked(pool->m_busy);
        pool->m_preparing = false;
        unwanted = block && pool->m_closed;
        if (block && !unwanted) {
            pool->m_prepared = block;
            ++pool->m_blocks;
        }
    }
    if (unwanted) ::VirtualFree(block->reservation, 0, MEM_RELEASE);
    EndPoolWork(instance);
}

void FixedSizePool::Link(Block* block)
{
    block->prev = nullptr;
    block->next = m_withRoom;
    if (m_withRoom) m_withRoom->prev = block;
    m_withRoom = block;
    block->listed = true;
}

void FixedSizePool::Unlink(Block* block)
{
    (block->prev ? block->prev->next : m_withRoom) = block->next;
    if (block->next) block->next->prev = block->prev;
    block->prev = block->next = nullptr;
    block->listed = false;
}

void* FixedSizePool::Take()
{
    void* place;
    bool prepare = false;
    {
        Locked locked(m_busy);
        Block* block = m_withRoom;
        if (!block) {
            if (m_prepared) {
                block = m_prepared;
                m_prepared = nullptr;
            } else {
                block = NewBlock();
                if (!block) throw std::bad_alloc();
            }
            Link(block);
            prepare = ShouldPrepare();
        } else if (block->live == 0) {
            --m_empty;
        }
        if (block->freed) {
            place = block->freed;
            block->freed = *static_cast<void**>(place);
        } else {
            place = block->unused;
            block->unused += m_size;
        }
        ++block->live;
        ++m_live;
        if (!block->freed && block->unused == block->end) Unlink(block);
    }
    if (prepare) StartPreparing();
    return place;
}

void FixedSizePool::Give(void* place)
{
    if (!place) return;
    auto* block = reinterpret_cast<Block*>(reinterpret_cast<uintptr_t>(place) & ~(kBlockBytes - 1));
    Locked locked(m_busy);
    --m_live;
    if (--block->live == 0) {
        if (m_empty == kKeptBlocks || m_closed) {
            if (block->listed) Unlink(block);
            Release(block);
            return;
        }
        // Kept as new: its places are handed out again in address order.
        block->freed = nullptr;
        block->unused = block->First();
        ++m_empty;
    } else {
        *static_cast<void**>(place) = block->freed;
        block->freed = place;
    }
    if (!block->listed) Link(block);
}

void FixedSizePool::Release(Block* block)
{
    ::VirtualFree(block->reservation, 0, MEM_RELEASE);
    --m_blocks;
}

void FixedSizePool::Close()
{
    Locked locked(m_busy);
    m_closed = true;
    if (m_prepared) {
        Release(m_prepared);
        m_prepared = nullptr;
    }
    for (Block* block = m_withRoom; block;) {
        Block* const next = block->next;
        if (block->live == 0) {
            Unlink(block);
            Release(block);
        }
        block = next;
    }
    m_empty = 0;
}

size_t FixedSizePool::BlockCount() const
{
    Locked locked(m_busy);
    return m_blocks;
}

size_t FixedSizePool::LiveCount() const
{
    Locked locked(m_busy);
    return m_live;
}

const void* FixedSizePool::PreparedBlock() const
{
    Locked locked(m_busy);
    return m_prepared;
}

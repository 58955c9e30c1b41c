// The pool behind the memory of grid cells and alignment units: places of
// one size carved out of blocks, handed out once each, given back for the
// next objects, blocks going back to the system when empty.
#include "corvane/base/FixedSizePool.cpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// Fills a place with a pattern of its own, and checks it.
void Mark(void* place, size_t size, uint32_t id) { std::memset(place, static_cast<int>(id & 0xFF), size); }
bool Marked(const void* place, size_t size, uint32_t id)
{
    const auto* bytes = static_cast<const unsigned char*>(place);
    return std::all_of(bytes, bytes + size, [&](unsigned char b) { return b == (id & 0xFF); });
}

// The block a preparing pool has ready, waited for up to 20 seconds (null
// when none came).
const void* WaitPrepared(const FixedSizePool& pool)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const void* block = pool.PreparedBlock();
    for (; !block && std::chrono::steady_clock::now() < deadline; block = pool.PreparedBlock())
        std::this_thread::yield();
    return block;
}

// A pool that prepares ahead, for one test.  A thread of the system's pool
// may still be preparing its next block when the test ends, also when an
// assertion ends it early; so as the test ends, once nothing takes from the
// pool any more, the block is waited for before the pool goes.  A block
// prepared means that none is on the way (one is begun only while none
// waits), and a pool that never gave out a block began none.  Should the
// block not come, the test fails and the pool is left to the work, never
// freed.
class PreparingPool
{
public:
    explicit PreparingPool(size_t size) : m_pool(new FixedSizePool(size, true)) {}
    ~PreparingPool()
    {
        if (m_pool->BlockCount() != 0 && !WaitPrepared(*m_pool)) {
            ADD_FAILURE() << "the block the pool began to prepare did not come: the pool is left to the work";
            return;
        }
        delete m_pool;
    }
    PreparingPool(const PreparingPool&) = delete;
    PreparingPool& operator=(const PreparingPool&) = delete;

    FixedSizePool& operator*() const { return *m_pool; }

private:
    FixedSizePool* m_pool;
};

} // namespace

// Places over several blocks never overlap, freed ones are handed out again
// before new ones, and the emptied blocks are kept (up to the bound) once all
// places are given back.
TEST(FixedSizePool, PlacesAreHandedOutOnceAndBlocksGoBackWhenEmpty)
{
    const size_t size = 168;
    FixedSizePool pool(size);
    std::vector<void*> places;
    for (uint32_t i = 0; i < 20000; ++i) { // about 3.2 MB: four blocks
        places.push_back(pool.Take());
        Mark(places.back(), size, i);
    }
    EXPECT_EQ(20000u, pool.LiveCount());
    EXPECT_GE(pool.BlockCount(), 4u);
    for (uint32_t i = 0; i < places.size(); ++i) ASSERT_TRUE(Marked(places[i], size, i)) << i;
    std::vector<void*> sorted = places;
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 1; i < sorted.size(); ++i)
        ASSERT_GE(static_cast<char*>(sorted[i]) - static_cast<char*>(sorted[i - 1]), static_cast<ptrdiff_t>(size));
    for (void* place : places) EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(place) % 16);

    // Every other place back, and as many taken again: the same places.
    std::vector<void*> given;
    for (size_t i = 0; i < places.size(); i += 2) {
        pool.Give(places[i]);
        given.push_back(places[i]);
    }
    std::vector<void*> again;
    for (size_t i = 0; i < given.size(); ++i) again.push_back(pool.Take());
    std::sort(given.begin(), given.end());
    std::sort(again.begin(), again.end());
    EXPECT_EQ(given, again);
    for (uint32_t i = 1; i < places.size(); i += 2) ASSERT_TRUE(Marked(places[i], size, i)) << i;

    const size_t blocks = pool.BlockCount();
    for (void* place : again) pool.Give(place);
    for (size_t i = 1; i < places.size(); i += 2) pool.Give(places[i]);
    EXPECT_EQ(0u, pool.LiveCount());
    EXPECT_EQ(std::min(blocks, FixedSizePool::kKeptBlocks), pool.BlockCount()) << "of " << blocks;
    pool.Give(nullptr);

    // One object made and freed over and over keeps to the kept blocks.
    const size_t kept = pool.BlockCount();
    for (int i = 0; i < 1000; ++i) pool.Give(pool.Take());
    EXPECT_EQ(kept, pool.BlockCount());
}

// Objects freed all at once and made again (an alignment reloaded) get the
// kept blocks' places before the system is asked for a new block; blocks
// beyond the bound go back to the system.
TEST(FixedSizePool, EmptiedBlocksAreKeptUpToTheBoundAndUsedAgain)
{
    const size_t size = 1000;
    const size_t bound = FixedSizePool::kKeptBlocks;
    const size_t perBlock = (size_t(1) << 20) / 1008; // places of 1008 bytes, less one for the block's head
    FixedSizePool pool(size);
    std::vector<void*> places;
    while (pool.BlockCount() < bound + 3) places.push_back(pool.Take());
    for (void* place : places) pool.Give(place);
    EXPECT_EQ(0u, pool.LiveCount());
    ASSERT_EQ(bound, pool.BlockCount());

    // The kept blocks fill up whole before a new one is taken, and every
    // place they hand out is a distinct one of theirs.
    std::vector<void*> again;
    while (pool.BlockCount() == bound) again.push_back(pool.Take());
    EXPECT_GE(again.size(), bound * (perBlock - 1) + 1);
    EXPECT_LE(again.size(), bound * perBlock + 1);
    std::sort(again.begin(), again.end() - 1);
    EXPECT_TRUE(std::adjacent_find(again.begin(), again.end() - 1) == again.end() - 1);
    for (void* place : again) pool.Give(place);
    EXPECT_EQ(bound, pool.BlockCount());
}

// A pool that prepares ahead has its next block ready, taken and touched,
// soon after it starts one, and hands that very block out once the current
// one is full; given everything back, it keeps its emptied blocks and the
// one prepared.
TEST(FixedSizePool, PreparingPoolHandsOutTheBlockItPrepared)
{
    const size_t size = 240;
    const PreparingPool preparing(size);
    FixedSizePool& pool = *preparing;
    const auto blockOf = [](const void* place) { return reinterpret_cast<uintptr_t>(place) & ~(kBlockBytes - 1); };
    const auto waitPrepared = [&] { return reinterpret_cast<uintptr_t>(WaitPrepared(pool)); };
    std::vector<void*> places{pool.Take()};
    Mark(places.back(), size, 0);
    const size_t blocksUsed = 4;
    for (size_t b = 1; b <= blocksUsed; ++b) {
        SCOPED_TRACE(b);
        const uintptr_t next = waitPrepared();
        ASSERT_NE(0u, next);
        EXPECT_EQ(b + 1, pool.BlockCount()); // the blocks in use and the one prepared
        const uintptr_t current = blockOf(places.back());
        for (;;) {
            places.push_back(pool.Take());
            Mark(places.back(), size, static_cast<uint32_t>(places.size() - 1));
            if (blockOf(places.back()) != current) break;
        }
        EXPECT_EQ(next, blockOf(places.back()));
    }
    for (uint32_t i = 0; i < places.size(); ++i) ASSERT_TRUE(Marked(places[i], size, i)) << i;
    EXPECT_EQ(places.size(), pool.LiveCount());

    for (void* place : places) pool.Give(place);
    EXPECT_EQ(0u, pool.LiveCount());
    ASSERT_NE(0u, waitPrepared());
    EXPECT_EQ(blocksUsed + 2, pool.BlockCount());
    // A place is taken again from a kept block, not from the prepared one.
    const uintptr_t prepared = waitPrepared();
    void* again = pool.Take();
    EXPECT_NE(prepared, blockOf(again));
    EXPECT_EQ(reinterpret_cast<const void*>(prepared), pool.PreparedBlock());
    pool.Give(again);
}

// A pool closed (as the library unloads) gives its empty and prepared blocks
// back to the system at once, and any block later emptied as its last place
// comes back; places still handed out stay as they were, and a closed pool
// still hands out places.
TEST(FixedSizePool, AClosedPoolGivesBackEveryBlockItKeeps)
{
    const size_t size = 240;
    FixedSizePool pool(size, true);
    const auto blockOf = [](const void* place) { return reinterpret_cast<uintptr_t>(place) & ~(kBlockBytes - 1); };
    const auto released = [](uintptr_t block) {
        MEMORY_BASIC_INFORMATION memory{};
        return ::VirtualQuery(reinterpret_cast<void*>(block), &memory, sizeof memory) == sizeof memory &&
               memory.State == MEM_FREE;
    };
    // Places over three blocks, the fourth prepared.
    std::vector<void*> places;
    std::vector<uintptr_t> blocks; // in the order of their first place
    while (blocks.size() < 3) {
        places.push_back(pool.Take());
        Mark(places.back(), size, 0xA5);
        if (std::find(blocks.begin(), blocks.end(), blockOf(places.back())) == blocks.end())
            blocks.push_back(blockOf(places.back()));
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!pool.PreparedBlock() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    ASSERT_NE(nullptr, pool.PreparedBlock());
    const uintptr_t prepared = reinterpret_cast<uintptr_t>(pool.PreparedBlock());
    const uintptr_t first = blocks[0];
    const std::vector<uintptr_t> emptied(blocks.begin() + 1, blocks.end());
    // All but the first place back: two blocks kept empty, one in use.
    for (size_t i = 1; i < places.size(); ++i) pool.Give(places[i]);
    ASSERT_EQ(4u, pool.BlockCount());
    for (uintptr_t block : emptied) EXPECT_FALSE(released(block));

    pool.Close();
    EXPECT_EQ(1u, pool.BlockCount());
    EXPECT_EQ(nullptr, pool.PreparedBlock());
    for (uintptr_t block : emptied) EXPECT_TRUE(released(block));
    EXPECT_TRUE(released(prepared));
    EXPECT_TRUE(Marked(places.front(), size, 0xA5));
    EXPECT_FALSE(released(first));

    // The last place back: its block goes too.  A place taken afterwards
    // comes from a new block, which goes as soon as it is empty.
    pool.Give(places.front());
    EXPECT_EQ(0u, pool.BlockCount());
    EXPECT_TRUE(released(first));
    void* again = pool.Take();
    Mark(again, size, 7);
    EXPECT_EQ(1u, pool.BlockCount());
    pool.Give(again);
    EXPECT_EQ(0u, pool.BlockCount());
    EXPECT_EQ(nullptr, pool.PreparedBlock());
}

// Objects of the pool's size come from it, any other size from the heap,
// and each goes back where it came from.
TEST(FixedSizePool, OtherSizesGoToTheHeap)
{
    FixedSizePool pool(100);
    void* own = pool.New(100);
    void* other = pool.New(120);
    EXPECT_EQ(1u, pool.LiveCount());
    pool.Delete(other, 120);
    pool.Delete(own, 100);
    EXPECT_EQ(0u, pool.LiveCount());
}

// Four threads, each taking `count` places of `size` bytes, marking them,
// checking that no other thread wrote into them and giving them back, for
// `rounds` rounds at once.
static void TakeAndGiveFromFourThreads(FixedSizePool& pool, size_t size, int rounds, int count)
{
    auto work = [&](uint32_t id) {
        std::vector<void*> mine;
        for (int round = 0; round < rounds; ++round) {
            for (int i = 0; i < count; ++i) {
                mine.push_back(pool.Take());
                Mark(mine.back(), size, id);
            }
            for (void* place : mine) ASSERT_TRUE(Marked(place, size, id));
            for (void* place : mine) pool.Give(place);
            mine.clear();
        }
    };
    std::vector<std::thread> threads;
    for (uint32_t id = 1; id <= 4; ++id) threads.emplace_back(work, id);
    for (std::thread& t : threads) t.join();
}

TEST(FixedSizePool, ThreadsTakeAndGiveAtOnce)
{
    FixedSizePool pool(48);
    TakeAndGiveFromFourThreads(pool, 48, 20, 2000);
    EXPECT_EQ(0u, pool.LiveCount());
    EXPECT_EQ(1u, pool.BlockCount());
}

// Threads filling a preparing pool past several blocks at once, its next
// block prepared all the while: no place is handed out twice.
TEST(FixedSizePool, ThreadsTakeAndGiveAtOnceFromAPreparingPool)
{
    const size_t size = 240;
    const PreparingPool preparing(size);
    FixedSizePool& pool = *preparing;
    TakeAndGiveFromFourThreads(pool, size, 5, 3000); // about 0.7 MB a thread
    EXPECT_EQ(0u, pool.LiveCount());
    ASSERT_NE(nullptr, WaitPrepared(pool));
    EXPECT_LE(pool.BlockCount(), FixedSizePool::kKeptBlocks + 1);
    EXPECT_GE(pool.BlockCount(), 2u); // a block kept, and the one prepared
}

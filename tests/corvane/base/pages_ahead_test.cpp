// The thread that touches fresh memory ahead of a writer: whatever the pace
// of the two, every byte ends as the writer left it, the helper keeps within
// a bounded way ahead of the writer, and the block can be freed as soon as
// the helper is gone.
#include "corvane/base/PagesAhead.cpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace {

// The writer fills the block in pieces of `piece` bytes, each with a value
// of its own (never zero), asking the helper first; `stopAt` (if below the
// block's size) stops the helper there.  Returns the first byte that is not
// as the writer left it, or the block's size.
size_t FillAndCheck(size_t bytes, size_t piece, size_t stopAt)
{
    std::unique_ptr<unsigned char[]> block(new unsigned char[bytes]);
    {
        PagesAhead ahead(block.get(), bytes);
        for (size_t at = 0; at < bytes; at += piece) {
            const size_t n = std::min(piece, bytes - at);
            if (at >= stopAt) ahead.Stop();
            ahead.Reach(block.get() + at + n);
            std::fill(block.get() + at, block.get() + at + n, static_cast<unsigned char>(at / piece % 251 + 1));
        }
    }
    for (size_t at = 0; at < bytes; ++at)
        if (block[at] != static_cast<unsigned char>(at / piece % 251 + 1)) return at;
    return bytes;
}

} // namespace

// Writers in pieces that straddle pages, small and large, a writer that
// stops the helper half-way and blocks with and without a helper.
TEST(PagesAhead, EveryByteIsTheWriters)
{
    const struct {
        size_t bytes, piece, stopAt;
    } cases[] = {
        {PagesAhead::kLeastBytes - 1, 248, ~size_t(0)},   // no helper
        {4 * PagesAhead::kLeastBytes + 17, 248, ~size_t(0)},
        {4 * PagesAhead::kLeastBytes, 5000, ~size_t(0)},  // pieces larger than a page
        {4 * PagesAhead::kLeastBytes, 1, ~size_t(0)},
        {4 * PagesAhead::kLeastBytes, 248, 2 * PagesAhead::kLeastBytes},
        {4 * PagesAhead::kLeastBytes, 248, 0},
        // Blocks many times the stretch the helper may go ahead: it ends
        // and is handed out again on the way.
        {24 * PagesAhead::kLeastBytes, 248, ~size_t(0)},
        {24 * PagesAhead::kLeastBytes, 248, 17 * PagesAhead::kLeastBytes},
        {24 * PagesAhead::kLeastBytes, PagesAhead::kAhead + 4100, ~size_t(0)}, // pieces beyond the stretch
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bytes << " bytes in pieces of " << c.piece);
        EXPECT_EQ(c.bytes, FillAndCheck(c.bytes, c.piece, c.stopAt));
    }
}

// Without work (no block, a small one) or once the work is stopped, the
// writer may write anywhere: memory that took the block's place after it
// grew is not the helper's.
TEST(PagesAhead, AnywhereWithoutWork)
{
    std::unique_ptr<char[]> block(new char[2 * PagesAhead::kLeastBytes]);
    std::unique_ptr<char[]> elsewhere(new char[4096]);
    PagesAhead none(nullptr, 0), small(block.get(), 4096), stopped(block.get(), 2 * PagesAhead::kLeastBytes);
    stopped.Stop();
    for (PagesAhead* ahead : {&none, &small, &stopped}) {
        ahead->Reach(elsewhere.get() + 4096);
        ahead->Reach(block.get() + 2 * PagesAhead::kLeastBytes);
    }
}


// The helper touches pages ahead of the writer, but none more than kAhead
// beyond where the writer last reached: room the writer never fills is not
// made resident.  It ends there, and goes on as the writer moves on.
TEST(PagesAhead, TheHelperStaysABoundedWayAheadOfTheWriter)
{
    const size_t bytes = 64 * PagesAhead::kLeastBytes;
    auto* block = static_cast<unsigned char*>(::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(nullptr, block);
    const size_t piece = 248;
    size_t written = 0;
    {
        PagesAhead ahead(block, bytes);
        if (!ahead.Claimed()) GTEST_SKIP() << "no helper on a machine of one processor";
        // Waits (20 s at most) until the helper rests at least `least`
        // bytes into the block.
        const auto restsBeyond = [&](size_t least) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (ahead.Working() || static_cast<const unsigned char*>(ahead.Claimed()) < block + least) {
                if (std::chrono::steady_clock::now() > deadline) return false;
                std::this_thread::yield();
            }
            return true;
        };
        for (const size_t to : {size_t(1) << 20, size_t(10) << 20, (size_t(10) << 20) + 3 * 4096, size_t(40) << 20}) {
            SCOPED_TRACE(testing::Message() << "written " << to);
            for (; written < to; written += piece) {
                ahead.Reach(block + written + piece);
                const auto value = static_cast<unsigned char>(written / piece % 251 + 1);
                std::fill(block + written, block + written + piece, value);
            }
            // The writer tells the helper where it is at least every kStep.
            ASSERT_TRUE(restsBeyond(written + PagesAhead::kAhead - PagesAhead::kStep));
            EXPECT_LE(static_cast<const unsigned char*>(ahead.Claimed()) - block,
                      static_cast<ptrdiff_t>(written + PagesAhead::kAhead));
        }
    }
    size_t wrong = 0;
    for (size_t at = 0; at < bytes; ++at)
        if (block[at] != (at < written ? static_cast<unsigned char>(at / piece % 251 + 1) : 0)) ++wrong;
    EXPECT_EQ(0u, wrong);
    ::VirtualFree(block, 0, MEM_RELEASE);
}

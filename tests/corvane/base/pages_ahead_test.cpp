// The thread that touches fresh memory ahead of a writer: whatever the pace
// of the two, every byte ends as the writer left it, and the block can be
// freed as soon as the helper is gone.
#include "corvane/base/PagesAhead.cpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

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


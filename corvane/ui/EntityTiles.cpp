#include "corvane/ui/EntityTiles.h"
#include <algorithm>

void EntityTiles::Reset(int width, int height)
{
    m_columns = std::max(0, (width + kSide - 1) / kSide);
    m_rows = std::max(0, (height + kSide - 1) / kSide);
    m_tiles.resize(static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows));
    // Each tile keeps its room for the next filing.
    for (std::vector<uint32_t>& tile : m_tiles) tile.clear();
    m_large.clear();
    m_moved.clear();
}

bool EntityTiles::Span(int left, int top, int right, int bottom, int& c0, int& r0, int& c1, int& r1) const
{
    if (left > right || top > bottom || right < 0 || bottom < 0) return false;
    c0 = std::max(left, 0) / kSide;
    r0 = std::max(top, 0) / kSide;
    c1 = std::min(right / kSide, m_columns - 1);
    r1 = std::min(bottom / kSide, m_rows - 1);
    return c0 <= c1 && r0 <= r1;
}

void EntityTiles::Add(size_t index, int left, int top, int right, int bottom)
{
    int c0, r0, c1, r1;
    if (!Span(left, top, right, bottom, c0, r0, c1, r1)) return;
    const auto entity = static_cast<uint32_t>(index);
    if (static_cast<long long>(c1 - c0 + 1) * (r1 - r0 + 1) > kLargeTiles) {
        m_large.push_back(entity);
        return;
    }
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) m_tiles[static_cast<size_t>(r) * m_columns + c].push_back(entity);
}

void EntityTiles::Moved(size_t index)
{
    m_moved.push_back(static_cast<uint32_t>(index));
    // The same few entities are measured again and again between fillings.
    if (m_moved.size() > 1024) {
        std::sort(m_moved.begin(), m_moved.end());
        m_moved.erase(std::unique(m_moved.begin(), m_moved.end()), m_moved.end());
    }
}

void EntityTiles::Near(int left, int top, int right, int bottom, std::vector<size_t>& out) const
{
    out.clear();
    int c0, r0, c1, r1;
    if (Span(left, top, right, bottom, c0, r0, c1, r1))
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                const std::vector<uint32_t>& tile = m_tiles[static_cast<size_t>(r) * m_columns + c];
                out.insert(out.end(), tile.begin(), tile.end());
            }
    out.insert(out.end(), m_moved.begin(), m_moved.end());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    // The large ones are filed in order already: merged in, however many.
    if (m_large.empty()) return;
    m_merged.resize(out.size() + m_large.size());
    const auto end = std::merge(out.begin(), out.end(), m_large.begin(), m_large.end(), m_merged.begin());
    out.assign(m_merged.begin(), std::unique(m_merged.begin(), end));
}

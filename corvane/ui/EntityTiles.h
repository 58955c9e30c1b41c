// EntityTiles: which entities of the graphics view may draw on which part
// of its device (internal to the library).  The device is cut into square
// tiles; each entity is filed, by its place in the view's list, under the
// tiles its box meets, so that a part redrawn or a pick looks at the
// entities near it only.  An entity whose box meets many tiles is kept in
// one list of large ones, and one measured again since the filing (its box
// may have moved) in a list of moved ones; both are looked at for every
// part.
#pragma once
#include <cstdint>
#include <vector>

class EntityTiles
{
public:
    // Forgets every entity; the device is width x height pixels.
    void Reset(int width, int height);
    // Files entity `index` under the tiles the box (inclusive device
    // coordinates) meets; nothing for a box beside the device.
    void Add(size_t index, int left, int top, int right, int bottom);
    // The entity was measured again: it is looked at for every part.
    void Moved(size_t index);
    // The entities filed under the tiles the box meets, with the large and
    // the moved ones, each once, in the order of the list.
    void Near(int left, int top, int right, int bottom, std::vector<size_t>& out) const;

private:
    // The tiles the box meets, clamped to the device; false for none.
    bool Span(int left, int top, int right, int bottom, int& c0, int& r0, int& c1, int& r1) const;

    static const int kSide = 32;       // pixels
    static const int kLargeTiles = 64; // a box meeting more tiles is large
    int m_columns = 0;
    int m_rows = 0;
    std::vector<std::vector<uint32_t>> m_tiles; // row by row
    std::vector<uint32_t> m_large;
    std::vector<uint32_t> m_moved;
    mutable std::vector<size_t> m_merged; // room for Near
};

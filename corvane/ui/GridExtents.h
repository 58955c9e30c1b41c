// GridExtents: the heights of a grid's rows (or the widths of its columns)
// with their running sums, so that the position of any row and the row at
// any position are found without walking the rows one by one.  The running
// sums are brought up to date lazily: a change marks them stale from the
// first size it touched, and a question brings them up to date only as far
// as it needs.  The total is kept at every change.
#pragma once
#include <algorithm>
#include <vector>

class GridExtents
{
public:
    int Count() const { return static_cast<int>(m_sizes.size()); }
    int Get(int i) const { return m_sizes[static_cast<size_t>(i)]; }
    long long Total() const { return m_total; }

    void Set(int i, int size)
    {
        int& old = m_sizes[static_cast<size_t>(i)];
        if (old == size) return;
        m_total += static_cast<long long>(size) - old;
        old = size;
        Stale(i);
    }
    void Insert(int i, int size)
    {
        m_sizes.insert(m_sizes.begin() + i, size);
        m_starts.push_back(0);
        m_total += size;
        Stale(i);
    }
    void Remove(int i)
    {
        m_total -= m_sizes[static_cast<size_t>(i)];
        m_sizes.erase(m_sizes.begin() + i);
        m_starts.pop_back();
        Stale(i);
    }
    // Shrinks or grows to n entries; new entries get `size`.
    void Resize(int n, int size)
    {
        const int old = Count();
        for (int i = n; i < old; ++i) m_total -= m_sizes[static_cast<size_t>(i)];
        if (n > old) m_total += static_cast<long long>(n - old) * size;
        m_sizes.resize(static_cast<size_t>(n), size);
        m_starts.resize(static_cast<size_t>(n) + 1, 0);
        Stale(std::min(n, old));
    }
    void Fill(int size)
    {
        std::fill(m_sizes.begin(), m_sizes.end(), size);
        m_total = static_cast<long long>(size) * Count();
        Stale(0);
    }
    void Clear() { Resize(0, 0); }
    void Swap(int a, int b)
    {
        int& x = m_sizes[static_cast<size_t>(a)];
        int& y = m_sizes[static_cast<size_t>(b)];
        if (x == y) return;
        std::swap(x, y);
        Stale(std::min(a, b));
    }

    // The sum of the sizes before entry i (0 <= i <= Count()).
    long long Start(int i) const
    {
        Refresh(static_cast<size_t>(i));
        return m_starts[static_cast<size_t>(i)];
    }
    // The sum of the sizes from entry `first` up to, not including, `end`.
    long long Span(int first, int end) const { return end <= first ? 0 : Start(end) - Start(first); }
    // The smallest i in [first, Count()] with Start(i) - Start(first) >= offset.
    int FirstReaching(int first, long long offset) const
    {
        Refresh(m_sizes.size());
        const long long target = m_starts[static_cast<size_t>(first)] + offset;
        auto it = std::lower_bound(m_starts.begin() + first, m_starts.end(), target);
        return static_cast<int>(it - m_starts.begin());
    }
    // The smallest i in [first, Count()) whose end lies beyond `offset` from
    // the start of entry `first`; Count() when none does.
    int IndexAt(int first, long long offset) const
    {
        Refresh(m_sizes.size());
        const long long target = m_starts[static_cast<size_t>(first)] + offset;
        auto it = std::upper_bound(m_starts.begin() + first + 1, m_starts.end(), target);
        return static_cast<int>(it - m_starts.begin()) - 1;
    }

private:
    void Stale(int from) { m_valid = std::min(m_valid, static_cast<size_t>(std::max(from, 0))); }
    void Refresh(size_t upTo) const
    {
        for (; m_valid < upTo; ++m_valid) m_starts[m_valid + 1] = m_starts[m_valid] + m_sizes[m_valid];
    }

    std::vector<int> m_sizes;
    mutable std::vector<long long> m_starts{0}; // m_starts[i]: sum of the sizes before i
    mutable size_t m_valid = 0;                 // m_starts is up to date for indexes <= m_valid
    long long m_total = 0;
};

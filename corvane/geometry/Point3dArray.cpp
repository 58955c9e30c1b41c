#include "corvane/geometry/Point3dArray.h"

IMPLEMENT_SERIAL(tkxPoint3dArray, CObject, 1)

tkxPoint3dArray::tkxPoint3dArray() = default;

tkxPoint3dArray::tkxPoint3dArray(const tkxPoint3dArray& other) : CObject()
{
    Append(other);
}

tkxPoint3dArray::~tkxPoint3dArray() = default;

int tkxPoint3dArray::operator=(const tkxPoint3dArray& other)
{
    if (&other != this) {
        RemoveAll();
        Append(other);
    }
    return GetCount();
}

int tkxPoint3dArray::GetCount() const
{
    return static_cast<int>(m_points.size());
}

void tkxPoint3dArray::Add(tkxPoint3d pt)
{
    m_points.push_back(std::make_unique<tkxPoint3d>(pt));
}

void tkxPoint3dArray::Append(const tkxPoint3dArray& other)
{
    // Copy first: appending an array to itself doubles it and ends.
    std::vector<std::unique_ptr<tkxPoint3d>> copies;
    copies.reserve(other.m_points.size());
    for (const auto& pt : other.m_points)
        copies.push_back(std::make_unique<tkxPoint3d>(*pt));
    m_points.reserve(m_points.size() + copies.size());
    for (auto& pt : copies)
        m_points.push_back(std::move(pt));
}

bool tkxPoint3dArray::IsValidIndex(int index) const
{
    return index >= 0 && index < GetCount();
}

int tkxPoint3dArray::GetAt(int index, tkxPoint3d& pt) const
{
    if (!IsValidIndex(index))
        return 0;
    pt = *m_points[index];
    return 1;
}

tkxPoint3d tkxPoint3dArray::operator[](int index) const
{
    if (!IsValidIndex(index))
        return tkxPoint3d();
    return *m_points[index];
}

int tkxPoint3dArray::SetAt(int index, tkxPoint3d pt)
{
    if (!IsValidIndex(index))
        return 0;
    *m_points[index] = pt;
    return 1;
}

int tkxPoint3dArray::InsertAt(int index, tkxPoint3d pt)
{
    if (!IsValidIndex(index))
        return 0;
    m_points.insert(m_points.begin() + index + 1, std::make_unique<tkxPoint3d>(pt));
    return 1;
}

int tkxPoint3dArray::RemoveAt(int index)
{
    if (!IsValidIndex(index))
        return 0;
    m_points.erase(m_points.begin() + index);
    return 1;
}

void tkxPoint3dArray::RemoveAll()
{
    m_points.clear();
}

tkxPoint3d* tkxPoint3dArray::FindPoint3d(const tkxPoint3d& pt, double tol)
{
    for (const auto& p : m_points)
        if (p->Distance3dTo(pt) < tol)
            return p.get();
    return nullptr;
}

tkxPoint3d* tkxPoint3dArray::FindPoint2d(const tkxPoint3d& pt, double tol)
{
    for (const auto& p : m_points)
        if (p->Distance2dTo(pt) < tol)
            return p.get();
    return nullptr;
}

void tkxPoint3dArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << GetCount();
        for (const auto& pt : m_points)
            pt->Serialize(ar);
        return;
    }

    int count = 0;
    ar >> count;
    if (count < 0)
        AfxThrowArchiveException(CArchiveException::genericException);
    // Load into a side list so that a damaged archive leaves the points as
    // they were; points are not reserved up front, so a huge count from a
    // damaged archive ends at the end of the file, not in memory.
    std::vector<std::unique_ptr<tkxPoint3d>> loaded;
    for (int i = 0; i < count; ++i) {
        auto pt = std::make_unique<tkxPoint3d>();
        pt->Serialize(ar);
        loaded.push_back(std::move(pt));
    }
    m_points.swap(loaded);
}

void tkxPoint3dArray::AssertValid() const {}

void tkxPoint3dArray::Dump(CDumpContext&) const {}

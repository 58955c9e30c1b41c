// A serialisable list of 3-D points that the list owns.
#pragma once
#include "corvane/geometry/Points.h"

#include <memory>
#include <vector>

class CORVANE_API tkxPoint3dArray : public CObject
{
    DECLARE_SERIAL(tkxPoint3dArray)
public:
    tkxPoint3dArray();
    tkxPoint3dArray(const tkxPoint3dArray& other); // deep copy
    ~tkxPoint3dArray() override;

    // Replaces the points by copies of other's; returns the new count.
    int operator=(const tkxPoint3dArray& other);

    int GetCount() const;
    void Add(tkxPoint3d pt);
    void Append(const tkxPoint3dArray& other);

    // Indexes count from 0.  Invalid indexes give 0 (GetAt leaves pt
    // untouched), or the origin from operator[].
    int GetAt(int index, tkxPoint3d& pt) const;
    tkxPoint3d operator[](int index) const;
    int SetAt(int index, tkxPoint3d pt);
    // Inserts after the point at index, so the new point gets index + 1.
    int InsertAt(int index, tkxPoint3d pt);
    int RemoveAt(int index);
    void RemoveAll();

    // First point closer than tol (in space / in plan); null when none.
    // The pointer stays valid until that point is removed.
    tkxPoint3d* FindPoint3d(const tkxPoint3d& pt, double tol);
    tkxPoint3d* FindPoint2d(const tkxPoint3d& pt, double tol);

    // int32 count, then x, y, z of each point.
    void Serialize(CArchive& ar) override;
    void AssertValid() const override;
    void Dump(CDumpContext& dc) const override;

private:
    bool IsValidIndex(int index) const;

    std::vector<std::unique_ptr<tkxPoint3d>> m_points;
};

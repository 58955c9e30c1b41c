// A triangle in space: segment and triangle intersection, circumscribed
// circle in plan.
#pragma once
#include "corvane/geometry/Line3d.h"

// Which part of the line through P and Q (parameter t, 0 at P, 1 at Q)
// tkxTriangle3d::Intersect accepts.
enum enIntersectMode
{
    INTERSECT_BACKWARD = 0, // t <= 1 and any negative t: the segment extended back beyond P
    INTERSECT_RAY = 1,      // t >= 0: the ray from P through Q
    INTERSECT_SEGMENT = 2,  // 0 <= t <= 1 (as does any other value)
};

class CORVANE_API tkxTriangle3d
{
public:
    tkxTriangle3d();
    tkxTriangle3d(tkxPoint3d p0, tkxPoint3d p1, tkxPoint3d p2);
    tkxTriangle3d(const tkxTriangle3d& tri);
    tkxTriangle3d& operator=(const tkxTriangle3d& tri);
    virtual ~tkxTriangle3d();

    tkxPoint3d Point0() const;
    tkxPoint3d Point1() const;
    tkxPoint3d Point2() const;
    void SetPoint0(const tkxPoint3d& pt);
    void SetPoint1(const tkxPoint3d& pt);
    void SetPoint2(const tkxPoint3d& pt);
    // False, and the triangle unchanged, when two corners are closer than
    // 1e-6; colinear corners are accepted.
    bool Set(const tkxPoint3d& p0, const tkxPoint3d& p1, const tkxPoint3d& p2);

    // |(p1 - p0) x (p2 - p0)|, negative when the plan orientation is
    // clockwise: twice the signed area.
    static double GetArea(tkxPoint3d p0, tkxPoint3d p1, tkxPoint3d p2);
    tkxVector3d Normal() const;
    tkxVector3d GetVector1() const; // P1 - P0
    tkxVector3d GetVector2() const; // P2 - P0
    CString ToString() const;

    // The bounding boxes of segment ab and of the triangle overlap (touching
    // counts).
    bool BoundingIntersect(const tkxPoint3d& a, const tkxPoint3d& b) const;
    // Intersection of the line P->Q with the triangle, within what mode
    // accepts.
    bool Intersect(const tkxPoint3d& P, const tkxPoint3d& Q, tkxPoint3d& out, enIntersectMode mode) const;
    // Intersection segment of two triangles; false when fewer than two edge
    // hits are found (out untouched).
    bool Intersect(const tkxTriangle3d& other, tkxLine3d& out) const;
    // Circumscribed circle in plan; centre.z is kept.  False for degenerate
    // (colinear) corners.
    bool GetOutCircle(tkxPoint3d& centre, double& radius) const;

protected:
    tkxPoint3d m_pt0;
    tkxPoint3d m_pt1;
    tkxPoint3d m_pt2;
};

// A segment between two 3-D points with the plan operations the alignment
// and cross-section code need: side test, intersection and turn angle.
#pragma once
#include "corvane/geometry/Points.h"

class CORVANE_API tkxLine3d
{
public:
    tkxLine3d();
    tkxLine3d(tkxPoint3d start, tkxPoint3d end);
    tkxLine3d(double* const start, double* const end); // x, y, z each
    tkxLine3d(const tkxLine3d& line);
    tkxLine3d& operator=(const tkxLine3d& line);
    virtual ~tkxLine3d();

    tkxPoint3d StartPoint() const;
    tkxPoint3d EndPoint() const;
    void setStartPoint(const tkxPoint3d& pt);
    void setEndPoint(const tkxPoint3d& pt);

    double Length() const;
    // Unit direction from start to end (not scaled when shorter than 1e-8).
    tkxVector3d Direct() const;
    double Azimuth2d() const;

    // Side of p in plan: DIR_LEFT when the cross product exceeds tol,
    // DIR_RIGHT when it is below -tol.  A tol below -0.001 means 1e-8.
    enDir LeftOrRight(const tkxPoint3d& p, double tol) const;
    enDir LeftOrRight(double* const p, double tol) const;

    // Crossing of the two endless lines in plan (out.z is not written);
    // false for parallel lines.  mode 0: the crossing must lie on both
    // segments, 1: on other, 2: on this one, anything else: anywhere.
    bool IntersectWith2d(const tkxLine3d& other, tkxPoint3d& out, short mode) const;

    // Turn from this line to next and the deflection angle (0 to pi).
    enDir getRoadAngle(const tkxLine3d& next, double& angle) const;

    CString ToString() const; // "[x,y-x,y]"

protected:
    tkxPoint3d m_ptStart;
    tkxPoint3d m_ptEnd;
};

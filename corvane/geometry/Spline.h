// A point sequence with closed-curve handling, polyline measures (chord
// length, enclosed area, nearest vertex) and curvature at a vertex, either
// from natural cubic splines fitted over neighbouring points or from finite
// differences.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/geometry/Point3dArray.h"

#include <vector>

class CORVANE_API tkxSpline : public CObject
{
public:
    tkxSpline();
    explicit tkxSpline(int n); // n points at the origin (none when n <= 0)
    ~tkxSpline() override;

    tkxSpline& operator=(tkxSpline& other);

    int GetSize() const;
    // Copy of the point; the origin for an invalid index.
    tkxPoint3d operator[](int index) const;
    tkxPoint3d GetPointAt(int index);

    void Add(tkxPoint3d pt);
    // Inserts after the point at index (the new point gets index + 1); 0 and
    // nothing inserted for an invalid index.
    int InsertAt(int index, tkxPoint3d pt);
    int SetAt(int index, tkxPoint3d pt);
    int DelPoint(int index);
    void RemoveAll();

    // Makes the spline hold exactly n points: points beyond n are removed,
    // missing ones are added at the origin; n <= 0 empties it.  Returns 1.
    int SetSize(int n);
    // Keeps the points as they are (the storage has nothing to release).
    void FreeExtra();
    // Keeps the points from first to last.  With first > last the spline runs
    // from first to its end and on from its start to last (through the
    // closing point once when it is closed).  Returns 1, or 0 and no change
    // for indexes outside the spline.
    int BreakSpline(int first, int last);

    // Closed: the last point lies within 1e-8 of the first (empty: closed).
    int Closed() const;
    // Appends a copy of the first point when not closed.
    void Close();

    // Number of steps from point a to point b: b - a when open; the shorter
    // way round the ring of n - 1 distinct points when closed.
    int PointSeparation(int a, int b) const;
    // Sum of the chords from point a to point b.  b == n means round to the
    // first point again; b < a runs forward past the end through the first
    // point.  0 for indexes out of range.
    double SegmentLength(int a, int b) const;
    // Area enclosed by the points (not signed).
    double Area() const;
    // The vertex nearest to p in plan (the first of equally near ones), and
    // its index; index -1 and a copy of the first point (the origin when
    // empty) when none lies within 1e5.
    tkxPoint3d GetClosestPoint(tkxPoint3d p, int& index) const;

    // Curvature at point i from natural splines of x and y over the arc
    // length of the points i - half .. i + half; positive bends left.  0 at
    // the last point, for half < 1 and for invalid indexes.
    double Curvature(int i, int half) const;
    // Finite-difference curvature at point i; 0 at both ends.
    double Curvature(int i) const;

private:
    // Natural cubic spline through the points (x abscissa, strictly
    // increasing; y ordinate): on interval j, y_j + b_j t + c_j t^2 + d_j t^3.
    // b and d get n - 1 values, c gets n.
    void NaturalSpline(std::vector<double>& b, std::vector<double>& c, std::vector<double>& d) const;

    tkxPoint3dArray m_points;
};

// Serialisable 2-D and 3-D points.
//
// Angles: a direction angle is in radians counter-clockwise from +x, in
// [0, 2*pi); a plan azimuth is in radians clockwise from +y, in [0, 2*pi).
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/geometry/Vectors.h"

class CORVANE_API tkxPoint2d : public CObject
{
    DECLARE_SERIAL(tkxPoint2d)
public:
    double x;
    double y;

    tkxPoint2d();
    tkxPoint2d(double x, double y);
    tkxPoint2d(const double* const xy); // first two elements
    tkxPoint2d(const tkxPoint2d& pt);
    ~tkxPoint2d() override;

    tkxPoint2d& operator=(const tkxPoint2d& pt);
    tkxPoint2d& operator=(const double* const xy);
    void Set(double x, double y);
    void Set(const double* const xy);

    // 0 -> x, 1 -> y; any other index gives x (reference) or 0.0 (value).
    double& operator[](int index);
    double operator[](int index) const;

    tkxPoint2d operator+(tkxPoint2d pt) const;
    tkxPoint2d operator-(tkxPoint2d pt) const;
    tkxPoint2d operator-() const;
    tkxPoint2d operator*(double f) const;
    tkxPoint2d operator/(double f) const;
    void operator+=(tkxPoint2d pt);
    void operator-=(tkxPoint2d pt);
    tkxPoint2d operator*=(double f);
    tkxPoint2d operator/=(double f);

    // Equal within 1e-6 in each coordinate (both tests are strict).
    int operator==(const tkxPoint2d& pt) const;
    int operator!=(const tkxPoint2d& pt) const;

    double GetLength() const;
    double DistanceTo(const tkxPoint2d& pt) const;
    tkxPoint2d GetMidPoint(const tkxPoint2d& pt) const;
    tkxPoint2d Polar(double angle, double dist) const;
    double Angle(const tkxPoint2d& other) const;
    double Azimuth(const tkxPoint2d& other) const;
    // Window point, coordinates truncated toward zero.
    CPoint ToCPoint() const;
    CString ToString() const; // "%.3f,%.3f"

    // Plane helpers over 2-D points; defined with the other plane helpers.
    static int IsColinear(tkxPoint2d a, tkxPoint2d b, tkxPoint2d c);
    static int GetIntPoint(tkxPoint2d p1, tkxPoint2d p2, tkxPoint2d p3, tkxPoint2d p4,
                           tkxPoint2d& out, int onSegments);
    static double PointDisToLine(tkxPoint2d p, tkxPoint2d a, tkxPoint2d b);
    static double PolygonArea(const CArray<tkxPoint2d, tkxPoint2d>& points);

    void Serialize(CArchive& ar) override;
    void AssertValid() const override;
    void Dump(CDumpContext& dc) const override;
};

class CORVANE_API tkxPoint3d : public CObject
{
    DECLARE_SERIAL(tkxPoint3d)
public:
    double x;
    double y;
    double z;

    tkxPoint3d();
    tkxPoint3d(double x, double y, double z);
    tkxPoint3d(const double* const xyz); // three elements
    tkxPoint3d(const tkxPoint3d& pt);
    ~tkxPoint3d() override;

    int operator=(tkxPoint3d pt);
    int operator=(tkxVector3d v);
    int operator=(const double* const xyz);
    void Set(double x, double y, double z);
    void Set(const double* const xyz);

    // Reference: 1 -> y, 2 -> z, anything else x.  Value: 0, 1, 2 -> x, y,
    // z, anything else 0.0.
    double& operator[](int index);
    double operator[](int index) const;

    tkxPoint3d operator+(tkxPoint3d pt) const;
    tkxPoint3d operator+(tkxVector3d v) const;
    tkxPoint3d operator-(tkxPoint3d pt) const;
    tkxPoint3d operator*(double f) const;
    tkxPoint3d operator/(double f) const;
    tkxPoint3d operator+=(tkxPoint3d pt);
    tkxPoint3d operator+=(tkxVector3d v);
    tkxPoint3d operator-=(tkxPoint3d pt);
    tkxPoint3d operator*=(double f);
    tkxPoint3d operator/=(double f);

    // Equal within 1e-6 in x, y and z.
    bool operator==(tkxPoint3d pt) const;

    double Length() const;
    double Distance3dTo(tkxPoint3d pt) const;
    double Distance2dTo(tkxPoint3d pt) const;
    tkxPoint3d GetMidPoint(tkxPoint3d pt) const;
    // Plan slope dy/dx: 0 for coincident points, 1e99 for a vertical line.
    double GetSlope(tkxPoint3d other) const;
    tkxPoint3d Polar(double angle, double dist) const;
    double Angle2d(tkxPoint3d other) const;
    double Azimuth2d(tkxPoint3d other) const;
    CString ToString() const; // "%.3f,%.3f" of x and y

    void Serialize(CArchive& ar) override;
    void AssertValid() const override;
    void Dump(CDumpContext& dc) const override;
};

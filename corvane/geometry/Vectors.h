// Plain 2-D and 3-D vectors with their packed record forms, and the side /
// turn direction shared by the geometry and the road model.
#pragma once
#include "corvane/CorvaneDefs.h"

class tkxPoint2d;
class tkxPoint3d;

// Side of a point or direction of a turn.
enum enDir
{
    DIR_RIGHT = -1,
    DIR_NONE = 0, // no turn, or on the line
    DIR_LEFT = 1,
};

#pragma pack(push, 1)
struct tagVECTOR2D
{
    double x;
    double y;
};

struct tagVECTOR3D
{
    double x;
    double y;
    double z;
};

struct tagVERTEX3D
{
    float x;
    float y;
    float z;
};

// Homogeneous coordinate: the point is (x/w, y/w, z/w).
struct tagHOMOCOORD
{
    float x;
    float y;
    float z;
    float w;
};
#pragma pack(pop)

class CORVANE_API tkxVector2d
{
public:
    double x;
    double y;

    tkxVector2d();
    tkxVector2d(double x, double y);
    tkxVector2d(tkxPoint2d pt);
    tkxVector2d(const tagVECTOR2D& v);
    tkxVector2d(const tkxVector2d& v) = default;

    void Set(double x, double y);
    tagVECTOR2D Get() const;

    tkxVector2d operator=(const tkxPoint2d& pt);
    tkxVector2d operator=(const tagVECTOR2D& v);
    tkxVector2d operator=(const tkxVector2d& v);

    tkxVector2d operator+(const tkxVector2d& v) const;
    tkxVector2d operator+(const tagVECTOR2D& v) const;
    tkxVector2d operator-(const tkxVector2d& v) const;
    tkxVector2d operator-(const tagVECTOR2D& v) const;
    tkxVector2d operator+=(const tkxVector2d& v);
    tkxVector2d operator+=(const tagVECTOR2D& v);
    tkxVector2d operator-=(const tkxVector2d& v);
    tkxVector2d operator-=(const tagVECTOR2D& v);
    tkxVector2d operator*=(double f);
    tkxVector2d operator*(double f) const;
    // Plan cross product x1*y2 - y1*x2.
    double operator*(const tkxVector2d& v) const;
    double operator*(const tagVECTOR2D& v) const;

    double Mag() const;
    double MagSquared() const;
    double Dot(const tkxVector2d& v) const;
    double Dot(const tagVECTOR2D& v) const;
    double Dot(double vx, double vy) const;
    double Distance(const tkxVector2d& v) const;
    double Distance(const tagVECTOR2D& v) const;
    double Distance(double vx, double vy) const;
    // Vectors shorter than 1e-8 stay as they are.
    tkxVector2d Unit() const;
    void Normalize();
    void Scale(const tkxVector2d& v);
    void Scale(const tagVECTOR2D& v);
    void Scale(double sx, double sy);
    // Counter-clockwise by angle radians.
    void Rotate(double angle);

    // Side of pt against this vector laid from the origin.
    enDir LeftOrRight(tkxPoint2d pt) const;
};

class CORVANE_API tkxVector3d
{
public:
    double x;
    double y;
    double z;

    tkxVector3d(); // the unit z vector
    tkxVector3d(double x, double y, double z);
    tkxVector3d(tkxPoint3d pt);
    tkxVector3d(const tagVECTOR3D& v);
    tkxVector3d(const tkxVector3d& v) = default;

    void Set(double x, double y, double z);
    tagVECTOR3D Get() const;

    tkxVector3d& operator=(const tagVECTOR3D& v);
    tkxVector3d& operator=(const tkxVector3d& v);
    tkxVector3d& operator=(const tkxPoint3d& pt);

    tkxVector3d operator+(const tkxVector3d& v) const;
    tkxVector3d operator+(const tagVECTOR3D& v) const;
    tkxVector3d operator-(const tkxVector3d& v) const;
    tkxVector3d operator-(const tagVECTOR3D& v) const;
    tkxVector3d operator+=(const tkxVector3d& v);
    tkxVector3d operator+=(const tagVECTOR3D& v);
    tkxVector3d operator-=(const tkxVector3d& v);
    tkxVector3d operator-=(const tagVECTOR3D& v);
    tkxVector3d operator*=(double f);
    // Cross product.
    tkxVector3d operator*(const tkxVector3d& v) const;
    tkxVector3d operator*(const tagVECTOR3D& v) const;
    tkxVector3d operator*=(const tkxVector3d& v);
    tkxVector3d operator*=(const tagVECTOR3D& v);
    tkxVector3d operator*(double f) const;

    double Mag() const;
    double MagSquared() const;
    double Dot(const tkxVector3d& v) const;
    double Dot(const tagVECTOR3D& v) const;
    double Dot(double vx, double vy, double vz) const;
    double Distance(const tkxVector3d& v) const;
    double Distance(const tagVECTOR3D& v) const;
    double Distance(double vx, double vy, double vz) const;
    // Vectors shorter than 1e-8 stay as they are.
    tkxVector3d Unit() const;
    void Normalize();
    void Scale(const tkxVector3d& v);
    void Scale(const tagVECTOR3D& v);
    void Scale(double sx, double sy, double sz);

    // Right-handed rotations about the axes, in degrees.
    void RotateX(double degrees);
    void RotateY(double degrees);
    void RotateZ(double degrees);
    // Rotation by angle radians about an axis through the origin; the axis
    // is used as given (pass a unit vector).
    void Rotate(double angle, tkxVector3d axis);
    void Rotate(double angle, tagVECTOR3D axis);
    void Rotate(double angle, double ax, double ay, double az);

    // (p1 - p0) x (p2 - p0), not normalised.
    static tkxVector3d GetNormal(tkxPoint3d p0, tkxPoint3d p1, tkxPoint3d p2);
    static tagVECTOR3D Noraml(const tagVERTEX3D& a, const tagVERTEX3D& b, const tagVERTEX3D& c);
    static tagVECTOR3D Noraml(const tagHOMOCOORD& a, const tagHOMOCOORD& b, const tagHOMOCOORD& c);

    // Side of pt in plan against this vector laid from the origin.
    enDir LeftOrRight(tkxPoint3d pt) const;
};

#include "corvane/geometry/Points.h"

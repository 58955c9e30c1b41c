#include "corvane/geometry/Vectors.h"

#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;
const double kZeroLength = 1e-8; // shorter vectors are not scaled to unit length
const double kSideTol = 1e-20;

enDir SideOfCross(double cross)
{
    if (cross > kSideTol)
        return DIR_LEFT;
    if (cross < -kSideTol)
        return DIR_RIGHT;
    return DIR_NONE;
}

// A homogeneous coordinate as a point; a w of (nearly) zero counts as 1.
tkxVector3d FromHomogeneous(const tagHOMOCOORD& h)
{
    const double w = std::fabs(h.w) <= 1e-8 ? 1.0 : static_cast<double>(h.w);
    return tkxVector3d(h.x / w, h.y / w, h.z / w);
}

} // namespace

// --------------------------------------------------------------- tkxVector2d

tkxVector2d::tkxVector2d() : x(0.0), y(0.0) {}
tkxVector2d::tkxVector2d(double x_, double y_) : x(x_), y(y_) {}
tkxVector2d::tkxVector2d(tkxPoint2d pt) : x(pt.x), y(pt.y) {}
tkxVector2d::tkxVector2d(const tagVECTOR2D& v) : x(v.x), y(v.y) {}

void tkxVector2d::Set(double x_, double y_)
{
    x = x_;
    y = y_;
}

tagVECTOR2D tkxVector2d::Get() const
{
    return tagVECTOR2D{x, y};
}

tkxVector2d tkxVector2d::operator=(const tkxPoint2d& pt)
{
    Set(pt.x, pt.y);
    return *this;
}

tkxVector2d tkxVector2d::operator=(const tagVECTOR2D& v)
{
    Set(v.x, v.y);
    return *this;
}

tkxVector2d tkxVector2d::operator=(const tkxVector2d& v)
{
    Set(v.x, v.y);
    return *this;
}

tkxVector2d tkxVector2d::operator+(const tkxVector2d& v) const { return tkxVector2d(x + v.x, y + v.y); }
tkxVector2d tkxVector2d::operator+(const tagVECTOR2D& v) const { return tkxVector2d(x + v.x, y + v.y); }
tkxVector2d tkxVector2d::operator-(const tkxVector2d& v) const { return tkxVector2d(x - v.x, y - v.y); }
tkxVector2d tkxVector2d::operator-(const tagVECTOR2D& v) const { return tkxVector2d(x - v.x, y - v.y); }

tkxVector2d tkxVector2d::operator+=(const tkxVector2d& v)
{
    Set(x + v.x, y + v.y);
    return *this;
}

tkxVector2d tkxVector2d::operator+=(const tagVECTOR2D& v)
{
    Set(x + v.x, y + v.y);
    return *this;
}

tkxVector2d tkxVector2d::operator-=(const tkxVector2d& v)
{
    Set(x - v.x, y - v.y);
    return *this;
}

tkxVector2d tkxVector2d::operator-=(const tagVECTOR2D& v)
{
    Set(x - v.x, y - v.y);
    return *this;
}

tkxVector2d tkxVector2d::operator*=(double f)
{
    Set(x * f, y * f);
    return *this;
}

tkxVector2d tkxVector2d::operator*(double f) const { return tkxVector2d(x * f, y * f); }
double tkxVector2d::operator*(const tkxVector2d& v) const { return x * v.y - y * v.x; }
double tkxVector2d::operator*(const tagVECTOR2D& v) const { return x * v.y - y * v.x; }

double tkxVector2d::Mag() const { return std::sqrt(MagSquared()); }
double tkxVector2d::MagSquared() const { return x * x + y * y; }
double tkxVector2d::Dot(const tkxVector2d& v) const { return Dot(v.x, v.y); }
double tkxVector2d::Dot(const tagVECTOR2D& v) const { return Dot(v.x, v.y); }
double tkxVector2d::Dot(double vx, double vy) const { return x * vx + y * vy; }
double tkxVector2d::Distance(const tkxVector2d& v) const { return Distance(v.x, v.y); }
double tkxVector2d::Distance(const tagVECTOR2D& v) const { return Distance(v.x, v.y); }
double tkxVector2d::Distance(double vx, double vy) const { return tkxVector2d(x - vx, y - vy).Mag(); }

tkxVector2d tkxVector2d::Unit() const
{
    tkxVector2d v(x, y);
    v.Normalize();
    return v;
}

void tkxVector2d::Normalize()
{
    const double len = Mag();
    if (len < kZeroLength)
        return;
    x /= len;
    y /= len;
}

void tkxVector2d::Scale(const tkxVector2d& v) { Scale(v.x, v.y); }
void tkxVector2d::Scale(const tagVECTOR2D& v) { Scale(v.x, v.y); }

void tkxVector2d::Scale(double sx, double sy)
{
    x *= sx;
    y *= sy;
}

void tkxVector2d::Rotate(double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    Set(x * c - y * s, x * s + y * c);
}

enDir tkxVector2d::LeftOrRight(tkxPoint2d pt) const
{
    return SideOfCross(x * pt.y - y * pt.x);
}

// --------------------------------------------------------------- tkxVector3d

tkxVector3d::tkxVector3d() : x(0.0), y(0.0), z(1.0) {}
tkxVector3d::tkxVector3d(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
tkxVector3d::tkxVector3d(tkxPoint3d pt) : x(pt.x), y(pt.y), z(pt.z) {}
tkxVector3d::tkxVector3d(const tagVECTOR3D& v) : x(v.x), y(v.y), z(v.z) {}

void tkxVector3d::Set(double x_, double y_, double z_)
{
    x = x_;
    y = y_;
    z = z_;
}

tagVECTOR3D tkxVector3d::Get() const
{
    return tagVECTOR3D{x, y, z};
}

tkxVector3d& tkxVector3d::operator=(const tagVECTOR3D& v)
{
    Set(v.x, v.y, v.z);
    return *this;
}

tkxVector3d& tkxVector3d::operator=(const tkxVector3d& v)
{
    Set(v.x, v.y, v.z);
    return *this;
}

tkxVector3d& tkxVector3d::operator=(const tkxPoint3d& pt)
{
    Set(pt.x, pt.y, pt.z);
    return *this;
}

tkxVector3d tkxVector3d::operator+(const tkxVector3d& v) const { return tkxVector3d(x + v.x, y + v.y, z + v.z); }
tkxVector3d tkxVector3d::operator+(const tagVECTOR3D& v) const { return tkxVector3d(x + v.x, y + v.y, z + v.z); }
tkxVector3d tkxVector3d::operator-(const tkxVector3d& v) const { return tkxVector3d(x - v.x, y - v.y, z - v.z); }
tkxVector3d tkxVector3d::operator-(const tagVECTOR3D& v) const { return tkxVector3d(x - v.x, y - v.y, z - v.z); }

tkxVector3d tkxVector3d::operator+=(const tkxVector3d& v)
{
    Set(x + v.x, y + v.y, z + v.z);
    return *this;
}

tkxVector3d tkxVector3d::operator+=(const tagVECTOR3D& v)
{
    Set(x + v.x, y + v.y, z + v.z);
    return *this;
}

tkxVector3d tkxVector3d::operator-=(const tkxVector3d& v)
{
    Set(x - v.x, y - v.y, z - v.z);
    return *this;
}

tkxVector3d tkxVector3d::operator-=(const tagVECTOR3D& v)
{
    Set(x - v.x, y - v.y, z - v.z);
    return *this;
}

tkxVector3d tkxVector3d::operator*=(double f)
{
    Set(x * f, y * f, z * f);
    return *this;
}

tkxVector3d tkxVector3d::operator*(const tkxVector3d& v) const
{
    return tkxVector3d(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x);
}

tkxVector3d tkxVector3d::operator*(const tagVECTOR3D& v) const
{
    return *this * tkxVector3d(v);
}

tkxVector3d tkxVector3d::operator*=(const tkxVector3d& v)
{
    *this = *this * v;
    return *this;
}

tkxVector3d tkxVector3d::operator*=(const tagVECTOR3D& v)
{
    *this = *this * tkxVector3d(v);
    return *this;
}

tkxVector3d tkxVector3d::operator*(double f) const { return tkxVector3d(x * f, y * f, z * f); }

double tkxVector3d::Mag() const { return std::sqrt(MagSquared()); }
double tkxVector3d::MagSquared() const { return x * x + y * y + z * z; }
double tkxVector3d::Dot(const tkxVector3d& v) const { return Dot(v.x, v.y, v.z); }
double tkxVector3d::Dot(const tagVECTOR3D& v) const { return Dot(v.x, v.y, v.z); }
double tkxVector3d::Dot(double vx, double vy, double vz) const { return x * vx + y * vy + z * vz; }
double tkxVector3d::Distance(const tkxVector3d& v) const { return Distance(v.x, v.y, v.z); }
double tkxVector3d::Distance(const tagVECTOR3D& v) const { return Distance(v.x, v.y, v.z); }

double tkxVector3d::Distance(double vx, double vy, double vz) const
{
    return tkxVector3d(x - vx, y - vy, z - vz).Mag();
}

tkxVector3d tkxVector3d::Unit() const
{
    tkxVector3d v(x, y, z);
    v.Normalize();
    return v;
}

void tkxVector3d::Normalize()
{
    const double len = Mag();
    if (len < kZeroLength)
        return;
    x /= len;
    y /= len;
    z /= len;
}

void tkxVector3d::Scale(const tkxVector3d& v) { Scale(v.x, v.y, v.z); }
void tkxVector3d::Scale(const tagVECTOR3D& v) { Scale(v.x, v.y, v.z); }

void tkxVector3d::Scale(double sx, double sy, double sz)
{
    x *= sx;
    y *= sy;
    z *= sz;
}

void tkxVector3d::RotateX(double degrees) { Rotate(degrees * kPi / 180.0, 1.0, 0.0, 0.0); }
void tkxVector3d::RotateY(double degrees) { Rotate(degrees * kPi / 180.0, 0.0, 1.0, 0.0); }
void tkxVector3d::RotateZ(double degrees) { Rotate(degrees * kPi / 180.0, 0.0, 0.0, 1.0); }

void tkxVector3d::Rotate(double angle, tkxVector3d axis) { Rotate(angle, axis.x, axis.y, axis.z); }
void tkxVector3d::Rotate(double angle, tagVECTOR3D axis) { Rotate(angle, axis.x, axis.y, axis.z); }

void tkxVector3d::Rotate(double angle, double ux, double uy, double uz)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double t = 1.0 - c;
    const double nx = (c + ux * ux * t) * x + (ux * uy * t - uz * s) * y + (ux * uz * t + uy * s) * z;
    const double ny = (uy * ux * t + uz * s) * x + (c + uy * uy * t) * y + (uy * uz * t - ux * s) * z;
    const double nz = (uz * ux * t - uy * s) * x + (uz * uy * t + ux * s) * y + (c + uz * uz * t) * z;
    Set(nx, ny, nz);
}

tkxVector3d tkxVector3d::GetNormal(tkxPoint3d p0, tkxPoint3d p1, tkxPoint3d p2)
{
    return tkxVector3d(p1 - p0) * tkxVector3d(p2 - p0);
}

tagVECTOR3D tkxVector3d::Noraml(const tagVERTEX3D& a, const tagVERTEX3D& b, const tagVERTEX3D& c)
{
    const tkxVector3d va(a.x, a.y, a.z);
    const tkxVector3d vb(b.x, b.y, b.z);
    const tkxVector3d vc(c.x, c.y, c.z);
    return ((vb - va) * (vc - va)).Get();
}

tagVECTOR3D tkxVector3d::Noraml(const tagHOMOCOORD& a, const tagHOMOCOORD& b, const tagHOMOCOORD& c)
{
    const tkxVector3d va = FromHomogeneous(a);
    const tkxVector3d vb = FromHomogeneous(b);
    const tkxVector3d vc = FromHomogeneous(c);
    return ((vb - va) * (vc - va)).Get();
}

enDir tkxVector3d::LeftOrRight(tkxPoint3d pt) const
{
    return SideOfCross(x * pt.y - y * pt.x);
}

#include "corvane/geometry/Points.h"

#include <climits>
#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;
const double kSame = 1e-6; // equal coordinates

// Direction angle from A to B: counter-clockwise from +x, in [0, 2*pi).
double DirectionAngle(double ax, double ay, double bx, double by)
{
    const double dx = bx - ax;
    const double dy = by - ay;
    if (std::fabs(dx) < kSame) {
        if (std::fabs(dy) < kSame)
            return 0.0;
        return by < ay ? 3.0 * kPi / 2.0 : kPi / 2.0;
    }
    if (std::fabs(dy) < kSame)
        return bx > ax ? 0.0 : kPi;
    const double a = std::atan(dy / dx);
    if (bx < ax)
        return a + kPi;
    return a < 0.0 ? a + 2.0 * kPi : a;
}

// Plan azimuth from A to B: clockwise from +y, in [0, 2*pi).
double PlanAzimuth(double ax, double ay, double bx, double by)
{
    const double r = kPi / 2.0 - DirectionAngle(ax, ay, bx, by);
    return r < 0.0 ? r + 2.0 * kPi : r;
}

// Truncation toward zero that stays defined for values outside int.
int TruncToInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

} // namespace

// ---------------------------------------------------------------- tkxPoint2d

IMPLEMENT_SERIAL(tkxPoint2d, CObject, 1)

tkxPoint2d::tkxPoint2d() : x(0.0), y(0.0) {}

tkxPoint2d::tkxPoint2d(double x_, double y_) : x(x_), y(y_) {}

tkxPoint2d::tkxPoint2d(const double* const xy) : x(0.0), y(0.0)
{
    Set(xy);
}

tkxPoint2d::tkxPoint2d(const tkxPoint2d& pt) : CObject(), x(pt.x), y(pt.y) {}

tkxPoint2d::~tkxPoint2d() = default;

tkxPoint2d& tkxPoint2d::operator=(const tkxPoint2d& pt)
{
    x = pt.x;
    y = pt.y;
    return *this;
}

tkxPoint2d& tkxPoint2d::operator=(const double* const xy)
{
    Set(xy);
    return *this;
}

void tkxPoint2d::Set(double x_, double y_)
{
    x = x_;
    y = y_;
}

void tkxPoint2d::Set(const double* const xy)
{
    if (!xy)
        return;
    x = xy[0];
    y = xy[1];
}

double& tkxPoint2d::operator[](int index)
{
    return index == 1 ? y : x;
}

double tkxPoint2d::operator[](int index) const
{
    switch (index) {
    case 0: return x;
    case 1: return y;
    default: return 0.0;
    }
}

tkxPoint2d tkxPoint2d::operator+(tkxPoint2d pt) const { return tkxPoint2d(x + pt.x, y + pt.y); }
tkxPoint2d tkxPoint2d::operator-(tkxPoint2d pt) const { return tkxPoint2d(x - pt.x, y - pt.y); }
tkxPoint2d tkxPoint2d::operator-() const { return tkxPoint2d(-x, -y); }
tkxPoint2d tkxPoint2d::operator*(double f) const { return tkxPoint2d(x * f, y * f); }
tkxPoint2d tkxPoint2d::operator/(double f) const { return tkxPoint2d(x / f, y / f); }

void tkxPoint2d::operator+=(tkxPoint2d pt)
{
    x += pt.x;
    y += pt.y;
}

void tkxPoint2d::operator-=(tkxPoint2d pt)
{
    x -= pt.x;
    y -= pt.y;
}

tkxPoint2d tkxPoint2d::operator*=(double f)
{
    x *= f;
    y *= f;
    return *this;
}

tkxPoint2d tkxPoint2d::operator/=(double f)
{
    x /= f;
    y /= f;
    return *this;
}

int tkxPoint2d::operator==(const tkxPoint2d& pt) const
{
    return std::fabs(x - pt.x) < kSame && std::fabs(y - pt.y) < kSame ? 1 : 0;
}

int tkxPoint2d::operator!=(const tkxPoint2d& pt) const
{
    return std::fabs(x - pt.x) > kSame || std::fabs(y - pt.y) > kSame ? 1 : 0;
}

double tkxPoint2d::GetLength() const
{
    return std::sqrt(x * x + y * y);
}

double tkxPoint2d::DistanceTo(const tkxPoint2d& pt) const
{
    return std::hypot(pt.x - x, pt.y - y);
}

tkxPoint2d tkxPoint2d::GetMidPoint(const tkxPoint2d& pt) const
{
    return tkxPoint2d((x + pt.x) / 2.0, (y + pt.y) / 2.0);
}

tkxPoint2d tkxPoint2d::Polar(double angle, double dist) const
{
    if (std::fabs(dist) < kSame)
        return *this;
    return tkxPoint2d(x + dist * std::cos(angle), y + dist * std::sin(angle));
}

double tkxPoint2d::Angle(const tkxPoint2d& other) const
{
    return DirectionAngle(x, y, other.x, other.y);
}

double tkxPoint2d::Azimuth(const tkxPoint2d& other) const
{
    return PlanAzimuth(x, y, other.x, other.y);
}

CPoint tkxPoint2d::ToCPoint() const
{
    return CPoint(TruncToInt(x), TruncToInt(y));
}

CString tkxPoint2d::ToString() const
{
    CString text;
    text.Format(L"%.3f,%.3f", x, y);
    return text;
}

void tkxPoint2d::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << x << y;
    else
        ar >> x >> y;
}

void tkxPoint2d::AssertValid() const {}

void tkxPoint2d::Dump(CDumpContext&) const {}

// ---------------------------------------------------------------- tkxPoint3d

IMPLEMENT_SERIAL(tkxPoint3d, CObject, 1)

tkxPoint3d::tkxPoint3d() : x(0.0), y(0.0), z(0.0) {}

tkxPoint3d::tkxPoint3d(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

tkxPoint3d::tkxPoint3d(const double* const xyz) : x(0.0), y(0.0), z(0.0)
{
    Set(xyz);
}

tkxPoint3d::tkxPoint3d(const tkxPoint3d& pt) : CObject(), x(pt.x), y(pt.y), z(pt.z) {}

tkxPoint3d::~tkxPoint3d() = default;

int tkxPoint3d::operator=(tkxPoint3d pt)
{
    Set(pt.x, pt.y, pt.z);
    return 1;
}

int tkxPoint3d::operator=(tkxVector3d v)
{
    Set(v.x, v.y, v.z);
    return 1;
}

int tkxPoint3d::operator=(const double* const xyz)
{
    Set(xyz);
    return 1;
}

void tkxPoint3d::Set(double x_, double y_, double z_)
{
    x = x_;
    y = y_;
    z = z_;
}

void tkxPoint3d::Set(const double* const xyz)
{
    if (!xyz)
        return;
    x = xyz[0];
    y = xyz[1];
    z = xyz[2];
}

double& tkxPoint3d::operator[](int index)
{
    switch (index) {
    case 1: return y;
    case 2: return z;
    default: return x;
    }
}

double tkxPoint3d::operator[](int index) const
{
    switch (index) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: return 0.0;
    }
}

tkxPoint3d tkxPoint3d::operator+(tkxPoint3d pt) const { return tkxPoint3d(x + pt.x, y + pt.y, z + pt.z); }
tkxPoint3d tkxPoint3d::operator+(tkxVector3d v) const { return tkxPoint3d(x + v.x, y + v.y, z + v.z); }
tkxPoint3d tkxPoint3d::operator-(tkxPoint3d pt) const { return tkxPoint3d(x - pt.x, y - pt.y, z - pt.z); }
tkxPoint3d tkxPoint3d::operator*(double f) const { return tkxPoint3d(x * f, y * f, z * f); }
tkxPoint3d tkxPoint3d::operator/(double f) const { return tkxPoint3d(x / f, y / f, z / f); }

tkxPoint3d tkxPoint3d::operator+=(tkxPoint3d pt)
{
    Set(x + pt.x, y + pt.y, z + pt.z);
    return *this;
}

tkxPoint3d tkxPoint3d::operator+=(tkxVector3d v)
{
    Set(x + v.x, y + v.y, z + v.z);
    return *this;
}

tkxPoint3d tkxPoint3d::operator-=(tkxPoint3d pt)
{
    Set(x - pt.x, y - pt.y, z - pt.z);
    return *this;
}

tkxPoint3d tkxPoint3d::operator*=(double f)
{
    Set(x * f, y * f, z * f);
    return *this;
}

tkxPoint3d tkxPoint3d::operator/=(double f)
{
    Set(x / f, y / f, z / f);
    return *this;
}

bool tkxPoint3d::operator==(tkxPoint3d pt) const
{
    return std::fabs(x - pt.x) < kSame && std::fabs(y - pt.y) < kSame && std::fabs(z - pt.z) < kSame;
}

double tkxPoint3d::Length() const
{
    return std::sqrt(x * x + y * y + z * z);
}

double tkxPoint3d::Distance3dTo(tkxPoint3d pt) const
{
    const double dx = pt.x - x, dy = pt.y - y, dz = pt.z - z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double tkxPoint3d::Distance2dTo(tkxPoint3d pt) const
{
    return std::hypot(pt.x - x, pt.y - y);
}

tkxPoint3d tkxPoint3d::GetMidPoint(tkxPoint3d pt) const
{
    return tkxPoint3d((x + pt.x) / 2.0, (y + pt.y) / 2.0, (z + pt.z) / 2.0);
}

double tkxPoint3d::GetSlope(tkxPoint3d other) const
{
    if (Distance2dTo(other) < 1e-8)
        return 0.0;
    const double dx = other.x - x;
    if (std::fabs(dx) < 1e-8)
        return 1e99;
    return (other.y - y) / dx;
}

tkxPoint3d tkxPoint3d::Polar(double angle, double dist) const
{
    if (std::fabs(dist) < kSame)
        return *this;
    return tkxPoint3d(x + dist * std::cos(angle), y + dist * std::sin(angle), z);
}

double tkxPoint3d::Angle2d(tkxPoint3d other) const
{
    return DirectionAngle(x, y, other.x, other.y);
}

double tkxPoint3d::Azimuth2d(tkxPoint3d other) const
{
    return PlanAzimuth(x, y, other.x, other.y);
}

CString tkxPoint3d::ToString() const
{
    CString text;
    text.Format(L"%.3f,%.3f", x, y);
    return text;
}

void tkxPoint3d::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << x << y << z;
    else
        ar >> x >> y >> z;
}

void tkxPoint3d::AssertValid() const {}

void tkxPoint3d::Dump(CDumpContext&) const {}

#include "corvane/road/ClothoidUnit.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/NumberText.h"
#include "corvane/geometry/PlaneGeometry.h"
#include "corvane/base/LineReader.h"
#include "corvane/project/StationText.h"

#include <cmath>
#include <cwchar>
#include <utility>

using namespace Tavix4;
using alignment::IsInfinite;
using alignment::kInfiniteRadius;
using alignment::kPi;
using alignment::MoveAlong;
using alignment::PointOf;

namespace {

bool IsClothoidType(int type) { return type >= UNIT_CLOTHOID_IN && type <= UNIT_CLOTHOID_INC; }

double SafeSqrt(double v) { return v > 0.0 ? std::sqrt(v) : 0.0; }

// 2^-56: |s| * 2^-56 is below a quarter of the spacing of the doubles on
// either side of any double s (nothing added that is smaller changes s).
constexpr double kNegligible = 1.0 / 72057594037927936.0;

// Plan point moved along an azimuth, as the series geometry uses it: the
// point where the tangent at a series point meets the origin tangent, then
// the series point itself.  Returns the point's plan position for a series
// point (x, y) at tangent angle tau seen from an origin O heading phi; the
// point's tangent azimuth is phi + side * tau.
void SeriesPoint(const double* O, double phi, double x, double y, double tau, int side, double* out,
                 alignment::Headings& headings)
{
    if (tau < 1e-12) {
        // Next to the origin the curve is its tangent.
        MoveAlong(O, headings.Of(phi), x, out);
        return;
    }
    double T[3];
    const double origin[3] = {O[0], O[1], 0.0};
    MoveAlong(origin, headings.Of(phi), x - y / std::tan(tau), T);
    MoveAlong(T, headings.Of(phi + side * tau), y / headings.Of(tau).sine, out);
}

} // namespace

IMPLEMENT_SERIAL(tkxClothoidUnit, tkxRoadPMUnit, 1)

tkxClothoidUnit::tkxClothoidUnit() : m_nTerms(14), m_rA(0.0), m_BasePt{0.0, 0.0, 0.0}, m_rBaseAzimuth(0.0)
{
    m_iUnitType = UNIT_CLOTHOID_IN;
}

tkxClothoidUnit::tkxClothoidUnit(const tkxClothoidUnit& other)
    : tkxRoadPMUnit(other), m_nTerms(other.m_nTerms), m_rA(other.m_rA), m_rBaseAzimuth(other.m_rBaseAzimuth)
{
    for (int i = 0; i < 3; ++i) m_BasePt[i] = other.m_BasePt[i];
}

tkxClothoidUnit::~tkxClothoidUnit() = default;

int tkxClothoidUnit::operator=(const tkxClothoidUnit& other)
{
    tkxRoadPMUnit::operator=(other);
    m_rBeta = other.m_rBeta;
    m_nTerms = other.m_nTerms;
    m_rA = other.m_rA;
    for (int i = 0; i < 3; ++i) m_BasePt[i] = other.m_BasePt[i];
    m_rBaseAzimuth = other.m_rBaseAzimuth;
    return 1;
}

void tkxClothoidUnit::Serialize(CArchive& ar)
{
    tkxRoadPMUnit::Serialize(ar);
    if (ar.IsStoring())
        ar << m_rA << m_rBeta;
    else
        ar >> m_rA >> m_rBeta;
}

void tkxClothoidUnit::Reset()
{
    tkxRoadPMUnit::Reset();
    m_iUnitType = UNIT_CLOTHOID_IN;
    m_rA = 0.0;
    m_rBeta = 0.0;
    for (double& c : m_BasePt) c = 0.0;
    m_rBaseAzimuth = 0.0;
}

// ---------------------------------------------------------------------------
// Shared formulas

int tkxClothoidUnit::ComputeType(double R1, double R2, tkxUnitType& type)
{
    if (std::fabs(R1 - R2) < 0.001) return 0;
    if (R1 > R2)
        type = IsInfinite(R1) ? UNIT_CLOTHOID_IN : UNIT_CLOTHOID_DEC;
    else
        type = IsInfinite(R2) ? UNIT_CLOTHOID_OUT : UNIT_CLOTHOID_INC;
    return 1;
}

double tkxClothoidUnit::ComputeA(double R1, double R2, double L)
{
    tkxUnitType type = UNIT_LINE;
    if (!ComputeType(R1, R2, type) || std::fabs(R1 - R2) < 1e-8) return 0.0;
    switch (type) {
    case UNIT_CLOTHOID_IN: return SafeSqrt(R2 * L);
    case UNIT_CLOTHOID_OUT: return SafeSqrt(R1 * L);
    case UNIT_CLOTHOID_DEC: return SafeSqrt(L * R1 * R2 / (R1 - R2));
    default: return SafeSqrt(L * R1 * R2 / (R2 - R1));
    }
}

double tkxClothoidUnit::ComputeLength(double R1, double R2, double A)
{
    tkxUnitType type = UNIT_LINE;
    if (!ComputeType(R1, R2, type) || R1 < 1e-8 || R2 < 1e-8 || A < 1e-8 || std::fabs(R1 - R2) < 1e-8) return 0.0;
    const double A2 = A * A;
    switch (type) {
    case UNIT_CLOTHOID_IN: return A2 / R2;
    case UNIT_CLOTHOID_OUT: return A2 / R1;
    case UNIT_CLOTHOID_DEC: return (R1 - R2) * A2 / (R1 * R2);
    default: return (R2 - R1) * A2 / (R1 * R2);
    }
}

double tkxClothoidUnit::ComputeBeta(tkxUnitType type, double R1, double R2, double A, double L)
{
    if (R1 < 1e-8 || R2 < 1e-8 || A < 1e-8) return 0.0;
    const double A2 = A * A;
    switch (type) {
    case UNIT_CLOTHOID_IN: return L / (2.0 * R2);
    case UNIT_CLOTHOID_OUT: return L / (2.0 * R1);
    case UNIT_CLOTHOID_DEC: return std::fabs(A2 / (2.0 * R1 * R2) + L / (2.0 * R2) - A2 / (2.0 * R1 * R1));
    case UNIT_CLOTHOID_INC: return std::fabs(A2 / (2.0 * R1 * R2) + L / (2.0 * R1) - A2 / (2.0 * R2 * R2));
    default: return 0.0;
    }
}

int tkxClothoidUnit::ComputeXXYY(double L, double A, int n, double* out)
{
    if (A < 1e-8) {
        out[0] = out[1] = 0.0;
        return 1;
    }
    const double t = L * L / (2.0 * A * A);
    // term j is t^j / j!, built by repeated multiplication; even j feed x,
    // odd j feed y, with alternating signs and the divisor 2j + 1.
    double x = 0.0, y = 0.0;
    double power = 1.0;
    for (int j = 0; j < 2 * n; ++j) {
        if (j > 0) power *= t / j;
        const double term = L * power / (2.0 * j + 1.0);
        // Once t < j + 1 no later term is larger than this one; and a term
        // below a quarter of the spacing of the doubles next to a sum leaves
        // that sum as it is.  When this term is so small for both sums,
        // neither changes any more: the sums are final, to the last bit.
        if (j + 1 > t && std::fabs(term) < kNegligible * std::fabs(x) && std::fabs(term) < kNegligible * std::fabs(y))
            break;
        const int k = j / 2;
        const double sign = (k % 2 == 0) ? 1.0 : -1.0;
        if (j % 2 == 0)
            x += sign * term;
        else
            y += sign * term;
    }
    out[0] = x;
    out[1] = y;
    return (std::fabs(x) > 1e8 || std::fabs(y) > 1e8) ? 0 : 1;
}

double tkxClothoidUnit::ComputeDefaultA(double p, double R)
{
    if (std::fabs(R) < 1e-10) return 0.0;
    const double q = 1.0 - (6.0 / 7.0) * p / R;
    if (q < 1e-8) return 0.0;
    return R * std::pow(56.0 * (1.0 - std::sqrt(q)), 0.25);
}

double tkxClothoidUnit::ComputeCLDistance(double A, double R)
{
    if (std::fabs(R) < 1e-10) return -1.0;
    const double L = A * A / R;
    double xy[2];
    if (!ComputeXXYY(L, A, 14, xy)) return -1.0;
    return R * std::sin(kPi / 2.0 - L / (2.0 * R)) + xy[1];
}

// ---------------------------------------------------------------------------
// Building and editing

int tkxClothoidUnit::SetUnitInfo(sZHPtInfo start, double R2, double L, enDir turn)
{
    m_StartPt = start;
    m_EndPt.m_rRadius = R2;
    m_rLength = L;
    m_rA = ComputeA(start.m_rRadius, R2, L);
    tkxUnitType type = UNIT_LINE;
    if (!ComputeType(start.m_rRadius, R2, type)) return 0;
    m_iUnitType = type;
    m_iTurn = turn;
    return GetOtherData();
}

void tkxClothoidUnit::SetUnitInfo(sZHPtInfo start, sZHPtInfo end, double A, double L, double beta,
                                  double* basePoint, double baseAzimuth, int turn)
{
    m_StartPt = start;
    m_EndPt = end;
    m_rA = A;
    m_rLength = L;
    m_rBeta = beta;
    for (int i = 0; i < 3; ++i) m_BasePt[i] = basePoint[i];
    m_rBaseAzimuth = baseAzimuth;
    m_iTurn = turn == 1 ? DIR_LEFT : DIR_RIGHT;
    double a[3], b[3];
    PointOf(start, a);
    PointOf(end, b);
    MoveAlong(a, start.m_rAzimuth, 100.0, m_StartRefPt);
    MoveAlong(b, end.m_rAzimuth, 100.0, m_EndRefPt);
    tkxUnitType type = UNIT_LINE;
    if (ComputeType(start.m_rRadius, end.m_rRadius, type)) m_iUnitType = type;
}

int tkxClothoidUnit::SetA(double A, int update)
{
    m_rA = A;
    return update == 1 ? GetOtherData() : 1;
}

int tkxClothoidUnit::SetLength(double L, int update)
{
    m_rLength = L;
    if (!UpdateA()) return 0;
    return update == 1 ? GetOtherData() : 1;
}

int tkxClothoidUnit::SetStartR(double R, int update)
{
    m_StartPt.m_rRadius = R;
    tkxUnitType type = UNIT_LINE;
    if (ComputeType(m_StartPt.m_rRadius, m_EndPt.m_rRadius, type)) m_iUnitType = type;
    if (update != 1) return 1;
    return UpdateA() ? GetOtherData() : 0;
}

int tkxClothoidUnit::SetEndR(double R, int update)
{
    m_EndPt.m_rRadius = R;
    tkxUnitType type = UNIT_LINE;
    if (ComputeType(m_StartPt.m_rRadius, m_EndPt.m_rRadius, type)) m_iUnitType = type;
    if (update != 1) return 1;
    return UpdateA() ? GetOtherData() : 0;
}

int tkxClothoidUnit::SetBeta(double beta, int update)
{
    m_rBeta = beta;
    const double R1 = m_StartPt.m_rRadius;
    const double R2 = m_EndPt.m_rRadius;
    switch (m_iUnitType) {
    case UNIT_CLOTHOID_IN:
        m_rLength = 2.0 * beta * R2;
        m_rA = SafeSqrt(R2 * m_rLength);
        break;
    case UNIT_CLOTHOID_OUT:
        m_rLength = 2.0 * beta * R1;
        m_rA = SafeSqrt(R1 * m_rLength);
        break;
    case UNIT_CLOTHOID_DEC:
    case UNIT_CLOTHOID_INC: {
        // The tangent turns by A²/2 * |1/R2² - 1/R1²| between the radii.
        if (R1 < 1e-8 || R2 < 1e-8) return 0;
        const double k = std::fabs(1.0 / (R2 * R2) - 1.0 / (R1 * R1));
        if (k < 1e-30) return 0;
        m_rA = SafeSqrt(2.0 * beta / k);
        UpdateLength();
        break;
    }
    default: return 0;
    }
    return update == 1 ? GetOtherData() : 1;
}

double tkxClothoidUnit::A() const { return m_rA; }
double tkxClothoidUnit::GetBasePt_X() const { return m_BasePt[0]; }
double tkxClothoidUnit::GetBasePt_Y() const { return m_BasePt[1]; }
double tkxClothoidUnit::GetBaseAzimuth() const { return m_rBaseAzimuth; }

double tkxClothoidUnit::GetCCDistance() const
{
    if (m_iUnitType == UNIT_CLOTHOID_IN || m_iUnitType == UNIT_CLOTHOID_OUT) return 0.0;
    const double s = m_iTurn == DIR_LEFT ? 1.0 : -1.0;
    double a[3], b[3], c1[3], c2[3];
    PointOf(m_StartPt, a);
    PointOf(m_EndPt, b);
    const double R1 = m_StartPt.m_rRadius;
    const double R2 = m_EndPt.m_rRadius;
    PolarPoint(a, kPi / 2.0 - m_StartPt.m_rAzimuth + s * kPi / 2.0, R1, c1);
    PolarPoint(b, kPi / 2.0 - m_EndPt.m_rAzimuth + s * kPi / 2.0, R2, c2);
    const double d = PointDistance2d(c1, c2);
    return m_iUnitType == UNIT_CLOTHOID_DEC ? R1 - d - R2 : R2 - d - R1;
}

// ---------------------------------------------------------------------------
// Derived data

int tkxClothoidUnit::UpdateLength()
{
    const double R1 = m_StartPt.m_rRadius;
    const double R2 = m_EndPt.m_rRadius;
    if (R1 < 1e-8 || R2 < 1e-8 || m_rA < 1e-8) {
        m_rLength = 0.0;
        return 1;
    }
    const double A2 = m_rA * m_rA;
    switch (m_iUnitType) {
    case UNIT_CLOTHOID_IN: m_rLength = A2 / R2; return 1;
    case UNIT_CLOTHOID_OUT: m_rLength = A2 / R1; return 1;
    case UNIT_CLOTHOID_DEC: m_rLength = R1 - R2 < 1e-8 ? 0.0 : (R1 - R2) * A2 / (R2 * R1); return 1;
    case UNIT_CLOTHOID_INC: m_rLength = R2 - R1 < 1e-8 ? 0.0 : (R2 - R1) * A2 / (R2 * R1); return 1;
    default: return 0;
    }
}

int tkxClothoidUnit::UpdateA()
{
    const double R1 = m_StartPt.m_rRadius;
    const double R2 = m_EndPt.m_rRadius;
    const double L = m_rLength;
    switch (m_iUnitType) {
    case UNIT_CLOTHOID_IN: m_rA = SafeSqrt(R2 * L); return 1;
    case UNIT_CLOTHOID_OUT: m_rA = SafeSqrt(R1 * L); return 1;
    case UNIT_CLOTHOID_DEC:
        if (R1 - R2 < 1e-8) {
            m_rA = 0.0;
            return 0;
        }
        m_rA = SafeSqrt(R2 * R1 * L / (R1 - R2));
        return 1;
    case UNIT_CLOTHOID_INC:
        if (R2 - R1 < 1e-8) {
            m_rA = 0.0;
            return 0;
        }
        m_rA = SafeSqrt(R2 * R1 * L / (R2 - R1));
        return 1;
    default: return 0;
    }
}

int tkxClothoidUnit::UpdateBeta()
{
    const double R1 = m_StartPt.m_rRadius;
    const double R2 = m_EndPt.m_rRadius;
    if (R1 < 1e-8 || R2 < 1e-8 || m_rA < 1e-8) {
        m_rBeta = 0.0;
        return 0;
    }
    if (m_rLength < 1e-8) {
        if (!UpdateLength()) return 0;
        m_rBeta = 0.0;
        if (m_rLength < 1e-8) return 1;
    }
    if (!IsClothoidType(m_iUnitType)) return 0;
    m_rBeta = ComputeBeta(static_cast<tkxUnitType>(m_iUnitType), R1, R2, m_rA, m_rLength);
    return 1;
}

int tkxClothoidUnit::UpdateBasePoint(const double* P, double A, double R, double az)
{
    alignment::Headings headings;
    return UpdateBasePoint(P, A, R, az, headings);
}

int tkxClothoidUnit::UpdateBasePoint(const double* P, double A, double R, double az, alignment::Headings& headings)
{
    if (A < 1e-6 || R < 1e-6) return 0;
    int d = m_iTurn;
    if (m_iUnitType == UNIT_CLOTHOID_OUT || m_iUnitType == UNIT_CLOTHOID_INC) d = -m_iTurn;
    const double l = A * A / R;
    double xy[2];
    if (!ComputeXXYY(l, A, m_nTerms, xy)) return 0;
    const double tau = l * l / (2.0 * A * A);
    const double h = m_iUnitType == UNIT_CLOTHOID_DEC ? az + kPi : az;
    const double e = d == 1 ? 1.0 : -1.0;
    m_rBaseAzimuth = h + e * tau;
    const double point[3] = {P[0], P[1], P[2]};
    if (tau < 1e-12) {
        MoveAlong(point, headings.Of(m_rBaseAzimuth), xy[0], m_BasePt);
    } else {
        double T[3];
        MoveAlong(point, headings.Of(h), xy[1] / headings.Of(tau).sine, T);
        MoveAlong(T, headings.Of(m_rBaseAzimuth), xy[0] - xy[1] / std::tan(tau), m_BasePt);
    }
    m_BasePt[2] = P[2];
    if (m_iUnitType == UNIT_CLOTHOID_DEC) m_rBaseAzimuth += kPi;
    return 1;
}

bool tkxClothoidUnit::EndFromPoint()
{
    alignment::Headings headings;
    return EndFromPoint(headings);
}

bool tkxClothoidUnit::EndFromPoint(alignment::Headings& headings)
{
    // The end takes position and azimuth of the point at the unit's length;
    // its radius and name stay the unit's own.
    sZHPtInfo end;
    if (!PointAt(m_rLength, end, headings)) return false;
    m_EndPt.m_rZH = end.m_rZH;
    m_EndPt.m_rAzimuth = end.m_rAzimuth;
    m_EndPt.m_rX = end.m_rX;
    m_EndPt.m_rY = end.m_rY;
    m_EndPt.m_rZ = end.m_rZ;
    return true;
}

int tkxClothoidUnit::UpdateEndPtInfo()
{
    alignment::Headings headings;
    return UpdateEndPtInfo(headings);
}

int tkxClothoidUnit::UpdateEndPtInfo(alignment::Headings& headings)
{
    double start[3];
    PointOf(m_StartPt, start);
    switch (m_iUnitType) {
    case UNIT_CLOTHOID_IN: {
        for (int i = 0; i < 3; ++i) m_BasePt[i] = start[i];
        m_rBaseAzimuth = m_StartPt.m_rAzimuth;
        if (!EndFromPoint(headings)) return 0;
        break;
    }
    case UNIT_CLOTHOID_OUT:
        if (!UpdateBasePoint(start, m_rA, m_StartPt.m_rRadius, m_StartPt.m_rAzimuth, headings)) return 0;
        m_EndPt.m_rX = m_BasePt[0];
        m_EndPt.m_rY = m_BasePt[1];
        m_EndPt.m_rZ = m_BasePt[2];
        m_EndPt.m_rAzimuth = m_rBaseAzimuth;
        break;
    case UNIT_CLOTHOID_DEC:
    case UNIT_CLOTHOID_INC: {
        if (!UpdateBasePoint(start, m_rA, m_StartPt.m_rRadius, m_StartPt.m_rAzimuth, headings)) return 0;
        if (!EndFromPoint(headings)) return 0;
        break;
    }
    default: return 0;
    }
    m_EndPt.m_rZH = m_StartPt.m_rZH + m_rLength;
    return 1;
}

int tkxClothoidUnit::GetOtherData()
{
    alignment::Headings headings;
    return GetOtherData(headings);
}

int tkxClothoidUnit::GetOtherData(alignment::Headings& headings)
{
    double start[3];
    PointOf(m_StartPt, start);
    if (m_rA >= 1e-8 && std::fabs(m_StartPt.m_rRadius - m_EndPt.m_rRadius) >= 1e-6) {
        if (m_iTurn == DIR_NONE) return 0;
        tkxUnitType type = UNIT_LINE;
        if (ComputeType(m_StartPt.m_rRadius, m_EndPt.m_rRadius, type)) m_iUnitType = type;
        UpdateLength();
        const int endOk = UpdateEndPtInfo(headings);
        const int betaOk = UpdateBeta();
        if (endOk != 1 || betaOk != 1) return 0;
        double end[3];
        PointOf(m_EndPt, end);
        MoveAlong(start, headings.Of(m_StartPt.m_rAzimuth), 100.0, m_StartRefPt);
        MoveAlong(end, headings.Of(m_EndPt.m_rAzimuth), 100.0, m_EndRefPt);
        return 1;
    }
    // Degenerate: a unit of no length at its start.
    m_EndPt = m_StartPt;
    m_rA = 0.0;
    m_rLength = 0.0;
    MoveAlong(start, m_StartPt.m_rAzimuth, 100.0, m_StartRefPt);
    for (int i = 0; i < 3; ++i) m_EndRefPt[i] = m_StartRefPt[i];
    return 0;
}

// ---------------------------------------------------------------------------
// Points

int tkxClothoidUnit::GetPoint(double s, sZHPtInfo& out) const
{
    alignment::Headings headings;
    return PointAt(s, out, headings);
}

int tkxClothoidUnit::PointAt(double s, sZHPtInfo& out, alignment::Headings& headings) const
{
    if (std::fabs(s) < 0.0001) {
        out = m_StartPt;
        return 1;
    }
    const double L = m_rLength;
    const double A2 = m_rA * m_rA;
    double sigma = 0.0, phi = 0.0;
    double O[3];
    switch (m_iUnitType) {
    case UNIT_CLOTHOID_IN:
        sigma = s;
        PointOf(m_StartPt, O);
        phi = m_StartPt.m_rAzimuth;
        break;
    case UNIT_CLOTHOID_OUT:
        if (std::fabs(s - L) < 1e-10) {
            out = m_EndPt;
            return 1;
        }
        sigma = L - s;
        PointOf(m_EndPt, O);
        phi = m_EndPt.m_rAzimuth + kPi;
        break;
    case UNIT_CLOTHOID_DEC:
        if (m_StartPt.m_rRadius < 1e-10) return 0;
        sigma = s + A2 / m_StartPt.m_rRadius;
        for (int i = 0; i < 3; ++i) O[i] = m_BasePt[i];
        phi = m_rBaseAzimuth;
        break;
    case UNIT_CLOTHOID_INC:
        if (m_EndPt.m_rRadius < 1e-10) return 0;
        sigma = A2 / m_EndPt.m_rRadius + (L - s);
        for (int i = 0; i < 3; ++i) O[i] = m_BasePt[i];
        phi = m_rBaseAzimuth + kPi;
        break;
    default: return 0;
    }
    double xy[2];
    if (!ComputeXXYY(sigma, m_rA, m_nTerms, xy)) return 0;
    const double tau = A2 < 1e-16 ? 0.0 : sigma * sigma / (2.0 * A2);

    out.m_rZH = m_StartPt.m_rZH + s;
    out.m_rRadius = GetR(s);
    double p[3];
    if (m_iUnitType == UNIT_CLOTHOID_IN || m_iUnitType == UNIT_CLOTHOID_DEC) {
        // Forward from the origin: the azimuth turns with the unit.
        const double a = phi - m_iTurn * tau;
        SeriesPoint(O, phi, xy[0], xy[1], tau, -m_iTurn, p, headings);
        out.m_rAzimuth = NormalizeAngle(a);
    } else {
        // Backward from the origin: the azimuth turns against the unit.
        const double b = phi + m_iTurn * tau;
        SeriesPoint(O, phi, xy[0], xy[1], tau, m_iTurn, p, headings);
        out.m_rAzimuth = NormalizeAngle(b - kPi);
    }
    out.m_rX = p[0];
    out.m_rY = p[1];
    out.m_rZ = 0.0;
    return 1;
}

double tkxClothoidUnit::GetR(double s) const
{
    const double L = m_rLength;
    const double R1 = m_StartPt.m_rRadius;
    if (s < -1e-8) return R1;
    if (s > L - 1e-8 || std::fabs(L) < 1e-8) return m_EndPt.m_rRadius;
    if (std::fabs(s) < 1e-8) s = 0.0;
    const double A2 = m_rA * m_rA;
    switch (m_iUnitType) {
    case UNIT_CLOTHOID_IN: return s == 0.0 ? kInfiniteRadius : A2 / s;
    case UNIT_CLOTHOID_OUT: return A2 / (L - s);
    case UNIT_CLOTHOID_DEC: {
        const double q = A2 + R1 * s;
        return std::fabs(q) < 1e-8 ? kInfiniteRadius : A2 * R1 / q;
    }
    default: {
        const double q = A2 - R1 * s;
        return std::fabs(q) < 1e-8 ? kInfiniteRadius : A2 * R1 / q;
    }
    }
}

void tkxClothoidUnit::GetRL(double angle, double& R, double& L) const
{
    const double R1 = m_StartPt.m_rRadius;
    const double R2 = m_EndPt.m_rRadius;
    const double length = m_rLength;
    const double A = m_rA;
    const double A2 = A * A;
    if (angle < -1e-6) {
        R = R1;
        L = 0.0;
        return;
    }
    if (angle > m_rBeta - 1e-6) {
        R = R2;
        L = length;
        return;
    }
    if (std::fabs(angle) < 1e-6 || std::fabs(length) < 1e-8) {
        R = R1;
        L = 0.0;
        return;
    }
    // The clothoid law from the origin: after a length l the tangent has
    // turned by l²/(2A²) and the radius is A²/l.  So at tangent angle tau
    // from the origin the radius is A / sqrt(2 tau).
    auto radiusAt = [A](double tau) { return tau > 1e-300 ? A / std::sqrt(2.0 * tau) : kInfiniteRadius; };
    switch (m_iUnitType) {
    case UNIT_CLOTHOID_IN: // origin at the start
        R = radiusAt(angle);
        L = A2 / R;
        if (R < R2) {
            R = R2;
            L = length;
        }
        return;
    case UNIT_CLOTHOID_OUT: // origin at the end, beta away from the start
        R = radiusAt(m_rBeta - angle);
        L = length - A2 / R;
        if (R < R1) {
            R = R1;
            L = 0.0;
        }
        if (R > R2) {
            R = R2;
            L = length;
        }
        return;
    case UNIT_CLOTHOID_DEC: { // origin behind the start
        const double tau1 = A2 / (2.0 * R1 * R1);
        R = radiusAt(tau1 + angle);
        L = A2 / R - A2 / R1;
        if (R > R1) {
            R = R1;
            L = 0.0;
        }
        if (R < R2) {
            R = R2;
            L = length;
        }
        return;
    }
    case UNIT_CLOTHOID_INC: { // origin beyond the end
        const double tau1 = A2 / (2.0 * R1 * R1);
        R = radiusAt(tau1 - angle);
        L = A2 / R1 - A2 / R;
        if (R < R1) {
            R = R1;
            L = 0.0;
        }
        if (R > R2) {
            R = R2;
            L = length;
        }
        return;
    }
    default: return;
    }
}

void tkxClothoidUnit::GetNearestPoint(const double* p, sZHPtInfo& out) const
{
    double s[3], e[3];
    PointOf(m_StartPt, s);
    PointOf(m_EndPt, e);
    if (GetPointSideOfRay(s, kPi - m_StartPt.m_rAzimuth, p) == DIR_LEFT) {
        out = m_StartPt;
        return;
    }
    if (GetPointSideOfRay(e, kPi - m_EndPt.m_rAzimuth, p) == DIR_RIGHT) {
        out = m_EndPt;
        return;
    }
    GetNearestPoint_BigBeta(p, out);
}

void tkxClothoidUnit::GetNearestPoint_BigBeta(const double* p, sZHPtInfo& out) const
{
    const double tolerance = 0.00001;
    double lo = 0.0, hi = m_rLength;
    double a = lo, b = hi;
    bool ran = false;
    int steps = 0;
    while (hi - lo > tolerance) {
        if (++steps > 101) {
            // No convergence: the nearer end.
            const double ds = std::hypot(p[0] - m_StartPt.m_rX, p[1] - m_StartPt.m_rY);
            const double de = std::hypot(p[0] - m_EndPt.m_rX, p[1] - m_EndPt.m_rY);
            out = ds < de ? m_StartPt : m_EndPt;
            return;
        }
        ran = true;
        b = lo + 0.618 * (hi - lo);
        a = lo + 0.382 * (hi - lo);
        sZHPtInfo pa, pb;
        GetPoint(a, pa);
        GetPoint(b, pb);
        const double da = std::hypot(p[0] - pa.m_rX, p[1] - pa.m_rY);
        const double db = std::hypot(p[0] - pb.m_rX, p[1] - pb.m_rY);
        if (da > db)
            lo = a;
        else
            hi = b;
    }
    GetPoint(ran ? (a + b) / 2.0 : m_rLength / 2.0, out);
}

int tkxClothoidUnit::GetMidPoint(double* out) const
{
    sZHPtInfo mid;
    const int ok = GetPoint(m_rLength / 2.0, mid);
    out[0] = mid.m_rX;
    out[1] = mid.m_rY;
    out[2] = mid.m_rZ;
    return ok;
}

enDir tkxClothoidUnit::GetLeftRight(const double* p) const
{
    sZHPtInfo nearest;
    GetNearestPoint(p, nearest);
    if (std::hypot(p[0] - nearest.m_rX, p[1] - nearest.m_rY) < 1e-6) return DIR_NONE;
    const double a[2] = {m_StartPt.m_rX, m_StartPt.m_rY};
    const double b[2] = {nearest.m_rX, nearest.m_rY};
    const double c[2] = {p[0], p[1]};
    return static_cast<enDir>(GetPointSide(a, b, c));
}

// ---------------------------------------------------------------------------
// Reversing, scaling, moving

int tkxClothoidUnit::Inverse()
{
    if (m_rA < 1e-8) return 1;
    std::swap(m_StartPt.m_rX, m_EndPt.m_rX);
    std::swap(m_StartPt.m_rY, m_EndPt.m_rY);
    std::swap(m_StartPt.m_rZ, m_EndPt.m_rZ);
    const double startAzimuth = m_StartPt.m_rAzimuth;
    m_StartPt.m_rAzimuth = m_EndPt.m_rAzimuth + kPi;
    m_EndPt.m_rAzimuth = startAzimuth + kPi;
    if (m_iTurn == DIR_NONE) return 0;
    m_iTurn = -m_iTurn;
    std::swap(m_StartPt.m_rRadius, m_EndPt.m_rRadius);
    return GetOtherData();
}

int tkxClothoidUnit::Scale(double k)
{
    if (k < 1e-8) return 0;
    const double x0 = m_StartPt.m_rX;
    const double y0 = m_StartPt.m_rY;
    m_EndPt.m_rX = x0 + (m_EndPt.m_rX - x0) * k;
    m_EndPt.m_rY = y0 + (m_EndPt.m_rY - y0) * k;
    m_BasePt[0] = x0 + (m_BasePt[0] - x0) * k;
    m_BasePt[1] = y0 + (m_BasePt[1] - y0) * k;
    if (std::fabs(m_StartPt.m_rRadius - 1e8) >= 1e-8) m_StartPt.m_rRadius *= k;
    if (std::fabs(m_EndPt.m_rRadius - 1e8) >= 1e-8) m_EndPt.m_rRadius *= k;
    m_rA *= k;
    m_rLength *= k;
    return GetOtherData();
}

int tkxClothoidUnit::Move(const double* d)
{
    tkxRoadPMUnit::Move(d);
    return GetOtherData();
}

int tkxClothoidUnit::MoveTo(const double* p)
{
    tkxRoadPMUnit::MoveTo(p);
    return GetOtherData();
}

CString tkxClothoidUnit::List() const
{
    return ClFormat(L"单元类型: 缓和曲线(%s)\t长度:%s, A值:%s\n%s", m_iTurn == DIR_LEFT ? L"左" : L"右",
                    tkx_DToS(m_rLength, 3, -1).GetString(), tkx_DToS(m_rA, 3, -1).GetString(),
                    ListPoints().GetString()) +
           ClFormat(L"BasePt[%.3f,%.3f], %s", m_BasePt[0], m_BasePt[1],
                    tkx_DegreeD_To_S(m_rBaseAzimuth * 180.0 / kPi).GetString());
}

// ---------------------------------------------------------------------------
// Key points in the origin's frame

int tkxClothoidUnit::GetKeyRelativePoint(double* first, double* second) const
{
    first[0] = first[1] = 0.0;
    second[0] = second[1] = 0.0;
    const double A2 = m_rA * m_rA;
    switch (m_iUnitType) {
    case UNIT_CLOTHOID_IN: return ComputeXXYY(m_rLength, m_rA, m_nTerms, second);
    case UNIT_CLOTHOID_OUT: return ComputeXXYY(m_rLength, m_rA, m_nTerms, first);
    case UNIT_CLOTHOID_DEC:
    case UNIT_CLOTHOID_INC:
        if (m_StartPt.m_rRadius < 1e-10 || m_EndPt.m_rRadius < 1e-10) return 0;
        if (!ComputeXXYY(A2 / m_StartPt.m_rRadius, m_rA, m_nTerms, first)) return 0;
        return ComputeXXYY(A2 / m_EndPt.m_rRadius, m_rA, m_nTerms, second);
    default: return 0;
    }
}

int tkxClothoidUnit::GetRelativePoint(double* out) const
{
    if (m_rLength < 0.0001 || m_rA < 0.0001) {
        out[0] = out[1] = 0.0;
        return 1;
    }
    if (m_iUnitType != UNIT_CLOTHOID_DEC && m_iUnitType != UNIT_CLOTHOID_INC) return 1;
    double first[2], second[2];
    GetKeyRelativePoint(first, second);
    const double dx = second[0] - first[0];
    const double dy = second[1] - first[1];
    const double d = std::hypot(dx, dy);
    const double direction = std::atan2(dy, dx);
    const double R = m_iUnitType == UNIT_CLOTHOID_DEC ? m_StartPt.m_rRadius : m_EndPt.m_rRadius;
    const double tau = m_rA * m_rA / (R * R) / 2.0;
    out[0] = d * std::cos(direction - tau);
    out[1] = d * std::sin(direction - tau);
    out[2] = 0.0;
    return 1;
}

// ---------------------------------------------------------------------------
// The file line

CString tkxClothoidUnit::LoadFromString(sZHPtInfo start, const wchar_t* line)
{
    alignment::Headings headings;
    return LoadFromString(start, std::wstring_view(line ? line : L""), headings);
}

CString tkxClothoidUnit::LoadFromString(const sZHPtInfo& start, std::wstring_view line, alignment::Headings& headings)
{
    m_StartPt = start;
    text_lines::FieldList fields;
    if (fields.Divide(line.data(), line.size()) != 0 || fields.GetSize() == 0)
        return L"解析缓和曲线ICD格式字符失败!";
    return LoadFromFields(start, text_lines::WideLineFields(fields), headings);
}

CString tkxClothoidUnit::LoadFromFields(const sZHPtInfo& start, const text_lines::LineFields& fields,
                                        alignment::Headings& headings)
{
    m_StartPt = start;
    const int count = fields.Count();
    double code = 0.0;
    const int type = fields.Number(0, code) ? number_text::WholePart(code) : -1;
    const bool twoRadii = type == UNIT_CLOTHOID_DEC || type == UNIT_CLOTHOID_INC;
    if (count < 4 || (twoRadii && count < 5))
        return ClFormat(L"读缓和曲线数据个数为%d时出错!允许数据个数太少。", count);
    m_iUnitType = type;
    double A = 0.0;
    if (!fields.Number(1, A)) return ClFormat(L"读第2数据, 缓和曲线参数<%s>时出错! ", fields.Text(1).GetString());

    double R1 = kInfiniteRadius, R2 = kInfiniteRadius;
    int turnField = 3; // 0-based index of the turn field
    switch (type) {
    case UNIT_CLOTHOID_IN:
        if (!fields.Number(2, R2))
            return ClFormat(L"读第3数据, 缓和曲线终点半径<%s>时出错! ", fields.Text(2).GetString());
        break;
    case UNIT_CLOTHOID_OUT:
        if (!fields.Number(2, R1))
            return ClFormat(L"读第3数据, 缓和曲线起点半径<%s>时出错! ", fields.Text(2).GetString());
        break;
    case UNIT_CLOTHOID_DEC:
    case UNIT_CLOTHOID_INC:
        if (!fields.Number(2, R1))
            return ClFormat(L"读第3数据, 缓和曲线起点半径<%s>时出错! ", fields.Text(2).GetString());
        if (type == UNIT_CLOTHOID_INC && R1 < 1e-6)
            return ClFormat(L"读第3数据, 缓和曲线起点半径<%s>数值太小! ", fields.Text(2).GetString());
        if (!fields.Number(3, R2))
            return ClFormat(L"读第4数据, 缓和曲线终点半径<%s>时出错! ", fields.Text(3).GetString());
        if (type == UNIT_CLOTHOID_INC && R2 < 1e-6)
            return ClFormat(L"读第4数据, 缓和曲线终点半径<%s>数值太小! ", fields.Text(3).GetString());
        turnField = 4;
        break;
    default: return ClFormat(L"未定义的单元类型[%s]。", fields.Text(0).GetString());
    }
    if (std::fabs(R1 - R2) < 1e-6) return ClFormat(L"缓和曲线起终点半径数值不能相同![%.3f, %.3f]", R1, R2);

    double turn = 0.0;
    if (!fields.Number(turnField, turn))
        return ClFormat(L"读第%d数据, 缓和曲线单元转向<%s>时出错! ", turnField + 1, fields.Text(turnField).GetString());
    m_iStartMutation = 0;
    if (count > turnField + 1) {
        double azimuth = 0.0;
        if (!fields.Number(turnField + 1, azimuth))
            return ClFormat(L"读第%d数据, 缓和曲线起点方位角<%s>时出错! ", turnField + 2,
                            fields.Text(turnField + 1).GetString());
        m_StartPt.m_rAzimuth = azimuth;
        m_iStartMutation = 1;
    }
    m_rA = A;
    m_StartPt.m_rRadius = R1;
    m_EndPt.m_rRadius = R2;
    m_iTurn = static_cast<int>(turn) == 1 ? DIR_RIGHT : DIR_LEFT;
    return GetOtherData(headings) == 1 ? CString() : CString(L"缓和曲线参数错误!");
}

CString tkxClothoidUnit::SaveToString() const
{
    const int fileTurn = m_iTurn == DIR_LEFT ? -1 : 1;
    CString text;
    if (m_iUnitType == UNIT_CLOTHOID_IN)
        text = ClFormat(L"3, %.20f, %.20f, %d", m_rA, m_EndPt.m_rRadius, fileTurn);
    else if (m_iUnitType == UNIT_CLOTHOID_OUT)
        text = ClFormat(L"4, %.20f, %.20f, %d", m_rA, m_StartPt.m_rRadius, fileTurn);
    else
        text = ClFormat(L"%d, %.20f, %.20f, %.20f, %d", m_iUnitType, m_rA, m_StartPt.m_rRadius, m_EndPt.m_rRadius,
                        fileTurn);
    if (m_iStartMutation) text += ClFormat(L", %.20f", m_StartPt.m_rAzimuth);
    return text;
}

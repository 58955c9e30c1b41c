#include "corvane/road/LineArcUnits.h"
#include "corvane/geometry/Line3d.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/geometry/PlaneGeometry.h"
#include "corvane/base/LineReader.h"
#include "corvane/project/StationText.h"

#include <cmath>
#include <cwchar>

using namespace Tavix4;
using alignment::kInfiniteRadius;
using alignment::kPi;
using alignment::MoveAlong;
using alignment::PointOf;

namespace {

template <class Record> void SetXYZ(Record& record, const double* p)
{
    record.m_rX = p[0];
    record.m_rY = p[1];
    record.m_rZ = p[2];
}

void SwapXYZ(alignment::UnitRecord& a, alignment::UnitRecord& b)
{
    std::swap(a.m_rX, b.m_rX);
    std::swap(a.m_rY, b.m_rY);
    std::swap(a.m_rZ, b.m_rZ);
}

// The fields of a unit line; false when the text gives none.
bool SplitLine(std::wstring_view line, text_lines::FieldList& fields)
{
    return fields.Divide(line.data(), line.size()) == 0 && fields.GetSize() > 0;
}


// The turn of a unit from the file's turn field: 1 is a right turn, any
// other value a left one.
int TurnFromFileField(double value) { return static_cast<int>(value) == 1 ? DIR_RIGHT : DIR_LEFT; }

// The radius a new station record holds, which a straight's records may
// carry into an arc built on them.
constexpr double kRecordRadius = 1e8;

// The numbers of an arc's line.
struct ArcLine {
    double R = 0.0, length = 0.0, turn = 0.0, azimuth = 0.0;
    bool turned = false; // the line gives the start azimuth
};

// Reads an arc's line: the message of its first wrong field, else empty.  A
// radius counted infinite is refused unless `infiniteRadius` allows it: the
// arc's end is worked out from its centre, which then lies so far away that
// the digits of the end cancel (a 300 m arc of radius 1e20 would end
// thousands of kilometres from its start).
CString ReadArcLine(const text_lines::LineFields& fields, bool infiniteRadius, ArcLine& arc)
{
    const int count = fields.Count();
    if (count < 4) return ClFormat(L"读圆曲线单元数据个数为%d时出错!允许数据个数为4个或5个。", count);
    if (!fields.Number(1, arc.R)) return ClFormat(L"读第2数据, 圆曲线半径<%s>时出错! ", fields.Text(1).GetString());
    if (arc.R < 1e-6) return ClFormat(L"读第2数据, 圆曲线半径<%s>值太小! ", fields.Text(1).GetString());
    if (!infiniteRadius && alignment::IsInfinite(arc.R))
        return ClFormat(L"读第2数据, 圆曲线半径<%s>值太大! ", fields.Text(1).GetString());
    if (!fields.Number(2, arc.length))
        return ClFormat(L"读第3数据, 圆曲线长度<%s>时出错! ", fields.Text(2).GetString());
    if (arc.length < 1e-6) return ClFormat(L"读第3数据, 圆曲线单元长度<%s>值太小! ", fields.Text(2).GetString());
    if (!fields.Number(3, arc.turn))
        return ClFormat(L"读第4数据, 圆曲线单元转向<%s>时出错! ", fields.Text(3).GetString());
    arc.turned = count > 4;
    if (arc.turned && !fields.Number(4, arc.azimuth))
        return ClFormat(L"读第5数据, 圆曲线单元起点方位角<%s>时出错! ", fields.Text(4).GetString());
    return CString();
}

} // namespace

// ---------------------------------------------------------------------------
// tkxLineUnit

IMPLEMENT_SERIAL(tkxLineUnit, tkxRoadPMUnit, 1)

// The base's new unit is a straight already (type 1, every number 0, both
// radii infinite): nothing is set twice.
tkxLineUnit::tkxLineUnit() {}

tkxLineUnit::tkxLineUnit(const tkxLineUnit& other) : tkxRoadPMUnit(other) {}

tkxLineUnit::~tkxLineUnit() = default;

int tkxLineUnit::operator=(const tkxLineUnit& other)
{
    tkxRoadPMUnit::operator=(other);
    m_rBeta = other.m_rBeta;
    return 1;
}

void tkxLineUnit::SetUnitInfo(sZHPtInfo start, sZHPtInfo end)
{
    m_StartPt = start;
    m_EndPt = end;
    double a[3], b[3];
    PointOf(start, a);
    PointOf(end, b);
    const double azimuth = DirectionAzimuth(a, b);
    m_StartPt.m_rAzimuth = m_EndPt.m_rAzimuth = azimuth;
    m_StartPt.m_rRadius = m_EndPt.m_rRadius = kInfiniteRadius;
    m_rLength = PointDistance2d(a, b);
    // The reference points follow the new direction; left as they were they
    // would point along whatever the unit held before (nothing, when new).
    MoveAlong(a, azimuth, 100.0, m_StartRefPt);
    MoveAlong(b, azimuth, 100.0, m_EndRefPt);
}

int tkxLineUnit::GetOtherData()
{
    alignment::Headings headings;
    return GetOtherData(headings);
}

int tkxLineUnit::GetOtherData(alignment::Headings& headings)
{
    double a[3], b[3];
    PointOf(m_StartPt, a);
    PointOf(m_EndPt, b);
    m_rLength = PointDistance2d(a, b);
    // A straight of no length keeps the azimuth it was given.
    if (m_rLength > 1e-10) m_StartPt.m_rAzimuth = DirectionAzimuth(a, b);
    m_EndPt.m_rAzimuth = m_StartPt.m_rAzimuth;
    const alignment::Heading azimuth = headings.Of(m_StartPt.m_rAzimuth);
    MoveAlong(a, azimuth, 100.0, m_StartRefPt);
    MoveAlong(b, azimuth, 100.0, m_EndRefPt);
    m_EndPt.m_rZH = m_StartPt.m_rZH + m_rLength;
    return 1;
}

int tkxLineUnit::UpdateEndPtInfo()
{
    alignment::Headings headings;
    return UpdateEndPtInfo(headings);
}

int tkxLineUnit::UpdateEndPtInfo(alignment::Headings& headings)
{
    double a[3], b[3];
    PointOf(m_StartPt, a);
    MoveAlong(a, headings.Of(m_StartPt.m_rAzimuth), m_rLength, b);
    SetXYZ(m_EndPt, b);
    return GetOtherData(headings);
}

int tkxLineUnit::Inverse()
{
    SwapXYZ(m_StartPt, m_EndPt);
    return GetOtherData();
}

int tkxLineUnit::Scale(double k)
{
    if (k < 1e-8) return 0;
    m_rLength *= k;
    UpdateEndPtInfo();
    return GetOtherData();
}

int tkxLineUnit::Move(const double* d)
{
    tkxRoadPMUnit::Move(d);
    return GetOtherData();
}

int tkxLineUnit::MoveTo(const double* p)
{
    tkxRoadPMUnit::MoveTo(p);
    return GetOtherData();
}

CString tkxLineUnit::List() const
{
    return ClFormat(L"单元类型: 直线 长度:%s\n%s", tkx_DToS(m_rLength, 3, -1).GetString(), ListPoints().GetString());
}

int tkxLineUnit::GetMidPoint(double* out) const
{
    out[0] = (m_StartPt.m_rX + m_EndPt.m_rX) / 2.0;
    out[1] = (m_StartPt.m_rY + m_EndPt.m_rY) / 2.0;
    return 1;
}

enDir tkxLineUnit::GetLeftRight(const double* p) const
{
    const tkxLine3d line(tkxPoint3d(m_StartPt.m_rX, m_StartPt.m_rY, 0.0), tkxPoint3d(m_EndPt.m_rX, m_EndPt.m_rY, 0.0));
    return line.LeftOrRight(tkxPoint3d(p[0], p[1], 0.0), -1.0);
}

void tkxLineUnit::GetNearestPoint(const double* p, sZHPtInfo& out) const
{
    // Inside the straight the radius is the straight's own: infinite.
    out.m_rRadius = kInfiniteRadius;
    out.m_rAzimuth = NormalizeAngle(StartAzimuth());
    out.m_SName.Empty();

    const double dx = m_EndPt.m_rX - m_StartPt.m_rX;
    const double dy = m_EndPt.m_rY - m_StartPt.m_rY;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length < 1e-10) {
        out = m_StartPt;
        return;
    }
    // Foot of the perpendicular from p, as a distance along the straight.
    const double d = ((p[0] - m_StartPt.m_rX) * dx + (p[1] - m_StartPt.m_rY) * dy) / length;
    if (d < 0.0) {
        out = m_StartPt;
        return;
    }
    if (m_rLength > d) {
        out.m_rX = m_StartPt.m_rX + d * dx / length;
        out.m_rY = m_StartPt.m_rY + d * dy / length;
        out.m_rZ = m_StartPt.m_rZ;
        out.m_rZH = m_StartPt.m_rZH + d;
    } else {
        out = m_EndPt;
    }
}

int tkxLineUnit::GetPoint(double s, sZHPtInfo& out) const
{
    if (s < -0.001) return 0;
    if (std::fabs(s - m_rLength) < 0.001) s = m_rLength;
    if (s > m_rLength) return 0;
    if (std::fabs(s) < 0.001) s = 0.0;
    out.m_rZH = m_StartPt.m_rZH + s;
    out.m_rRadius = m_StartPt.m_rRadius;
    out.m_rAzimuth = m_StartPt.m_rAzimuth;
    double a[3], b[3];
    PointOf(m_StartPt, a);
    MoveAlong(a, m_StartPt.m_rAzimuth, s, b);
    SetXYZ(out, b);
    return 1;
}

CString tkxLineUnit::LoadFromString(sZHPtInfo start, const wchar_t* line)
{
    alignment::Headings headings;
    return LoadFromString(start, std::wstring_view(line ? line : L""), headings);
}

CString tkxLineUnit::LoadFromString(const sZHPtInfo& start, std::wstring_view line, alignment::Headings& headings)
{
    m_StartPt = start;
    m_iUnitType = UNIT_LINE;
    m_iTurn = DIR_NONE;
    text_lines::FieldList fields;
    if (!SplitLine(line, fields)) return L"解析直线ICD格式字符失败!";
    return LoadFromFields(start, text_lines::WideLineFields(fields), headings);
}

CString tkxLineUnit::LoadFromFields(const sZHPtInfo& start, const text_lines::LineFields& fields,
                                    alignment::Headings& headings)
{
    m_StartPt = start;
    m_iUnitType = UNIT_LINE;
    m_iTurn = DIR_NONE;
    const int count = fields.Count();
    if (count < 2) return ClFormat(L"读直线单元数据个数为%d时出错!允许数据个数为2个或3个。", count);
    double length = 0.0;
    if (!fields.Number(1, length)) return ClFormat(L"读第2数据, 直线单元长度<%s>时出错! ", fields.Text(1).GetString());
    if (length < 1e-10) return ClFormat(L"直线单元长度<%.3f>不得小于等于0! ", length);
    double azimuth = 0.0;
    if (count > 2 && !fields.Number(2, azimuth))
        return ClFormat(L"读第3数据, 直线单元起点方位角<%s>时出错! ", fields.Text(2).GetString());
    TakeLength(length, count > 2 ? &azimuth : nullptr, headings);
    return CString();
}

CString tkxLineUnit::LoadFromArcFields(const sZHPtInfo& start, const text_lines::LineFields& fields,
                                       alignment::Headings& headings)
{
    m_StartPt = start;
    m_iUnitType = UNIT_LINE;
    m_iTurn = DIR_NONE;
    ArcLine arc;
    const CString message = ReadArcLine(fields, true, arc);
    if (!message.IsEmpty()) return message;
    TakeLength(arc.length, arc.turned ? &arc.azimuth : nullptr, headings);
    return CString();
}

void tkxLineUnit::TakeLength(double length, const double* azimuth, alignment::Headings& headings)
{
    m_rLength = length;
    m_iStartMutation = 0;
    if (azimuth) {
        m_StartPt.m_rAzimuth = *azimuth;
        m_iStartMutation = 1;
    }
    m_StartPt.m_rRadius = m_EndPt.m_rRadius = kInfiniteRadius;
    // The end, then the derived data (UpdateEndPtInfo works out both).
    UpdateEndPtInfo(headings);
}

CString tkxLineUnit::SaveToString() const
{
    CString text = ClFormat(L"1, %.20f", m_rLength);
    if (m_iStartMutation) text += ClFormat(L", %.20f", m_StartPt.m_rAzimuth);
    return text;
}

// ---------------------------------------------------------------------------
// tkxArcUnit

IMPLEMENT_SERIAL(tkxArcUnit, tkxRoadPMUnit, 1)

// What Reset leaves, set on the base's new unit (whose numbers are 0 but
// the radii) without going through a temporary record.
tkxArcUnit::tkxArcUnit() : m_Centre{0.0, 0.0, 0.0}
{
    m_iUnitType = UNIT_ARC;
    m_StartPt.m_rRadius = 0.0;
    m_EndPt.m_rRadius = 0.0;
}

tkxArcUnit::tkxArcUnit(const tkxArcUnit& other) : tkxRoadPMUnit(other)
{
    for (int i = 0; i < 3; ++i) m_Centre[i] = other.m_Centre[i];
}

tkxArcUnit::~tkxArcUnit() = default;

int tkxArcUnit::operator=(const tkxArcUnit& other)
{
    tkxRoadPMUnit::operator=(other);
    m_rBeta = other.m_rBeta;
    for (int i = 0; i < 3; ++i) m_Centre[i] = other.m_Centre[i];
    return 1;
}

void tkxArcUnit::Reset()
{
    tkxRoadPMUnit::Reset();
    for (double& c : m_Centre) c = 0.0;
    m_iUnitType = UNIT_ARC;
}

int tkxArcUnit::SetUnitInfo(const sZHPtInfo& start, double L, enDir turn)
{
    m_StartPt = start;
    if (L < 1e-6 || turn == DIR_NONE) return 0;
    m_rLength = L;
    m_iTurn = turn;
    double a[3];
    PointOf(m_StartPt, a);
    MoveAlong(a, m_StartPt.m_rAzimuth, 100.0, m_StartRefPt);
    PolarPoint(a, (kPi / 2.0 - m_StartPt.m_rAzimuth) + turn * kPi / 2.0, m_StartPt.m_rRadius, m_Centre);
    UpdateEndPtInfo();
    return 1;
}

void tkxArcUnit::SetUnitInfo(sZHPtInfo start, sZHPtInfo end, const double* centre, double L, int turn)
{
    m_StartPt = start;
    m_EndPt = end;
    double a[3], b[3];
    PointOf(start, a);
    PointOf(end, b);
    MoveAlong(a, start.m_rAzimuth, 100.0, m_StartRefPt);
    MoveAlong(b, end.m_rAzimuth, 100.0, m_EndRefPt);
    m_rLength = L;
    m_iTurn = turn == 1 ? DIR_LEFT : DIR_RIGHT;
    for (int i = 0; i < 3; ++i) m_Centre[i] = centre[i];
    if (std::fabs(start.m_rRadius) > 1e-10) m_rBeta = L / start.m_rRadius;
}

int tkxArcUnit::GetOtherData()
{
    alignment::Headings headings;
    return GetOtherData(headings);
}

int tkxArcUnit::GetOtherData(alignment::Headings& headings)
{
    double a[3];
    PointOf(m_StartPt, a);
    MoveAlong(a, headings.Of(m_StartPt.m_rAzimuth), 100.0, m_StartRefPt);
    PolarPoint(a, DirectionAngle(a, m_StartRefPt) + m_iTurn * kPi / 2.0, m_StartPt.m_rRadius, m_Centre);
    return UpdateEndPtInfo(headings);
}

int tkxArcUnit::UpdateEndPtInfo()
{
    alignment::Headings headings;
    return UpdateEndPtInfo(headings);
}

int tkxArcUnit::UpdateEndPtInfo(alignment::Headings& headings)
{
    if (m_iTurn != DIR_LEFT && m_iTurn != DIR_RIGHT) return 0;
    const double R = m_StartPt.m_rRadius;
    if (std::fabs(R) < 1e-10) return 0;
    m_EndPt.m_rZH = m_StartPt.m_rZH + m_rLength;
    m_EndPt.m_rAzimuth = m_StartPt.m_rAzimuth - m_rLength * m_iTurn / R;
    m_EndPt.m_rRadius = R;
    double e[3];
    PolarPoint(m_Centre, kPi / 2.0 - m_EndPt.m_rAzimuth - m_iTurn * kPi / 2.0, R, e);
    SetXYZ(m_EndPt, e);
    MoveAlong(e, headings.Of(m_EndPt.m_rAzimuth), 100.0, m_EndRefPt);
    m_rBeta = m_rLength / R;
    return 1;
}

int tkxArcUnit::Inverse()
{
    if (m_iTurn == DIR_NONE) return 0;
    if (m_rLength < 0.0001) return 1;
    SwapXYZ(m_StartPt, m_EndPt);
    const double startAzimuth = m_StartPt.m_rAzimuth;
    m_StartPt.m_rAzimuth = m_EndPt.m_rAzimuth + kPi;
    m_EndPt.m_rAzimuth = startAzimuth + kPi;
    m_iTurn = -m_iTurn;
    return GetOtherData();
}

int tkxArcUnit::Scale(double k)
{
    if (k < 1e-8) return 0;
    const double x0 = m_StartPt.m_rX;
    const double y0 = m_StartPt.m_rY;
    m_EndPt.m_rX = x0 + (m_EndPt.m_rX - x0) * k;
    m_EndPt.m_rY = y0 + (m_EndPt.m_rY - y0) * k;
    m_Centre[0] = x0 + (m_Centre[0] - x0) * k;
    m_Centre[1] = y0 + (m_Centre[1] - y0) * k;
    m_StartPt.m_rRadius *= k;
    m_EndPt.m_rRadius *= k;
    m_rLength *= k;
    return GetOtherData();
}

int tkxArcUnit::Move(const double* d)
{
    tkxRoadPMUnit::Move(d);
    m_Centre[0] += d[0];
    m_Centre[1] += d[1];
    return GetOtherData();
}

int tkxArcUnit::MoveTo(const double* p)
{
    const double dx = p[0] - m_StartPt.m_rX;
    const double dy = p[1] - m_StartPt.m_rY;
    tkxRoadPMUnit::MoveTo(p);
    m_Centre[0] += dx;
    m_Centre[1] += dy;
    return GetOtherData();
}

int tkxArcUnit::SetR(double R, int update)
{
    if (std::fabs(R) < 1e-8) return 0;
    m_StartPt.m_rRadius = m_EndPt.m_rRadius = R;
    if (update != 1) return 1;
    // The sweep follows the turn, so an arc crossing north keeps its length.
    const double sweep =
        m_iTurn == DIR_NONE ? 0.0 : alignment::SweptAngle(m_StartPt.m_rAzimuth, m_EndPt.m_rAzimuth, m_iTurn);
    m_rLength = std::fabs(sweep * R);
    if (m_rLength < 0.0001) return 0;
    return GetOtherData();
}

int tkxArcUnit::SetCenterAngle(double angle, int update)
{
    m_rLength = m_StartPt.m_rRadius * angle;
    return update == 1 ? GetOtherData() : 1;
}

CString tkxArcUnit::List() const
{
    return ClFormat(L"单元类型: 圆曲线(%s)\t长度:%s\n%s", m_iTurn == DIR_LEFT ? L"左" : L"右",
                    tkx_DToS(m_rLength, 3, -1).GetString(), ListPoints().GetString());
}

int tkxArcUnit::GetMidPoint(double* out) const
{
    const double R = m_StartPt.m_rRadius;
    // Azimuth half way along the arc, taken from the sweep rather than from
    // the mean of the two azimuths (which fails across north).
    const double mid = std::fabs(R) < 1e-10 ? m_StartPt.m_rAzimuth
                                            : m_StartPt.m_rAzimuth - m_iTurn * m_rLength / (2.0 * R);
    const double direction = m_iTurn == DIR_RIGHT ? kPi - mid : -mid;
    PolarPoint(m_Centre, direction, R, out);
    return 1;
}

enDir tkxArcUnit::GetLeftRight(const double* p) const
{
    const double d = PointDistance2d(p, m_Centre);
    const double R = m_StartPt.m_rRadius;
    if (m_iTurn == DIR_LEFT) return d <= R ? DIR_LEFT : DIR_RIGHT;
    return d <= R ? DIR_RIGHT : DIR_LEFT;
}

double tkxArcUnit::GetR(double) const { return m_StartPt.m_rRadius; }
double tkxArcUnit::R() const { return m_StartPt.m_rRadius; }

double tkxArcUnit::CenterAngle() const
{
    return m_StartPt.m_rRadius < 1e-10 ? 0.0 : m_rLength / m_StartPt.m_rRadius;
}

void tkxArcUnit::CentrePt(double* out) const
{
    for (int i = 0; i < 3; ++i) out[i] = m_Centre[i];
}

int tkxArcUnit::GetPoint(double s, sZHPtInfo& out) const
{
    if (s < -0.001 || s - m_rLength > 0.001) return 0;
    if (std::fabs(s - m_rLength) < 0.001) s = m_rLength;
    if (std::fabs(s) < 0.001) s = 0.0;
    const double R = m_StartPt.m_rRadius;
    if (std::fabs(R) < 1e-10) return 0;
    // The direction from the centre to the point: the start tangent turned
    // back by a quarter turn and on by the swept angle.
    const double tangent = kPi / 2.0 - m_StartPt.m_rAzimuth;
    const double direction = tangent + m_iTurn * s / R - m_iTurn * kPi / 2.0;
    double p[3];
    PolarPoint(m_Centre, direction, R, p);
    SetXYZ(out, p);
    out.m_rZH = m_StartPt.m_rZH + s;
    out.m_rRadius = R;
    out.m_rAzimuth = NormalizeAngle(m_StartPt.m_rAzimuth - s * m_iTurn / R);
    return 1;
}

void tkxArcUnit::GetNearestPoint(const double* p, sZHPtInfo& out) const
{
    out.m_SName.Empty();
    const double R = m_StartPt.m_rRadius;
    out.m_rRadius = R;
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
    const double q[3] = {p[0], p[1], 0.0};
    double b = DirectionAngle(m_Centre, q);
    double foot[3];
    PolarPoint(m_Centre, b, R, foot);
    SetXYZ(out, foot);

    const double span = m_EndPt.m_rZH - m_StartPt.m_rZH;
    if (m_iTurn == DIR_LEFT) {
        double e0 = NormalizeAngle(NormalizeAngle(kPi / 2.0 - m_StartPt.m_rAzimuth) - kPi / 2.0);
        const double f = NormalizeAngle(NormalizeAngle(kPi / 2.0 - m_EndPt.m_rAzimuth) - kPi / 2.0);
        if (f < e0) {
            if (b > e0) b -= 2.0 * kPi;
            e0 -= 2.0 * kPi;
        }
        if (b < e0) {
            out = m_StartPt;
        } else if (b > f) {
            out = m_EndPt;
        } else {
            out.m_rZH = m_StartPt.m_rZH + (b - e0) * span / (f - e0);
            out.m_rAzimuth = NormalizeAngle(kPi / 2.0 - (b + kPi / 2.0));
        }
    } else {
        const double e0 = NormalizeAngle(kPi - m_StartPt.m_rAzimuth);
        double f = NormalizeAngle(kPi - m_EndPt.m_rAzimuth);
        if (e0 < f) {
            if (b > f) b -= 2.0 * kPi;
            f -= 2.0 * kPi;
        }
        if (b > e0) {
            out = m_StartPt;
        } else if (b < f) {
            out = m_EndPt;
        } else {
            out.m_rZH = m_EndPt.m_rZH - (b - f) * span / (e0 - f);
            out.m_rAzimuth = NormalizeAngle(kPi / 2.0 - (b - kPi / 2.0));
        }
    }
}

CString tkxArcUnit::LoadFromString(sZHPtInfo start, const wchar_t* line)
{
    alignment::Headings headings;
    return LoadFromString(start, std::wstring_view(line ? line : L""), headings);
}

CString tkxArcUnit::LoadFromString(const sZHPtInfo& start, std::wstring_view line, alignment::Headings& headings)
{
    m_StartPt = start;
    m_iUnitType = UNIT_ARC;
    text_lines::FieldList fields;
    if (!SplitLine(line, fields)) return L"解析圆曲线ICD格式字符失败!";
    return LoadFromFields(start, text_lines::WideLineFields(fields), headings);
}

CString tkxArcUnit::LoadFromFields(const sZHPtInfo& start, const text_lines::LineFields& fields,
                                   alignment::Headings& headings)
{
    m_StartPt = start;
    m_iUnitType = UNIT_ARC;
    ArcLine arc;
    const CString message = ReadArcLine(fields, false, arc);
    if (!message.IsEmpty()) return message;
    m_iStartMutation = 0;
    if (arc.turned) {
        m_StartPt.m_rAzimuth = arc.azimuth;
        m_iStartMutation = 1;
    }
    m_StartPt.m_rRadius = m_EndPt.m_rRadius = arc.R;
    m_rLength = arc.length;
    m_iTurn = TurnFromFileField(arc.turn);
    return GetOtherData(headings) == 1 ? CString() : CString(L"圆曲线参数错误!");
}

bool tkxArcUnit::IsWrittenStraight(const text_lines::LineFields& fields)
{
    double R = 0.0;
    return fields.Count() > 1 && fields.Number(1, R) && (R == kInfiniteRadius || R == kRecordRadius);
}

CString tkxArcUnit::SaveToString() const
{
    CString text = ClFormat(L"2, %.20f, %.20f, %d", m_StartPt.m_rRadius, m_rLength, m_iTurn == DIR_LEFT ? -1 : 1);
    if (m_iStartMutation) text += ClFormat(L", %.20f", m_StartPt.m_rAzimuth);
    return text;
}

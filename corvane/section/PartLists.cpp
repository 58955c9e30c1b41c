#include "corvane/section/PartLists.h"
#include "corvane/geometry/Expression.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/LastError.h"
#include "corvane/project/StationText.h"
#include "corvane/project/Widen.h"
#include "corvane/road/Road.h"
#include "corvane/section/WidenStandard.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

using namespace Tavix4;

namespace {

// The value of a list at a station, with the list's transition mode.
double ValueAt(const std::vector<sSegmentValue>& points, int mode, double station)
{
    if (points.empty()) return 0.0;
    const int i = tkxPartWidth::FindIndex(points, station);
    if (i < 0) return points.front().m_rValue;
    if (i >= static_cast<int>(points.size())) return points.back().m_rValue;
    const sSegmentValue& a = points[static_cast<size_t>(i)];
    const sSegmentValue& b = points[static_cast<size_t>(i) + 1];
    return tkx_GetWiden(a.m_rZH, b.m_rZH, station, a.m_rValue, b.m_rValue, static_cast<short>(mode));
}

int PointAt(const std::vector<sSegmentValue>& points, int index, sSegmentValue& point)
{
    if (index < 0 || index >= static_cast<int>(points.size())) return 0;
    point = points[static_cast<size_t>(index)];
    return 1;
}

// ---------------------------------------------------------------------------
// The automatic widening list.

const wchar_t kNoRadius[] = L"R-\u221e";

class WidenListBuilder
{
public:
    WidenListBuilder(tkxWidenStandard& standard, enRoadLevel level, unsigned short widenClass,
                     std::vector<sSegmentValue>& out)
        : m_standard(standard), m_level(level), m_class(widenClass), m_out(out)
    {
    }

    double Widen(double radius) { return m_standard.GetWiden(m_level, m_class, radius); }

    // A point labelled with the curve radius, or "R-∞" when the radius
    // lies above infiniteAbove.
    void Add(double station, double value, double radius, double infiniteAbove = HUGE_VAL)
    {
        sSegmentValue point;
        point.m_rZH = station;
        point.m_rValue = value;
        if (radius > infiniteAbove)
            wcsncpy(point.m_sLabel, kNoRadius, 63);
        else
            swprintf(point.m_sLabel, 64, L"R-%.3f", radius);
        m_out.push_back(point);
    }
    // A point labelled "R-∞".
    void AddStraight(double station, double value) { Add(station, value, 0.0, -HUGE_VAL); }

    double LastStation() const { return m_out.back().m_rZH; }
    double LastValue() const { return m_out.back().m_rValue; }

private:
    tkxWidenStandard& m_standard;
    enRoadLevel m_level;
    unsigned short m_class;
    std::vector<sSegmentValue>& m_out;
};

double Mid(const sUnitInfo& u) { return (u.m_StartPt.m_rZH + u.m_EndPt.m_rZH) / 2.0; }

// Evaluates an expression whose variables were replaced: 1 with the number;
// 0, result untouched, with the text as evaluated and the evaluator's answer
// in the last-error text.  The evaluator hands back a name it does not know
// as text: only a number is a value.
int EvaluateToNumber(const CString& text, const wchar_t* what, double& result)
{
    CString answer;
    double value = 0.0;
    if (tkx_ExpressCalc(text, answer) == 1 && StringToDouble(answer, &value)) {
        result = value;
        return 1;
    }
    tkx_SetLastError(
        ClFormat(L"\n路基部件%s表达式计算失败![%s, %s]", what, text.GetString(), answer.GetString()));
    return 0;
}

} // namespace

// ---------------------------------------------------------------------------
// tkxPartWidth

tkxPartWidth::tkxPartWidth() : m_SExpression(L"0"), m_iTransMode(PWT_LINEAR) {}

tkxPartWidth::tkxPartWidth(const tkxPartWidth& other) = default;

tkxPartWidth& tkxPartWidth::operator=(const tkxPartWidth& other) = default;

tkxPartWidth::~tkxPartWidth() = default;

void tkxPartWidth::SetExpression(const wchar_t* expression) { m_SExpression = expression ? expression : L""; }

CString tkxPartWidth::GetExpression() const { return m_SExpression; }

void tkxPartWidth::SetTransMode(enPartWTransition mode) { m_iTransMode = mode; }

enPartWTransition tkxPartWidth::GetTransMode() const { return static_cast<enPartWTransition>(m_iTransMode); }

void tkxPartWidth::ResetList() { m_List.clear(); }

void tkxPartWidth::AddWidenList(const sSegmentValue& point) { m_List.push_back(point); }

int tkxPartWidth::GetCount() const { return static_cast<int>(m_List.size()); }

int tkxPartWidth::GetAt(int index, sSegmentValue& point) const { return PointAt(m_List, index, point); }

void tkxPartWidth::GetWidthenList(std::vector<sSegmentValue>& points) const { points = m_List; }

void tkxPartWidth::SetWidthenList(std::vector<sSegmentValue>& points) { m_List = points; }

double tkxPartWidth::GetWidthen(double station) const { return ValueAt(m_List, m_iTransMode, station); }

int tkxPartWidth::FindIndex(const std::vector<sSegmentValue>& points, double station)
{
    const int n = static_cast<int>(points.size());
    if (n < 2) return -1;
    if (station < points.front().m_rZH - 1e-6) return -1;
    if (station > points.back().m_rZH + 1e-6) return n;
    int lo = 0, hi = n - 1;
    while (lo + 1 < hi) {
        const int mid = (lo + hi) / 2;
        const double at = points[static_cast<size_t>(mid)].m_rZH;
        if (std::fabs(station - at) < 1e-6) return mid;
        if (station < at)
            hi = mid;
        else
            lo = mid;
    }
    return lo;
}

int tkxPartWidth::CaluWExpression(double station, double& result) const
{
    CString text = m_SExpression;
    text.MakeUpper();
    if (text.Find(L"$JK") >= 0) text.Replace(L"$JK", tkx_DToS(GetWidthen(station), 9, -1));
    return EvaluateToNumber(text, L"宽度", result);
}

int tkxPartWidth::AutoGeneralWidthenList(const tkxRoadObject* road, enDir side, unsigned short widenClass,
                                         double transitionLength, const wchar_t* standardFile)
{
    if (!road) {
        tkx_SetLastError(L"\n生成加宽表失败: 没有道路数据!");
        return 0;
    }
    const enRoadLevel level = road->GetRoadLevel();
    tkxWidenStandard standard;
    if (standardFile && *standardFile) {
        if (!standard.ReadFile(standardFile)) return 0;
    } else if (level >= ROAD_URBAN_EXPRESSWAY) {
        standard.SetCivilRoadDefaultData();
    }
    // A class the standard does not know would put -1 into the curve points:
    // refuse it before the list is touched (the standard leaves its message).
    if (standard.GetWiden(level, widenClass, 1e10) < 0) return 0;

    CArray<sUnitInfo, sUnitInfo> units;
    road->ExportPlaneUnits(units);
    std::vector<sSegmentValue> points;
    WidenListBuilder list(standard, level, widenClass, points);
    const double L = transitionLength;
    const int n = static_cast<int>(units.GetSize());
    if (n == 0) {
        list.AddStraight(0.0, 0.0);
        m_List.swap(points);
        return 1;
    }

    const sUnitInfo& first = units[0];
    const double firstRadius = first.m_StartPt.m_rRadius;
    const double firstValue = first.m_iTurn == side ? list.Widen(firstRadius) : 0.0;
    list.Add(first.m_StartPt.m_rZH, firstValue, firstRadius, 99999999);

    for (int i = 0; i < n; ++i) {
        const sUnitInfo& U = units[i];
        const bool last = i + 1 == n;
        const sUnitInfo* N = last ? nullptr : &units[i + 1];
        const double end = U.m_EndPt.m_rZH;
        if (U.m_iUnitType == UNIT_LINE) {
            if (last) {
                list.AddStraight(end, 0.0);
                continue;
            }
            if (N->m_iTurn != side) continue;
            const double w = list.Widen(N->m_EndPt.m_rRadius);
            if (std::fabs(w) < 1e-6) continue;
            const double nStart = N->m_StartPt.m_rZH;
            if (N->m_iUnitType == UNIT_ARC) {
                const double P = list.LastStation();
                if (nStart - P > L) {
                    list.AddStraight(nStart - L, 0.0);
                    list.Add(nStart, w, N->m_StartPt.m_rRadius);
                } else {
                    // Too near the point before: the run-up ends at the
                    // arc's middle at the latest and never starts before
                    // that point.
                    const double E = std::min(Mid(*N), P + L);
                    list.AddStraight(std::max(E - L, P), 0.0);
                    list.Add(E, w, N->m_StartPt.m_rRadius);
                }
            } else if (N->m_iUnitType != UNIT_LINE) {
                list.AddStraight(end, 0.0);
            }
        } else if (U.m_iUnitType == UNIT_ARC) {
            const double w = list.Widen(U.m_EndPt.m_rRadius);
            if (last) {
                list.Add(end, U.m_iTurn == side ? w : 0.0, U.m_EndPt.m_rRadius);
                continue;
            }
            if (N->m_iUnitType == UNIT_ARC) {
                // Two arcs meet (a compound or a reverse curve): the widening
                // on this side changes from the one to the other, an arc that
                // turns away from the side having none.  This is done whichever
                // arc turns toward the side: handling the pair only when the
                // first one does, and giving the second its widening whatever
                // its turn, would widen the outer side of a reverse curve and
                // leave the inner side of its second arc without any.
                const double w1 = U.m_iTurn == side ? w : 0.0;
                const double w2 = N->m_iTurn == side ? list.Widen(N->m_StartPt.m_rRadius) : 0.0;
                if ((std::fabs(w1) < 1e-6 && std::fabs(w2) < 1e-6) || std::fabs(w1 - w2) < 1e-6) continue;
                list.Add(std::max(Mid(U), end - L / 2), w1, U.m_EndPt.m_rRadius);
                list.Add(std::min(Mid(*N), N->m_StartPt.m_rZH + L / 2), w2, N->m_StartPt.m_rRadius);
                continue;
            }
            if (U.m_iTurn != side) continue;
            if (N->m_iUnitType != UNIT_LINE) {
                list.Add(end, w, U.m_EndPt.m_rRadius);
            } else if (std::fabs(list.LastValue()) >= 1e-6) {
                const double nStart = N->m_StartPt.m_rZH, nLength = N->m_EndPt.m_rZH - nStart;
                if (2 * L < nLength) {
                    list.Add(end, w, U.m_EndPt.m_rRadius);
                    list.AddStraight(nStart + L, 0.0);
                } else {
                    list.Add(std::max(Mid(U), Mid(*N) - L), w, U.m_EndPt.m_rRadius);
                    list.AddStraight(Mid(*N), 0.0);
                }
            }
        } else if (U.m_iTurn == side) {
            const double radius = U.m_EndPt.m_rRadius;
            list.Add(end, list.Widen(radius), radius, 10000000);
        }
    }
    m_List.swap(points);
    return static_cast<int>(m_List.size());
}

// ---------------------------------------------------------------------------
// tkxPartSlope

tkxPartSlope::tkxPartSlope() : m_SExpression(L"$H0+$B*$I"), m_iTransMode(PHT_LINEAR) {}

tkxPartSlope::tkxPartSlope(const tkxPartSlope& other) = default;

tkxPartSlope& tkxPartSlope::operator=(const tkxPartSlope& other) = default;

tkxPartSlope::~tkxPartSlope() = default;

void tkxPartSlope::SetExpression(const wchar_t* expression) { m_SExpression = expression ? expression : L""; }

CString tkxPartSlope::GetExpression() const { return m_SExpression; }

void tkxPartSlope::SetTransMode(enPartHTransition mode) { m_iTransMode = mode; }

enPartHTransition tkxPartSlope::GetTransMode() const { return static_cast<enPartHTransition>(m_iTransMode); }

void tkxPartSlope::ResetList() { m_List.clear(); }

void tkxPartSlope::AddListItem(const sSegmentValue& point) { m_List.push_back(point); }

int tkxPartSlope::GetCount() const { return static_cast<int>(m_List.size()); }

int tkxPartSlope::GetAt(int index, sSegmentValue& point) const { return PointAt(m_List, index, point); }

void tkxPartSlope::GetList(std::vector<sSegmentValue>& points) const { points = m_List; }

void tkxPartSlope::SetList(std::vector<sSegmentValue>& points) { m_List = points; }

double tkxPartSlope::GetSlope(double station) const { return ValueAt(m_List, m_iTransMode, station); }

int tkxPartSlope::CaluExpression(double h0, double b, double i, double& result) const
{
    // "$H0" the elevation at the part's inner edge, "$B" its width, "$I" its
    // cross fall: each replaced by its value, in parentheses so that a
    // negative one keeps its sign whatever stands before it.
    CString text = m_SExpression;
    text.MakeUpper();
    const struct {
        const wchar_t* name;
        double value;
    } arguments[] = {{L"$H0", h0}, {L"$B", b}, {L"$I", i}};
    for (const auto& argument : arguments)
        if (text.Find(argument.name) >= 0)
            text.Replace(argument.name, L"(" + tkx_DToS(argument.value, 9, -1) + L")");
    return EvaluateToNumber(text, L"横坡度", result);
}

int tkxPartSlope::AutoGeneralList(tkxRoadObject*, enDir, double, const wchar_t*)
{
    tkx_SetLastError(L"\n路基部件横坡度表不能自动生成!");
    return 0;
}

// Per-part lists along a road: how one cross-section part's widening
// (tkxPartWidth) or cross-fall (tkxPartSlope) varies with the station.
//
// Each list is a piecewise run of station-value points, kept in increasing
// station order by whoever fills it, with one transition mode between
// neighbouring points (tkx_GetWiden): mode 2, 3 or 4 lays its curve from the
// point with the smaller absolute value, any other mode is linear.  Before
// the first point the list gives the first value, after the last the last
// value.
//
// A part's width follows from its width expression, in which "$JK" stands
// for the widening at the station.  The widening list can be generated from
// the road's horizontal alignment and the curve-widening standard.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/geometry/Vectors.h"
#include <vector>

class tkxRoadObject;

namespace Tavix4 {

// Transition between two points of a width list.
enum enPartWTransition {
    PWT_LINEAR = 1,
    PWT_QUADRATIC = 2, // 2t - t²
    PWT_CUBIC = 3,     // 3t² - 2t³
    PWT_QUARTIC = 4,   // 4t³ - 3t⁴
};

// Transition between two points of a cross-fall list.
enum enPartHTransition {
    PHT_LINEAR = 1,
    PHT_QUADRATIC = 2,
    PHT_CUBIC = 3,
    PHT_QUARTIC = 4,
};

// One point of a list.
struct sSegmentValue {
    double m_rZH = 0.0;      // continuous station, m
    double m_rValue = 0.0;   // widening (m) or cross-fall (%)
    wchar_t m_sLabel[64] = {}; // "R-%.3f" of the curve radius, or "R-∞"
};

} // namespace Tavix4

class CORVANE_API tkxPartWidth
{
public:
    // Empty list, expression "0", linear transition.
    tkxPartWidth();
    tkxPartWidth(const tkxPartWidth& other);
    tkxPartWidth& operator=(const tkxPartWidth& other);
    virtual ~tkxPartWidth();

    void SetExpression(const wchar_t* expression);
    CString GetExpression() const;
    void SetTransMode(Tavix4::enPartWTransition mode);
    Tavix4::enPartWTransition GetTransMode() const;

    void ResetList();
    void AddWidenList(const Tavix4::sSegmentValue& point);
    int GetCount() const;
    // 1 with point index; 0, point untouched, outside the list.
    int GetAt(int index, Tavix4::sSegmentValue& point) const;
    void GetWidthenList(std::vector<Tavix4::sSegmentValue>& points) const;
    void SetWidthenList(std::vector<Tavix4::sSegmentValue>& points);

    // The widening at a station; 0 for an empty list.
    double GetWidthen(double station) const;

    // The interval of the list that holds the station: i for the points i and
    // i+1 (a station on an inner point, within 1e-6, gives that point), -1
    // before the list or when it has fewer than two points, the point count
    // after it.
    static int FindIndex(const std::vector<Tavix4::sSegmentValue>& points, double station);

    // The part's width at a station from the expression.  1 with the value;
    // 0, result untouched, with the reason in the last-error text.
    int CaluWExpression(double station, double& result) const;

    // Builds the widening list of one side of the road from its alignment
    // units: the widening grows along a spiral from the straight to the
    // curve; where a straight meets a circular arc it grows over the
    // transition length before the arc (or up to the arc's middle when the
    // point before is too near) and runs out over the transition length
    // after it (or to the middle of a short straight); between two arcs of
    // different widening it changes over half the transition length on each
    // side of their common point.  The standard is read from standardFile
    // when one is given, else the highway or city-road defaults by the road's
    // level.  Returns the number of points; 0, with the list as it was and
    // the reason in the last-error text, when the standard cannot be read or
    // does not know the widening class.
    int AutoGeneralWidthenList(const tkxRoadObject* road, enDir side, unsigned short widenClass,
                               double transitionLength, const wchar_t* standardFile);

private:
    std::vector<Tavix4::sSegmentValue> m_List;
    CString m_SExpression;
    int m_iTransMode;
};

class CORVANE_API tkxPartSlope
{
public:
    // Empty list, expression "$H0+$B*$I", linear transition.
    tkxPartSlope();
    tkxPartSlope(const tkxPartSlope& other);
    tkxPartSlope& operator=(const tkxPartSlope& other);
    virtual ~tkxPartSlope();

    void SetExpression(const wchar_t* expression);
    CString GetExpression() const;
    void SetTransMode(Tavix4::enPartHTransition mode);
    Tavix4::enPartHTransition GetTransMode() const;

    void ResetList();
    void AddListItem(const Tavix4::sSegmentValue& point);
    int GetCount() const;
    int GetAt(int index, Tavix4::sSegmentValue& point) const;
    void GetList(std::vector<Tavix4::sSegmentValue>& points) const;
    void SetList(std::vector<Tavix4::sSegmentValue>& points);

    // The cross-fall at a station; 0 for an empty list.
    double GetSlope(double station) const;

    // The expression with "$H0", "$B" and "$I" (in either case) replaced by
    // h0, b and i, evaluated: 1 with the value; 0, result untouched, with
    // the reason in the last-error text.
    int CaluExpression(double h0, double b, double i, double& result) const;
    // The cross-fall list has no automatic list: 0 with the reason in the
    // last-error text, the list unchanged.
    int AutoGeneralList(tkxRoadObject* road, enDir side, double transitionLength, const wchar_t* standardFile);

private:
    std::vector<Tavix4::sSegmentValue> m_List;
    CString m_SExpression;
    int m_iTransMode;
};

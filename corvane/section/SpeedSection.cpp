// Speed sections: the record, the merge of plane and profile segments and
// the classification.  The speeds are computed in OperatingSpeed.cpp.
#include "corvane/section/SpeedSection.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

using namespace Tavix4;

namespace {

constexpr double kStraight = 1e8;
constexpr double kFlatRadius = 1000.000001; // a curve at least this wide counts as straight
constexpr double kSteepGrade = 0.03000001;  // as a fraction
constexpr double kSteepSlope = 3.000001;    // in percent

// Consecutive input segments joined into one.
struct Run {
    double start, end, first, last;
};

std::vector<Run> PlaneRuns(const CArray<sPlaneUnitInfo, sPlaneUnitInfo>& planes)
{
    std::vector<Run> runs;
    for (INT_PTR i = 0; i < planes.GetSize(); ++i) {
        const sPlaneUnitInfo& p = planes[i];
        if (!runs.empty() && p.m_rRadius >= kFlatRadius && runs.back().last >= kFlatRadius) {
            runs.back().end = p.m_rEndZH;
            runs.back().last = p.m_rRadius;
        } else {
            runs.push_back({p.m_rStartZH, p.m_rEndZH, p.m_rRadius, p.m_rRadius});
        }
    }
    return runs;
}

std::vector<Run> ProfileRuns(const CArray<sProfileSegmentInfo, sProfileSegmentInfo>& profiles)
{
    std::vector<Run> runs;
    for (INT_PTR i = 0; i < profiles.GetSize(); ++i) {
        const sProfileSegmentInfo& p = profiles[i];
        const double g = std::fabs(p.m_rGrade);
        const bool opens = runs.empty() || g > kSteepGrade ||
                           (g < kSteepGrade && std::fabs(runs.back().last) > kSteepGrade);
        if (opens) {
            runs.push_back({p.m_rStartZH, p.m_rEndZH, p.m_rGrade, p.m_rGrade});
        } else {
            runs.back().end = p.m_rEndZH;
            runs.back().last = p.m_rGrade;
        }
    }
    return runs;
}

// Finds the first segment of an array that holds a station strictly inside.
// Segments that follow each other without overlapping (the normal case) are
// searched by bisection; any other array is searched from the front.
template <class Segment>
class SegmentFinder
{
public:
    explicit SegmentFinder(const CArray<Segment, Segment>& segments) : m_segments(segments)
    {
        for (INT_PTR i = 1; i < segments.GetSize() && m_ordered; ++i)
            m_ordered = segments[i - 1].m_rStartZH <= segments[i - 1].m_rEndZH &&
                        segments[i - 1].m_rEndZH <= segments[i].m_rStartZH;
    }

    const Segment* Find(double station) const
    {
        const INT_PTR n = m_segments.GetSize();
        if (!m_ordered) {
            for (INT_PTR i = 0; i < n; ++i)
                if (Holds(m_segments[i], station)) return &m_segments[i];
            return nullptr;
        }
        // The last segment that starts before the station is the only one
        // that can hold it.
        INT_PTR lo = 0, hi = n;
        while (lo < hi) {
            const INT_PTR mid = (lo + hi) / 2;
            if (m_segments[mid].m_rStartZH < station)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo > 0 && Holds(m_segments[lo - 1], station) ? &m_segments[lo - 1] : nullptr;
    }

private:
    static bool Holds(const Segment& s, double station) { return s.m_rStartZH < station && station < s.m_rEndZH; }

    const CArray<Segment, Segment>& m_segments;
    bool m_ordered = true;
};

// The break stations in ascending order, each at least 0.001 m from every
// other (a station that near one already taken is left out).
class BreakStations
{
public:
    void Add(double station)
    {
        for (auto it = m_stations.lower_bound(station - 0.002); it != m_stations.end() && *it < station + 0.002; ++it)
            if (*it - 0.001 < station && station < *it + 0.001) return;
        m_stations.insert(station);
    }
    std::vector<double> Sorted() const { return std::vector<double>(m_stations.begin(), m_stations.end()); }

private:
    std::set<double> m_stations;
};

} // namespace

// ---------------------------------------------------------------------------
// The record

tkxSpeedSection::tkxSpeedSection()
    : m_iSectionType(0), m_iVehicleType(0), m_iDesignSpeed(0), m_rInSpeed(0), m_rSpeed(0), m_rMidSpeed(0),
      m_rOutSpeed(0), m_rAcceleration(0), m_rBackRadius(0), m_rRadius(0), m_rFrontRadius(0), m_rSlope(0),
      m_rBackSlope(0), m_rFrontSlope(0), m_rStartZH(0), m_rEndZH(0), m_rDesiredSpeed(0), m_bReverse(0),
      m_rAccelerationLength(0)
{
}

tkxSpeedSection::tkxSpeedSection(const tkxSpeedSection& other) = default;

tkxSpeedSection& tkxSpeedSection::operator=(const tkxSpeedSection& other) = default;

tkxSpeedSection::~tkxSpeedSection() = default;

int tkxSpeedSection::SetSection(double startZH, double endZH, double radius, double slope)
{
    TurnTo(false);
    m_rStartZH = startZH;
    m_rEndZH = endZH;
    if (endZH - startZH < 1e-6) return 0;
    m_rRadius = radius < 1e-6 ? kStraight : radius;
    m_rSlope = slope;
    return 1;
}

void tkxSpeedSection::SetFrontBack(double backRadius, double frontRadius, double backSlope, double frontSlope)
{
    TurnTo(false);
    m_rBackRadius = backRadius < 1e-6 ? kStraight : backRadius;
    m_rFrontRadius = frontRadius < 1e-6 ? kStraight : frontRadius;
    m_rBackSlope = backSlope;
    m_rFrontSlope = frontSlope;
    SetSectionType();
}

void tkxSpeedSection::SetSectionType()
{
    const double R = std::fabs(m_rRadius), g = std::fabs(m_rSlope), L = length();
    const bool steep = g > kSteepSlope;
    if (R - kStraight >= 0 || R < 1e-6) {
        if (L <= 199.999999 && !steep) {
            const auto curve = [](double r) { return std::fabs(r) > 1e-6 && std::fabs(r) < 999.999999; };
            m_iSectionType = curve(m_rBackRadius) && curve(m_rFrontRadius) ? SST_SHORT_STRAIGHT : SST_STRAIGHT;
        } else {
            m_iSectionType = steep ? SST_GRADE : SST_STRAIGHT;
        }
    } else if (R > kFlatRadius) {
        m_iSectionType = steep ? SST_GRADE : SST_STRAIGHT;
    } else {
        m_iSectionType = steep ? SST_CURVE_GRADE : SST_CURVE;
    }
}

void tkxSpeedSection::SetSectionType(int type) { m_iSectionType = type; }

CString tkxSpeedSection::sectionTypeName() const
{
    switch (m_iSectionType) {
    case SST_STRAIGHT: return L"平直";
    case SST_GRADE: return L"纵坡";
    case SST_CURVE: return L"曲线";
    case SST_CURVE_GRADE: return L"弯坡";
    case SST_SHORT_STRAIGHT: return L"短直线";
    default: return L"未定义路线类型";
    }
}

void tkxSpeedSection::sectionInfo(CArray<SectionInfo, SectionInfo>& pieces) const
{
    const auto add = [&](double start, double end, double startSpeed, double endSpeed, int more) {
        SectionInfo piece;
        piece.m_iVehicleType = m_iVehicleType;
        piece.m_rStartZH = start;
        piece.m_rEndZH = end;
        piece.m_rStartSpeed = startSpeed;
        piece.m_rEndSpeed = endSpeed;
        piece.m_iContinue = more;
        pieces.Add(piece);
    };
    const double d = m_rAccelerationLength;
    if (d <= 1e-6) {
        add(m_rStartZH, m_rEndZH, m_rInSpeed, m_rOutSpeed, 0);
    } else if (!(m_bReverse & 1)) {
        add(m_rStartZH, m_rStartZH + d, m_rInSpeed, m_rOutSpeed, 1);
        add(m_rStartZH + d, m_rEndZH, m_rOutSpeed, m_rOutSpeed, 0);
    } else {
        add(m_rStartZH, m_rEndZH - d, m_rOutSpeed, m_rOutSpeed, 1);
        add(m_rEndZH - d, m_rEndZH, m_rInSpeed, m_rOutSpeed, 0);
    }
}

// ---------------------------------------------------------------------------
// The merge

int tkx_ComboSections(CArray<sPlaneUnitInfo, sPlaneUnitInfo>* planes,
                      CArray<sProfileSegmentInfo, sProfileSegmentInfo>* profiles,
                      CArray<tkxSpeedSection, tkxSpeedSection>* sections)
{
    if (!planes || !profiles || !sections || planes->GetSize() == 0 || profiles->GetSize() == 0) return 0;

    const std::vector<Run> planeRuns = PlaneRuns(*planes);
    const std::vector<Run> profileRuns = ProfileRuns(*profiles);
    BreakStations breaks;
    breaks.Add(planeRuns.front().start);
    for (const Run& run : planeRuns) breaks.Add(run.end);
    breaks.Add(profileRuns.front().start);
    for (const Run& run : profileRuns) breaks.Add(run.end);
    const std::vector<double> stations = breaks.Sorted();

    const SegmentFinder<sPlaneUnitInfo> planeAt(*planes);
    const SegmentFinder<sProfileSegmentInfo> profileAt(*profiles);
    for (size_t i = 0; i + 1 < stations.size(); ++i) {
        const double a = stations[i], b = stations[i + 1], probe = (a + b) / 2;
        const sPlaneUnitInfo* plane = planeAt.Find(probe);
        const sProfileSegmentInfo* profile = profileAt.Find(probe);
        tkxSpeedSection section;
        section.SetSection(a, b, plane ? plane->m_rRadius : kStraight, profile ? profile->m_rGrade * 100 : 0.0);
        sections->Add(section);
    }

    // Neighbours.  A probe that finds no segment keeps what the same side's
    // probe of the section before found.
    double backRadius = kStraight, backGrade = 0, frontRadius = kStraight, frontGrade = 0;
    const INT_PTR n = sections->GetSize();
    for (INT_PTR k = 0; k < n; ++k) {
        tkxSpeedSection section = (*sections)[k];
        double rb = kStraight, gb = 0, rf = kStraight, gf = 0;
        if (k > 0) {
            const double probe = section.startZH() - 0.001;
            if (const sPlaneUnitInfo* plane = planeAt.Find(probe)) backRadius = plane->m_rRadius;
            if (const sProfileSegmentInfo* profile = profileAt.Find(probe)) backGrade = profile->m_rGrade;
            rb = backRadius;
            gb = backGrade;
        }
        if (k + 1 < n) {
            const double probe = section.endZH() + 0.001;
            if (const sPlaneUnitInfo* plane = planeAt.Find(probe)) frontRadius = plane->m_rRadius;
            if (const sProfileSegmentInfo* profile = profileAt.Find(probe)) frontGrade = profile->m_rGrade;
            rf = frontRadius;
            gf = frontGrade;
        }
        section.SetFrontBack(rb, rf, gb * 100, gf * 100);
        (*sections)[k] = section;
    }
    return 1;
}

// Design elevations across the road: the profile gives the centre line, the
// superelevation data the carriageway and earth-shoulder cross falls, the
// standard cross-section the widths and, on city roads, the cross falls of
// the outer parts.
//
// The side computations take the slope with the sign of a fall away from
// the axis (the left carriageway's cross fall reversed), and the axis
// distance from the centre line, at which the elevation is z0.
#include "corvane/road/Profile.h"
#include "corvane/section/RoadHDM.h"
#include "corvane/section/SuperElevation.h"

#include <cmath>

namespace {

constexpr double kNoElevation = -999.0;

// Linear between the inner edge (at inner) and the outer edge (width
// further out); a part narrower than 1e-5 gives its inner edge.
double Across(double innerElevation, double outerElevation, double fromInner, double width)
{
    if (width < 1e-5) return innerElevation;
    return innerElevation + (outerElevation - innerElevation) * fromInner / width;
}

// Across the central divider, from the right divider edge to the left one.
double AcrossDivider(const RoadHDMInfo& rec, double e, bool leftHalf)
{
    const double width = rec.Cen1 + rec.Cen2;
    if (width < 1e-5) return leftHalf ? rec.L1 : rec.R1;
    if (leftHalf) return rec.R1 + (rec.L1 - rec.R1) * (rec.Cen2 + e) / width;
    return rec.L1 + (rec.R1 - rec.L1) * (rec.Cen1 + e) / width;
}

} // namespace

bool tkxRoadHDM::CentreElevation(double station, double& z) const
{
    z = kNoElevation;
    if (!m_pZDMInfo || !m_pBreakChain || !m_pRoadCG) return false;
    m_pZDMInfo->GetElevation(station, z);
    return z >= -998.0;
}

// ---------------------------------------------------------------------------
// One side of a section.

void tkxRoadHDM::CalHighwayLeftElevations(double z0, double slope, double axis, RoadHDMInfo& rec)
{
    const double s = slope / 100.0;
    rec.L1 = z0 + (rec.Cen1 - axis) * s;
    rec.L2 = z0 + (rec.Cen1 + rec.Ca - axis) * s;
    rec.L3 = z0 + (rec.Cen1 + rec.Ca + rec.Ha - axis) * s;
    const double shoulder = m_pRoadCG ? m_pRoadCG->GetTLJCG(rec.ZH, true) : 0.0;
    rec.L4 = rec.L3 - shoulder / 100.0 * rec.Sa;
}

void tkxRoadHDM::CalHighwayRightElevations(double z0, double slope, double axis, RoadHDMInfo& rec)
{
    const double s = slope / 100.0;
    rec.R1 = z0 + (rec.Cen2 - axis) * s;
    rec.R2 = z0 + (rec.Cen2 + rec.Cb - axis) * s;
    rec.R3 = z0 + (rec.Cen2 + rec.Cb + rec.Hb - axis) * s;
    const double shoulder = m_pRoadCG ? m_pRoadCG->GetTLJCG(rec.ZH, false) : 0.0;
    rec.R4 = rec.R3 + shoulder / 100.0 * rec.Sb;
}

void tkxRoadHDM::CalCiviRoadLeftElevations(double z0, double slope, double axis, RoadHDMInfo& rec)
{
    const double s = slope / 100.0;
    rec.L1 = z0 + (rec.Cen1 - axis) * s;
    rec.L2 = z0 + (rec.Cen1 + rec.Ca - axis) * s;
    rec.L5 = rec.L2 - GetCiviRoadI2(rec.ZH) / 100.0 * rec.Fa;
    rec.L3 = rec.L5 - GetCiviRoadI1(rec.ZH) / 100.0 * rec.Ha;
    rec.L4 = GetRXDHeight(rec.ZH) + rec.L3 - GetCiviRoadI0(rec.ZH) / 100.0 * rec.Sa;
}

void tkxRoadHDM::CalCiviRoadRightElevations(double z0, double slope, double axis, RoadHDMInfo& rec)
{
    const double s = slope / 100.0;
    rec.R1 = z0 + (rec.Cen2 - axis) * s;
    rec.R2 = z0 + (rec.Cen2 + rec.Cb - axis) * s;
    rec.R5 = rec.R2 + GetCiviRoadI3(rec.ZH) / 100.0 * rec.Fb;
    rec.R3 = rec.R5 + GetCiviRoadI4(rec.ZH) / 100.0 * rec.Hb;
    rec.R4 = GetRXDHeight(rec.ZH) + rec.R3 + GetCiviRoadI5(rec.ZH) / 100.0 * rec.Sb;
}

// ---------------------------------------------------------------------------
// Whole sections.

void tkxRoadHDM::RotateSides(double station, RoadHDMInfo& rec, bool city)
{
    rec.ZH = station;
    if (!m_pRoadCG || !m_pZDMInfo) return;
    int code = 1;
    int side = 0;
    double z = kNoElevation;
    m_pZDMInfo->GetElevation(station, z);
    // Both look-ups share code and side; the second one's count.
    rec.iL = -m_pRoadCG->GetCG(station, true, code, side);
    rec.iR = m_pRoadCG->GetCG(station, false, code, side);
    GetHDMWidth(station, rec);

    double dL = m_pRoadCG->GetDTLeft();
    double dR = m_pRoadCG->GetDTRight();
    if (m_pRoadCG->GetAxiStyle() == 1) {
        dL += rec.Cen1;
        dR += rec.Cen2;
    }
    auto left = [&](double z0, double axis) {
        if (city)
            CalCiviRoadLeftElevations(z0, rec.iL, axis, rec);
        else
            CalHighwayLeftElevations(z0, rec.iL, axis, rec);
    };
    auto right = [&](double z0, double axis) {
        if (city)
            CalCiviRoadRightElevations(z0, rec.iR, axis, rec);
        else
            CalHighwayRightElevations(z0, rec.iR, axis, rec);
    };

    const int mode = m_pRoadCG->GetRotateMode();
    if (city && code == 1 && mode == 2) {
        left(z, 0.0);
        right(z, 0.0);
    } else if (code == 1 || mode == 0 || mode == 2) {
        left(z, dL);
        right(z, dR);
    } else {
        const int single = m_pRoadCG->GetSingle();
        const bool a = (single == 0 && side != 0) || (single == 1 && rec.iR > 0.0);
        // The second side is hinged at its own divider edge, at the height the
        // first side gives its divider edge.
        if (mode == 1 ? a : !a) {
            left(z, dL);
            right(z - (dL - rec.Cen1) * rec.iL / 100.0, rec.Cen2);
        } else {
            right(z, dR);
            left(z - (dR - rec.Cen2) * rec.iR / 100.0, rec.Cen1);
        }
    }
    rec.iL = -rec.iL;
}

void tkxRoadHDM::CalHighwayElevation(double station, RoadHDMInfo& rec)
{
    RotateSides(station, rec, false);
}

void tkxRoadHDM::CalCiviRoadElevation(double station, RoadHDMInfo& rec)
{
    RotateSides(station, rec, true);
}

void tkxRoadHDM::CalElevation(double station, RoadHDMInfo& rec)
{
    RotateSides(station, rec, m_RoadStyle == 1);
}

// ---------------------------------------------------------------------------
// Elevations at a point.

double tkxRoadHDM::GetElvetion(double station, double distance, bool left, short& code, RoadHDMInfo& rec)
{
    // A city road's parts are not planes of the carriageway: it has no
    // design elevation here.
    if (m_RoadStyle == 1) return kNoElevation;
    double z = kNoElevation;
    if (!CentreElevation(station, z)) return kNoElevation;
    const double offset = left ? -distance : std::fabs(distance);
    code = GetPositionStyle(station, offset);
    if (code == 0) return z;
    CalHighwayElevation(station, rec);
    const double e = std::fabs(offset);
    switch (code) {
    case 1: return AcrossDivider(rec, e, true);
    case -1: return AcrossDivider(rec, e, false);
    case 2: return Across(rec.L1, rec.L2, e - rec.Cen1, rec.Ca);
    case -2: return Across(rec.R1, rec.R2, e - rec.Cen2, rec.Cb);
    case 3: return Across(rec.L2, rec.L3, e - rec.Cen1 - rec.Ca, rec.Ha);
    case -3: return Across(rec.R2, rec.R3, e - rec.Cen2 - rec.Cb, rec.Hb);
    case 4: return Across(rec.L3, rec.L4, e - rec.Cen1 - rec.Ca - rec.Ha, rec.Sa);
    case -4: return Across(rec.R3, rec.R4, e - rec.Cen2 - rec.Cb - rec.Hb, rec.Sb);
    // Beyond the edge, the edge of the side the point lies on.
    case 6: return rec.L4;
    case -6: return rec.R4;
    default: return z;
    }
}

double tkxRoadHDM::GetLMElvetion(double station, double distance, bool left, short& code, RoadHDMInfo& rec)
{
    if (m_RoadStyle == 1) return GetCiviRoadLMElvetion(station, distance, left, code, rec);
    return GetHighwayLMElvetion(station, distance, left, code, rec);
}

double tkxRoadHDM::GetHighwayLMElvetion(double station, double distance, bool left, short& code, RoadHDMInfo& rec)
{
    double z = kNoElevation;
    if (!CentreElevation(station, z)) return kNoElevation;
    const double offset = left ? -distance : std::fabs(distance);
    CalHighwayElevation(station, rec);
    code = GetPositionStyle(station, offset);
    const double e = std::fabs(offset);
    if (code == 0) return rec.L1;
    if (code == 1) return AcrossDivider(rec, e, true);
    if (code == -1) return AcrossDivider(rec, e, false);
    // The carriageway plane continues across the shoulders.
    if (code > 0) return rec.L1 - rec.iL / 100.0 * (e - rec.Cen1);
    return rec.R1 + rec.iR / 100.0 * (e - rec.Cen2);
}

double tkxRoadHDM::GetCiviRoadLMElvetion(double station, double distance, bool left, short& code, RoadHDMInfo& rec)
{
    double z = kNoElevation;
    if (!CentreElevation(station, z)) return kNoElevation;
    const double offset = left ? -std::fabs(distance) : std::fabs(distance);
    code = GetPositionStyle(station, offset);
    if (code == 0) return z;
    CalCiviRoadElevation(station, rec);
    const double e = std::fabs(offset);
    const double at = rec.ZH;
    switch (code) {
    case 1: return AcrossDivider(rec, e, true);
    case -1: return AcrossDivider(rec, e, false);
    case 2: return rec.L1 - rec.iL / 100.0 * (e - rec.Cen1);
    case -2: return rec.R1 + rec.iR / 100.0 * (e - rec.Cen2);
    case 5: return rec.L2 - GetCiviRoadI2(at) / 100.0 * (e - rec.Cen1 - rec.Ca);
    case -5: return rec.R2 + GetCiviRoadI3(at) / 100.0 * (e - rec.Cen2 - rec.Cb);
    case 3: return rec.L5 - GetCiviRoadI1(at) / 100.0 * (e - rec.Cen1 - rec.Ca - rec.Fa);
    case -3: return rec.R5 + GetCiviRoadI4(at) / 100.0 * (e - rec.Cen2 - rec.Cb - rec.Fb);
    // The sidewalk plane continues beyond its outer edge.
    case 4:
    case 6: return GetRXDHeight(at) + rec.L3 - GetCiviRoadI0(at) / 100.0 * (e - rec.Cen1 - rec.Ca - rec.Fa - rec.Ha);
    case -4:
    case -6: return GetRXDHeight(at) + rec.R3 + GetCiviRoadI5(at) / 100.0 * (e - rec.Cen2 - rec.Cb - rec.Fb - rec.Hb);
    default: return z;
    }
}

double tkxRoadHDM::GetTLJElvetion(double station, int side)
{
    double z = kNoElevation;
    if (!CentreElevation(station, z)) return kNoElevation;
    RoadHDMInfo rec;
    rec.ZH = station;
    CalElevation(station, rec);
    return side == 1 ? rec.L4 : rec.R4;
}

// The operating-speed model: a road cut into speed sections, stretches of
// one horizontal character (a straight, or a curve with its radius) and one
// grade, and the car and truck speeds predicted through each.
//
// A program fetches the plane and profile segments from the road, merges
// them with tkx_ComboSections, then walks the sections in driving order:
// for each it sets the vehicle type, the design and desired speed, the
// acceleration and the entry speed (the first section's from the start-speed
// table, every later one the previous section's out speed) and calls
// ComputeSpeed.  A section driven against the station direction is marked
// with SetReverse; ComputeSpeed then turns its neighbours and grades round
// once (computing again does not turn them back).
//
// Units: stations and lengths in m, radii in m (1e8 for a straight), grades
// in percent (rising with the station), speeds in km/h, accelerations in
// m/s².
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/road/Road.h"

namespace Tavix4 {

// One speed piece of a section.
struct SectionInfo {
    int m_iVehicleType = 0;
    double m_rStartZH = 0.0;
    double m_rEndZH = 0.0;
    double m_rStartSpeed = 0.0; // km/h at the piece's start
    double m_rEndSpeed = 0.0;   // km/h at its end
    int m_iContinue = 0;        // 1 on the first of two pieces of one section
};

// Section types.
enum enSpeedSectionType {
    SST_SHORT_STRAIGHT = -1, // 短直线: a short straight between two curves
    SST_STRAIGHT = 0,        // 平直
    SST_GRADE = 1,           // 纵坡
    SST_CURVE = 16,          // 曲线
    SST_CURVE_GRADE = 17,    // 弯坡
};

} // namespace Tavix4

class CORVANE_API tkxSpeedSection
{
public:
    // Every number 0, not reversed.
    tkxSpeedSection();
    tkxSpeedSection(const tkxSpeedSection& other);
    tkxSpeedSection& operator=(const tkxSpeedSection& other);
    virtual ~tkxSpeedSection();

    // -- the section ------------------------------------------------------------

    // Stores both stations; 0 (radius and slope kept) when the section is
    // shorter than 1e-6, else stores the radius (below 1e-6 it is a straight,
    // 1e8) and the slope (percent) and returns 1.
    int SetSection(double startZH, double endZH, double radius, double slope);
    // Stores the neighbours' radii and grades (percent) and classifies the
    // section.
    void SetFrontBack(double backRadius, double frontRadius, double backSlope, double frontSlope);
    // Classifies the section from its radius, slope, length and neighbours.
    void SetSectionType();
    void SetSectionType(int type);
    CString sectionTypeName() const;
    // Appends the section's speed pieces: one, or two when a straight has an
    // acceleration stretch (the accelerating piece first in driving order).
    void sectionInfo(CArray<Tavix4::SectionInfo, Tavix4::SectionInfo>& pieces) const;

    int sectionType() const { return m_iSectionType; }
    int vehicleType() const { return m_iVehicleType; }
    double inSpeed() const { return m_rInSpeed; }
    double speed() const { return m_rSpeed; }
    double midSpeed() const { return m_rMidSpeed; }
    double outSpeed() const { return m_rOutSpeed; }
    double backRadius() const { return m_rBackRadius; }
    double radius() const { return m_rRadius; }
    double frontRadius() const { return m_rFrontRadius; }
    double slope() const { return m_rSlope; }
    double backSlope() const { return m_rBackSlope; }
    double frontSlope() const { return m_rFrontSlope; }
    double startZH() const { return m_rStartZH; }
    double endZH() const { return m_rEndZH; }
    double length() const { return m_rEndZH - m_rStartZH; }

    // -- the speed computation -----------------------------------------------------

    // 0 car, any other value truck.
    void SetVehicleType(int type);
    // The design speed (cut to an integer) and the desired speed, the ceiling
    // of the computed speeds.
    void SetDesignSpeed(double designSpeed, double desiredSpeed);
    // The entry speed from the start-speed table (design speeds 60, 80, 100
    // and 120); another design speed shows a message and changes nothing.
    void SetStartSpeed();
    void SetStartSpeed(double speed);
    // Mode 0 low, 1 high, 2 the default, 3 random within the low-high range
    // (the C library's generator, seeded from the clock once per thread).
    void SetAcceleration(int mode);
    void SetAcceleration(double acceleration);
    static double DefaultAcceleration(int vehicleType);
    // Marks the section as driven against the station direction.
    void SetReverse(bool reverse);
    // Speed, middle speed, out speed and, on a straight, the acceleration
    // length.  No speed falls below zero.
    void ComputeSpeed();

private:
    // Brings the neighbours and grades into the station direction (false) or
    // the driving direction against it (true).
    void TurnTo(bool reversed);
    // The speed reduction (km/h) of a truck on an upgrade of g % over L m;
    // -1 beyond the tables.
    double CalculateTruckUpgrade(double g, double L);
    // The grade (%) at which a truck's speed has fallen by the j-th reduction
    // step on a ramp of x m.
    double CalculatePoly(int j, double x);

    int m_iSectionType;
    int m_iVehicleType;
    int m_iDesignSpeed;
    double m_rInSpeed;
    double m_rSpeed;
    double m_rMidSpeed;
    double m_rOutSpeed;
    double m_rAcceleration;
    double m_rBackRadius;
    double m_rRadius;
    double m_rFrontRadius;
    double m_rSlope;
    double m_rBackSlope;
    double m_rFrontSlope;
    double m_rStartZH;
    double m_rEndZH;
    double m_rDesiredSpeed;
    // Bit 0: driven against the station direction; bit 1: the neighbours and
    // grades stand turned round.
    int m_bReverse;
    double m_rAccelerationLength;
};

// Merges a road's plane segments and profile segments into speed sections,
// appended to sections, and classifies every section of the array.  0, with
// nothing appended, when a pointer is null or an input array is empty.
CORVANE_API int tkx_ComboSections(CArray<Tavix4::sPlaneUnitInfo, Tavix4::sPlaneUnitInfo>* planes,
                                  CArray<Tavix4::sProfileSegmentInfo, Tavix4::sProfileSegmentInfo>* profiles,
                                  CArray<tkxSpeedSection, tkxSpeedSection>* sections);

// The superelevation standard: the cross-fall (percent) a curve of a given
// radius needs, for highways by road class, design speed and table choice,
// for interchange ramps by design speed and normal crown, and for city roads
// by design speed.
//
// A highway or ramp row lists radii in falling order; its first radius is
// the one from which on no superelevation is needed, and a 0 ends a row
// early.  Between radius i and i+1 of a highway row the superelevation is
// element i of the superelevation list, of a ramp row element i+1 of the ramp
// list (whose element 0 is the crown of the last ramp lookup); below the
// row's smallest radius it is the list's last element.  City roads
// interpolate between a no-superelevation radius and a minimum radius of the
// design speed, in steps of 0.5 %.
//
// Results are never below the crown where a table value is returned.  "No
// superelevation needed" is the result 0 with the crown as value; failures
// return 0 with the reason in the last-error text.
//
// The archive form (no header, no version): the superelevation list (9
// doubles), the first 9 elements of the ramp list, the two highway tables
// (12 x 10 doubles each, row by row), the ramp table (6 x 9 doubles), the six
// city design speeds (int32), the city no-superelevation radii, minimum radii
// and maximum superelevations (6 doubles each) and the city minimum
// superelevation (double): 2,672 bytes.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/project/RoadLevel.h"

class tkxRoadObject;

class CORVANE_API tkxSuperElevationStandard
{
public:
    // The highway and the city-road defaults.
    tkxSuperElevationStandard();
    tkxSuperElevationStandard(const tkxSuperElevationStandard& other) = default;
    ~tkxSuperElevationStandard();
    tkxSuperElevationStandard& operator=(const tkxSuperElevationStandard& other);

    // The two highway tables, the ramp table and both superelevation lists.
    void SetHighwayDefault();
    // The city-road arrays.
    void SetCivilDefault();

    // Stores or loads every table.  A load that fails part-way (the archive
    // exception goes on to the caller) leaves the tables as they were; so
    // does an archive holding a value that is no finite number, refused with
    // the archive's generic exception and the table named in the last-error
    // text.
    void Serialize(CArchive& ar);

    // tableChoice 1 takes the first highway table, any other value the
    // second; interchange ramps take the ramp table.  The design speed is
    // taken to the nearest integer.
    int ComputeHighwaySlope(Tavix4::enRoadLevel level, int tableChoice, double designSpeed, double radius,
                            double crown, double& result);
    // The same for the road's curve at a station (its level, its design speed
    // cut to an integer); 0 without a message when the station lies on no
    // alignment unit.
    int ComputeHighwaySlope(const tkxRoadObject* road, int tableChoice, double station, double crown,
                            double& result);
    int ComputeCivilSlope(Tavix4::enRoadLevel level, double designSpeed, double radius, double crown,
                          double& result);
    // The same for the road's curve at a station; a curve that needs no
    // superelevation gives the crown and 1 here.
    int ComputeCivilSlope(const tkxRoadObject* road, double station, double crown, double& result);

protected:
    int Geti0(int row, double radius, double crown, double& result);
    int Geti1(int row, double radius, double crown, double& result);
    // Writes the crown into the ramp list and the matching first column into
    // the ramp table before it looks up.
    int Geti2(int row, double radius, double crown, double& result);

private:
    int CivilSlope(Tavix4::enRoadLevel level, int speed, double radius, double crown, double& result,
                   int noSuperelevationResult);

    double m_rHighwayR1[12][10];
    double m_rHighwayR2[12][10];
    double m_rRampR[6][9];
    double m_rSlope[9];
    double m_rRampSlope[10];
    int m_iCivilSpeed[6];
    double m_rCivilNoR[6];
    double m_rCivilMinR[6];
    double m_rCivilMaxI[6];
    double m_rCivilMinI;
};

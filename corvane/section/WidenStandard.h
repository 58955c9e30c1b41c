// The curve-widening standard: the carriageway widening a curve of a given
// radius needs, by widening class (design vehicle), for highways and for
// city roads.
//
// Three tables of rows (radius from, radius to, widening):
//   table 1, classes 0, 1 and 2: one widening column per class; highways
//            take half of the value (it is given for both lanes), city roads
//            the whole value;
//   table 2, class 3 (highways only);
//   table 3, class 4 (highways only).
// A negative widening marks a combination outside the standard and counts by
// its magnitude.  On a highway a radius on a row boundary belongs to the row
// that starts there, on a city road to the row that ends there; a radius
// outside every row needs no widening.
//
// The widening-standard file is a class-library archive: the version (double
// 3.0), the row counts of tables 1, 2 and 3 (int32 each), then the rows of
// table 1 (five doubles: from, to, class 0, class 1, class 2) and of tables 2
// and 3 (three doubles: from, to, widening).
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/project/RoadLevel.h"

class CORVANE_API tkxWidenStandard
{
public:
    // The highway defaults.
    tkxWidenStandard();
    ~tkxWidenStandard();

    // All three tables to the highway defaults.
    void SetHighwayDefaultDate();
    // Table 1 to the city-road defaults; tables 2 and 3 are kept.
    void SetCivilRoadDefaultData();

    // Replaces the tables with those of a widening-standard file.  0, with
    // the tables as they were and the reason in the last-error text, when the
    // file cannot be opened, does not hold the rows its counts announce (no
    // more and no less) or holds a value that is no finite number.
    int ReadFile(const wchar_t* path);
    // Writes the tables (through a temporary file, so a failed write leaves
    // an existing file as it was).  0 with the last-error text on failure.
    int OutputFile(const wchar_t* path);

    // Widening in metres; levels below 7 follow the highway rule, the others
    // the city-road rule.  -1, with the last-error text, for a class the rule
    // does not know.
    double GetWiden(Tavix4::enRoadLevel level, unsigned short widenClass, double radius);

protected:
    double GetHighwayWiden(unsigned short widenClass, double radius);
    double GetCivilWiden(unsigned short widenClass, double radius);

private:
    tkxWidenStandard(const tkxWidenStandard&) = delete;
    tkxWidenStandard& operator=(const tkxWidenStandard&) = delete;

    void RemoveAll();
    void RemoveTable1();

    // Table 1.
    CArray<double, double> m_arFromR1;
    CArray<double, double> m_arToR1;
    CArray<double, double> m_arWiden10;
    CArray<double, double> m_arWiden11;
    CArray<double, double> m_arWiden12;
    // Table 2.
    CArray<double, double> m_arFromR2;
    CArray<double, double> m_arToR2;
    CArray<double, double> m_arWiden2;
    // Table 3.
    CArray<double, double> m_arFromR3;
    CArray<double, double> m_arToR3;
    CArray<double, double> m_arWiden3;
};

// A road's standard cross-section: the width of every part by station, the
// pavement thicknesses and divider heights by station and, on city roads,
// the cross falls of the outer parts; with the standard cross-section file
// (.HDM), its check, and the widths, part positions and design elevations at
// any station.
//
// Parts and their codes, positive on the left and negative on the right,
// growing outward from the centre line:
//   1 central divider (Cen1 / Cen2, each measured from the centre line)
//   2 carriageway (Ca / Cb)
//   5 side divider, city roads only (Fa / Fb)
//   3 hard shoulder, on city roads the non-motor lane (Ha / Hb)
//   4 earth shoulder, on city roads the sidewalk (Sa / Sb)
//   6 beyond the outermost part
// Offsets across the road are negative left of the centre line and positive
// right of it.  Stations are continuous chainage; the file carries stations
// within their break-chain segment.
//
// Two tables, each keyed by station: the width-change sections (every width)
// and the trough-depth sections (divider height, thicknesses and, on city
// roads, side-divider and kerb heights, sidewalk paving and six cross falls).
// Values between sections are interpolated; before the first and after the
// last section the end values hold.
//
// The HDM file (8-bit text):
//   [city]                       the style line of a city road
//   n [mode]                     depth sections, widening mode 1, 3 or 4
//   n depth rows                 highway: station H0 pavement shoulder
//                                city: station H0 side-divider kerb pavement
//                                      non-motor-lane paving I0..I5
//                                (a+b in a thickness: left a, right b)
//   width rows to the end        highway: station Sa Ha Ca Cen1 Cen2 Cb Hb Sb
//                                city: station Sa Ha Fa Ca Cen1 Cen2 Cb Fb Hb Sb
// Every row may end in the segment number of its station.
#pragma once
#include "corvane/CorvaneDefs.h"

class tkxBreakChain;
class tkxZDMInfo;
class tkxSuperElevation;

// One cross-section's widths, edge elevations (L and R numbered as the part
// codes) and carriageway cross falls in percent.
struct RoadHDMInfo {
    double ZH = 0.0;
    double Cen1 = 0.0, Cen2 = 0.0;
    double Ca = 0.0, Cb = 0.0;
    double Ha = 0.0, Hb = 0.0;
    double Sa = 0.0, Sb = 0.0;
    double Fa = 0.0, Fb = 0.0;
    double L1 = 0.0, R1 = 0.0;
    double L2 = 0.0, R2 = 0.0;
    double L3 = 0.0, R3 = 0.0;
    double L4 = 0.0, R4 = 0.0;
    double L5 = 0.0, R5 = 0.0;
    double iL = 0.0, iR = 0.0;
};

class CORVANE_API tkxRoadHDM
{
public:
    tkxRoadHDM();
    explicit tkxRoadHDM(const tkxBreakChain* chain);
    tkxRoadHDM(const tkxRoadHDM& other);
    virtual ~tkxRoadHDM();
    tkxRoadHDM& operator=(const tkxRoadHDM& other);

    // Empties both tables; style, mode, file name and the objects stay.
    void ResetAll();

    void SetBreakChain(const tkxBreakChain* chain) { m_pBreakChain = chain; }
    const tkxBreakChain* GetBreakChain() const { return m_pBreakChain; }
    void SetZDMInfo(const tkxZDMInfo* profile) { m_pZDMInfo = profile; }
    const tkxZDMInfo* GetZDMInfo() const { return m_pZDMInfo; }
    // A null object is refused (0) and the old one kept.
    int SetRoadCG(const tkxSuperElevation* cg);
    const tkxSuperElevation* GetRoadCG() const { return m_pRoadCG; }
    void SetHDMFileName(const wchar_t* path) { m_HDMFileName = path ? path : L""; }
    CString GetHDMFileName() const { return m_HDMFileName; }
    // 0 highway, 1 city road.
    void SetRoadStyle(short style) { m_RoadStyle = style; }
    short GetRoadStyle() const { return m_RoadStyle; }
    // Widening mode 1 (linear), 3 (cubic) or 4 (quartic); any other value is
    // refused with a message and the old mode kept.
    void SetMode(short mode);
    short GetMode() const { return m_Mode; }

    // Appends a width section with the ten widths of info.
    void AddHDMWiden(double station, const RoadHDMInfo& info);
    // Appends a copy of width section index; 0 when the data fail the check
    // or there is no such section.
    int CopyAddHDMWiden(unsigned short index);

    // Reads an HDM file; empty text on success, else the message.  The
    // object (tables, style, mode, file name and break chain) changes only
    // when the whole file was read and passed the check.
    CString ReadHDMFile(const tkxBreakChain* chain, const wchar_t* path);
    // Writes the HDM file through a temporary file beside it.  1, or 0 with
    // the last-error text (the old file stays).  Data that fail the check are
    // written only when the user agrees, and never with a table shorter than
    // its stations or a value that is no finite number.
    int OutputToFile(CString path);

    // The first problem of the data (table sizes, negative values), or the
    // empty text.
    CString IsValid() const;

    // -- widths and positions ---------------------------------------------------

    int GetWidth(double station, short code, double& width) const;
    // The ten widths into info; empty text, or the text of the first part
    // that failed.
    CString GetHDMWidth(double station, RoadHDMInfo& info) const;
    // Distance from the centre line to the outer edge of part code (positive
    // on both sides).
    int GetOffset(double station, double& offset, short code) const;
    // Part code of the point at a signed offset.
    short GetPositionStyle(double station, double offset) const;
    CString GetPositionName(int code) const;
    // Part code of the part with the left-to-right index 0..7 (8 and 9 the
    // side dividers); 0 for any other index.
    int CodeConvert(int index) const;
    // End points of part code's edge line at width section `section`, the
    // road running in the direction `angle` from the centre point.
    int GetLinePoint(double centre[3], double angle, int section, int code, double inner[3], double outer[3]) const;

    // Depth-table values at a station.
    double GetFGDHeight(double station) const;
    double GetCFDHeight(double station) const;
    double GetRXDHeight(double station) const;
    double GetLeftLMThickness(double station) const;
    double GetRightLMThickness(double station) const;
    double GetLeftYLJThickness(double station) const;
    double GetRightYLJThickness(double station) const;
    double GetRXDThickness(double station) const;
    double GetCiviRoadI0(double station) const;
    double GetCiviRoadI1(double station) const;
    double GetCiviRoadI2(double station) const;
    double GetCiviRoadI3(double station) const;
    double GetCiviRoadI4(double station) const;
    double GetCiviRoadI5(double station) const;

    // -- elevations --------------------------------------------------------------
    // -999 means no elevation: an object missing, or no profile elevation at
    // the station.

    // Design elevation of a highway at a distance from the centre line (left
    // true: a positive distance lies on the left); code receives the part
    // and rec the section.  -999 on a city road.
    double GetElvetion(double station, double distance, bool left, short& code, RoadHDMInfo& rec);
    // Pavement-surface elevation at a distance from the centre line.
    double GetLMElvetion(double station, double distance, bool left, short& code, RoadHDMInfo& rec);
    // Outer edge of the earth shoulder or sidewalk: side 1 the left, any
    // other the right.
    double GetTLJElvetion(double station, int side);

protected:
    void CalHighwayElevation(double station, RoadHDMInfo& rec);
    void CalCiviRoadElevation(double station, RoadHDMInfo& rec);
    void CalHighwayLeftElevations(double z0, double slope, double axis, RoadHDMInfo& rec);
    void CalHighwayRightElevations(double z0, double slope, double axis, RoadHDMInfo& rec);
    void CalCiviRoadLeftElevations(double z0, double slope, double axis, RoadHDMInfo& rec);
    void CalCiviRoadRightElevations(double z0, double slope, double axis, RoadHDMInfo& rec);
    double GetCiviRoadLMElvetion(double station, double distance, bool left, short& code, RoadHDMInfo& rec);
    double GetHighwayLMElvetion(double station, double distance, bool left, short& code, RoadHDMInfo& rec);

private:
    // Reads the file into this object (emptied first); the message, or the
    // empty text when every row was read and the data pass the check.
    CString ReadWholeFile(const tkxBreakChain* chain, const CString& file);
    // The first table that is shorter or longer than its stations, as the
    // check words it; empty when every table fits.
    CString CountProblem() const;
    // The first written value that is no finite number, as the writer's
    // message; empty when there is none.
    CString NonFiniteProblem() const;
    // Station text of a width section in the check's messages.
    CString StationText(double station) const;
    // Centre-line elevation when every object is there; false otherwise.
    bool CentreElevation(double station, double& z) const;
    // Fills rec with the section of the road's style.
    void CalElevation(double station, RoadHDMInfo& rec);
    // Interpolation of a value array over the width stations.
    int WidthAt(const CArray<double, double>& values, double station, bool exactHit, double& value) const;
    // Interpolation of a depth array; 0 when there is none.
    double DepthAt(const CArray<double, double>& values, double station, double tolerance) const;
    // Rotates the two sides of a section as the superelevation data say.
    void RotateSides(double station, RoadHDMInfo& rec, bool city);

public:
    CArray<double, double> m_WidthZH;
    CArray<double, double> m_DepthZH;
    CArray<double, double> m_H0;
    CArray<double, double> m_LMLeft;
    CArray<double, double> m_YLJLeft;
    CArray<double, double> m_CFDHeight;
    CArray<double, double> m_RXDHeight;
    CArray<double, double> m_RXDThickness;
    CArray<double, double> m_LMRight;
    CArray<double, double> m_YLJRight;
    CArray<double, double> m_I0;
    CArray<double, double> m_I1;
    CArray<double, double> m_I2;
    CArray<double, double> m_I3;
    CArray<double, double> m_I4;
    CArray<double, double> m_I5;
    CArray<double, double> m_Sa;
    CArray<double, double> m_Sb;
    CArray<double, double> m_Ha;
    CArray<double, double> m_Hb;
    CArray<double, double> m_Ca;
    CArray<double, double> m_Cb;
    CArray<double, double> m_Cen1;
    CArray<double, double> m_Cen2;
    CArray<double, double> m_Fa;
    CArray<double, double> m_Fb;

protected:
    CString m_HDMFileName;
    short m_RoadStyle;
    short m_Mode;
    const tkxBreakChain* m_pBreakChain;
    const tkxZDMInfo* m_pZDMInfo;
    const tkxSuperElevation* m_pRoadCG;
};

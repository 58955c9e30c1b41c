// A road's longitudinal profile: the grade points (stations where the design
// grade changes) with their elevations and vertical-curve radii, the vertical
// curves computed from them, and the longitudinal ground line.
//
// Stations are continuous chainage; station text is converted through the
// road's break chain, which the profile refers to but does not own.  Grades
// are ratios (metres per metre).  Reads outside the data give -999.
//
// The vertical-curve file (.SQX) holds one grade point a line: station
// (optionally with "_n" for its chain segment), elevation, then on every line
// but the first the curve radius, then optionally the segment number.  The
// first line may carry the segment number of the start station as its third
// field.  The ground-line file (.DMX) holds one ground point a line: station
// (optionally "_n"), ground height, optionally the segment number.
#pragma once
#include "corvane/CorvaneDefs.h"

class tkxBreakChain;

class CORVANE_API tkxZDMInfo : public CObject
{
    DECLARE_SERIAL(tkxZDMInfo)
public:
    tkxZDMInfo();
    explicit tkxZDMInfo(const tkxBreakChain* chain);
    tkxZDMInfo(const tkxZDMInfo& other);
    ~tkxZDMInfo() override;
    tkxZDMInfo& operator=(const tkxZDMInfo& other);

    void SetBreakChain(const tkxBreakChain* chain) { m_pBreakChain = chain; }
    const tkxBreakChain* GetBreakChain() const { return m_pBreakChain; }

    // Empties every array and forgets the break chain.
    void Reset();
    // Empties the grade points, tangent stations and flags.
    void ResetSQX();

    // -- grade points and vertical curves --------------------------------------

    // Reads a .SQX file and computes the curves.  A file that cannot be read
    // whole, or whose curves overlap, leaves the profile as it was; the
    // message names the file, the line and the field.  *failedLine gets the
    // line the message names (0: none, or no failure).
    int LoadSQXFile(const wchar_t* path, int* failedLine = nullptr);
    // Writes a .SQX file that reads back to the same profile (every line
    // after the first carries its radius, so a segment number is never taken
    // for one).  Refused, with the last-error text, when a value is no
    // number or the curves cannot be computed (stations not increasing,
    // overlapping curves).  The old file is replaced only by a whole new one.
    int SaveSQXFile(const wchar_t* path) const;
    // Computes the tangent stations and flags of the curves.  On failure
    // (no break chain, no data, stations not increasing, overlapping curves)
    // nothing changes and the last-error text says why.
    int ComputeSQX();

    int GetBPDCount() const;
    double GetBPDZH(int i) const;
    double GetBPDElevation(int i) const;
    double GetR(int i) const;
    // +1 sag curve, -1 crest curve, 0 the first and last point (and outside).
    short GetBPDFlag(int i) const;
    // Start and end station of the curve at grade point i.
    int GetTangentZH(int i, double& start, double& end) const;

    // Whole arrays, replaced without recomputing the curves.
    void SetBPDZHs(const CArray<double, double>& values);
    void SetBPDElevations(const CArray<double, double>& values);
    void SetRs(const CArray<double, double>& values);
    void SetTangentZHs(const CArray<double, double>& values);
    void SetFlags(const CArray<short, short>& values);

    // One value of an inner grade point, then the curves are recomputed; an
    // edit whose curves cannot be computed is undone.  0 for the first and
    // last point.
    int SetAtBPDZH(int i, double station);
    int SetAtBPDElevation(int i, double elevation);
    int SetAtRadius(int i, double radius);

    // Adds a grade point; refused (and nothing changes) inside an existing
    // curve or when the curves cannot be computed with it.
    int InsertBPD(double station, double elevation, double radius);
    // Replaces or removes grade point i; undone when the curves cannot be
    // computed afterwards.
    int ModifyBPD(int i, double station, double elevation, double radius);
    int DeleteBPD(int i);

    // Grade point governing a station: -1 before the profile, the count after
    // it; onTangent is false when the station lies inside the curve of the
    // point returned.
    int FindSQXIndex(double station, bool& onTangent) const;

    // Design elevation (grade lines with the vertical curves).
    int GetElevation(double station, double& elevation) const;
    // Elevation on the grade lines without the curves.
    int GetTangentElevation(double station, double& elevation) const;
    // Grade of the tangent that ends at grade point i; -999 for the first
    // point and outside.
    double GetPD(int i) const;
    // Grade at a station (the curves included).
    int GetPD(double station, double& grade) const;
    // Grade of the tangent holding a station; 0 outside.
    double GetLPPD(double station) const;
    // Design elevation minus ground elevation.
    int GetTWHeight(double station, double& height) const;

    // Takes the other profile's grade points, tangents and flags.
    void ImportSQX(const tkxZDMInfo& other);

    // -- longitudinal ground line ----------------------------------------------

    // Reads a .DMX file.  On failure the ground line is left as it was; the
    // message names the file, the line and the field.  *failedLine gets the
    // line the message names (0: none, or no failure).
    int LoadDMXFile(const wchar_t* path, int* failedLine = nullptr);
    // Writes a .DMX file (stations with the project's decimals and "_n" for
    // segments after the first).  Refused when the stations decrease or a
    // value is no number; the old file is replaced only by a whole new one.
    int SaveDMXFile(const wchar_t* path) const;
    // The whole text SaveDMXFile writes; 0 with the last-error text when it
    // would refuse the ground line.
    int ExportDMXString(CString& text) const;
    // One line: station, height and the optional segment number (no "_"
    // suffix, no conversion).
    int ReadLineDMXData(const wchar_t* line, double& station, double& height, int& segment) const;

    // Appends a point without any ordering test.
    void AddDMHeight(double station, double height);
    // Replaces point i when the order stays; 1 or 0.
    int SetDMXData(int i, double station, double height);
    // Inserts or replaces by station: 0 inserted in front, 1 appended,
    // 2 height replaced, 3 inserted between two points.
    short SetDMXData(double station, double height);
    // Removes the points strictly inside a station range (the ends stay).
    void DelDMXDatas(double a, double b);
    // Sorts the points by station (stable).
    void AutoDMXSort();

    int GetDMXCount() const;
    double GetDMXZH(int i) const;
    double GetDMXElevation(int i) const;
    // Ground height at a station: linear between the points, the first or
    // last height beyond them, 0 without points.
    double GetDMXElevation(double station) const;
    // Point at or before a station (-1 with fewer than two points).
    int FindDMXIndex(double station) const;
    int GetDMXZHArray(CArray<double, double>& out) const;
    int GetDMXElevationArray(CArray<double, double>& out) const;
    void SetDMXZHs(const CArray<double, double>& values);
    void SetDMXHeights(const CArray<double, double>& values);
    void ImportDMX(const tkxZDMInfo& other);
    void ResetDMX();
    void PreProcessDMX();

    // Version word 1, the grade points (station, elevation, radius, flag),
    // the tangent stations, then the ground points.  Loading forgets the
    // break chain; the owner sets it again.
    void Serialize(CArchive& ar) override;
    void AssertValid() const override;
    void Dump(CDumpContext& dc) const override;

private:
    // Grade points, tangents and flags, saved and restored around edits.
    struct GradeState;
    void SaveGrade(GradeState& state) const;
    void RestoreGrade(const GradeState& state);
    // Runs ComputeSQX; when it fails, puts the saved state back.
    int ComputeOrRestore(const GradeState& before);
    // ComputeSQX, telling the grade point at fault (-1 when none is).
    int ComputeCurves(int& badPoint);
    // Curve start and end of grade point i (its own station when there is
    // no curve data for it).
    double CurveStart(int i) const;
    double CurveEnd(int i) const;
    short CurveFlag(int i) const;
    bool GradeArraysAgree() const;
    bool GroundArraysAgree() const;
    // LoadDMXFile's reading, into this (new) object.
    int ReadDMXFile(const wchar_t* path, int* failedLine);

    const tkxBreakChain* m_pBreakChain;
    CArray<double, double> m_Rs;           // vertical-curve radius of each grade point
    CArray<double, double> m_BPDElevations;
    CArray<double, double> m_BPDZHs;       // continuous stations, increasing
    CArray<double, double> m_TangentZHs;   // two per grade point: curve start, curve end
    CArray<short, short> m_Flags;          // +1 sag, -1 crest, 0 first and last
    CArray<double, double> m_DMXZHs;       // ground-line stations, non-decreasing
    CArray<double, double> m_DMXHeights;   // ground-line heights
};

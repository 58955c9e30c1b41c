// Everything the library knows about one road: name, design speed and road
// class, the horizontal alignment as a list of plane units, the vertical
// profile with its ground line, the break chain, the cross-section ground
// lines and the structures.  The road loads its data files, answers
// station, coordinate, elevation and grade questions across them and exports
// the alignment in other forms; it also carries the road-class names and the
// lane-width and sight-distance tables of the design checks.
//
// The profile and the terrain always work with the road's own break chain
// (and the terrain with the road's profile and plane units), also after
// copying and importing.  Load the break chain before the files whose
// stations it converts, and the plane units before a cross-section file that
// is to be placed on the alignment.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/project/RoadLevel.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/PlaneCurve.h"
#include "corvane/road/PlaneUnit.h"
#include "corvane/road/Profile.h"
#include "corvane/road/Structures.h"

namespace Tavix4 {

// A run of constant plan geometry.
struct sPlaneUnitInfo {
    double m_rStartZH = 0.0;
    double m_rEndZH = 0.0;
    double m_rRadius = 1e8; // 1e8 for a straight
    int m_iTurn = 0;        // enDir; 0 for a straight
};

// One tangent of the profile.
struct sProfileSegmentInfo {
    double m_rStartZH = 0.0;
    double m_rEndZH = 0.0;
    double m_rGrade = 0.0; // metres per metre
};

} // namespace Tavix4

class CORVANE_API tkxRoadObject : public CObject
{
    DECLARE_SERIAL(tkxRoadObject)
public:
    tkxRoadObject();
    tkxRoadObject(const tkxRoadObject& other);
    ~tkxRoadObject() override;
    tkxRoadObject& operator=(const tkxRoadObject& other);

    // Name, road level, design speed and the break chain.
    void Serialize(CArchive& ar) override;
    void AssertValid() const override;
    void Dump(CDumpContext& dc) const override;

    // -- parts ------------------------------------------------------------------

    CString GetName() const;
    void SetName(const wchar_t* name);
    double GetSpeed() const;
    void SetSpeed(double speed);
    Tavix4::enRoadLevel GetRoadLevel() const;
    void SetRoadLevel(Tavix4::enRoadLevel level);
    int GetPlaneUnitCount() const;
    int GetBPDCount() const;
    tkxZDMInfo* GetZDMInfo();
    const tkxZDMInfo* ZDMInfo() const;
    tkxHDMTerrain* GetHDMTerrain();
    const tkxHDMTerrain* HDMTerrain() const;
    const tkxBreakChain* BreakChain() const;
    // Unit i in stationing order; null outside.
    tkxRoadPMUnit* GetPMUnit(int i) const;
    // The road takes the unit.
    void AppendPlaneUnit(tkxRoadPMUnit* unit);
    void RemovePlaneUnits();

    // -- files ------------------------------------------------------------------

    // An empty path gives the chain without breaks.
    int LoadDLFile(const wchar_t* path);
    // The alignment unit file (.ICD).  On failure the units stay as they
    // were; the message names the file and the line, and *failedLine gets
    // that line (0: none, or no failure).
    int LoadICDFile(const wchar_t* path, int* failedLine = nullptr);
    int SaveICDFile(const wchar_t* path) const;
    int LoadSQXFile(const wchar_t* path);
    int LoadDMXFile(const wchar_t* path);
    // The cross-section ground lines; with place 1 every section gets its
    // alignment point, and sections off the alignment are dropped.
    int LoadHDXFile(const wchar_t* path, int place);
    // The structure file (.GZX) or bridge station-range file (.QL).
    int LoadGZXFile(const wchar_t* path);
    // The intersection-point file (.JD) of an array of curves.  Refused, the
    // old file left as it was, when the rows would not read back (see
    // jd_file::CheckWritable).
    static int SaveJDFile(const wchar_t* path, const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves);

    // -- break chain and station text -------------------------------------------

    int ImportBreakChain(const wchar_t* text);
    int ImportBreakChain(const tkxBreakChain& chain);
    tkxBreakChain ExportBreakChain() const;
    CString GetBreakChainString() const;
    CString ZHToCString(double station, short decimals, int suffix) const;
    CString GetStringBreakZH(double station, short decimals, int suffix) const;
    int GetGlobalZH(const wchar_t* text, double& station) const;

    // -- alignment ----------------------------------------------------------------

    // Start station of the first unit / end of the last; -1e99 without units.
    double StartZH() const;
    double EndZH() const;
    CString StartZHString() const;
    CString EndZHString() const;
    Tavix4::sZHPtInfo StartZHInfo() const;
    Tavix4::sZHPtInfo EndZHInfo() const;
    // The alignment point at a station; 0 off the alignment.
    int GetPointOnUnits(double station, Tavix4::sZHPtInfo& out) const;
    static int GetPointOnUnits(const CPtrList* units, double station, Tavix4::sZHPtInfo& out);
    int GetRadius(double station, double& radius) const;
    enDir TurnDir(double station) const;
    int GetUnitIndexByZH(double station) const;
    // The alignment point nearest to the plan point (x, y); 0 without units.
    int GetClosetPoint(const double* point, Tavix4::sZHPtInfo& out) const;
    static int GetClosetPoint(const CPtrList* units, const double* point, Tavix4::sZHPtInfo& out);
    enDir GetLeftRight(const double* point) const;
    static enDir GetLeftRight(const CPtrList* units, const double* point);

    // -- profile --------------------------------------------------------------------

    // Design elevation; -1e99 off the profile.
    double GetDesignElevation(double station) const;
    int GetDesignSlope(double station, double& grade) const;
    int GetTangentSlope(double station, double& grade) const;
    double GetDMXElevation(double station) const;
    int GetDMXCount() const;
    int GetDMXZHArray(CArray<double, double>& out) const;
    int GetDMXElevationArray(CArray<double, double>& out) const;

    // -- cross-sections ---------------------------------------------------------------

    int GetHDXSectionCount() const;
    int GetAllSectionZHs(CArray<double, double>& out) const;
    int GetAllSectionZHInfos(CArray<Tavix4::sZHPtInfo, Tavix4::sZHPtInfo>& out) const;
    int ExtendHDX(double leftWidth, double rightWidth, int mode);
    CString GetHDXInfo(int i) const;

    // -- structures -------------------------------------------------------------------

    int GetGZWInfos(CArray<Tavix4::sQHInfo, Tavix4::sQHInfo>& out) const;
    void SetGZWInfos(const CArray<Tavix4::sQHInfo, Tavix4::sQHInfo>& records);

    // -- import and export --------------------------------------------------------------

    void ImportZDMInfo(const tkxZDMInfo& profile);
    void ImportHDMTerrain(const tkxHDMTerrain& terrain);
    int ImportPlaneUnits(const CArray<Tavix4::sUnitInfo, Tavix4::sUnitInfo>* units);
    void ExportPlaneUnits(CArray<Tavix4::sUnitInfo, Tavix4::sUnitInfo>& out) const;
    int ExportPlaneCurves(CArray<tkxPlaneCurve3, tkxPlaneCurve3>& out) const;
    void ExportPlaneSegments(CArray<Tavix4::sPlaneUnitInfo, Tavix4::sPlaneUnitInfo>* out) const;
    void ExportPofileSegments(CArray<Tavix4::sProfileSegmentInfo, Tavix4::sProfileSegmentInfo>* out) const;

    // -- tables ---------------------------------------------------------------------------

    static CString GetRoadLevelName(Tavix4::enRoadLevel level);
    // Standard lane width (m) of a road class at a design speed.
    static double GetRampStdWidth(Tavix4::enRoadLevel level, double speed, int singleLane);
    // Stopping sight distance (m).
    static int GetSSDistance1(double speed, double& distance);
    // Truck stopping sight distance on a downgrade (grade in percent).
    static int GetSSDistance2(double speed, double grade, double& distance);
    // Overtaking sight distance, general and minimum.
    static int GetSSDistance3(double speed, double& general, double& minimum);

private:
    void Wire();
    void CopyFrom(const tkxRoadObject& other);

    CString m_SName;
    double m_rSpeed;
    Tavix4::enRoadLevel m_RoadLevel;
    CPtrList m_PlaneUnits; // owned tkxRoadPMUnit*
    tkxZDMInfo m_ZDMInfo;
    tkxBreakChain m_BreakChain;
    tkxHDMTerrain m_HDMTerrain;
    CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> m_Structures;
};

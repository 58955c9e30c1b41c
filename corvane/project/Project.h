// The design project: a folder holding the project file "<path>\<name>.EPJ"
// (header and road records), three fixed sub-folders and one folder per road
// in which every data file of the road is named after the road.
//
// The project file is an archive without class records:
//
//   int32   version (308)
//   string  design stage
//   int32   project type, climate, landform
//   string  creation date
//   int32   third integer;  double first real, second real
//   int32   road count n, then n road records:
//           string name, int16 level, double speed, string start station,
//           string end station, string break chain, string text 4, string text 5
//   int16   current road index
//
// The project's name and folder come from the file name.  The three settings
// records live in the user's "Tavix3.ini" (shared by all projects of the
// user); the design segments in a file of their own.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/project/ProjectSegment.h"
#include "corvane/project/RoadLevel.h"

namespace Tavix4 {

// One road of a project.
struct CORVANE_API sRoadInfo {
    CString m_SRoadName;        // "未命名道路"
    enRoadLevel m_RoadLevel;    // 0 to 10
    double m_rDesignSpeed;      // km/h, 120
    CString m_SStartZH;         // start station text
    CString m_SEndZH;           // end station text
    CString m_SBreakChain;      // break-chain text
    CString m_SText4;           // stored and copied, not interpreted
    CString m_SText5;           // stored and copied, not interpreted

    sRoadInfo();
};

} // namespace Tavix4

// Output precisions (counts of decimals).
struct CORVANE_API sPrjSetting0 {
    int m_iPrecision_ZH;        // stations
    int m_iPrecision_R;         // radii
    int m_iPrecision_A;         // angles / clothoid parameters
    int m_iPrecision_XY;        // coordinates
    int m_iPrecision_L;         // lengths
    int m_iPrecision_Width;
    int m_iPrecision_Elv;       // elevations
    int m_iPrecision_Slope;
    int m_iPrecision_Area;
    int m_iPrecision_Volume;
    int m_bReserveZero;         // keep trailing zeros

    sPrjSetting0();
};

// Label texts of the main points of an alignment.
struct CORVANE_API sPrjSetting1 {
    int m_iMode;                // 0 Chinese-pinyin labels, 1 English labels
    int m_iZHDimStyle;          // station prefix style
    int m_iNegativeZHDimStyle;  // style of negative stations
    CString m_SQD;              // start point
    CString m_SZD;              // end point
    CString m_SZY;              // tangent to circle
    CString m_SYZ;              // circle to tangent
    CString m_SHH;              // common tangent point of two curves
    CString m_SZH;              // tangent to spiral
    CString m_SHZ;              // spiral to tangent
    CString m_SHY;              // spiral to circle
    CString m_SYH;              // circle to spiral
    CString m_SZZ;
    CString m_SHJD;
    CString m_SYJD;
    CString m_SJD;              // intersection point
    CString m_SQZ;              // curve middle

    // Mode 0, the pinyin texts without the curve-middle label.
    sPrjSetting1();
    // All fourteen texts of one label set.
    void SetPinyinLabels();
    void SetEnglishLabels();
};

// Slope-line drawing values.
struct CORVANE_API sPrjSetting2 {
    double m_rDistance;
    double m_rLength;
    double m_rScale;
    double m_rMinLength;
    int m_bByLengthRate;
    double m_rLengthRate;
    int m_iArrowType;
    double m_rArrowLength;
    double m_rArrowWidth;

    // The values of a free-standing record: 2, 5, 2, 0, 0, 0.75, 0, 1, 0.2.
    sPrjSetting2();
};

class CORVANE_API tkxProject
{
public:
    tkxProject();
    tkxProject(const tkxProject& other);
    virtual ~tkxProject();
    // Copy (the segment list is not taken).
    tkxProject& operator=(tkxProject other);

    // Header and settings to their defaults; roads and segments stay.
    void Reset();
    // Everything but the segment list.
    void Copy(const tkxProject* other);

    // -- project file ---------------------------------------------------------
    // "<path>\<name>.EPJ"; 0 when name or path is empty.
    int Load();
    // Loads the project file; the name and path become the file's title and
    // folder.  On failure (message box shown) the project is left as it was.
    int Load(CString file);
    // Writes "<path>\<name>.EPJ" through a temporary file, so that a failed
    // write never destroys the old file; 0 (message box) on failure, also
    // for roads that loading would refuse (below).
    int Save();
    // Reads or writes the file body; a failed read shows its message and
    // returns 0 (fields read before the failure keep their new values).
    // Bytes after the last field, a road name that cannot be a folder name,
    // a road level outside 0-11 and a current-road index other than -1 or a
    // road's are errors.
    int Serialize(CArchive& ar);
    // Exchanges the three settings records with "Tavix3.ini": 1 reads, 0 writes.
    void UpdateFromIni(int load);
    void SaveBZSettings() { UpdateFromIni(0); }

    // -- the registered project list -------------------------------------------
    // 0 when the list holds this name under another folder, else 1.
    int IsValid(CString name, CString path);
    // Index of the first registered project of this name, -1 if none.
    short SearchPrjList(CString name);

    // -- roads ------------------------------------------------------------------
    int GetRoadCount() const { return static_cast<int>(m_Roads.GetSize()); }
    // 1 when a road has this name, compared without regard to case (the
    // roads' folders are named after them).
    int HasIncludeRoad(CString name);
    short GetRoadIndex(CString name);
    CString GetRoadName(int i);
    int SetCurrentRoad(int i);
    // Compares without regard to case.
    int SetCurrentRoad(CString name);
    int GetCurrentRoad(Tavix4::sRoadInfo& out);
    CString GetCurRoadName();
    // ROAD_OTHER (11) when there is no valid current road.
    Tavix4::enRoadLevel GetCurRoadLevel() const;
    double GetCurRoadSpeed();

    // Empty when the name can be used as a road's folder and file name, else
    // the message that tells why not (empty, the characters <>:"/\|?* or
    // control characters, a trailing dot or blank, so also "." and "..", a
    // device name with or without an extension, over 200 characters).  Dots
    // inside a name, ".." too, are taken.
    static CString CheckRoadName(const wchar_t* name);

    // -- folders and file names ----------------------------------------------------
    // Makes sure "沿线调查", "地形参照" and "图纸集" exist under the folder.
    int VerifySheetSetDirectory(const wchar_t* folder);
    // "<path>\<current road>", or the path without a valid current road.
    CString GetWorkingDirectory();
    // "<path>\<road i>", or the path for an invalid index.
    CString GetRoadDirectory(int i);
    CString GetCurRoadPath();
    // Makes sure the folder of road i exists (asks nothing, tells the user);
    // a folder that cannot be made is reported and the road record kept.
    int VerifyRoadDirectory(int i, HWND owner);
    // "<path>\<road>\<road>.<ext>" of the current road.
    int GetFileName(const wchar_t* ext, CString& out);
    int GetFileName(int kind, CString& out);

    // -- segments -----------------------------------------------------------------
    void ImportPrjSegments(const CArray<tkxProjectSegment>& list);
    int GetPrjSegmentCount() const;
    int GetPrjSegmentAt(int i, tkxProjectSegment& out) const;
    // The design segment file (DesignSegments.h).
    int LoadFDFile(const wchar_t* file);
    int SaveFDFile(const wchar_t* file) const;
    int AutoProjectSegment();

    static const int kFileVersion = 308;

    CString m_SName;            // project name = title of the .EPJ file
    CString m_SCreateDate;
    CString m_SStage;           // design stage, "初步设计"
    CString m_SPath;            // folder of the .EPJ file, no trailing separator
    int m_iClimate;             // 0 general, 1 snowy and frozen
    int m_iLandform;            // 0 to 3
    int m_iPrjType;             // 0 highway, 1 interchange, 2 city road
    int m_iReserve;             // third integer, stored, not interpreted
    double m_rReserve1;         // first real, stored, not interpreted
    double m_rReserve2;         // second real, stored, not interpreted
    sPrjSetting0 m_sPrjSetting0;
    sPrjSetting1 m_sPrjSetting1;
    sPrjSetting2 m_sPrjSetting2;
    short m_iCurRoad;           // -1 = none
    CArray<Tavix4::sRoadInfo, Tavix4::sRoadInfo> m_Roads;
    CArray<tkxProjectSegment> m_PrjSegments;

private:
    bool IsValidRoadIndex(int i) const { return i >= 0 && i < GetRoadCount(); }
    // Header, roads and current road (what the project file holds).
    void TakeFileFields(const tkxProject& other);
};

// The project model, its project file and its settings in "Tavix3.ini".
#include "corvane/project/Project.h"
#include "corvane/platform/ApplicationInfo.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/Ini.h"
#include "corvane/project/ProjectFolders.h"
#include "corvane/project/TavixDevApp.h"

#include <cmath>

using namespace Tavix4;
using namespace projectstore;

namespace {

// No road is designed for more, km/h.
constexpr double kHighestDesignSpeed = 1000.0;

} // namespace

// ---------------------------------------------------------------------------
// Records

Tavix4::sRoadInfo::sRoadInfo()
    : m_SRoadName(L"未命名道路"), m_RoadLevel(ROAD_EXPRESSWAY), m_rDesignSpeed(120.0)
{
}

sPrjSetting0::sPrjSetting0()
    : m_iPrecision_ZH(3), m_iPrecision_R(3), m_iPrecision_A(6), m_iPrecision_XY(3), m_iPrecision_L(3),
      m_iPrecision_Width(3), m_iPrecision_Elv(3), m_iPrecision_Slope(4), m_iPrecision_Area(0),
      m_iPrecision_Volume(0), m_bReserveZero(1)
{
}

sPrjSetting1::sPrjSetting1() : m_iMode(0), m_iZHDimStyle(0), m_iNegativeZHDimStyle(0)
{
    SetPinyinLabels();
    m_SQZ.Empty();
}

void sPrjSetting1::SetPinyinLabels()
{
    m_SQD = L"QD";
    m_SZD = L"ZD";
    m_SZY = L"ZY";
    m_SYZ = L"YZ";
    m_SHH = L"GQ";
    m_SZH = L"ZH";
    m_SHZ = L"HZ";
    m_SHY = L"HY";
    m_SYH = L"YH";
    m_SZZ = L"ZZ";
    m_SHJD = L"HJD";
    m_SYJD = L"YJD";
    m_SJD = L"JD";
    m_SQZ = L"QZ";
}

void sPrjSetting1::SetEnglishLabels()
{
    m_SQD = L"BP";
    m_SZD = L"EP";
    m_SZY = L"TC";
    m_SYZ = L"CT";
    m_SHH = L"PCC";
    m_SZH = L"TS";
    m_SHZ = L"ST";
    m_SHY = L"SC";
    m_SYH = L"CS";
    m_SZZ = L"TT";
    m_SHJD = L"STP";
    m_SYJD = L"CTP";
    m_SJD = L"TP";
    m_SQZ = L"CM";
}

sPrjSetting2::sPrjSetting2()
    : m_rDistance(2.0), m_rLength(5.0), m_rScale(2.0), m_rMinLength(0.0), m_bByLengthRate(0),
      m_rLengthRate(0.75), m_iArrowType(0), m_rArrowLength(1.0), m_rArrowWidth(0.2)
{
}

tkxProjectSegment::tkxProjectSegment(const tkxProjectSegment& other) : m_SName(other.m_SName)
{
    m_RoadSegs.Copy(other.m_RoadSegs);
}

tkxProjectSegment& tkxProjectSegment::operator=(const tkxProjectSegment& other)
{
    m_SName = other.m_SName;
    m_RoadSegs.Copy(other.m_RoadSegs);
    return *this;
}

CString tkxProjectSegment::GetRoadNameAt(int i) const
{
    if (i < 0 || i >= GetRoadSegCount()) return CString();
    return m_RoadSegs[i].m_SRoadName;
}

namespace {

// Empty when the roads and the current-road index can be written to a
// project file and read back; otherwise the reason (ending in "!").
CString CheckStoredRoads(const tkxProject& project)
{
    // The reserved reals are kept, not interpreted; still, a value that is
    // no number is no value a program of the suite wrote.
    for (double reserve : {project.m_rReserve1, project.m_rReserve2})
        if (!std::isfinite(reserve)) return ClFormat(L"项目的保留数据<%g>错误, 应为有限的数!", reserve);
    const INT_PTR count = project.m_Roads.GetSize();
    for (const sRoadInfo& road : project.m_Roads) {
        CString problem = tkxProject::CheckRoadName(road.m_SRoadName);
        if (!problem.IsEmpty()) return problem;
        const int level = static_cast<int>(road.m_RoadLevel);
        if (level < ROAD_EXPRESSWAY || level > ROAD_OTHER)
            return ClFormat(L"道路<%s>的等级<%d>错误, 应为%d到%d!", road.m_SRoadName.GetString(), level,
                            static_cast<int>(ROAD_EXPRESSWAY), static_cast<int>(ROAD_OTHER));
        // A design speed no road has (NaN, negative, beyond any vehicle)
        // would carry the curve and sight figures computed from it out of
        // range; -0 is no speed a program of the suite writes either.
        if (!(road.m_rDesignSpeed >= 0.0 && road.m_rDesignSpeed <= kHighestDesignSpeed) ||
            std::signbit(road.m_rDesignSpeed))
            return ClFormat(L"道路<%s>的设计速度<%g>错误, 应为0到%gkm/h!", road.m_SRoadName.GetString(),
                            road.m_rDesignSpeed, kHighestDesignSpeed);
    }
    if (project.m_iCurRoad < -1 || project.m_iCurRoad >= count)
        return ClFormat(L"当前道路序号<%d>超出了道路记录的范围(共%d条道路)!", static_cast<int>(project.m_iCurRoad),
                        static_cast<int>(count));
    return CString();
}

} // namespace

// ---------------------------------------------------------------------------
// Construction and copies

tkxProject::tkxProject() { Reset(); }

tkxProject::tkxProject(const tkxProject& other) : tkxProject() { Copy(&other); }

tkxProject::~tkxProject() = default;

tkxProject& tkxProject::operator=(tkxProject other)
{
    Copy(&other);
    return *this;
}

void tkxProject::Reset()
{
    m_SName.Empty();
    m_SPath.Empty();
    m_SCreateDate.Empty();
    m_SStage = L"初步设计";
    m_iClimate = 0;
    m_iLandform = 0;
    m_iPrjType = 0;
    m_iCurRoad = -1;
    m_iReserve = 0;
    m_rReserve1 = 0.0;
    m_rReserve2 = 0.0;

    m_sPrjSetting0 = sPrjSetting0();
    m_sPrjSetting0.m_iPrecision_A = 3;

    m_sPrjSetting1.m_iMode = 0;
    m_sPrjSetting1.m_iZHDimStyle = 0;
    m_sPrjSetting1.m_iNegativeZHDimStyle = 0;
    m_sPrjSetting1.SetPinyinLabels();

    // The arrow values are left as they are.
    m_sPrjSetting2.m_rDistance = 2.0;
    m_sPrjSetting2.m_rLength = 10.0;
    m_sPrjSetting2.m_rScale = 2.0;
    m_sPrjSetting2.m_rMinLength = 0.0;
    m_sPrjSetting2.m_bByLengthRate = 0;
    m_sPrjSetting2.m_rLengthRate = 0.75;
}

void tkxProject::TakeFileFields(const tkxProject& other)
{
    m_SName = other.m_SName;
    m_SPath = other.m_SPath;
    m_SStage = other.m_SStage;
    m_iPrjType = other.m_iPrjType;
    m_iClimate = other.m_iClimate;
    m_iLandform = other.m_iLandform;
    m_SCreateDate = other.m_SCreateDate;
    m_iReserve = other.m_iReserve;
    m_rReserve1 = other.m_rReserve1;
    m_rReserve2 = other.m_rReserve2;
    m_iCurRoad = other.m_iCurRoad;
    m_Roads.Copy(other.m_Roads);
}

void tkxProject::Copy(const tkxProject* other)
{
    if (!other || other == this) return;
    TakeFileFields(*other);
    m_sPrjSetting0 = other->m_sPrjSetting0;
    m_sPrjSetting1 = other->m_sPrjSetting1;
    m_sPrjSetting2 = other->m_sPrjSetting2;
}

// ---------------------------------------------------------------------------
// Project file

int tkxProject::Load()
{
    if (m_SName.IsEmpty() || m_SPath.IsEmpty()) return 0;
    return Load(ClFormat(L"%s\\%s.%s", m_SPath.GetString(), m_SName.GetString(), L"EPJ"));
}

int tkxProject::Load(CString file)
{
    file.Trim();
    if (file.IsEmpty()) return 0;

    CFile in;
    if (!in.Open(file, CFile::modeRead | CFile::shareDenyWrite)) {
        ShowBox(TavixMainWindow(), ClFormat(L"打开TAVIX项目文件时失败!\n\n<%s>.", file.GetString()),
                MB_OK | MB_ICONERROR);
        return 0;
    }

    // The file is read into a fresh project, which is taken over only when
    // the whole file was read: a damaged file leaves this project whole.
    tkxProject loaded;
    tkxFileName name(file);
    loaded.m_SName = name.GetFileTitle();
    loaded.m_SPath = name.GetPath();
    int ok = 0;
    {
        CArchive ar(&in, CArchive::load);
        ok = loaded.Serialize(ar);
        try {
            ar.Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
    in.Abort();
    if (!ok) return 0;

    TakeFileFields(loaded);
    VerifySheetSetDirectory(m_SPath);
    UpdateFromIni(1);
    return 1;
}

int tkxProject::Save()
{
    if (m_SName.IsEmpty() || m_SPath.IsEmpty()) return 0;
    VerifySheetSetDirectory(m_SPath);

    CString file = ClFormat(L"%s\\%s.%s", m_SPath.GetString(), m_SName.GetString(), L"EPJ");
    // A file that loading would refuse is not written; the old one stays.
    const CString problem = CheckStoredRoads(*this);
    if (!problem.IsEmpty()) {
        ShowBox(TavixMainWindow(), ClFormat(L"创建/修改TAVIX项目文件时失败!\n\n<%s>.\n\n%s", file.GetString(),
                                           problem.GetString()),
                MB_OK | MB_ICONERROR);
        return 0;
    }
    bool saved = WriteReplacing(file, [this](CFile& out) {
        CArchive ar(&out, CArchive::store);
        Serialize(ar);
        ar.Close();
    });
    if (!saved) {
        ShowBox(TavixMainWindow(),
                tkx_SaveFailureText(file, ClFormat(L"创建/修改TAVIX项目文件时失败!\n\n<%s>.", file.GetString())),
                MB_OK | MB_ICONERROR);
        return 0;
    }
    return 1;
}

int tkxProject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<int>(kFileVersion);
        ar << m_SStage;
        ar << m_iPrjType << m_iClimate << m_iLandform;
        ar << m_SCreateDate;
        ar << m_iReserve << m_rReserve1 << m_rReserve2;
        ar << static_cast<int>(m_Roads.GetSize());
        for (const sRoadInfo& road : m_Roads) {
            ar << road.m_SRoadName;
            ar << static_cast<short>(road.m_RoadLevel);
            ar << road.m_rDesignSpeed;
            ar << road.m_SStartZH << road.m_SEndZH << road.m_SBreakChain << road.m_SText4 << road.m_SText5;
        }
        ar << m_iCurRoad;
        return 1;
    }

    try {
        int version = 0;
        ar >> version;
        if (version > kFileVersion) {
            ShowBox(TavixMainWindow(),
                    ClFormat(L"项目文件<版本号:%d>由更高版本的程序创建，\n\n当前程序无法继续读取，\n\n请升级项目数据环境程序!",
                             version),
                    MB_OK | MB_ICONERROR);
            return 0;
        }
        ar >> m_SStage;
        ar >> m_iPrjType >> m_iClimate >> m_iLandform;
        ar >> m_SCreateDate;
        ar >> m_iReserve >> m_rReserve1 >> m_rReserve2;
        int count = 0;
        ar >> count;
        if (count < 0) AfxThrowArchiveException(CArchiveException::genericException);
        m_Roads.RemoveAll();
        for (int i = 0; i < count; ++i) {
            sRoadInfo road;
            short level = 0;
            ar >> road.m_SRoadName;
            ar >> level;
            road.m_RoadLevel = static_cast<enRoadLevel>(level);
            ar >> road.m_rDesignSpeed;
            ar >> road.m_SStartZH >> road.m_SEndZH >> road.m_SBreakChain >> road.m_SText4 >> road.m_SText5;
            m_Roads.Add(road);
        }
        ar >> m_iCurRoad;
        // The current-road index is the last field: anything after it means
        // the file is not what its counts say.
        BYTE extra = 0;
        if (ar.Read(&extra, 1) != 0) AfxThrowArchiveException(CArchiveException::genericException);
        // Road names are checked as when a road is added, levels and the
        // current-road index against their ranges: a file that breaks them
        // is damaged, and guessing (the first road as current, say) would
        // hide it.
        const CString problem = CheckStoredRoads(*this);
        if (!problem.IsEmpty()) {
            ShowBox(TavixMainWindow(),
                    ClFormat(L"读取项目文件<%s\\%s.%s>失败!\n\n%s", m_SPath.GetString(), m_SName.GetString(), L"EPJ",
                             problem.GetString()),
                    MB_OK | MB_ICONERROR);
            return 0;
        }
        return 1;
    } catch (CException* e) {
        e->Delete();
        ShowBox(TavixMainWindow(),
                ClFormat(L"读取项目文件<%s\\%s.%s>失败!", m_SPath.GetString(), m_SName.GetString(), L"EPJ"),
                MB_OK | MB_ICONERROR);
        return 0;
    }
}

void tkxProject::UpdateFromIni(int load)
{
    CString file = TavixAppInfo().GetIniFileName(L"Tavix3.ini");
    int get = load ? 1 : 0;
    {
        tkxIni ini(file, CString(L"BZPrecision"));
        sPrjSetting0& s = m_sPrjSetting0;
        ini.SerGet(get, s.m_iPrecision_ZH, L"m_sPrjSetting0.m_iPrecision_ZH", nullptr, s.m_iPrecision_ZH);
        ini.SerGet(get, s.m_iPrecision_R, L"m_sPrjSetting0.m_iPrecision_R", nullptr, s.m_iPrecision_R);
        ini.SerGet(get, s.m_iPrecision_A, L"m_sPrjSetting0.m_iPrecision_A", nullptr, s.m_iPrecision_A);
        ini.SerGet(get, s.m_iPrecision_XY, L"m_sPrjSetting0.m_iPrecision_XY", nullptr, s.m_iPrecision_XY);
        ini.SerGet(get, s.m_iPrecision_L, L"m_sPrjSetting0.m_iPrecision_L", nullptr, s.m_iPrecision_L);
        ini.SerGet(get, s.m_iPrecision_Width, L"m_sPrjSetting0.m_iPrecision_Width", nullptr, s.m_iPrecision_Width);
        ini.SerGet(get, s.m_iPrecision_Elv, L"m_sPrjSetting0.m_iPrecision_Elv", nullptr, s.m_iPrecision_Elv);
        ini.SerGet(get, s.m_iPrecision_Slope, L"m_sPrjSetting0.m_iPrecision_Slope", nullptr, s.m_iPrecision_Slope);
        ini.SerGet(get, s.m_iPrecision_Area, L"m_sPrjSetting0.m_iPrecision_Area", nullptr, s.m_iPrecision_Area);
        ini.SerGet(get, s.m_iPrecision_Volume, L"m_sPrjSetting0.m_iPrecision_Volume", nullptr,
                   s.m_iPrecision_Volume);
        ini.SerGet(get, s.m_bReserveZero, L"m_sPrjSetting0.m_bReserveZero", nullptr, s.m_bReserveZero);
    }
    {
        tkxIni ini(file, CString(L"ZDString"));
        sPrjSetting1& s = m_sPrjSetting1;
        struct Text {
            const wchar_t* key;
            CString* value;
        } texts[] = {
            {L"m_sPrjSetting1.m_SQD", &s.m_SQD},   {L"m_sPrjSetting1.m_SZH", &s.m_SZH},
            {L"m_sPrjSetting1.m_SHH", &s.m_SHH},   {L"m_sPrjSetting1.m_SZY", &s.m_SZY},
            {L"m_sPrjSetting1.m_SHY", &s.m_SHY},   {L"m_sPrjSetting1.m_SYH", &s.m_SYH},
            {L"m_sPrjSetting1.m_SHZ", &s.m_SHZ},   {L"m_sPrjSetting1.m_SYZ", &s.m_SYZ},
            {L"m_sPrjSetting1.m_SZZ", &s.m_SZZ},   {L"m_sPrjSetting1.m_SZD", &s.m_SZD},
            {L"m_sPrjSetting1.m_SJD", &s.m_SJD},   {L"m_sPrjSetting1.m_SQZ", &s.m_SQZ},
            {L"m_sPrjSetting1.m_SHJD", &s.m_SHJD}, {L"m_sPrjSetting1.m_SYJD", &s.m_SYJD},
        };
        for (const Text& t : texts) ini.SerGet(get, *t.value, t.key, nullptr, CString(*t.value));
        ini.SerGet(get, s.m_iMode, L"m_sPrjSetting1.m_iMode", nullptr, s.m_iMode);
        ini.SerGet(get, s.m_iZHDimStyle, L"m_sPrjSetting1.m_iZHDimStyle", nullptr, s.m_iZHDimStyle);
        ini.SerGet(get, s.m_iNegativeZHDimStyle, L"m_sPrjSetting1.m_iNegativeZHDimStyle", nullptr,
                   s.m_iNegativeZHDimStyle);
    }
    {
        tkxIni ini(file, CString(L"SPXLength"));
        sPrjSetting2& s = m_sPrjSetting2;
        ini.SerGet(get, s.m_rDistance, L"m_sPrjSetting2.m_rDistance", nullptr, s.m_rDistance);
        ini.SerGet(get, s.m_rLength, L"m_sPrjSetting2.m_rLength", nullptr, s.m_rLength);
        ini.SerGet(get, s.m_rLengthRate, L"m_sPrjSetting2.m_rLengthRate", nullptr, s.m_rLengthRate);
        ini.SerGet(get, s.m_rScale, L"m_sPrjSetting2.m_rScale", nullptr, s.m_rScale);
        ini.SerGet(get, s.m_rMinLength, L"m_sPrjSetting2.m_rMinLength", nullptr, s.m_rMinLength);
        ini.SerGet(get, s.m_bByLengthRate, L"m_sPrjSetting2.m_bByLengthRate", nullptr, s.m_bByLengthRate);
        ini.SerGet(get, s.m_iArrowType, L"m_sPrjSetting2.m_iArrowType", nullptr, s.m_iArrowType);
        ini.SerGet(get, s.m_rArrowLength, L"m_sPrjSetting2.m_rArrowLength", nullptr, s.m_rArrowLength);
        ini.SerGet(get, s.m_rArrowWidth, L"m_sPrjSetting2.m_rArrowWidth", nullptr, s.m_rArrowWidth);
    }
    if (!load) return;

    if (m_sPrjSetting2.m_rArrowLength < 1e-6) m_sPrjSetting2.m_rArrowLength = 1.0;
    if (m_sPrjSetting2.m_rArrowWidth < 1e-6) m_sPrjSetting2.m_rArrowWidth = 0.25;
    if (m_sPrjSetting1.m_iMode == 0)
        m_sPrjSetting1.SetPinyinLabels();
    else if (m_sPrjSetting1.m_iMode == 1)
        m_sPrjSetting1.SetEnglishLabels();
}

// ---------------------------------------------------------------------------
// The registered project list

int tkxProject::IsValid(CString name, CString path)
{
    CTavixDevApp& app = TavixDevApp();
    for (INT_PTR i = 0; i < app.m_SPrjNames.GetSize(); ++i) {
        if (app.m_SPrjNames[i] == name && i < app.m_SPrjPaths.GetSize() && app.m_SPrjPaths[i] != path) return 0;
    }
    return 1;
}

short tkxProject::SearchPrjList(CString name)
{
    CTavixDevApp& app = TavixDevApp();
    for (INT_PTR i = 0; i < app.m_SPrjNames.GetSize(); ++i)
        if (app.m_SPrjNames[i] == name) return static_cast<short>(i);
    return -1;
}

// ---------------------------------------------------------------------------
// Roads

int tkxProject::HasIncludeRoad(CString name)
{
    // Each road has a folder of its name, and folder names do not tell the
    // case apart.
    for (const sRoadInfo& road : m_Roads) {
        const CString& own = road.m_SRoadName;
        if (::CompareStringOrdinal(own.GetString(), own.GetLength(), name.GetString(), name.GetLength(), TRUE) ==
            CSTR_EQUAL)
            return 1;
    }
    return 0;
}

short tkxProject::GetRoadIndex(CString name)
{
    name.Trim();
    for (int i = 0; i < GetRoadCount(); ++i)
        if (m_Roads[i].m_SRoadName == name) return static_cast<short>(i);
    return -1;
}

CString tkxProject::GetRoadName(int i) { return IsValidRoadIndex(i) ? m_Roads[i].m_SRoadName : CString(); }

int tkxProject::SetCurrentRoad(int i)
{
    if (!IsValidRoadIndex(i)) return 0;
    m_iCurRoad = static_cast<short>(i);
    return 1;
}

int tkxProject::SetCurrentRoad(CString name)
{
    name.MakeLower();
    for (int i = 0; i < GetRoadCount(); ++i) {
        CString road = m_Roads[i].m_SRoadName;
        if (road.MakeLower() == name) {
            m_iCurRoad = static_cast<short>(i);
            return 1;
        }
    }
    return 0;
}

int tkxProject::GetCurrentRoad(sRoadInfo& out)
{
    if (!IsValidRoadIndex(m_iCurRoad)) return 0;
    out = m_Roads[m_iCurRoad];
    return 1;
}

CString tkxProject::GetCurRoadName() { return GetRoadName(m_iCurRoad); }

enRoadLevel tkxProject::GetCurRoadLevel() const
{
    return IsValidRoadIndex(m_iCurRoad) ? m_Roads[m_iCurRoad].m_RoadLevel : ROAD_OTHER;
}

double tkxProject::GetCurRoadSpeed() { return IsValidRoadIndex(m_iCurRoad) ? m_Roads[m_iCurRoad].m_rDesignSpeed : 0.0; }

// ---------------------------------------------------------------------------
// Segments

void tkxProject::ImportPrjSegments(const CArray<tkxProjectSegment>& list) { m_PrjSegments.Copy(list); }

int tkxProject::GetPrjSegmentCount() const { return static_cast<int>(m_PrjSegments.GetSize()); }

int tkxProject::GetPrjSegmentAt(int i, tkxProjectSegment& out) const
{
    if (i < 0 || i >= GetPrjSegmentCount()) return 0;
    out = m_PrjSegments[i];
    return 1;
}

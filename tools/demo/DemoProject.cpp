// demo_project.exe FOLDER: lays out the suite's installation as the library
// reads it at start (its registry entries and, in the user's document
// folder, the file-type table), writes the demo project into FOLDER and
// registers it, with its slope-template library, as the current project and
// library of this user (of the Wine prefix it runs in).
//
// The project "示范项目" holds the road "一号路" (current): a second-class
// highway of about 3.8 km in rolling country, designed by intersection
// points at whole metres with three spiral curves of round radii and spiral
// lengths, a break chain, a profile of six grade points over a ground line
// with a river valley and a hill, cross-section ground lines every 20 m, a
// standard cross-section, superelevation, a bridge, culverts, a passage, a
// tunnel and a crossing; and the short road "二号路" with its ground line
// and vertical curves, and a terrain model.
// Every file the library has a writer for is written by that writer, from
// data it read first (so the files are exactly in the library's form); the
// other data files the library lists are written in their documented line
// form, and those it can read are read back before the program ends.
//
// It also writes the suite's help file TAVIX.CHM where an installation has
// it, "<installation>\Help\TAVIX.CHM" (the installation being the folder
// above the programs' Bin folder), with a short page for the start and for
// each reference document of the library's table.
#include "DemoTemplates.h"
#include "classlib/ClassLib.h"
#include "corvane/platform/ApplicationInfo.h"
#include "corvane/project/DesignSegments.h"
#include "corvane/project/StationList.h"
#include "corvane/project/TavixInterface.h"
#include "corvane/road/Road.h"
#include "corvane/section/RoadHDM.h"
#include "corvane/section/SuperElevation.h"
#include "support/ChmFile.h"
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const wchar_t kProject[] = L"示范项目";
const wchar_t kRoad[] = L"一号路";
const wchar_t kLibrary[] = L"示范边坡模板库";
const double kPi = 3.14159265358979323846;

// The alignment as designed: the start point, the intersection points with
// the radius and spiral length of their curves (spiral parameters
// A = sqrt(R Ls) of 320, 300 and 400), and the end point, at whole metres
// of the national grid (northing, easting).
struct IntersectionPoint {
    double north, east, R, Ls;
};
const IntersectionPoint kStartPoint = {3357640.0, 439820.0, 0.0, 0.0};
const IntersectionPoint kIntersections[] = {
    {3358281.0, 440269.0, 800.0, 128.0}, {3358706.0, 441358.0, 600.0, 150.0}, {3359619.0, 441936.0, 1000.0, 160.0}};
const IntersectionPoint kEndPoint = {3360044.0, 442606.0, 0.0, 0.0};
const double kStartAzimuth = std::atan2(kIntersections[0].east - kStartPoint.east,
                                        kIntersections[0].north - kStartPoint.north);
// A curve as the alignment gives it.
struct Curve {
    double start; // station where the entering spiral begins
    double R, Ls, arc;
};
// One break: station 2400 of the first chain is 2385 of the second (a long
// chain of 15 m).
const wchar_t kBreakChain[] = L"2400.000=2385.000";
// Grade points: station, elevation, vertical-curve radius; the last one is
// at the end of the road.
const double kGradePoints[][3] = {{0.0, 125.0, 0.0},       {700.0, 134.5, 12000.0}, {1500.0, 121.0, 8000.0},
                                  {2300.0, 131.0, 15000.0}, {3200.0, 119.5, 10000.0}, {-1.0, 124.0, 0.0}};

[[noreturn]] void Fail(const CString& what)
{
    std::fprintf(stderr, "demo_project: %s\n", ClWideToMultiByte(what, -1, CP_UTF8).c_str());
    std::exit(1);
}

void Check(int ok, const wchar_t* what)
{
    if (!ok) Fail(ClFormat(L"%s: %s", what, tkx_GetLastError().GetString()));
}

// Message boxes of the library: printed, answered with the safe button.
int PrintBox(HWND, const wchar_t* text, const wchar_t*, UINT type, void*)
{
    std::fprintf(stderr, "demo_project: [%s]\n", ClWideToMultiByte(text, -1, CP_UTF8).c_str());
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDNO;
    case MB_OKCANCEL:
    case MB_RETRYCANCEL: return IDCANCEL;
    default: return IDOK;
    }
}

// A text file of the system code page with CR LF line ends.
void WriteText(const CString& path, const CString& text)
{
    CStdioFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText))
        Fail(ClFormat(L"cannot write %s", path.GetString()));
    file.WriteString(text);
    file.Close();
}

CString Header(const wchar_t* what)
{
    const CTime now = CTime::GetCurrentTime();
    return ClFormat(L"//%s %s %s\n//创建时间:%d年%d月%d日 %d:%d:%d\n", kProject, kRoad, what, now.GetYear(),
                    now.GetMonth(), now.GetDay(), now.GetHour(), now.GetMinute(), now.GetSecond());
}

// The ground: the design line with rolling hills, a river valley at the
// bridge and a hill over the tunnel.
double GroundOffset(double x)
{
    return 2.4 * std::sin(x / 210.0) + 1.3 * std::sin(x / 57.0 + 0.7) + 0.4 * std::sin(x / 13.0) -
           11.0 * std::exp(-std::pow((x - 1300.0) / 60.0, 2)) + 24.0 * std::exp(-std::pow((x - 3010.0) / 95.0, 2));
}

class DemoRoad
{
public:
    DemoRoad(const CString& folder) : m_folder(folder) {}

    CString File(const wchar_t* ext) const { return ClFormat(L"%s\\%s.%s", m_folder.GetString(), kRoad, ext); }
    CString Temp(const wchar_t* ext) const { return ClFormat(L"%s\\~%s.%s", m_folder.GetString(), kRoad, ext); }

    // Writes the text to a scratch file, lets the library read it, and
    // removes the scratch file.
    void ReadThrough(const wchar_t* ext, const CString& text, const std::function<int(const CString&)>& read,
                     const wchar_t* what)
    {
        const CString temp = Temp(ext);
        WriteText(temp, text);
        const int ok = read(temp);
        ::DeleteFileW(temp);
        Check(ok, what);
    }

    CString Station(double x) const { return m_road.GetStringBreakZH(x, 3, 1); }
    // The station of the road's end, once the alignment is made.
    double End() const { return m_end; }
    CString KStation(double x) const { return m_road.ZHToCString(x, 3, 1); }

    void Build()
    {
        BreakChain();
        Alignment();
        Profile();
        CrossSections();
        StandardSection();
        Superelevation();
        Structures();
        Stations();
        Listed();
        DesignResults();
        Verify();
    }

    // Every file the library reads, read back from where it was written.
    void Verify() const
    {
        tkxRoadObject road;
        Check(road.LoadDLFile(File(L"DL")), L"DL file read back");
        Check(road.LoadICDFile(File(L"ICD")), L"ICD file read back");
        Check(road.LoadSQXFile(File(L"SQX")), L"SQX file read back");
        Check(road.LoadDMXFile(File(L"DMX")), L"DMX file read back");
        Check(road.LoadHDXFile(File(L"HDX"), 1), L"HDX file read back");
        Check(road.LoadGZXFile(File(L"GZX")), L"GZX file read back");
        Check(road.LoadGZXFile(File(L"QL")), L"QL file read back");
        if (road.GetHDXSectionCount() != m_sections.GetSize()) Fail(L"HDX file: sections lost");

        CStdioFile jd;
        if (!jd.Open(File(L"JD"), CFile::modeRead | CFile::typeText)) Fail(L"JD file: cannot open");
        CString line, message;
        int lineNo = 0, rows = 0;
        while (tkx_ReadNextStringST(&jd, line, lineNo)) {
            tkxPlaneCurve3 curve;
            if (!curve.ReadJDFile(line, message) && message != L"EOF") Fail(L"JD file read back: " + message);
            ++rows;
        }
        if (rows != 5) Fail(L"JD file: rows lost");

        tkxRoadHDM hdm(road.BreakChain());
        const CString hdmMessage = hdm.ReadHDMFile(road.BreakChain(), File(L"HDM"));
        if (!hdmMessage.IsEmpty()) Fail(L"HDM file read back: " + hdmMessage);
        tkxSuperElevation cg;
        cg.SetBreakChain(road.BreakChain());
        const CString cgMessage = cg.ReadCGFile(File(L"CG"));
        if (!cgMessage.IsEmpty()) Fail(L"CG file read back: " + cgMessage);
    }

    tkxRoadObject m_road;
    tkxBreakChain m_chain;

private:
    void BreakChain()
    {
        Check(m_chain.GetDLFromString(kBreakChain), L"break chain");
        Check(m_road.ImportBreakChain(m_chain), L"break chain of the road");
        Check(m_chain.SaveDLFile(File(L"DL")), L"DL file");
    }

    void Alignment()
    {
        // The intersection-point rows, read as a reader of the file reads
        // them, each curve placed between its neighbours and given its
        // station.
        CString text = ClFormat(L"-1 %.3f %.3f 0.000\n", kStartPoint.north, kStartPoint.east);
        for (const IntersectionPoint& p : kIntersections)
            text.AppendFormat(L"3 %.3f %.3f -1 L%.3f %.3f L%.3f -1\n", p.north, p.east, p.Ls, p.R, p.Ls);
        text.AppendFormat(L"-2 %.3f %.3f\n", kEndPoint.north, kEndPoint.east);
        CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
        int at = 0;
        for (CString row = text.Tokenize(L"\n", at); !row.IsEmpty(); row = text.Tokenize(L"\n", at)) {
            tkxPlaneCurve3 curve;
            CString message;
            if (!curve.ReadJDFile(row, message)) Fail(L"intersection point " + row + L": " + message);
            curves.Add(curve);
        }
        CArray<Tavix4::sUnitInfo, Tavix4::sUnitInfo> units;
        for (INT_PTR i = 1; i < curves.GetSize(); ++i) {
            tkxPlaneCurve3& curve = curves[i];
            if (i + 1 < curves.GetSize()) {
                const Tavix4::sZHPtInfo a = curves[i - 1].TurnPtInfo(), b = curves[i + 1].TurnPtInfo();
                Check(curve.SetTurnAngle(tkxPoint3d(a.m_rX, a.m_rY, 0), tkxPoint3d(b.m_rX, b.m_rY, 0)),
                      L"intersection-point curve");
            }
            // The straight from the curve before.
            const Tavix4::sZHPtInfo end = curves[i - 1].EndPtInfo(), start = curve.StartPtInfo();
            const double gap = std::hypot(start.m_rX - end.m_rX, start.m_rY - end.m_rY);
            curve.SetStartZH(end.m_rZH + gap);
            Tavix4::sUnitInfo straight;
            straight.m_iUnitType = Tavix4::UNIT_LINE;
            straight.m_iTurn = DIR_NONE;
            straight.m_StartPt = end;
            straight.m_EndPt = curve.StartPtInfo();
            units.Add(straight);
            curve.GetUnitInfos(units);
            if (curve.R() > 0) m_curves.push_back({curve.StartZH(), curve.R(), curve.Ls1(), curve.ArcLength()});
        }
        Check(m_road.ImportPlaneUnits(&units), L"alignment units");
        Check(m_road.SaveICDFile(File(L"ICD")), L"ICD file");
        Check(tkxRoadObject::SaveJDFile(File(L"JD"), curves), L"JD file");
        m_end = m_road.EndZH();
        if (m_curves.size() != 3 || std::fabs(curves[curves.GetSize() - 1].TurnPtInfo().m_rZH - m_end) > 0.001)
            Fail(L"the alignment does not end where planned");
    }

    void Profile()
    {
        tkxZDMInfo& profile = *m_road.GetZDMInfo();
        CArray<double, double> stations, elevations, radii;
        for (const auto& point : kGradePoints) {
            stations.Add(point[0] < 0 ? m_end : point[0]);
            elevations.Add(point[1]);
            radii.Add(point[2]);
        }
        profile.SetBPDZHs(stations);
        profile.SetBPDElevations(elevations);
        profile.SetRs(radii);
        Check(profile.ComputeSQX(), L"vertical curves");
        Check(profile.SaveSQXFile(File(L"SQX")), L"SQX file");

        tkx_DivideZHSequence(m_chain, 0.0, m_end, 20.0, m_sections);
        for (INT_PTR i = 0; i < m_sections.GetSize(); ++i) {
            const double x = m_sections[i];
            double design = 0.0;
            Check(profile.GetElevation(x, design), L"design elevation");
            profile.AddDMHeight(x, std::round((design + GroundOffset(x)) * 1000.0) / 1000.0);
        }
        Check(profile.SaveDMXFile(File(L"DMX")), L"DMX file");
    }

    void CrossSections()
    {
        // Offsets from the centre line and heights over the centre ground.
        const double offsets[] = {1.5, 4.0, 8.0, 13.0, 19.0, 26.0, 34.0};
        CString text = L"ABS1\n";
        for (INT_PTR i = 0; i < m_sections.GetSize(); ++i) {
            const double x = m_sections[i];
            text += Station(x) + L"\n";
            for (int side = 0; side < 2; ++side) {
                for (double d : offsets) text.AppendFormat(L"%.3f %.3f ", d, SideHeight(x, side, d));
                text.TrimRight();
                text += L"\n";
            }
        }
        ReadThrough(L"HDX", text, [&](const CString& p) { return m_road.LoadHDXFile(p, 0); }, L"cross-section file");
        Check(m_road.GetHDMTerrain()->SaveHDXFile(File(L"HDX")), L"HDX file");
    }

    void StandardSection()
    {
        // Two-lane highway: 0.75 m earth and 1.5 m hard shoulders, 3.75 m
        // lanes, no divider; a wider right shoulder for a bus stop.
        const double end = m_end;
        CString text = L"2 1\n" + Row(0.0, L"0.000 0.700 0.300") + Row(end, L"0.000 0.700 0.300");
        const struct {
            double x;
            double Hb;
        } rows[] = {{0.0, 1.5}, {1000.0, 1.5}, {1040.0, 4.5}, {1090.0, 4.5}, {1130.0, 1.5}, {end, 1.5}};
        for (const auto& row : rows)
            text += Row(row.x, ClFormat(L"0.750 1.500 3.750 0.000 0.000 3.750 %.3f 0.750", row.Hb));
        tkxRoadHDM hdm(&m_chain);
        ReadThrough(L"HDM", text,
                    [&](const CString& p) {
                        const CString message = hdm.ReadHDMFile(&m_chain, p);
                        if (!message.IsEmpty()) tkx_SetLastError(message);
                        return message.IsEmpty() ? 1 : 0;
                    },
                    L"standard cross-section");
        Check(hdm.OutputToFile(File(L"HDM")), L"HDM file");
    }

    // The ground across the road: the height over the centre ground at an
    // offset d of the left (side 0) or right side of the section at x.
    static double SideHeight(double x, int side, double d)
    {
        const double slope = side == 0 ? 0.08 * std::sin(x / 300.0) + 0.03 : -0.06 * std::sin(x / 260.0 + 1.0) - 0.02;
        const double valley = std::exp(-std::pow((x - 1300.0) / 60.0, 2));
        return slope * d + 0.25 * std::sin(d * 0.9 + x / 40.0) + valley * 0.12 * d;
    }

    // A row of the section files: the station within its chain segment,
    // the fields, and the segment number beyond the first chain.
    CString Row(double x, const CString& fields) const
    {
        const short segment = m_chain.GetBreakChainID(x);
        if (segment <= 1) return ClFormat(L"%.3f %s\n", x, fields.GetString());
        return ClFormat(L"%.3f %s %d\n", m_chain.GetBreakZH(x), fields.GetString(), segment);
    }

    void Superelevation()
    {
        CString text = L"2 0.000 0.000 4.0 1 0 0\n";
        auto row = [&](double x, double left, double right) {
            text += Row(x, ClFormat(L"%.3f %.3f", left, right));
            m_falls.push_back({x, left, right});
        };
        row(0.0, 2.0, -2.0);
        const double e[] = {4.0, 5.0, 3.0};
        for (int i = 0; i < 3; ++i) {
            const Curve& c = m_curves[static_cast<size_t>(i)];
            // Banked towards the inside of the curve.
            const double bank = m_road.TurnDir(c.start + c.Ls + c.arc / 2) == DIR_LEFT ? e[i] : -e[i];
            row(c.start, 2.0, -2.0);
            row(c.start + c.Ls, bank, bank);
            row(c.start + c.Ls + c.arc, bank, bank);
            row(c.start + 2 * c.Ls + c.arc, 2.0, -2.0);
        }
        row(m_end, 2.0, -2.0);
        tkxSuperElevation cg;
        cg.SetBreakChain(&m_chain);
        ReadThrough(L"CG", text,
                    [&](const CString& p) {
                        const CString message = cg.ReadCGFile(p);
                        if (!message.IsEmpty()) tkx_SetLastError(message);
                        return message.IsEmpty() ? 1 : 0;
                    },
                    L"superelevation");
        CStdioFile out;
        if (!out.Open(File(L"CG"), CFile::modeCreate | CFile::modeWrite | CFile::typeText)) Fail(L"cannot write the CG file");
        const CString message = cg.WriteFile(out);
        out.Close();
        if (!message.IsEmpty()) Fail(message);
    }

    void Structures()
    {
        // kind name station ... as the structure file lists them.
        CString rows;
        rows.AppendFormat(L"0\t清水河大桥\t%s\t0d0'0.0\"\t5.000\t5.000\t6*20\t预应力混凝土T梁\t0.000\t1.500\n",
                          Station(1235.0).GetString());
        rows.AppendFormat(L"1\tK0+520盖板涵\t%s\t15d0'0.0\"\t2.000\t6.500\t6.500\t2.000\t%.3f\t1-2.0×2.0盖板涵\n",
                          Station(520.0).GetString(), m_road.GetDMXElevation(520.0) - 2.5);
        rows.AppendFormat(L"1\tK1+900圆管涵\t%s\t0d0'0.0\"\t1.500\t6.000\t6.000\t1.500\t%.3f\t1-Φ1.5圆管涵\n",
                          Station(1900.0).GetString(), m_road.GetDMXElevation(1900.0) - 2.0);
        rows.AppendFormat(L"2\tK2+180通道\t%s\t0d0'0.0\"\t4.000\t6.000\t6.000\t3.500\t%.3f\t1-4.0×3.5箱涵通道\n",
                          Station(2180.0).GetString(), m_road.GetDMXElevation(2180.0) - 4.0);
        rows.AppendFormat(L"3\t老鹰岩隧道\t%s\t220.000\t5.000\n", Station(2900.0).GetString());
        rows.AppendFormat(L"8\tK1+560平交口\t%s\t75d0'0.0\"\t20.000\t20.000\n", Station(1560.0).GetString());
        WriteText(File(L"GZX"), Header(L"构造物信息") + rows);
        // The same structures as an old structure list, from which the
        // structure tool makes a structure information file: stations
        // within their chain segment (the tool takes plain numbers), the
        // span text with the beam type, skew angles with a degree sign; the
        // crossing is a kind the tool passes over.
        CString list = Header(L"原构造物列表");
        list += L"//桥梁: 0 名称 跨径及上部结构 起点桩号 终点桩号 斜交角 [备注]\n"
                L"//涵洞(1)/通道(2): 类型 名称 中心桩号 斜交角 跨径 左侧附加长度 右侧附加长度 [备注]\n"
                L"//隧道: 3 名称 起点桩号 终点桩号 [备注]\n";
        list.AppendFormat(L"0 清水河大桥 6*20预应力混凝土T梁 %s %s 0° 跨越清水河\n", Plain(1235.0).GetString(),
                          Plain(1365.0).GetString());
        list.AppendFormat(L"1 K0+520盖板涵 %s 15° 2.000 6.500 6.500 1-2.0×2.0盖板涵\n", Plain(520.0).GetString());
        list.AppendFormat(L"1 K1+900圆管涵 %s 0° 1.500 6.000 6.000 1-Φ1.5圆管涵\n", Plain(1900.0).GetString());
        list.AppendFormat(L"2 K2+180通道 %s 0° 4.000 6.000 6.000 1-4.0×3.5箱涵通道\n", Plain(2180.0).GetString());
        list.AppendFormat(L"3 老鹰岩隧道 %s %s 短隧道\n", Plain(2900.0).GetString(), Plain(3120.0).GetString());
        list.AppendFormat(L"8 K1+560平交口 %s 75° 20.000 20.000\n", Plain(1560.0).GetString());
        WriteText(File(L"GZW"), list);
        CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> read;
        Check(tkx_ReadQHFile(File(L"GZX"), m_chain, read), L"structure file");
        if (read.GetSize() != 6) Fail(L"the structure file does not read back whole");
        CString bridges = Header(L"桥梁桩号范围");
        for (INT_PTR i = 0; i < read.GetSize(); ++i)
            if (read[i].m_iKind == Tavix4::QH_BRIDGE)
                bridges += Station(read[i].m_rStartZH) + L" " + Station(read[i].m_rEndZH) + L"\n";
        WriteText(File(L"QL"), bridges);
        CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> ranges;
        Check(tkx_ReadQHFile(File(L"QL"), m_chain, ranges), L"bridge station file");
    }

    void Stations()
    {
        // Every 20 m and the main points of the curves.
        CArray<double, double> all;
        all.Append(m_sections);
        const wchar_t* names[] = {L"ZH", L"HY", L"QZ", L"YH", L"HZ"};
        std::vector<std::pair<double, CString>> notes;
        for (const Curve& c : m_curves) {
            const double points[] = {c.start, c.start + c.Ls, c.start + c.Ls + c.arc / 2, c.start + c.Ls + c.arc,
                                     c.start + 2 * c.Ls + c.arc};
            for (int k = 0; k < 5; ++k) notes.emplace_back(points[k], names[k]);
        }
        CString text = Header(L"桩号");
        for (INT_PTR i = 0; i < all.GetSize(); ++i) {
            const double x = all[i];
            CString note;
            for (auto it = notes.begin(); it != notes.end();) {
                if (it->first < x - 1e-6) {
                    text.AppendFormat(L"%s %s\n", KStation(it->first).GetString(), it->second.GetString());
                    it = notes.erase(it);
                } else if (std::fabs(it->first - x) < 1e-6) {
                    note = it->second;
                    it = notes.erase(it);
                } else {
                    ++it;
                }
            }
            text += KStation(x) + (note.IsEmpty() ? CString() : L" " + note) + L"\n";
        }
        WriteText(File(L"ST"), text);
        CArray<double, double> read;
        const CString result = tkx_ReadSTFile(File(L"ST"), &m_chain, read);
        if (result != L"文件结束") Fail(L"station file: " + result);
    }

    // The files the library lists without a reader or writer of its own, in
    // the line forms its file types describe.
    void Listed()
    {
        const tkxZDMInfo& profile = *m_road.ZDMInfo();
        auto design = [&](double x) {
            double z = 0.0;
            profile.GetElevation(x, z);
            return z;
        };
        auto point = [&](double x) {
            Tavix4::sZHPtInfo p;
            Check(m_road.GetPointOnUnits(x, p), L"alignment point");
            return p;
        };

        // Control points beside the road (northing first).
        CString zbd = Header(L"平面坐标点");
        for (int i = 0; i <= 7; ++i) {
            const double x = i * 540.0;
            const Tavix4::sZHPtInfo p = point(std::min(x, m_end));
            const double side = (i % 2 ? 1.0 : -1.0) * 65.0, normal = p.m_rAzimuth + kPi / 2;
            zbd.AppendFormat(L"%d %s%02d %.3f %.3f %.3f\n", i % 3 == 0 ? 1 : 0, i % 3 == 0 ? L"BM" : L"GPS", i + 1,
                             p.m_rY + side * std::cos(normal), p.m_rX + side * std::sin(normal),
                             design(std::min(x, m_end)) + GroundOffset(x) + 1.2);
        }
        WriteText(File(L"ZBD"), zbd);

        CString inf = Header(L"逐桩坐标");
        for (INT_PTR i = 0; i < m_sections.GetSize(); ++i) {
            const Tavix4::sZHPtInfo p = point(m_sections[i]);
            inf.AppendFormat(L"%s %.3f %.3f %.10f\n", Station(m_sections[i]).GetString(), p.m_rY, p.m_rX, p.m_rAzimuth);
        }
        WriteText(File(L"INF"), inf);

        // The intersection-point traverse: start, then deflection and
        // distance to the next point for each point.
        CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
        Check(m_road.ExportPlaneCurves(curves), L"intersection points");
        CString jdx = Header(L"平面交点线");
        std::vector<Tavix4::sZHPtInfo> jds;
        for (INT_PTR i = 0; i < curves.GetSize(); ++i) jds.push_back(curves[i].TurnPtInfo());
        auto distance = [](const Tavix4::sZHPtInfo& a, const Tavix4::sZHPtInfo& b) {
            return std::hypot(b.m_rX - a.m_rX, b.m_rY - a.m_rY);
        };
        jdx.AppendFormat(L"%.3f %.3f %s %.3f %.3f\n", jds[0].m_rX, jds[0].m_rY, DMS(kStartAzimuth).GetString(),
                         distance(jds[0], jds[1]), 0.0);
        for (size_t i = 1; i + 1 < jds.size(); ++i) {
            const Curve& c = m_curves[std::min<size_t>(i - 1, 2)];
            const double deflection = curves[static_cast<INT_PTR>(i)].TurnPtInfo().m_rAzimuth;
            jdx.AppendFormat(L"%s%s %.3f %.3f %.3f %.3f JD%d\n", deflection > 0 ? L"L" : L"R",
                             DMS(std::fabs(deflection)).GetString(), distance(jds[i], jds[i + 1]), c.Ls, c.R, c.Ls,
                             static_cast<int>(i));
        }
        WriteText(File(L"JDX"), jdx);

        WriteText(File(L"BSD"), Header(L"变速车道参数") + L"平行式减速车道 25 3.500 0.500\n"
                                                          L"直接式加速车道 30 3.500 0.500\n");
        WriteText(File(L"KZD"), Header(L"纵断面拉坡控制点") +
                                    ClFormat(L"%s 129.000 1 1 清水河设计洪水位 NULL NULL\n", Station(1300.0).GetString()) +
                                    ClFormat(L"%s %.3f 0 1 K1+560平交口 NULL NULL\n", Station(1560.0).GetString(),
                                             design(1560.0) + 0.5) +
                                    ClFormat(L"%s %.3f 1 1 K2+180通道净空 5.0 8.0\n", Station(2180.0).GetString(),
                                             m_road.GetDMXElevation(2180.0) + 5.5));
        WriteText(File(L"TYP"), Header(L"纵断图断面类型") +
                                    ClFormat(L"0.000 1235.000 一般路基 M\n1235.000 1365.000 桥梁 M\n1365.000 2380.000 一般路基 M\n"
                                             L"%s %s 隧道 M 2 2\n%s %s 一般路基 M 2 2\n",
                                             Plain(2900.0).GetString(), Plain(3120.0).GetString(), Plain(3120.0).GetString(),
                                             Plain(m_end).GetString()));
        WriteText(File(L"DGK"), Header(L"纵断图地质概况") + L"0.000 1200.000 粉质黏土,下伏强风化砂岩\n"
                                                              L"1200.000 1400.000 河床卵石,下伏中风化砂岩\n"
                                                              L"1400.000 2380.000 粉质黏土,局部碎石土\n");
        CString jgs = Header(L"纵断图街沟设计");
        for (double x : {0.0, 400.0, 800.0}) jgs.AppendFormat(L"%s %.3f\n", Station(x).GetString(), design(x) - 0.15);
        WriteText(File(L"JGS"), jgs);
        WriteText(File(L"BZ"), Header(L"纵断图标注") +
                                   ClFormat(L"1 %s 129.000 设计洪水位\\P$E\n2 %s %.3f 110kV高压线\\P$E\n", Station(1300.0).GetString(),
                                            Station(2050.0).GetString(), design(2050.0) + 15.0));
        WriteText(File(L"JGC"), Header(L"纵断图基点高程") + ClFormat(L"0.000 100.000\n1200.000 95.000\n%s 100.000\n",
                                                                         Station(2600.0).GetString()));
        WriteText(File(L"BTG"), Header(L"表土厚度") + L"0.000 1200.000 0.300 0.300 all false\n"
                                                        L"1365.000 2380.000 0.300 0.200 all false\n");
        WriteText(File(L"TSB"), Header(L"土石比例") + L"1.23 1.16 1.09 0.92 0.84 0.84\n"
                                                        L"0.000 1.0 0.0 0.1 0.5 0.2 0.2 0.0 0.0\n"
                                                        L"1365.000 0.7 0.3 0.0 0.3 0.3 0.2 0.2 0.0\n");
        WriteText(File(L"LLB"), Header(L"老路加宽") + L"LAYER 0.04 0.06 0.20 0.20 0.00\n"
                                                        L"0.000 -4.500 4.500\n300.000 -4.500 4.500\n");
        CString hjj = Header(L"横净距"), zdk = Header(L"占地宽度"), are = Header(L"横断面图信息");
        for (INT_PTR i = 0; i < m_sections.GetSize(); ++i) {
            const double x = m_sections[i];
            const double z = design(x), fill = z - m_road.GetDMXElevation(x);
            const double slopeWidth = 12.0 + std::fabs(fill) * 1.5;
            zdk.AppendFormat(L"%s %s %.3f %.3f\n", Station(x).GetString(), KStation(x).GetString(), -(slopeWidth + 1.0),
                             slopeWidth + 1.0);
            const double fillArea = fill > 0 ? fill * (12.0 + 1.5 * fill) : 0.0;
            const double cutArea = fill < 0 ? -fill * (12.0 - 1.0 * fill) : 0.0;
            are.AppendFormat(L"%s %.3f %.3f %.3f %.3f %.3f %.3f 0.000 0.000 0.000 0.000 0 NULL\n", Station(x).GetString(),
                             z, fill, fillArea, cutArea, fill > 0 ? 3.6 : 0.0, fill < 0 ? 3.6 : 0.0);
            for (const Curve& c : m_curves)
                if (x >= c.start && x <= c.start + 2 * c.Ls + c.arc)
                    hjj.AppendFormat(L"%s %.3f\n", Station(x).GetString(),
                                     m_road.TurnDir(x) == DIR_LEFT ? -6.5 : 6.5);
        }
        WriteText(File(L"HJJ"), hjj);
        WriteText(File(L"ZDK"), zdk);
        WriteText(File(L"ARE"), are);
        WriteText(File(L"WTJ"), Header(L"挖台阶参数") + L"0.000 1200.000 5 4 2.000 1.000 3.000\n");
    }

    // Degrees, minutes and seconds as the traverse writes them: 12D3456.
    static CString DMS(double radians)
    {
        const double total = std::round(radians * 180.0 / kPi * 3600.0);
        const int d = static_cast<int>(total / 3600.0);
        const int m = static_cast<int>((total - d * 3600.0) / 60.0);
        const int s = static_cast<int>(total - d * 3600.0 - m * 60.0);
        return ClFormat(L"%dD%02d%02d", d, m, s);
    }

    CString Plain(double x) const { return ClFormat(L"%.3f", m_chain.GetBreakZH(x)); }

    // The cross falls of the superelevation file at x (per cent; the edge
    // lies left * d / 100 below the centre on the left, right * d / 100
    // above it on the right), straight between its rows.
    void CrossFalls(double x, double& left, double& right) const
    {
        left = m_falls.front()[1];
        right = m_falls.front()[2];
        for (size_t i = 1; i < m_falls.size(); ++i) {
            const auto &a = m_falls[i - 1], &b = m_falls[i];
            if (x < a[0] || x > b[0]) continue;
            const double t = b[0] > a[0] ? (x - a[0]) / (b[0] - a[0]) : 0.0;
            left = a[1] + t * (b[1] - a[1]);
            right = a[2] + t * (b[2] - a[2]);
            return;
        }
    }

    // The half widths of the standard cross-section at x: 6 m on the left;
    // on the right the bus stop's wider hard shoulder.
    static double HalfWidth(double x, int side)
    {
        if (side == 0) return 6.0;
        double shoulder = 1.5;
        if (x > 1000.0 && x < 1040.0) shoulder = 1.5 + 3.0 * (x - 1000.0) / 40.0;
        else if (x >= 1040.0 && x <= 1090.0) shoulder = 4.5;
        else if (x > 1090.0 && x < 1130.0) shoulder = 4.5 - 3.0 * (x - 1090.0) / 40.0;
        return 3.75 + shoulder + 0.75;
    }

    // The side-slope line of one side of the designed section at x, from
    // the subgrade edge: in cut a ditch (its far bottom point coded 3) and a
    // 1:1 cut slope up to the ground, in fill a 1:1.5 slope down to the
    // ground and a ditch beyond the toe; points of offset, elevation and
    // code.  The slope's far end offset is given back.
    CString SideSlope(double x, int side, double design, double ground, double& reach) const
    {
        double left = 0.0, right = 0.0;
        CrossFalls(x, left, right);
        const double w = HalfWidth(x, side);
        const double edge = side == 0 ? design - left * w / 100.0 : design + right * w / 100.0;
        auto groundAt = [&](double d) { return ground + SideHeight(x, side, d); };
        CString line;
        auto point = [&](double d, double z, int code) { line.AppendFormat(L"%.3f %.3f %d ", d, z, code); };
        point(w, edge, 1);
        if (groundAt(w) > edge - 0.3) {
            point(w + 0.6, edge - 0.6, 2);
            point(w + 1.0, edge - 0.6, 3);
            point(w + 1.6, edge, 4);
            double t = 0.0; // the rise of the cut slope
            for (int k = 0; k < 20; ++k) t = std::max(0.0, groundAt(w + 1.6 + t) - edge);
            reach = w + 1.6 + t;
            point(reach, edge + t, 5);
        } else {
            double t = 0.0; // the fall of the fill slope
            for (int k = 0; k < 20; ++k) t = std::max(0.0, edge - groundAt(w + 1.5 * t));
            const double toe = w + 1.5 * t, low = edge - t;
            point(toe, low, 5);
            point(toe + 1.6, low - 0.6, 2);
            point(toe + 2.0, low - 0.6, 3);
            point(toe + 2.6, low, 4);
            reach = toe + 2.6;
        }
        line.TrimRight();
        return line + L"\n";
    }

public:
    // The inputs of the tools that read results of the cross-section
    // design and of the plan: the slope points of the designed sections
    // (.3DD) with the summary of that design (the "capped" sections), and
    // the table of the plane units (.DYD).
    void DesignResults()
    {
        const tkxZDMInfo& profile = *m_road.ZDMInfo();
        CString sections = L"//道路三维数据(横断面戴帽结果): 首行为文件说明, 每个断面六行:\n"
                           L"//断面桩号; 设计高程 地面高程; 左右路基半宽及横坡; 填挖高度 左右路基边缘高程;\n"
                           L"//左侧边坡线, 右侧边坡线(每点: 偏宽 高程 点号, 3号点为边沟外侧沟底)\n"
                           L"TAVIX道路三维数据 一号路\n";
        CString capped = Header(L"横断面戴帽信息") + L"//桩号 设计高程 填挖高度 左侧边坡终点偏宽 右侧边坡终点偏宽\n";
        for (INT_PTR i = 0; i < m_sections.GetSize(); ++i) {
            const double x = m_sections[i];
            // No slopes on the bridge and in the tunnel.
            if ((x > 1235.0 && x < 1365.0) || (x > 2900.0 && x < 3120.0)) continue;
            double design = 0.0, left = 0.0, right = 0.0;
            Check(profile.GetElevation(x, design), L"design elevation");
            const double ground = m_road.GetDMXElevation(x);
            CrossFalls(x, left, right);
            double reachLeft = 0.0, reachRight = 0.0;
            const CString leftSlope = SideSlope(x, 0, design, ground, reachLeft);
            const CString rightSlope = SideSlope(x, 1, design, ground, reachRight);
            sections.AppendFormat(L"%.3f\n%.3f %.3f\n%.3f %.3f %.3f %.3f\n%.3f %.3f %.3f\n", x, design, ground,
                                  HalfWidth(x, 0), left, HalfWidth(x, 1), right, design - ground,
                                  design - left * HalfWidth(x, 0) / 100.0, design + right * HalfWidth(x, 1) / 100.0);
            sections += leftSlope + rightSlope;
            capped.AppendFormat(L"%s %.3f %.3f %.3f %.3f\n", Station(x).GetString(), design, design - ground,
                                reachLeft, reachRight);
        }
        WriteText(File(L"3DD"), sections);
        // The file tree shows the capped-section summary by the road's name
        // and takes the design program's own file as the sign that it exists.
        WriteText(ClFormat(L"%s\\%s_戴帽信息.txt", m_folder.GetString(), kRoad), capped);
        WriteText(m_folder + L"\\BpsjInfo.txt", capped);

        CArray<Tavix4::sUnitInfo, Tavix4::sUnitInfo> units;
        m_road.ExportPlaneUnits(units);
        CString table = Header(L"平面单元设计要素") +
                        L"//序号 类型 A 起点半径 终点半径 长度 左偏 右偏 起点桩号 起点X 起点Y 起点方位角 0 0 0 0 "
                        L"终点桩号 终点X 终点Y 终点方位角 0 0 0 0 0 0\n";
        auto radius = [](double r) { return r >= 1e7 ? CString(L"无穷大") : ClFormat(L"%.3f", r); };
        auto kStation = [](double x) {
            const int km = static_cast<int>(x / 1000.0 + 1e-9);
            return ClFormat(L"K%d+%07.3f", km, x - 1000.0 * km);
        };
        for (INT_PTR i = 0; i < units.GetSize(); ++i) {
            const Tavix4::sUnitInfo& u = units[i];
            const Tavix4::sZHPtInfo &a = u.m_StartPt, &b = u.m_EndPt;
            const double length = b.m_rZH - a.m_rZH;
            const wchar_t* kind = u.m_iUnitType == Tavix4::UNIT_LINE ? L"直线"
                                  : u.m_iUnitType == Tavix4::UNIT_ARC ? L"圆曲线"
                                                                       : L"回旋线";
            CString spiral = L"NULL";
            if (u.m_iUnitType >= Tavix4::UNIT_CLOTHOID_IN)
                spiral.Format(L"%.3f", std::sqrt(std::min(a.m_rRadius, b.m_rRadius) * length));
            table.AppendFormat(L"%d %s %s %s %s %.3f %s %s %s %.3f %.3f %s 0 0 0 0 %s %.3f %.3f %s 0 0 0 0 0 0\n",
                               static_cast<int>(i + 1), kind, spiral.GetString(), radius(a.m_rRadius).GetString(),
                               radius(b.m_rRadius).GetString(), length, u.m_iTurn == DIR_LEFT ? L"左偏" : L"NULL",
                               u.m_iTurn == DIR_RIGHT ? L"右偏" : L"NULL", kStation(a.m_rZH).GetString(), a.m_rY,
                               a.m_rX, Degrees(a.m_rAzimuth).GetString(), kStation(b.m_rZH).GetString(), b.m_rY,
                               b.m_rX, Degrees(b.m_rAzimuth).GetString());
        }
        WriteText(File(L"DYD"), table);
    }

    // The road's plan as a drawing exchange file: the centre line in lines
    // of 20 m, on the national grid (easting, northing).
    CString OverviewDrawing() const
    {
        CString dxf = L"0\nSECTION\n2\nENTITIES\n";
        Tavix4::sZHPtInfo from;
        Check(m_road.GetPointOnUnits(0.0, from), L"alignment point");
        for (double x = 20.0; x < m_end + 20.0; x += 20.0) {
            Tavix4::sZHPtInfo to;
            Check(m_road.GetPointOnUnits(std::min(x, m_end), to), L"alignment point");
            dxf.AppendFormat(L"0\nLINE\n8\n中线\n10\n%.3f\n20\n%.3f\n11\n%.3f\n21\n%.3f\n", from.m_rX, from.m_rY,
                             to.m_rX, to.m_rY);
            from = to;
        }
        return dxf + L"0\nENDSEC\n0\nEOF\n";
    }

private:
    // An azimuth in degrees, minutes and seconds as the plane-unit table
    // writes it: 45d00'00.00".
    static CString Degrees(double radians)
    {
        double seconds = std::round(radians * 180.0 / kPi * 360000.0) / 100.0;
        if (seconds < 0) seconds += 360.0 * 3600.0;
        const int d = static_cast<int>(seconds / 3600.0);
        const int m = static_cast<int>((seconds - d * 3600.0) / 60.0);
        return ClFormat(L"%dd%02d'%05.2f\"", d, m, seconds - d * 3600.0 - m * 60.0);
    }

    std::vector<std::array<double, 3>> m_falls; // the superelevation rows: station, left, right
    CString m_folder;
    CArray<double, double> m_sections;
    std::vector<Curve> m_curves;
    double m_end = 0.0;
};

// The project's second road, "二号路" (a third-class connecting road with
// its ground line and vertical curves), its creation date, a terrain model
// in the project folder, and the first road's lists of user files (notes of
// the survey along the road and a drawing of its plan), so that every kind
// of item of the project and file trees shows.  A ground line of a compared
// variant lies beside the first road's own.
void AddSecondRoadAndTerrainModel(tkxProject& project, const CString& projectFolder, const CString& drawing)
{
    const wchar_t kSecondRoad[] = L"二号路";
    const CString folder = projectFolder + L"\\" + kSecondRoad;
    if (!::CreateDirectoryW(folder, nullptr)) Fail(L"cannot make the second road's folder");
    const CString file = ClFormat(L"%s\\%s.", folder.GetString(), kSecondRoad);
    CString dmx = L"//示范项目 二号路 纵断面地面线\n";
    for (int i = 0; i <= 43; ++i) {
        const double x = 20.0 * i;
        dmx += ClFormat(L"%.3f\t%.3f\n", x, 131.0 + 0.004 * x + 1.2 * std::sin(x / 90.0));
    }
    WriteText(file + L"DMX", dmx);
    WriteText(file + L"SQX", L"//示范项目 二号路 竖曲线\n0.000\t131.000\n420.000\t134.200\t3000\n860.000\t133.400\n");
    tkxBreakChain chain;
    tkxZDMInfo check(&chain);
    Check(check.LoadDMXFile(file + L"DMX"), L"second road DMX");
    Check(check.LoadSQXFile(file + L"SQX"), L"second road SQX");

    Tavix4::sRoadInfo road;
    road.m_SRoadName = kSecondRoad;
    road.m_RoadLevel = Tavix4::ROAD_THIRD_CLASS;
    road.m_rDesignSpeed = 40.0;
    road.m_SStartZH = chain.ZHToCString(0.0, 3, 0);
    road.m_SEndZH = chain.ZHToCString(860.0, 3, 0);
    project.m_Roads.Add(road);

    if (project.m_SCreateDate.IsEmpty()) {
        const CTime today = CTime::GetCurrentTime();
        project.m_SCreateDate = ClFormat(L"%d年%d月%d日", today.GetYear(), today.GetMonth(), today.GetDay());
    }
    WriteText(projectFolder + L"\\地形数模.MESH", L"//示范项目 地形数模\n");
    const CString notes = projectFolder + L"\\沿线调查\\调查记录.txt";
    ::CreateDirectoryW(projectFolder + L"\\沿线调查", nullptr);
    WriteText(notes, L"K0+000 - K3+790 沿线调查记录\n");
    Tavix4::sRoadInfo& first = project.m_Roads[0];
    first.m_SText4 = notes + L";";
    ::CreateDirectoryW(projectFolder + L"\\图纸集", nullptr);
    const CString plan = projectFolder + L"\\图纸集\\总体布置图.dxf";
    WriteText(plan, drawing);
    first.m_SText5 = plan + L";";
    const CString firstFolder = projectFolder + L"\\" + first.m_SRoadName;
    WriteText(firstFolder + L"\\" + first.m_SRoadName + L"_比较线.DMX", L"//比较线 纵断面地面线\n0.000\t125.000\n");
}

// The installation the library reads at start besides the registered
// lists: its registry entries (the installation folder above the program
// folder, the user's document folder) and, in the user's document folder,
// the file-type table "TvComment.ini" shipped beside the programs.
// Returns the installation folder.
CString LayOutInstallation()
{
    wchar_t program[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) Fail(L"cannot find the program folder");
    CString folder(program);
    folder = folder.Left(folder.ReverseFind(L'\\'));
    tkxApplicationInfo installation;
    Check(installation.CreateTavixReg(folder), L"installation entries");
    const CString comments = installation.GetIniFileName(L"TvComment.ini");
    if (!::CopyFileW(folder + L"\\TvComment.ini", comments, FALSE))
        Fail(L"cannot copy TvComment.ini to " + comments);
    CString installationFolder = installation.m_SPathName;
    installationFolder.TrimRight(L'\\');
    return installationFolder;
}

void RemoveTree(const CString& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(path + L"\\*", &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const CString name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const CString child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileW(child);
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(path);
}

// The suite's help file in the folder: a start page and one page per
// reference document, in code page 936 as the suite's help files are.
void WriteHelpFile(const CString& folder)
{
    auto page = [](const CString& title, const wchar_t* text) {
        const CString html = ClFormat(L"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                      L"charset=gb2312\"><title>%s</title></head><body><h1>%s</h1><p>%s</p></body>"
                                      L"</html>",
                                      title.GetString(), title.GetString(), text);
        return ClWideToMultiByte(html, -1, 936);
    };
    std::vector<chm_file::Entry> entries = {
        {"/index.htm", page(L"TAVIX项目数据环境", L"示范帮助文件: 设计参考文档的首页.")}};
    CArray<Tavix4::sReferenceDoc, Tavix4::sReferenceDoc> docs;
    tkx_GetReferenceDocInfos(docs);
    for (INT_PTR i = 0; i < docs.GetSize(); ++i) {
        const CString& topic = docs[i].m_STopic;
        if (docs[i].m_SFileName.CompareNoCase(L"TAVIX.CHM") != 0 || topic == L"NULL" || topic == L"index.htm") continue;
        entries.push_back({"/" + ClWideToMultiByte(topic, -1, CP_UTF8), page(docs[i].m_STitle, L"示范帮助文件中的一页.")});
    }
    if (!chm_file::Write(folder + L"\\TAVIX.CHM", entries)) Fail(L"cannot write the help file in " + folder);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo_project FOLDER\n");
        return 2;
    }
    ClSetMessageBoxHook(&PrintBox, nullptr);
    TavixDevApp(); // the library starts: locale, settings, registered lists
    const CString installationFolder = LayOutInstallation();

    wchar_t full[MAX_PATH];
    const DWORD length = ::GetFullPathNameW(argv[1], MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) Fail(CString(L"bad folder: ") + argv[1]);
    const CString base = full;
    const CString projectFolder = base + L"\\" + kProject;
    const CString roadFolder = projectFolder + L"\\" + kRoad;
    const CString libraryFolder = base + L"\\" + kLibrary;
    RemoveTree(projectFolder);
    RemoveTree(libraryFolder);
    ::CreateDirectoryW(base, nullptr);
    if (!::CreateDirectoryW(projectFolder, nullptr) || !::CreateDirectoryW(roadFolder, nullptr) ||
        !::CreateDirectoryW(libraryFolder, nullptr))
        Fail(L"cannot make the project folders under " + base);

    DemoRoad road(roadFolder);
    road.Build();

    tkxProject project;
    project.m_SName = kProject;
    project.m_SPath = projectFolder;
    project.m_SStage = L"初步设计";
    project.m_iPrjType = 0;
    project.m_iClimate = 0;
    project.m_iLandform = 1;
    Tavix4::sRoadInfo info;
    info.m_SRoadName = kRoad;
    info.m_RoadLevel = Tavix4::ROAD_SECOND_CLASS;
    info.m_rDesignSpeed = 80.0;
    info.m_SStartZH = road.m_chain.ZHToCString(0.0, 3, 0);
    info.m_SEndZH = road.m_chain.ZHToCString(road.End(), 3, 0);
    info.m_SBreakChain = road.m_chain.OutputToSText();
    project.m_Roads.Add(info);
    project.m_iCurRoad = 0;
    Check(tkxSegments::AutoProjectSegment(project), L"design segments");
    Check(tkxSegments::SaveFDFile(project, road.File(L"FD")), L"FD file");
    tkxProject readBack(project);
    Check(tkxSegments::LoadFDFile(readBack, road.File(L"FD")), L"FD file read back");
    AddSecondRoadAndTerrainModel(project, projectFolder, road.OverviewDrawing());

    // Registered afresh: an older registration (another build folder) goes.
    tkxProject current;
    if (tkx_ExistProject(kProject) >= 0) tkx_RemoveProject(kProject, &current, nullptr);
    if (tkx_AddProject(&project, nullptr) != 1) Fail(L"cannot register the project");
    // The project's drawing settings, which the library reads with the
    // project.
    project.SaveBZSettings();

    tkxTemplateBase library;
    library.m_SName = kLibrary;
    library.m_SPath = libraryFolder;
    library.m_SDescription = L"示范项目的边坡模板库";
    library.m_SCreateDate = CTime::GetCurrentTime().Format(L"%Y-%m-%d %H:%M:%S");
    if (!WriteDemoTemplates(libraryFolder, library.m_STemplates)) Fail(L"cannot write the slope templates");
    tkxTemplateBase currentLibrary;
    if (tkx_GetTBasePath(kLibrary).GetLength() > 0) tkx_RemoveTBase(kLibrary, &currentLibrary, nullptr);
    if (tkx_AddTBase(&library, nullptr) != 1) Fail(L"cannot register the slope-template library");

    const CString helpFolder = installationFolder + L"\\Help";
    ::CreateDirectoryW(helpFolder, nullptr);
    WriteHelpFile(helpFolder);

    std::printf("%s\n", ClWideToMultiByte(projectFolder, -1, CP_UTF8).c_str());
    TavixDevApp().Shutdown();
    return 0;
}

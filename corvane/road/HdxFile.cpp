#include "corvane/road/HdxFile.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxRead.h"
#include "corvane/road/Profile.h"
#include "corvane/road/RoadFiles.h"

#include <cmath>
#include <memory>
#include <unordered_set>
#include <vector>

using namespace Tavix4;

namespace {

void DeleteSections(CPtrList& list)
{
    POSITION pos = list.GetHeadPosition();
    while (pos) delete static_cast<tkxHdxSection*>(list.GetNext(pos));
    list.RemoveAll();
}

tkxHdxSection* SectionAt(const CPtrList& list, POSITION pos)
{
    return static_cast<tkxHdxSection*>(list.GetAt(pos));
}

double StationOf(const tkxHdxSection* section)
{
    return section->GetZHInfo().m_rZH;
}

using SectionList = std::vector<std::unique_ptr<tkxHdxSection>>;

// tkx_LoadHDXFile's reading, into a new list (none: the caller gave no list);
// failedLine gets the line the message names.
int ReadHDXFile(const wchar_t* path, SectionList* sections, enHDXFormat& format, const tkxBreakChain* chain,
                const tkxZDMInfo* profile, int& failedLine)
{
    const CString file = path ? path : L"";
    if (!chain) {
        tkx_SetLastError(L"断链对象为空!");
        return 0;
    }
    if (!sections) {
        tkx_SetLastError(ClFormat(L"读取横地线文件[%s]失败!", file.GetString()));
        return 0;
    }

    CStdioFile in;
    CFileException error;
    if (!in.Open(file, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite, &error)) {
        error.ReportError();
        tkx_SetLastError(ClFormat(L"打开横断面地面文件[%s]失败!", file.GetString()));
        return 0;
    }

    int result = 0;
    try {
        int line = 0;
        hdx_read::SectionReader reader(in);
        CString& text = reader.text;
        if (!reader.lines.Next(text, line)) {
            tkx_SetLastError(reader.lines.Failed() ? reader.lines.FailureText()
                                                   : ClFormat(L"读横地线文件[%s]第1行失败!", file.GetString()));
            failedLine = reader.lines.Failed() ? line : 1;
            in.Abort();
            return 0;
        }
        text.MakeUpper();
        if (text == L"ABS") {
            format = HDX_ABS;
        } else if (text == L"ABS1") {
            format = HDX_ABS1;
        } else {
            format = HDX_RELATIVE;
            in.SeekToBegin();
            line = 0;
        }
        if (format == HDX_ABS && !profile) {
            tkx_SetLastError(L"读取ABS格式时, 纵地线未定义");
            in.Abort();
            return 0;
        }

        for (;;) {
            auto section = std::make_unique<tkxHdxSection>();
            // The order message names the new section's station line itself,
            // not the last line read before it.
            int stationLine = line + 1;
            if (!hdx_read::ReadSection(*section, reader, line, format, chain, profile, &stationLine)) break;
            if (!sections->empty()) {
                const double previous = StationOf(sections->back().get());
                const double station = StationOf(section.get());
                if (previous > station) {
                    tkx_SetLastError(ClFormat(L"读横地线文件[%s]第%d行错误!断面桩号(%s)小于上一断面桩号(%s).",
                                              file.GetString(), stationLine,
                                              chain->GetStringBreakZH(station, -1, 1).GetString(),
                                              chain->GetStringBreakZH(previous, -1, 1).GetString()));
                    failedLine = stationLine;
                    in.Abort();
                    return 0;
                }
            }
            sections->push_back(std::move(section));
        }

        const CString message = tkx_GetLastError();
        if (message == L"文件结束") {
            result = 1;
        } else {
            tkx_SetLastError(ClFormat(L"读文件[%s], 第%d行错误:%s", file.GetString(), line, message.GetString()));
            failedLine = line;
            result = 0;
        }
    } catch (CFileException* e) {
        e->Delete();
        tkx_SetLastError(ClFormat(L"读取横地线文件[%s]失败!", file.GetString()));
        result = 0;
    }
    in.Abort();
    return result;
}

} // namespace

// The sections are read into a new list; the caller's list and layout change
// only when the whole file was read.
int tkx_LoadHDXFile(const wchar_t* path, CPtrList* sections, enHDXFormat& format, const tkxBreakChain* chain,
                    const tkxZDMInfo* profile, int* failedLine)
{
    SectionList read;
    enHDXFormat readFormat = format;
    int line = 0;
    const int done = ReadHDXFile(path, sections ? &read : nullptr, readFormat, chain, profile, line);
    if (failedLine) *failedLine = done ? 0 : line;
    if (!done) return 0;
    DeleteSections(*sections);
    for (std::unique_ptr<tkxHdxSection>& section : read) sections->AddTail(section.release());
    format = readFormat;
    return 1;
}

// ---------------------------------------------------------------------------
// The terrain set.

tkxHDMTerrain::tkxHDMTerrain() = default;

tkxHDMTerrain::tkxHDMTerrain(const tkxBreakChain* chain) : m_pBreakChain(chain) {}

tkxHDMTerrain::tkxHDMTerrain(const tkxHDMTerrain& other)
{
    *this = other;
}

tkxHDMTerrain& tkxHDMTerrain::operator=(const tkxHDMTerrain& other)
{
    if (this == &other) return *this;
    ClearHDX();
    m_pBreakChain = other.m_pBreakChain;
    m_pZDMInfo = other.m_pZDMInfo;
    m_pPlaneUnits = other.m_pPlaneUnits;
    m_Format = other.m_Format;
    POSITION pos = other.m_Sections.GetHeadPosition();
    while (pos) {
        auto* copy = new tkxHdxSection;
        *copy = *static_cast<const tkxHdxSection*>(other.m_Sections.GetNext(pos));
        m_Sections.AddTail(copy);
    }
    m_Cursor = m_Sections.GetHeadPosition();
    return *this;
}

tkxHDMTerrain::~tkxHDMTerrain()
{
    ClearHDX();
}

void tkxHDMTerrain::ClearHDX()
{
    DeleteSections(m_Sections);
    m_Cursor = nullptr;
}

int tkxHDMTerrain::LoadHDXFile(const wchar_t* path, int* failedLine)
{
    if (!tkx_LoadHDXFile(path, &m_Sections, m_Format, m_pBreakChain, m_pZDMInfo, failedLine)) return 0;
    m_Cursor = nullptr;
    return 1;
}

CString tkxHDMTerrain::CheckBeforeWrite() const
{
    if (m_Sections.IsEmpty()) return L"无横地线数据!";
    if (!m_pBreakChain) return L"横地线未指定断链对象!";
    if (m_Format != HDX_ABS && m_Format != HDX_ABS1 && m_Format != HDX_RELATIVE)
        return L"未指定横地线文件格式(ABS、ABS1或相对格式)!";
    const tkxHdxSection* previous = nullptr;
    int index = 0;
    POSITION pos = m_Sections.GetHeadPosition();
    while (pos) {
        const auto* section = static_cast<const tkxHdxSection*>(m_Sections.GetNext(pos));
        ++index;
        if (!section) return ClFormat(L"横地线第%d个断面数据为空!", index);
        if (previous && StationOf(previous) > StationOf(section))
            return ClFormat(L"横地线第%d个断面桩号(%s)小于上一断面桩号(%s)!", index,
                            m_pBreakChain->GetStringBreakZH(StationOf(section), -1, 1).GetString(),
                            m_pBreakChain->GetStringBreakZH(StationOf(previous), -1, 1).GetString());
        previous = section;
    }
    return CString();
}

int tkxHDMTerrain::ExportString(CString& text) const
{
    const CString problem = CheckBeforeWrite();
    if (!problem.IsEmpty()) {
        tkx_SetLastError(problem);
        return 0;
    }
    CString all = m_Format == HDX_ABS ? L"ABS\n" : m_Format == HDX_ABS1 ? L"ABS1\n" : L"";
    POSITION pos = m_Sections.GetHeadPosition();
    CString one;
    while (pos) {
        if (!static_cast<const tkxHdxSection*>(m_Sections.GetNext(pos))->ExportString(m_pBreakChain, m_Format, one))
            return 0;
        all += one;
    }
    text = all;
    return 1;
}

int tkxHDMTerrain::SaveHDXFile(const wchar_t* path) const
{
    const CString file = path ? path : L"";
    CString text;
    if (!ExportString(text)) return 0;
    CFileException* writeError = nullptr;
    if (file.IsEmpty() || !road_files::WriteTextFile(file, text, &writeError)) {
        if (writeError) {
            // The file was made but writing it failed: the exception's
            // standard report, and the old file is left as it was.
            tkx_SetLastError(ClFormat(L"创建%s文件失败!", file.GetString()));
            writeError->ReportError();
            writeError->Delete();
        } else {
            tkx_SetLastError(tkx_SaveFailureText(file, ClFormat(L"创建横地线文件[%s]失败!", file.GetString())));
        }
        return 0;
    }
    return 1;
}

int tkxHDMTerrain::GetHDXSectionCount() const
{
    return static_cast<int>(m_Sections.GetCount());
}

tkxHdxSection* tkxHDMTerrain::GetHDXSection(int i) const
{
    const POSITION pos = m_Sections.FindIndex(i);
    return pos ? SectionAt(m_Sections, pos) : nullptr;
}

tkxHdxSection* tkxHDMTerrain::GetNextHDXSection(int first)
{
    if (first == 1) m_Cursor = m_Sections.GetHeadPosition();
    if (!m_Cursor) return nullptr;
    return static_cast<tkxHdxSection*>(m_Sections.GetNext(m_Cursor));
}

tkxHdxSection* tkxHDMTerrain::GetNextHDXSection(POSITION& pos, int first) const
{
    if (first == 1) pos = m_Sections.GetHeadPosition();
    if (!pos) return nullptr;
    return static_cast<tkxHdxSection*>(m_Sections.GetNext(pos));
}

int tkxHDMTerrain::GetHDXSection(sZHPtInfo& point, std::vector<double>& leftX, std::vector<double>& leftY,
                                 std::vector<double>& leftZ, std::vector<double>& rightX,
                                 std::vector<double>& rightY, std::vector<double>& rightZ, POSITION& pos,
                                 int first) const
{
    leftX.clear();
    leftY.clear();
    leftZ.clear();
    rightX.clear();
    rightY.clear();
    rightZ.clear();
    const tkxHdxSection* section = GetNextHDXSection(pos, first);
    if (!section) return 0;
    point = section->GetZHInfo();
    if (section->GetLeftPtCount() < 1 || section->GetRightPtCount() < 1) return 0;
    section->GetAllData(point, leftX, leftY, leftZ, rightX, rightY, rightZ);
    return 1;
}

void tkxHDMTerrain::AddHDXSection(tkxHdxSection* section)
{
    m_Sections.AddTail(section);
}

int tkxHDMTerrain::InsertHDX(tkxHdxSection* section)
{
    if (!section) return 0;
    const double station = StationOf(section);
    POSITION pos = m_Sections.GetHeadPosition();
    while (pos) {
        const POSITION here = pos;
        const double existing = StationOf(SectionAt(m_Sections, pos));
        m_Sections.GetNext(pos);
        if (std::fabs(existing - station) < 0.00001) {
            tkx_SetLastError(L"横地线桩号已存在");
            return 0;
        }
        if (existing > station + 0.00001) {
            m_Sections.InsertBefore(here, section);
            return 1;
        }
    }
    m_Sections.AddTail(section);
    return 1;
}

int tkxHDMTerrain::InsertAt(int i, tkxHdxSection* section)
{
    const POSITION pos = m_Sections.FindIndex(i);
    if (pos)
        m_Sections.InsertBefore(pos, section);
    else
        m_Sections.AddHead(section);
    return 1;
}

void tkxHDMTerrain::RemoveAt(tkxHdxSection* section)
{
    const POSITION pos = m_Sections.Find(section);
    if (!pos) return;
    if (m_Cursor == pos) m_Sections.GetNext(m_Cursor);
    m_Sections.RemoveAt(pos);
    delete section;
}

void tkxHDMTerrain::RemoveSections(const CPtrList& sections)
{
    std::unordered_set<const void*> doomed;
    for (POSITION pos = sections.GetHeadPosition(); pos;) doomed.insert(sections.GetNext(pos));
    POSITION pos = m_Sections.GetHeadPosition();
    while (pos) {
        const POSITION here = pos;
        auto* section = static_cast<tkxHdxSection*>(m_Sections.GetNext(pos));
        if (!doomed.count(section)) continue;
        if (m_Cursor == here) m_Cursor = pos;
        m_Sections.RemoveAt(here);
        delete section;
    }
}

tkxHdxSection* tkxHDMTerrain::FintClosetHDX(double x) const
{
    if (m_Sections.IsEmpty()) return nullptr;
    tkxHdxSection* previous = nullptr;
    POSITION pos = m_Sections.GetHeadPosition();
    while (pos) {
        tkxHdxSection* section = SectionAt(m_Sections, pos);
        m_Sections.GetNext(pos);
        if (StationOf(section) > x + 0.0001) {
            if (!previous) return section;
            const double ahead = StationOf(section) - x;
            const double behind = x - StationOf(previous);
            return behind < ahead ? previous : section;
        }
        previous = section;
    }
    return previous;
}

tkxHdxSection* tkxHDMTerrain::FintAt(double x) const
{
    POSITION pos = m_Sections.GetHeadPosition();
    while (pos) {
        tkxHdxSection* section = SectionAt(m_Sections, pos);
        m_Sections.GetNext(pos);
        if (std::fabs(StationOf(section) - x) < 0.0001) return section;
    }
    return nullptr;
}

int tkxHDMTerrain::ExtendHDX(double leftWidth, double rightWidth, int mode)
{
    if (mode != 0 && mode != 1) return 0;
    POSITION pos = m_Sections.GetHeadPosition();
    while (pos) {
        tkxHdxSection* section = static_cast<tkxHdxSection*>(m_Sections.GetNext(pos));
        if (!section) return 0;
        section->Extend(leftWidth, rightWidth, mode);
    }
    return 1;
}

int tkxHDMTerrain::GetZH(double& station, int first)
{
    if (m_Sections.IsEmpty()) return 0;
    if (first == 1 || !m_Cursor) m_Cursor = m_Sections.GetHeadPosition();
    station = StationOf(static_cast<tkxHdxSection*>(m_Sections.GetNext(m_Cursor)));
    return 1;
}

int tkxHDMTerrain::GetAllSectionZHs(CArray<double, double>& out) const
{
    out.RemoveAll();
    POSITION pos = m_Sections.GetHeadPosition();
    while (pos) {
        const tkxHdxSection* section = SectionAt(m_Sections, pos);
        m_Sections.GetNext(pos);
        out.Add(StationOf(section));
    }
    return static_cast<int>(out.GetSize());
}

int tkxHDMTerrain::GetAllSectionZHInfos(CArray<sZHPtInfo, sZHPtInfo>& out) const
{
    out.RemoveAll();
    POSITION pos = m_Sections.GetHeadPosition();
    while (pos) {
        const tkxHdxSection* section = SectionAt(m_Sections, pos);
        m_Sections.GetNext(pos);
        out.Add(section->GetZHInfo());
    }
    return static_cast<int>(out.GetSize());
}

#include "corvane/project/DesignSegments.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/NumberText.h"
#include "corvane/base/LastError.h"
#include "corvane/base/LineReader.h"
#include "corvane/project/ProjectInterface.h"
#include "corvane/project/RegistryLists.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"
#include "corvane/platform/FileReplace.h"

#include <vector>

namespace {

bool ValidIndex(const tkxProjectSegment& segment, int i)
{
    return i >= 0 && i < segment.GetRoadSegCount();
}

// A message about a line of the segment file, with the file's name.
void SegmentError(CStdioFile* file, const CString& message)
{
    tkx_SetLastError(ClFormat(L"项目分段文件<%s>\n\n%s", file->GetFilePath().GetString(), message.GetString()));
}

// Reads one segment; lines (when given) receives the line number of each
// road line read.
int ReadSegment(tkxProjectSegment& segment, CStdioFile* file, int& line, std::vector<int>* lines)
{
    if (!file) return 0;
    text_lines::DataLineReader reader(*file);
    CString text;
    if (!reader.Next(text, line)) {
        if (!reader.Failed()) return 0;
        tkx_SetLastError(reader.FailureText());
        return -1;
    }

    CStringArray fields;
    if (tkx_DivideString(text, fields) != 0 || fields.GetSize() < 2) {
        SegmentError(file, ClFormat(L"读取第%d行分段名称[%s]失败 (分段名+道路数)!", line, text.GetString()));
        return -1;
    }
    const CString name = fields[0];
    const CString countText = fields.GetSize() == 3 ? fields[2] : fields[1];
    segment.SetName(name);
    segment.Reset();
    double countValue = 0.0;
    if (!StringToDouble(countText, &countValue) || countText.Find(L'.') >= 0 || countValue < 0.0) {
        SegmentError(file, ClFormat(L"读取第%d行分段[%s]的道路数[%s]错误!", line, name.GetString(), countText.GetString()));
        return -1;
    }
    const int count = number_text::WholePart(countValue);
    if (count == 0) {
        SegmentError(file, ClFormat(L"读取第%d行分段[%s]的道路数不能为0!", line, name.GetString()));
        return -1;
    }

    for (int k = 1; k <= count; ++k) {
        if (!reader.Next(text, line)) {
            if (reader.Failed())
                tkx_SetLastError(reader.FailureText());
            else
                SegmentError(file, ClFormat(L"读取第%d行分段[%s]中第%d条道路信息失败!", line, name.GetString(), k));
            return -1;
        }
        if (tkx_DivideString(text, fields) != 0 || fields.GetSize() == 0) {
            SegmentError(
                file, ClFormat(L"读取第%d行分段[%s]中第%d条道路信息[%s]失败!", line, name.GetString(), k, text.GetString()));
            return -1;
        }
        tkxProjectSegment::sRoadSeg entry;
        entry.m_SRoadName = fields[0];
        if (fields.GetSize() == 3) {
            entry.m_SStartZH = fields[1];
            entry.m_SEndZH = fields[2];
        } else if (fields.GetSize() != 1) {
            SegmentError(
                file, ClFormat(L"读取第%d行分段[%s]第%d条道路[%s]的数据个数错误!", line, name.GetString(), k, text.GetString()));
            return -1;
        }
        segment.AddRoadSeg(entry);
        if (lines) lines->push_back(line);
    }
    return 1;
}

// Converts a station text through a chain text; the message when it fails.
CString CheckStation(const tkxProjectSegment& segment, int i, const CString& station, bool start)
{
    tkxBreakChain chain;
    double chainage = 0.0;
    if (chain.GetDLFromString(segment.m_RoadSegs[i].m_SBreakChain) && chain.GetGlobalZH(station, chainage))
        return CString();
    return ClFormat(start ? L"转换项目分段[%s]第%d条道路的起点桩号[%s]失败, 请检查断链信息!"
                          : L"转换项目分段[%s]第%d条道路的终点桩号[%s]失败, 请检查断链信息!",
                    segment.m_SName.GetString(), i + 1, station.GetString());
}

// Completes stretch i from the project's roads of its name and checks its
// stations; the message when something does not convert.
CString CompleteEntry(const tkxProject& project, tkxProjectSegment& segment, int i)
{
    tkxProjectSegment::sRoadSeg& entry = segment.m_RoadSegs[i];
    for (const Tavix4::sRoadInfo& road : project.m_Roads) {
        if (road.m_SRoadName != entry.m_SRoadName) continue;
        if (!tkxSegments::SetBreakChainAt(segment, i, road.m_SBreakChain)) return tkx_GetLastError();
        if (entry.m_SStartZH.IsEmpty() || entry.m_SStartZH == L"-1") entry.m_SStartZH = road.m_SStartZH;
        if (entry.m_SEndZH.IsEmpty() || entry.m_SEndZH == L"-1") entry.m_SEndZH = road.m_SEndZH;
    }
    // A station left empty (the road has none either) is no error; every
    // other one must convert through the stretch's break chain.
    for (bool start : {true, false}) {
        const CString& station = start ? entry.m_SStartZH : entry.m_SEndZH;
        if (station.IsEmpty()) continue;
        const CString message = CheckStation(segment, i, station, start);
        if (!message.IsEmpty()) return message;
    }
    return CString();
}

// Field separators, and line breaks, which would end the line.
bool HasSeparator(const CString& text)
{
    return text.FindOneOf(L" \t,\r\n") >= 0;
}

// A line that begins with "//" is read as a comment.
bool ReadsAsComment(const CString& text)
{
    return text.Left(2) == L"//";
}

// Why a segment could not be read back from the file; empty when it can.
CString CheckForWriting(const tkxProjectSegment& segment, int number)
{
    if (ReadsAsComment(segment.m_SName))
        return ClFormat(L"第%d个项目分段的名称[%s]不能以\"//\"开头(读取时会被当作注释行)!", number,
                        segment.m_SName.GetString());
    for (int i = 0; i < segment.GetRoadSegCount(); ++i)
        if (ReadsAsComment(segment.m_RoadSegs[i].m_SRoadName))
            return ClFormat(L"项目分段[%s]第%d条道路的名称[%s]不能以\"//\"开头(读取时会被当作注释行)!",
                            segment.m_SName.GetString(), i + 1, segment.m_RoadSegs[i].m_SRoadName.GetString());
    if (segment.m_SName.IsEmpty() || HasSeparator(segment.m_SName))
        return ClFormat(L"第%d个项目分段的名称[%s]不能为空, 也不能包含空格、制表符或逗号!", number,
                        segment.m_SName.GetString());
    if (segment.GetRoadSegCount() == 0) return ClFormat(L"项目分段[%s]中没有道路!", segment.m_SName.GetString());
    for (int i = 0; i < segment.GetRoadSegCount(); ++i) {
        const tkxProjectSegment::sRoadSeg& entry = segment.m_RoadSegs[i];
        const bool bad = entry.m_SRoadName.IsEmpty() || HasSeparator(entry.m_SRoadName) ||
                         HasSeparator(entry.m_SStartZH) || HasSeparator(entry.m_SEndZH) ||
                         entry.m_SStartZH.IsEmpty() != entry.m_SEndZH.IsEmpty();
        if (bad)
            return ClFormat(L"项目分段[%s]第%d条道路[%s %s %s]错误: 道路名不能为空, 起终点桩号须同时给出, 且均不能包含空格、制表符或逗号!",
                            segment.m_SName.GetString(), i + 1, entry.m_SRoadName.GetString(),
                            entry.m_SStartZH.GetString(), entry.m_SEndZH.GetString());
    }
    return CString();
}

} // namespace

namespace tkxSegments {

int GetRoadZHRangeAt(const tkxProjectSegment& segment, int i, CString& start, CString& end)
{
    if (!ValidIndex(segment, i)) return 0;
    start = segment.m_RoadSegs[i].m_SStartZH;
    end = segment.m_RoadSegs[i].m_SEndZH;
    return 1;
}

int GetRoadZHRangeAt(const tkxProjectSegment& segment, int i, double& start, double& end)
{
    if (!ValidIndex(segment, i)) return 0;
    const tkxProjectSegment::sRoadSeg& entry = segment.m_RoadSegs[i];
    tkxBreakChain chain;
    if (!chain.GetDLFromString(entry.m_SBreakChain)) return 0;
    double s = 0.0, e = 0.0;
    if (!chain.GetGlobalZH(entry.m_SStartZH, s) || !chain.GetGlobalZH(entry.m_SEndZH, e)) return 0;
    start = s;
    end = e;
    return 1;
}

int SetRoadZHRangeAt(tkxProjectSegment& segment, int i, const wchar_t* start, const wchar_t* end)
{
    if (!ValidIndex(segment, i)) return 0;
    tkxProjectSegment::sRoadSeg& entry = segment.m_RoadSegs[i];
    tkxBreakChain chain;
    if (!chain.GetDLFromString(entry.m_SBreakChain)) {
        tkx_SetLastError(ClFormat(L"设置项目分段[%s]第%d条道路的断链描述[%s]错误!", segment.m_SName.GetString(), i + 1,
                                  entry.m_SBreakChain.GetString()));
        return 0;
    }
    const CString startText = start ? start : L"";
    const CString endText = end ? end : L"";
    double chainage = 0.0;
    if (!chain.GetGlobalZH(startText, chainage)) {
        tkx_SetLastError(ClFormat(L"转换项目分段[%s]第%d条道路的起点桩号[%s]失败, 请检查断链信息!",
                                  segment.m_SName.GetString(), i + 1, startText.GetString()));
        return 0;
    }
    entry.m_SStartZH = startText;
    if (!chain.GetGlobalZH(endText, chainage)) {
        tkx_SetLastError(ClFormat(L"转换项目分段[%s]第%d条道路的终点桩号[%s]失败, 请检查断链信息!",
                                  segment.m_SName.GetString(), i + 1, endText.GetString()));
        return 0;
    }
    entry.m_SEndZH = endText;
    return 1;
}

int GetBreakChainAt(const tkxProjectSegment& segment, int i, CString& text)
{
    if (!ValidIndex(segment, i)) return 0;
    text = segment.m_RoadSegs[i].m_SBreakChain;
    return 1;
}

int SetBreakChainAt(tkxProjectSegment& segment, int i, const wchar_t* text)
{
    if (!ValidIndex(segment, i)) return 0;
    segment.m_RoadSegs[i].m_SBreakChain = text ? text : L"";
    tkxBreakChain chain;
    if (!chain.GetDLFromString(segment.m_RoadSegs[i].m_SBreakChain)) {
        tkx_SetLastError(ClFormat(L"设置项目分段[%s]第%d条道路的断链描述[%s]错误!", segment.m_SName.GetString(), i + 1,
                                  segment.m_RoadSegs[i].m_SBreakChain.GetString()));
        return 0;
    }
    return 1;
}

int LoadFile(tkxProjectSegment& segment, CStdioFile* file, int& line)
{
    // Read aside: a bad line leaves the segment as it was.
    tkxProjectSegment read;
    const int result = ReadSegment(read, file, line, nullptr);
    if (result == 1) segment = read;
    return result;
}

int SaveFile(const tkxProjectSegment& segment, CStdioFile* file)
{
    file->WriteString(L"//标段名 道路数\n");
    file->WriteString(ClFormat(L"%s %d\n", segment.m_SName.GetString(), segment.GetRoadSegCount()));
    file->WriteString(L"//\t道路名 起点桩号 终点桩号\n");
    for (const tkxProjectSegment::sRoadSeg& entry : segment.m_RoadSegs)
        file->WriteString(ClFormat(L"\t%s %s %s\n", entry.m_SRoadName.GetString(), entry.m_SStartZH.GetString(),
                                   entry.m_SEndZH.GetString()));
    return 1;
}

// LoadFDFile's reading, into the project given.
static int ReadFDFile(tkxProject& project, const wchar_t* fileName)
{
    const CString path = fileName ? fileName : L"";
    CStdioFile file;
    if (path.IsEmpty() || !file.Open(path, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite)) {
        tkx_SetLastError(ClFormat(L"打开文件失败!\n\n<%s>.", path.GetString()));
        return 0;
    }

    project.m_PrjSegments.RemoveAll();
    std::vector<std::vector<int>> lines;
    int line = 0;
    int result = 0;
    try {
        for (;;) {
            tkxProjectSegment segment;
            std::vector<int> entryLines;
            result = ReadSegment(segment, &file, line, &entryLines);
            if (result != 1) break;
            project.m_PrjSegments.Add(segment);
            lines.push_back(entryLines);
        }
    } catch (CFileException* e) {
        e->Delete();
        tkx_SetLastError(ClFormat(L"打开文件失败!\n\n<%s>.", path.GetString()));
        result = -1;
    }
    file.Abort();
    if (result == -1) return 0;
    tkx_SetLastError(nullptr);

    for (INT_PTR s = 0; s < project.m_PrjSegments.GetSize(); ++s) {
        tkxProjectSegment& segment = project.m_PrjSegments[s];
        for (int i = 0; i < segment.GetRoadSegCount(); ++i) {
            const CString message = CompleteEntry(project, segment, i);
            if (!message.IsEmpty()) {
                tkx_SetLastError(ClFormat(L"读取项目分段文件<%s>第%d行出错:\n\n%s", path.GetString(),
                                          lines[static_cast<size_t>(s)][static_cast<size_t>(i)], message.GetString()));
                return 0;
            }
        }
    }
    return 1;
}

// Read into a project that holds the same roads; the segments are taken
// over only when the whole file was read and completed.
int LoadFDFile(tkxProject& project, const wchar_t* fileName)
{
    tkxProject read;
    read.m_Roads.Copy(project.m_Roads);
    if (!ReadFDFile(read, fileName)) return 0;
    project.m_PrjSegments.Copy(read.m_PrjSegments);
    return 1;
}

int SaveFDFile(const tkxProject& project, const wchar_t* fileName)
{
    const CString path = fileName ? fileName : L"";
    for (INT_PTR s = 0; s < project.m_PrjSegments.GetSize(); ++s) {
        const CString problem = CheckForWriting(project.m_PrjSegments[s], static_cast<int>(s) + 1);
        if (!problem.IsEmpty()) {
            tkx_SetLastError(problem);
            return 0;
        }
    }

    const CString temp = tkx_TempFileBeside(path);
    bool written = false;
    CStdioFile file;
    if (!temp.IsEmpty() && file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::typeText)) {
        try {
            for (INT_PTR s = 0; s < project.m_PrjSegments.GetSize(); ++s) {
                if (s > 0) file.WriteString(L"\n");
                SaveFile(project.m_PrjSegments[s], &file);
            }
            file.Close();
            written = true;
        } catch (CFileException* e) {
            e->Delete();
            file.Abort();
        }
    }
    if (!written) {
        if (!temp.IsEmpty()) DeleteFileW(temp);
        tkx_SetLastError(tkx_SaveFailureText(path, ClFormat(L"创建文件失败!\n\n<%s>.", path.GetString())));
        return 0;
    }
    if (!tkx_ReplaceByTemporary(temp, path)) {
        tkx_SetLastError(tkx_SaveFailureText(path, ClFormat(L"创建文件失败!\n\n<%s>.", path.GetString())));
        return 0;
    }
    return 1;
}

int AutoProjectSegment(tkxProject& project)
{
    project.m_PrjSegments.RemoveAll();
    if (project.m_Roads.GetSize() == 0) {
        tkx_SetLastError(L"项目中未包含任何道路!");
        return 0;
    }
    tkxProjectSegment segment;
    segment.SetName(L"默认分段");
    for (const Tavix4::sRoadInfo& road : project.m_Roads) {
        tkxProjectSegment::sRoadSeg entry;
        entry.m_SRoadName = road.m_SRoadName;
        entry.m_SStartZH = road.m_SStartZH;
        entry.m_SEndZH = road.m_SEndZH;
        entry.m_SBreakChain = road.m_SBreakChain;
        segment.AddRoadSeg(entry);
    }
    project.m_PrjSegments.Add(segment);
    return 1;
}

} // namespace tkxSegments

int tkx_GetProjectSegment(const wchar_t* file, CArray<tkxProjectSegment>& list, CString& projectPath)
{
    list.RemoveAll();
    if (!tkx_GetProjectInfoFromReg(nullptr)) {
        tkx_SetLastError(L"\n获取项目信息失败!");
        return 0;
    }
    tkxProject project;
    tkx_GetCurProject(project);
    projectPath = project.m_SPath;

    const CString path = file ? file : L"";
    const DWORD attributes = path.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (!tkxSegments::LoadFDFile(project, path)) {
            tkx_SetLastError(
                ClFormat(L"\n打开项目分段文件失败(%s)! %s", path.GetString(), tkx_GetLastError().GetString()));
            return 0;
        }
        for (const tkxProjectSegment& segment : project.m_PrjSegments) list.Add(segment);
    } else {
        tkxProjectSegment segment;
        for (const Tavix4::sRoadInfo& road : project.m_Roads) {
            tkxProjectSegment::sRoadSeg entry;
            entry.m_SRoadName = road.m_SRoadName;
            entry.m_SStartZH = road.m_SStartZH;
            entry.m_SEndZH = road.m_SEndZH;
            entry.m_SBreakChain = road.m_SBreakChain;
            segment.AddRoadSeg(entry);
        }
        list.Add(segment);
    }
    if (list.GetSize() == 0) {
        tkx_SetLastError(L"\n没有加载到有效的项目分段和路段信息! ");
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// The same operations as members of the segment and the project.

int tkxProjectSegment::GetRoadZHRangeAt(int i, CString& start, CString& end) const
{
    return tkxSegments::GetRoadZHRangeAt(*this, i, start, end);
}
int tkxProjectSegment::GetRoadZHRangeAt(int i, double& start, double& end) const
{
    return tkxSegments::GetRoadZHRangeAt(*this, i, start, end);
}
int tkxProjectSegment::SetRoadZHRangeAt(int i, const wchar_t* start, const wchar_t* end)
{
    return tkxSegments::SetRoadZHRangeAt(*this, i, start, end);
}
int tkxProjectSegment::GetBreakChainAt(int i, CString& text) const
{
    return tkxSegments::GetBreakChainAt(*this, i, text);
}
int tkxProjectSegment::SetBreakChainAt(int i, const wchar_t* text)
{
    return tkxSegments::SetBreakChainAt(*this, i, text);
}
int tkxProjectSegment::LoadFile(CStdioFile* file, int& line) { return tkxSegments::LoadFile(*this, file, line); }
int tkxProjectSegment::SaveFile(CStdioFile* file) const { return tkxSegments::SaveFile(*this, file); }

int tkxProject::LoadFDFile(const wchar_t* file) { return tkxSegments::LoadFDFile(*this, file); }
int tkxProject::SaveFDFile(const wchar_t* file) const { return tkxSegments::SaveFDFile(*this, file); }
int tkxProject::AutoProjectSegment() { return tkxSegments::AutoProjectSegment(*this); }

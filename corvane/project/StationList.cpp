#include "corvane/project/StationList.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/ArrayStorage.h"
#include "corvane/base/LastError.h"
#include "corvane/base/LineReader.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"

#include <cmath>
#include <vector>

namespace {

const wchar_t kEndOfFile[] = L"文件结束";

// Opens a station-list file for the archive line reader; the message when it
// cannot be opened.
CString OpenList(const CString& path, CFile& file)
{
    if (path.IsEmpty() || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
        return ClFormat(L"打开桩号文件<%s>失败!", path.GetString());
    return CString();
}

// What the chain adds to a station of segment index k to get chainage.
double SegmentOffset(const tkxBreakChain& chain, int k)
{
    if (k <= 0) return 0.0;
    const double station = chain.GetBreakStartZH(k);
    double chainage = station;
    chain.GetGlobalZH(station, chainage, k + 1);
    return chainage - station;
}

// Whether a data line is a single field: no blank, tab or comma in it (a
// data line holds no line break and is never empty).
bool IsOneField(const CString& line)
{
    for (const wchar_t* p = line.GetString(); *p; ++p)
        if (*p == L' ' || *p == L'\t' || *p == L',') return false;
    return true;
}

CString Fail(const CString& message)
{
    tkx_SetLastError(message);
    return message;
}

} // namespace

// tkx_ReadSTFile's reading, into a new list.
static CString ReadStations(const wchar_t* path, const tkxBreakChain* chain, std::vector<double>& chainages)
{
    if (!chain) return L"未定义断链对象，无法转换桩号数据!";
    const CString file = path ? path : L"";
    CFile in;
    const CString openError = OpenList(file, in);
    if (!openError.IsEmpty()) return Fail(openError);

    chainages.clear();
    CString result = kEndOfFile;
    try {
        CArchive ar(&in, CArchive::load, text_lines::kArchiveBufferBytes);
        CString line;
        text_lines::DataLineReader lines(ar);
        text_lines::FieldList tokens;
        int lineNo = 0;
        while (lines.Next(line, lineNo)) {
            // The station is the line's first field; a line of one field
            // (the usual one) is that field as it stands.
            const wchar_t* station = line.GetString();
            if (!IsOneField(line)) {
                if (tokens.Divide(line) == -1 || tokens.GetSize() == 0) {
                    result = Fail(
                        ClFormat(L"桩号文件(%s)\n\n读第%d行时<桩号%s>出错", file.GetString(), lineNo, line.GetString()));
                    break;
                }
                station = tokens[0].GetString();
            }
            double chainage = 0.0;
            if (!chain->GetGlobalZH(station, chainage)) {
                result = Fail(
                    ClFormat(L"桩号文件(%s)\n\n第%d行: %s", file.GetString(), lineNo, tkx_GetLastError().GetString()));
                break;
            }
            chainages.push_back(chainage);
        }
        if (lines.Failed()) result = Fail(lines.FailureText());
        ar.Abort();
    } catch (CException* e) {
        e->Delete();
        result = Fail(ClFormat(L"打开桩号文件<%s>失败!", file.GetString()));
    }
    in.Abort();
    return result;
}

// The stations are read aside and handed over only when the whole file was
// read: a bad line leaves the caller's arrays as they were.
CString tkx_ReadSTFile(const wchar_t* path, const tkxBreakChain* chain, CArray<double, double>& chainages)
{
    std::vector<double> read;
    const CString result = ReadStations(path, chain, read);
    if (result == kEndOfFile) array_storage::HandOver(read, chainages);
    return result;
}

// tkx_ReadSTFileA's reading, into new arrays.
static CString ReadStationTexts(const wchar_t* path, CStringArray& stations, CStringArray& notes)
{
    const CString file = path ? path : L"";
    CFile in;
    const CString openError = OpenList(file, in);
    if (!openError.IsEmpty()) return Fail(openError);

    stations.RemoveAll();
    notes.RemoveAll();
    CString result = kEndOfFile;
    try {
        CArchive ar(&in, CArchive::load, text_lines::kArchiveBufferBytes);
        CString line;
        text_lines::DataLineReader lines(ar);
        CStringArray tokens;
        int lineNo = 0;
        while (lines.Next(line, lineNo)) {
            if (tkx_DivideString(line, tokens) == -1 || tokens.GetSize() == 0) {
                result = Fail(ClFormat(L"桩号文件(%s)\n\n读第%d行时<桩号%s>出错", file.GetString(), lineNo, line.GetString()));
                break;
            }
            CString station = tokens[0];
            CString note;
            if (tokens.GetSize() == 2) {
                if (IsNumericString(tokens[1]))
                    station = ClFormat(L"%s_%s", tokens[0].GetString(), tokens[1].GetString());
                else
                    note = tokens[1];
            } else if (tokens.GetSize() >= 3) {
                if (!IsNumericString(tokens[2])) {
                    result = Fail(ClFormat(L"桩号文件(%s)\n\n读第%d行<桩号>, 第3个数据<%s>出错!", file.GetString(), lineNo,
                                           tokens[2].GetString()));
                    break;
                }
                station = ClFormat(L"%s_%s", tokens[0].GetString(), tokens[2].GetString());
                note = tokens[1];
            }
            stations.Add(station);
            notes.Add(note);
        }
        if (lines.Failed()) result = Fail(lines.FailureText());
        ar.Abort();
    } catch (CException* e) {
        e->Delete();
        result = Fail(ClFormat(L"打开桩号文件<%s>失败!", file.GetString()));
    }
    in.Abort();
    return result;
}

CString tkx_ReadSTFileA(const wchar_t* path, CStringArray& stations, CStringArray& notes)
{
    CStringArray readStations;
    CStringArray readNotes;
    const CString result = ReadStationTexts(path, readStations, readNotes);
    if (result == kEndOfFile) {
        stations.Copy(readStations);
        notes.Copy(readNotes);
    }
    return result;
}

void tkx_DivideZHSequence(const tkxBreakChain& chain, double start, double end, double step,
                          CArray<double, double>& out)
{
    out.RemoveAll();
    const int segments = chain.GetBreakChainCount();
    if (segments < 1 || step < 1e-6 || end - 0.00001 < start) return;

    // The walk begins in the segment that holds the start, so that no
    // station before the start is listed; a station already listed (the two
    // stations of a break share one chainage) is not listed again.
    const int first = chain.GetBreakChainID(start) - 1;
    double f = start - SegmentOffset(chain, first);
    bool done = false;
    for (int k = first; k < segments && !done; ++k) {
        const double segmentStart = chain.GetBreakStartZH(k);
        const double segmentEnd = chain.GetBreakEndZH(k);
        while (segmentStart - 1e-6 > f) f += step;
        while (f < segmentEnd + 1e-6) {
            double c = 0.0;
            chain.GetGlobalZH(f, c, k + 1);
            if (c > end) {
                done = true;
                break;
            }
            if (c >= start - 1e-6 && (out.GetSize() == 0 || c > out[out.GetSize() - 1] + 0.00001)) out.Add(c);
            f += step;
        }
        if (k + 1 < segments) f = step * std::trunc(chain.GetBreakStartZH(k + 1) / step);
    }
    if (out.GetSize() == 0 || std::fabs(out[out.GetSize() - 1] - end) > 0.00001) out.Add(end);
}

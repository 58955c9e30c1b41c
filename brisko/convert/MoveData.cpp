#include "brisko/convert/MoveData.h"
#include "brisko/convert/DMFace.h"
#include "brisko/convert/DerivedFiles.h"
#include "brisko/convert/OutputCheck.h"
#include "brisko/convert/ToolDialog.h"
#include "brisko/shell/Helpers.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include <algorithm>
#include <cmath>

CString CMoveOffsets::Read(const std::vector<MoveOffsetRow>& rows, const tkxBreakChain& chain, bool withChain)
{
    m_Stations.clear();
    m_Offsets.clear();
    for (size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        CString station = rows[i].station, segmentText = rows[i].segment, offsetText = rows[i].offset;
        station.Trim();
        segmentText.Trim();
        offsetText.Trim();
        if (station.IsEmpty() && segmentText.IsEmpty() && offsetText.IsEmpty()) continue;

        double value = 0.0;
        if (!ReadToolNumber(station, &value))
            return ClFormat(L"读取列表中，第%d行,桩号<%s>数据失败!", row, rows[i].station.GetString());
        double chainage = value;
        if (withChain) {
            if (!segmentText.IsEmpty()) {
                int segment = 0;
                if (!ReadToolSegment(segmentText, segment))
                    return ClFormat(L"读取列表中，第%d行,断链号<%s>数据失败!", row, rows[i].segment.GetString());
                if (!ChainageOnSegment(chain, value, segment, chainage))
                    return ClFormat(L"读取列表中，第%d行, <%.3f %d>转换整链桩号失败!", row, value, segment);
            } else if (!chain.GetGlobalZH(value, chainage)) {
                return ClFormat(L"读取列表中，第%d行, <%.3f>转换整链桩号失败!", row, value);
            }
        }
        double offset = 0.0;
        if (!ReadToolNumber(offsetText, &offset))
            return ClFormat(L"读取列表中，第%d行,偏移距离<%s>数据失败!", row, rows[i].offset.GetString());
        // Offsets are interpolated between neighbouring rows: a station that
        // does not move on would leave a stretch between two rows undefined.
        if (!m_Stations.empty() && chainage < m_Stations.back() + 1e-6)
            return ClFormat(L"读取列表中，第%d行,桩号<%s>应大于上一行的桩号!", row, rows[i].station.GetString());
        m_Stations.push_back(chainage);
        m_Offsets.push_back(offset);
    }
    if (m_Stations.empty()) return L"中桩平移值列表中没有数据!";
    return CString();
}

double CMoveOffsets::OffsetAt(double s) const
{
    const size_t n = m_Stations.size();
    if (n == 0 || n != m_Offsets.size()) return 0.0;
    if (s < m_Stations.front() + 1e-6) return m_Offsets.front();
    if (s > m_Stations.back() - 1e-6) return m_Offsets.back();
    // The last table station at or before s (within 1e-6).
    const auto next = std::upper_bound(m_Stations.begin(), m_Stations.end(), s + 1e-6);
    const size_t i = static_cast<size_t>(next - m_Stations.begin()) - 1;
    if (i + 1 >= n) return m_Offsets.back();
    const double span = std::max(m_Stations[i + 1] - m_Stations[i], 1e-6);
    return m_Offsets[i] + (s - m_Stations[i]) * (m_Offsets[i + 1] - m_Offsets[i]) / span;
}

namespace {

int Fail(CDialog* owner, const CString& text)
{
    ShowFormattedMessage(owner, MB_ICONERROR, L"%s", text.GetString());
    return 0;
}

} // namespace

int RunMoveData(CDialog* owner, const MoveDataJob& job, const std::vector<MoveOffsetRow>& rows)
{
    tkxBreakChain chain;
    if (job.withBreakChain && !chain.LoadDLFile(job.dlPath))
        return Fail(owner, ClFormat(L"读取<%s>出错!\n\n%s", job.dlPath.GetString(), tkx_GetLastError().GetString()));

    CMoveOffsets offsets;
    CString message = offsets.Read(rows, chain, job.withBreakChain);
    if (!message.IsEmpty()) return Fail(owner, message);

    tkxZDMInfo profile(&chain);
    if (!profile.LoadDMXFile(job.dmxIn))
        return Fail(owner, ClFormat(L"读取<%s>出错!\n\n%s", job.dmxIn.GetString(), tkx_GetLastError().GetString()));
    // Without a ground point every section would be shifted onto height 0.
    if (profile.GetDMXCount() == 0) return Fail(owner, NoToolDataText(job.dmxIn));

    CDMFace source(&chain);
    source.SetProfile(&profile);
    {
        CStdioFile file;
        if (job.hdxIn.IsEmpty() || !file.Open(job.hdxIn, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText))
            return Fail(owner, ClFormat(L"打开横断面地面线文件<%s>失败!", job.hdxIn.GetString()));
        message = source.ReadHDX(file);
    }
    if (!message.IsEmpty())
        return Fail(owner, ClFormat(L"读取<%s>出错!\n\n%s", job.hdxIn.GetString(), message.GetString()));
    if (source.GetSectionCount() == 0) return Fail(owner, NoToolDataText(job.hdxIn));

    CDMFace target(&chain);
    target.SetProfile(&profile);
    for (int i = 0; i < source.GetSectionCount(); ++i) {
        const KeyDMXInfo& section = source.GetSection(i);
        KeyDMXInfo shifted;
        source.ShiftSection(section, offsets.OffsetAt(section.m_rZH), shifted);
        target.AddSection(shifted);
    }
    target.SetFormat(static_cast<short>(job.format));

    // The new ground line: the ground under the new centre line at every
    // section.
    tkxZDMInfo ground(&chain);
    for (int i = 0; i < target.GetSectionCount(); ++i) {
        double height = 0.0;
        if (!target.GetCentreHeight(i, height)) return 0;
        ground.AddDMHeight(target.GetSection(i).m_rZH, height);
    }
    CString dmx, hdx;
    if (!ground.ExportDMXString(dmx))
        return Fail(owner, ClFormat(L"写纵断面地面高文件<%s>失败!\n\n%s", job.dmxOut.GetString(),
                                    tkx_GetLastError().GetString()));
    message = target.HDXText(hdx);
    if (!message.IsEmpty())
        return Fail(owner,
                    ClFormat(L"输入新横断面地面线文件失败!\n\n<%s>\n\n%s", job.hdxOut.GetString(), message.GetString()));

    // Both files are read back, the new sections with the new ground line,
    // and put in place as one: both or neither.
    ToolReadBack check(job.hdxIn, {SuiteFileKind::DMX, SuiteFileKind::HDX});
    check.SetChain(chain);
    int failed = -1;
    tkxSetLeftovers left;
    if (WriteToolOutputs({{job.dmxOut, dmx}, {job.hdxOut, hdx}}, &failed, check.Check(), &left)) return 1;
    if (check.Refused()) return Fail(owner, check.Message());
    const CString& path = failed == 1 ? job.hdxOut : job.dmxOut;
    // A read-only output refused the run before anything was written.
    const CString readOnly = tkx_ReadOnlyTargetText(path);
    if (!readOnly.IsEmpty()) return Fail(owner, readOnly);
    const CString own = failed == 1 ? ClFormat(L"输入新横断面地面线文件失败!\n\n<%s>\n\n%s", path.GetString(),
                                               L"准备写文件时出错!")
                                    : ClFormat(L"写纵断面地面高文件<%s>失败!", path.GetString());
    return Fail(owner, tkx_SetFailureText(path, own, 2, left));
}

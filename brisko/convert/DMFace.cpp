#include "brisko/convert/DMFace.h"
#include "brisko/convert/DerivedFiles.h"
#include "brisko/convert/ToolDialog.h"
#include "brisko/shell/Helpers.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include <algorithm>
#include <cmath>
#include <cwchar>

namespace {

const wchar_t kCaption[] = L"TAVIX项目数据环境";
const double kNoHeight = -999.0;

// The messages of one side line.
struct SideTexts
{
    const wchar_t* noTokens;
    const wchar_t* oddCount;
    const wchar_t* badDistance;
    const wchar_t* badHeight;
};

const SideTexts kLeftTexts = {
    L"读第%d行时<断面左侧数据>出错",
    L"读第%d行<断面左侧数据>时出错!\n\n<%s>\n\n左侧数据个数不匹配!",
    L"读第%d行<断面左侧数据>, 第%d个数据(水平相对距离%s)出错!",
    L"读第%d行<断面左侧数据>, 第%d个数据(高程/高差:%s)出错!",
};
const SideTexts kRightTexts = {
    L"读第%d行<断面右侧数据>时出错",
    L"读第%d行时出错!\n\n<%s>\n\n右侧数据个数不匹配!",
    L"读第%d行<断面右侧数据>, 第%d个数据(水平相对距离%s)出错!",
    L"读第%d行<断面右侧数据>, 第%d个数据(高程/高差:%s)出错!",
};

// Reads the points of one side line after the centre point, which the
// side already holds.  Raised-rod values are summed up, so that every
// point holds its distance from the centre and its height above it.
CString ReadSide(const CString& line, int lineNo, short format, const SideTexts& texts, std::vector<double>& distance,
                 std::vector<double>& height)
{
    CStringArray tokens;
    if (tkx_DivideString(line, tokens) == -1) return ClFormat(texts.noTokens, lineNo);
    const int count = static_cast<int>(tokens.GetSize());
    if (count % 2 != 0) return ClFormat(texts.oddCount, lineNo, line.GetString());
    // "0 0" is how the suite writes a side without ground points.
    if (count == 2 && tokens[0] == L"0" && tokens[1] == L"0") return CString();

    distance.reserve(static_cast<size_t>(count / 2) + 1);
    height.reserve(static_cast<size_t>(count / 2) + 1);
    double d = 0.0;
    double h = 0.0;
    for (int k = 0; k < count; k += 2) {
        double value = 0.0;
        if (!ReadToolNumber(tokens[k], &value)) return ClFormat(texts.badDistance, lineNo, k, tokens[k].GetString());
        d = format == 2 ? d + value : value;
        if (!ReadToolNumber(tokens[k + 1], &value))
            return ClFormat(texts.badHeight, lineNo, k, tokens[k + 1].GetString());
        h = format == 2 ? h + value : value;
        if (!std::isfinite(d)) return ClFormat(texts.badDistance, lineNo, k, tokens[k].GetString());
        if (!std::isfinite(h)) return ClFormat(texts.badHeight, lineNo, k, tokens[k + 1].GetString());
        distance.push_back(d);
        height.push_back(h);
    }
    return CString();
}

// The next data line; false at the end of the file or at a bad line.
bool NextLine(CStdioFile& file, CString& line, int& lineNo) { return tkx_ReadNextStringST(&file, line, lineNo) == 1; }

// Centre height of a section: the left centre point's, else the right's.
bool CentreHeightOf(const KeyDMXInfo& s, double& height)
{
    if (s.GetLeftCount() > 0) {
        height = s.m_LeftHeight[0];
        return true;
    }
    if (s.GetRightCount() > 0) {
        height = s.m_RightHeight[0];
        return true;
    }
    return false;
}

// Appends one side line: the points beyond the centre, or the centre point
// itself when the side has none (the readers take it as the centre).
bool AppendSide(const std::vector<double>& distance, const std::vector<double>& height, double centre, double reference,
                CString& text)
{
    wchar_t pair[96];
    auto append = [&](double d, double h) {
        if (!std::isfinite(d) || !std::isfinite(h)) return false;
        std::swprintf(pair, sizeof pair / sizeof pair[0], L"%.3f %.3f ", d, h - reference);
        text += pair;
        return true;
    };
    if (distance.size() <= 1) {
        if (!append(0.0, centre)) return false;
    } else {
        for (size_t i = 1; i < distance.size(); ++i)
            if (!append(distance[i], height[i])) return false;
    }
    text += L"\n";
    return true;
}

} // namespace

CDMFace::CDMFace(const tkxBreakChain* chain) : m_pBreakChain(chain) {}

CDMFace::~CDMFace() = default;

CString CDMFace::ReadHDX(CStdioFile& file)
{
    if (!m_pBreakChain) return L"未定义断链对象";
    m_Sections.clear();

    int lineNo = 0;
    CString line;
    if (!NextLine(file, line, lineNo)) return ClFormat(L"第%d行数据失败!", lineNo);
    if (line == L"ABS") {
        m_nFormat = 0;
    } else if (line == L"ABS1") {
        m_nFormat = 1;
    } else {
        // No layout line: the line read is the first station line, read
        // again from the top so that line numbers stay those of the file.
        m_nFormat = 2;
        file.SeekToBegin();
        lineNo = 0;
    }

    CStringArray tokens;
    for (;;) {
        const int got = tkx_ReadNextStringST(&file, line, lineNo);
        if (got == 0) break;
        if (got < 0) return ClFormat(L"第%d行, 读入数据错误!", lineNo);

        KeyDMXInfo section;
        if (tkx_DivideString(line, tokens) == -1 || tokens.GetSize() == 0)
            return ClFormat(L"读第%d行时出错, 读桩号数据<%s>时出错!", lineNo, line.GetString());
        if (tokens.GetSize() > 2)
            return ClFormat(L"读第%d行桩号数据个数<%d>应小于等于2", lineNo, static_cast<int>(tokens.GetSize()));
        // The station alone, with its segment in a second field, or with
        // it after "_" as the program writes it.
        CString stationText = tokens[0], segmentText;
        if (tokens.GetSize() == 2) {
            segmentText = tokens[1];
        } else if (tokens[0].Find(L'_') > 0) {
            stationText = tokens[0].Left(tokens[0].Find(L'_'));
            segmentText = tokens[0].Mid(tokens[0].Find(L'_') + 1);
        }
        const CString shown = tokens.GetSize() == 2 ? tokens[0] + L" " + tokens[1] : tokens[0];
        double station = 0.0;
        if (!segmentText.IsEmpty()) {
            int segment = 0;
            if (!ReadToolNumber(stationText, &station) || !ReadToolSegment(segmentText, segment) ||
                !ChainageOnSegment(*m_pBreakChain, station, segment, section.m_rZH))
                return ClFormat(L"读第%d行时出错, 转换断链桩号<%s>时出错!", lineNo, shown.GetString());
        } else {
            if (!ReadToolNumber(stationText, &station))
                return ClFormat(L"读第%d行时出错, 读桩号数据<%s>时出错!", lineNo, shown.GetString());
            // The first segment that holds it (no other one would).
            if (!m_pBreakChain->GetGlobalZH(station, section.m_rZH))
                return ClFormat(L"读第%d行时出错, 转换断链桩号<%s>时出错!", lineNo, shown.GetString());
        }

        double centre = 0.0;
        if (m_nFormat == 0 && m_pProfile) centre = m_pProfile->GetDMXElevation(section.m_rZH);
        section.m_LeftDistance.push_back(0.0);
        section.m_LeftHeight.push_back(centre);
        section.m_RightDistance.push_back(0.0);
        section.m_RightHeight.push_back(centre);

        if (!NextLine(file, line, lineNo)) return ClFormat(L"第%d行, 读入数据错误!", lineNo);
        CString message = ReadSide(line, lineNo, m_nFormat, kLeftTexts, section.m_LeftDistance, section.m_LeftHeight);
        if (!message.IsEmpty()) return message;
        if (!NextLine(file, line, lineNo)) return ClFormat(L"第%d行, 读入数据错误!", lineNo);
        message = ReadSide(line, lineNo, m_nFormat, kRightTexts, section.m_RightDistance, section.m_RightHeight);
        if (!message.IsEmpty()) return message;
        m_Sections.push_back(std::move(section));
    }
    return CString();
}

CString CDMFace::WriteHDX(const wchar_t* fileName, const ToolOutputsCheck& check) const
{
    CString text;
    const CString message = HDXText(text);
    if (!message.IsEmpty()) return message;
    if (!WriteToolOutputs({{CString(fileName), text}}, nullptr, check))
        return tkx_SaveFailureText(fileName, L"准备写文件时出错!");
    return CString();
}

CString CDMFace::HDXText(CString& text) const
{
    if (!m_pBreakChain) return L"未定义断链对象, 无法输出横断面地面线文件.";
    if (!m_pProfile) return L"未定义纵断面对象, 无法输出横断面地面线文件.";
    if (m_nFormat == 2) return L"不能输出<抬杆法格式>的横断面地面线文件.";
    if (m_nFormat != 0 && m_nFormat != 1) return ClFormat(L"不能输出未知格式<%d>的横断面地面线文件.", m_nFormat);

    text = m_nFormat == 0 ? L"ABS\n" : L"ABS1\n";
    for (const KeyDMXInfo& s : m_Sections) {
        double centre = 0.0;
        if (!CentreHeightOf(s, centre)) return L"包含左右地面线数据均为0的断面!";
        const double reference = m_nFormat == 0 ? 0.0 : centre;
        const CString station = m_pBreakChain->GetStringBreakZH(s.m_rZH, -1, 1);
        text += station;
        text += L"\n";
        if (!std::isfinite(s.m_rZH) || !AppendSide(s.m_LeftDistance, s.m_LeftHeight, centre, reference, text) ||
            !AppendSide(s.m_RightDistance, s.m_RightHeight, centre, reference, text))
            return ClFormat(L"断面<%s>的地面线数据不是有效数值!", station.GetString());
    }
    return CString();
}

int CDMFace::SelectSection(int i)
{
    if (i < 0 || i >= GetSectionCount()) return 0;
    m_Current = m_Sections[static_cast<size_t>(i)];
    return 1;
}

double CDMFace::GetHeight(double x) const
{
    const KeyDMXInfo& s = m_Current;
    if (std::fabs(x) < 1e-6) {
        double centre = 0.0;
        return CentreHeightOf(s, centre) ? centre : kNoHeight;
    }
    const std::vector<double>& distance = x < 0.0 ? s.m_LeftDistance : s.m_RightDistance;
    const std::vector<double>& height = x < 0.0 ? s.m_LeftHeight : s.m_RightHeight;
    const size_t count = distance.size();
    if (count < 2) return kNoHeight;
    const double d = std::fabs(x);
    for (size_t i = 0; i + 1 < count; ++i) {
        if (distance[i] - 1e-6 <= d && d <= distance[i + 1] + 1e-6) {
            const double p1[2] = {distance[i], height[i]};
            const double p2[2] = {distance[i + 1], height[i + 1]};
            double target[2] = {d, 0.0};
            InterpolateHeight(p1, p2, target);
            return target[1];
        }
    }
    return height[count - 1];
}

int CDMFace::GetCentreHeight(int i, double& height) const
{
    if (i < 0 || i >= GetSectionCount() || !CentreHeightOf(m_Sections[static_cast<size_t>(i)], height)) {
        ClMessageBox(nullptr, L"访问横断面地面线时数据越界!", kCaption, MB_ICONERROR);
        return 0;
    }
    return 1;
}

void CDMFace::ShiftSection(const KeyDMXInfo& section, double offset, KeyDMXInfo& out)
{
    if (!m_pProfile) {
        ClMessageBox(nullptr, L"未定义纵断面对象! 无法平移横断面地面线数据!", kCaption, MB_ICONERROR);
        return;
    }
    KeyDMXInfo s = section;
    const double z0 = m_pProfile->GetDMXElevation(s.m_rZH);
    if (m_nFormat != 0) {
        for (double& h : s.m_LeftHeight) h += z0;
        for (double& h : s.m_RightHeight) h += z0;
    }
    m_Current = s;
    if (std::fabs(offset) < 1e-6) {
        out = s;
        return;
    }
    // The ground under the new centre line; on a side without ground points
    // the ground is taken as level with the centre point.
    double zc = GetHeight(offset);
    const bool toLeft = offset < 0.0;
    if ((toLeft ? s.GetLeftCount() : s.GetRightCount()) < 2) zc = z0;

    const double d = std::fabs(offset);
    // The side towards the new centre line ("near") keeps its points beyond
    // it; those between the two centre lines cross to the other side
    // ("far"), which also takes all its own points d further out.
    const std::vector<double>& nearDistance = toLeft ? s.m_LeftDistance : s.m_RightDistance;
    const std::vector<double>& nearHeight = toLeft ? s.m_LeftHeight : s.m_RightHeight;
    const std::vector<double>& farDistance = toLeft ? s.m_RightDistance : s.m_LeftDistance;
    const std::vector<double>& farHeight = toLeft ? s.m_RightHeight : s.m_LeftHeight;

    std::vector<double> nd{0.0}, nh{zc}, fd{0.0}, fh{zc};
    std::vector<double> crossedDistance, crossedHeight;
    for (size_t i = 1; i < nearDistance.size(); ++i) {
        const double p = nearDistance[i];
        if (p > d) {
            nd.push_back(p - d);
            nh.push_back(nearHeight[i]);
        } else {
            crossedDistance.push_back(d - p);
            crossedHeight.push_back(nearHeight[i]);
        }
    }
    // Crossed points come nearest first on the far side.
    fd.insert(fd.end(), crossedDistance.rbegin(), crossedDistance.rend());
    fh.insert(fh.end(), crossedHeight.rbegin(), crossedHeight.rend());
    for (size_t i = 1; i < farDistance.size(); ++i) {
        fd.push_back(farDistance[i] + d);
        fh.push_back(farHeight[i]);
    }
    // The old centre point goes in at its place by distance among the far
    // side's points (after the new centre point at the front).
    size_t at = fd.size();
    if (fd.size() > 1) {
        const size_t first = 1, last = fd.size() - 1;
        if (d < fd[first] - 1e-6) {
            at = first;
        } else if (d > fd[last] - 1e-6) {
            at = fd.size();
        } else {
            for (size_t i = first; i < last; ++i) {
                if (fd[i] - 1e-6 < d && d < fd[i + 1] + 1e-6) {
                    at = i + 1;
                    break;
                }
            }
        }
    }
    fd.insert(fd.begin() + static_cast<std::ptrdiff_t>(at), d);
    fh.insert(fh.begin() + static_cast<std::ptrdiff_t>(at), z0);

    out.m_rZH = s.m_rZH;
    out.m_LeftDistance = toLeft ? nd : fd;
    out.m_LeftHeight = toLeft ? nh : fh;
    out.m_RightDistance = toLeft ? fd : nd;
    out.m_RightHeight = toLeft ? fh : nh;
}

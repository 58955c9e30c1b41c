#include "brisko/convert/DitchBottoms.h"
#include "brisko/convert/DerivedFiles.h"
#include "brisko/convert/ToolDialog.h"
#include "brisko/shell/Helpers.h"
#include "corvane/base/LastError.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"
#include <vector>

CString ReadDitchBottom(const CString& line, double& bottom)
{
    bottom = kNoDitchBottom;
    CStringArray f;
    if (tkx_DivideString(line, f) == -1 || f.GetSize() % 3 != 0) return L"边坡个数不匹配!\n每点3个数据.";
    const wchar_t* const messages[3] = {L"边坡第%d个数据偏宽<%s>时错误!", L"边坡第%d个数据高程<%s>时错误!",
                                        L"边坡第%d个数据<%s>时错误!"};
    // Every point is checked, also those after the ditch bottom.
    double before = 0.0;
    for (int i = 0; i < f.GetSize(); i += 3) {
        double values[3] = {0.0, 0.0, 0.0};
        for (int k = 0; k < 3; ++k)
            if (!ReadToolNumber(f[i + k], &values[k])) return ClFormat(messages[k], i + k + 1, f[i + k].GetString());
        if (bottom == kNoDitchBottom && i > 0 && static_cast<long long>(values[2]) == 3)
            bottom = (before + values[1]) / 2.0;
        before = values[1];
    }
    return CString();
}

namespace {

int Fail(CDialog* owner, const CString& text)
{
    ShowFormattedMessage(owner, MB_ICONINFORMATION, L"%s", text.GetString());
    return 0;
}

CString Elevation(double value) { return value > -999999.0 ? ClFormat(L"%.3f", value) : CString(L"NULL"); }

} // namespace

int ExtractDitchBottoms(CDialog* owner, const CString& path3DD, const CString& dlPath, const CString& outPath,
                        const CString& roadName)
{
    tkxBreakChain chain;
    if (!dlPath.IsEmpty() && !chain.LoadDLFile(dlPath))
        return Fail(owner, ClFormat(L"读取桩号断链文件<%s>出错!\n\n%s", dlPath.GetString(), tkx_GetLastError().GetString()));

    std::vector<ToolDataLine> lines;
    int endLine = 0;
    const ToolRead read = ReadToolDataLines(path3DD, lines, endLine);
    if (read == ToolRead::NotOpened || (read == ToolRead::Done && lines.empty()))
        return Fail(owner, ClFormat(L"读取3DD文件失败!\n\n%s", path3DD.GetString()));
    if (read == ToolRead::BadLine)
        return Fail(owner, ClFormat(L"读取3DD文件%s,第%d行失败!\n\n断面数据不全!", path3DD.GetString(), endLine));
    // A title line without a section gives nothing to extract: the tool
    // says so instead of replacing an earlier result with an empty one.
    if (lines.size() < 2) return Fail(owner, NoToolDataText(path3DD));

    const CString& path = path3DD;
    CString text = ClFormat(L"//提取道路两侧边沟沟底高程   [道路名称]: %s\n", roadName.GetString());
    text += L"//数据格式: 桩号  左侧沟底高程 右侧沟底高程 [断链号]\n";
    // The first data line is the file's title; then six lines a section:
    // station, three lines not used here, the left and the right slope.
    size_t next = 1;
    while (next < lines.size()) {
        const ToolDataLine& stationLine = lines[next];
        double station = 0.0;
        if (!ReadToolNumber(stationLine.text, &station))
            return Fail(owner, ClFormat(L"读取3DD文件%s,第%d行，\n\n[%s]断面桩号错误!", path.GetString(), stationLine.line,
                                        stationLine.text.GetString()));
        double bottoms[2] = {kNoDitchBottom, kNoDitchBottom};
        const wchar_t* const sideMessages[2] = {L"读取3DD文件%s,第%d行左侧边坡数据错误!\n\n%s!",
                                                L"读取3DD文件%s,第%d行右侧边坡数据错误!\n\n%s!"};
        for (size_t side = 0; side < 2; ++side) {
            const size_t at = next + 4 + side;
            if (at >= lines.size())
                return Fail(owner, ClFormat(L"读取3DD文件%s,第%d行失败!\n\n断面数据不全!", path.GetString(), endLine));
            const CString message = ReadDitchBottom(lines[at].text, bottoms[side]);
            if (!message.IsEmpty())
                return Fail(owner, ClFormat(sideMessages[side], path.GetString(), lines[at].line, message.GetString()));
        }
        next += 6;

        const short segment = chain.GetBreakChainID(station);
        const CString shown = chain.GetStringBreakZH(station, -1, 0);
        if (segment > 1)
            text += ClFormat(L"%s\t%s\t%s\t%d\n", shown.GetString(), Elevation(bottoms[0]).GetString(),
                             Elevation(bottoms[1]).GetString(), segment);
        else
            text += ClFormat(L"%s\t%s\t%s\n", shown.GetString(), Elevation(bottoms[0]).GetString(),
                             Elevation(bottoms[1]).GetString());
    }
    if (!WriteToolOutputs({{CString(outPath), text}}))
        return Fail(owner, tkx_SaveFailureText(outPath, ClFormat(L"创建沟底高程文件失败!\n\n%s", outPath.GetString())));
    return 1;
}

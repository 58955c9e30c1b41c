#include "brisko/convert/StructureTools.h"
#include "brisko/convert/DerivedFiles.h"
#include "brisko/convert/ToolDialog.h"
#include "brisko/shell/Helpers.h"
#include "corvane/base/LastError.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Structures.h"
#include <cmath>
#include <vector>

namespace {

// The minimum field count of each kind of line, with its message.
struct KindRule
{
    int minimum;
    const wchar_t* message;
};

const KindRule kKindRules[] = {
    {6, L"读文件[%s],\n\n第%d行错误, 桥梁数据每行最少6个数据!\n\n[%s]"},
    {7, L"读文件[%s],\n\n第%d行错误, 涵洞数据每行最少7个数据!\n\n[%s]"},
    {7, L"读文件[%s],\n\n第%d行错误, 通道数据每行最少7个数据!\n\n[%s]"},
    {4, L"读文件[%s],\n\n第%d行错误, 隧道数据每行最少4个数据!\n\n[%s]"},
};

// A skew angle as the GZX file writes it: the degree sign as "d".
CString SkewText(CString text)
{
    text.Replace(L"°", L"d");
    return text;
}

// The remark of a culvert or passage line: "NULL", the structure reader's
// own empty remark, when the list gives none, so that the row keeps the
// reader's field count.
CString RemarkOrNull(const CStringArray& f, int i) { return i < f.GetSize() ? f[i] : CString(L"NULL"); }

int LineError(CDialog* owner, const wchar_t* format, const CString& path, const ToolDataLine& line)
{
    ShowFormattedMessage(owner, MB_ICONERROR, format, path.GetString(), line.line, line.text.GetString());
    return 0;
}

} // namespace

bool SplitSpanText(const CString& textIn, CString& span, CString& beam)
{
    CString text = textIn;
    text.Trim();
    int n = 0;
    while (n < text.GetLength() && wcschr(L"0123456789+xX*.", text[n]) && text[n] != L'\0') ++n;
    if (n == 0) return false;
    span = text.Left(n);
    beam = text.Mid(n);
    beam.Trim();
    if (beam.IsEmpty()) beam = L"void";
    return true;
}

int ConvertGZWToGZX(CDialog* owner, const CString& gzwPath, const CString& gzxPath)
{
    std::vector<ToolDataLine> lines;
    int badLine = 0;
    const ToolRead read = ReadToolDataLines(gzwPath, lines, badLine);
    if (read == ToolRead::NotOpened) {
        ShowFormattedMessage(owner, MB_ICONINFORMATION, L"打开导入结构物文件时出错!\n\n%s", gzwPath.GetString());
        return 0;
    }
    if (read == ToolRead::BadLine)
        return LineError(owner, L"读文件[%s],\n\n第%d行错误!\n\n[%s]", gzwPath, ToolDataLine{CString(), badLine});

    CString rows;
    CStringArray f;
    for (const ToolDataLine& line : lines) {
        if (tkx_DivideString(line.text, f) == -1 || f.GetSize() == 0)
            return LineError(owner, L"读文件[%s],\n\n第%d行错误!\n\n[%s]", gzwPath, line);
        if (f.GetSize() < 4)
            return LineError(owner, L"读文件[%s],\n\n第%d行错误, 每行最少4个数据!\n\n[%s]", gzwPath, line);
        // The kind is a whole number; a kind the tool does not know is
        // passed over.
        double kindValue = 0.0;
        if (!ReadToolNumber(f[0], &kindValue) || kindValue != std::floor(kindValue))
            return LineError(owner, L"读文件[%s],\n\n第%d行错误, 构造物类型代码错误!\n\n[%s]", gzwPath, line);
        if (kindValue < 0.0 || kindValue > 3.0) continue;
        const int kind = static_cast<int>(kindValue);
        if (f.GetSize() < kKindRules[kind].minimum) return LineError(owner, kKindRules[kind].message, gzwPath, line);

        // The rows have the structure reader's columns (tkxQHInfo::
        // ReadInfoFromString); what the list does not hold is a placeholder
        // the reader refuses until the user has put a number in its place.
        // The list's remark of a bridge or a tunnel has no column there.
        CString row;
        if (kind == 0) {
            CString span, beam;
            if (!SplitSpanText(f[2], span, beam))
                return LineError(owner, L"读文件[%s],\n\n第%d行错误, 桥梁跨径描述数据错误!\n\n[%s]", gzwPath, line);
            row.Format(L"0\t%s\t%s\t%s\t[桥梁起点桥台长待填]\t[桥梁终点桥台长待填]"
                       L"\t%s\t%s\t[桥梁标注中心位置待填]\t[梁高待填]\n",
                       f[1].GetString(), f[3].GetString(), SkewText(f[5]).GetString(), span.GetString(),
                       beam.GetString());
        } else if (kind == 1 || kind == 2) {
            // A passage ends with the reader's flag column, "F" as the
            // reader's writer gives it for a passage without the flag.
            row.Format(kind == 1 ? L"1\t%s\t%s\t%s\t%s\t%s\t%s\t[涵洞高度待填]\t[涵洞底标高待填]\t%s\n"
                                 : L"2\t%s\t%s\t%s\t%s\t%s\t%s\t[通道高度待填]\t[通道底标高待填]\t%s\tF\n",
                       f[1].GetString(), f[2].GetString(), SkewText(f[3]).GetString(), f[4].GetString(),
                       f[5].GetString(), f[6].GetString(), RemarkOrNull(f, 7).GetString());
        } else {
            double start = 0.0, end = 0.0;
            if (!ReadToolNumber(f[2], &start) || !ReadToolNumber(f[3], &end) || end < start)
                return LineError(owner, L"读文件[%s],\n\n第%d行错误, 隧道起终点桩号错误!\n\n[%s]", gzwPath, line);
            row.Format(L"3\t%s\t%s\t%.3f\t[隧道高度待填]\n", f[1].GetString(), f[2].GetString(), end - start);
        }
        rows += row;
    }
    // No structure of a kind the tool knows: nothing to convert.
    if (rows.IsEmpty()) {
        ShowFormattedMessage(owner, MB_ICONINFORMATION, L"%s", NoToolDataText(gzwPath).GetString());
        return 0;
    }
    if (!WriteToolOutputs({{CString(gzxPath), rows}})) {
        ShowFormattedMessage(owner, MB_ICONERROR, L"%s",
                             tkx_SaveFailureText(gzxPath, ClFormat(L"创建桥涵文件失败!\n\n%s", gzxPath.GetString()))
                                 .GetString());
        return 0;
    }
    return 1;
}

int ExportGZXToQL(CDialog* owner, const CString& gzxPath, const CString& qlPath, const tkxBreakChain& chain)
{
    CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> records;
    if (!tkx_ReadQHFile(gzxPath, chain, records)) {
        ShowFormattedMessage(owner, MB_ICONINFORMATION, L"%s", tkx_GetLastError().GetString());
        return 0;
    }
    // A file of structures without a bridge gives an empty station file; a
    // file without any structure gives nothing.
    if (records.GetSize() == 0) {
        ShowFormattedMessage(owner, MB_ICONINFORMATION, L"%s", NoToolDataText(gzxPath).GetString());
        return 0;
    }
    CString lines;
    for (INT_PTR i = 0; i < records.GetSize(); ++i) {
        const Tavix4::sQHInfo& record = records[i];
        if (record.m_iKind != Tavix4::QH_BRIDGE && record.m_iKind != Tavix4::QH_BRIDGE_PLUS &&
            record.m_iKind != Tavix4::QH_BRIDGE_MINUS)
            continue;
        tkxQHInfo bridge(&chain);
        if (!bridge.GetInfoByStruct(record)) {
            ShowFormattedMessage(owner, MB_ICONINFORMATION, L"导入桥梁[%s]桩号范围失败!", record.m_SName.GetString());
            continue;
        }
        const double start = bridge.GetStartZH(), end = bridge.GetEndZH();
        const int startChain = chain.GetBreakChainID(start), endChain = chain.GetBreakChainID(end);
        lines += ClFormat(L"//%s\n", record.m_SName.GetString());
        if (startChain > 1 || endChain > 1)
            lines += ClFormat(L"%.3f %.3f %d %d\n", chain.GetBreakZH(start), chain.GetBreakZH(end), startChain, endChain);
        else
            lines += ClFormat(L"%.3f %.3f\n", chain.GetBreakZH(start), chain.GetBreakZH(end));
    }
    if (!WriteToolOutputs({{CString(qlPath), lines}})) {
        ShowFormattedMessage(owner, MB_ICONERROR, L"%s",
                             tkx_SaveFailureText(qlPath, ClFormat(L"创建桥梁桩号文件失败!\n\n%s", qlPath.GetString()))
                                 .GetString());
        return 0;
    }
    return 1;
}

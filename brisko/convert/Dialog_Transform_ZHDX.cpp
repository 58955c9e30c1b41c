#include "brisko/convert/Dialog_Transform_ZHDX.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/OutputCheck.h"
#include "brisko/shell/BriskoApp.h"
#include <vector>

namespace {

// HintCAD profile ground line: station (with its chain letter) and ground
// elevation per line; a first field holding "HINTCAD" is dropped.
BOOL ReadHintCADProfile(ToolSource& in, CString& text, CString& message, ToolReadBack& check)
{
    text = L"\n";
    int rows = 0;
    int chain = 1, lastChain = 1;
    StationOrder order;
    std::vector<int> lines(1, 0); // the blank line, then a row per line
    for (;;) {
        const int read = in.Next();
        if (read == 0) break;
        if (read < 0 || in.SplitResult() == -1) {
            message = in.LineFailed();
            return FALSE;
        }
        if (in.Count() > 0 && in.Token(1).Find(L"HINTCAD") >= 0) {
            in.Tokens().RemoveAt(0);
            if (in.Count() == 0) continue;
        }
        if (in.Count() < 2) {
            message = in.TooFew(2);
            return FALSE;
        }
        CString plain;
        double station = 0;
        if (!PlainStationText(ChainLetterStation(in.Token(1), chain), plain) || !ReadToolNumber(plain, &station)) {
            message = in.FieldFailed(1, L"桩号");
            return FALSE;
        }
        if (!in.Number(2, L"地面高程", nullptr, message)) return FALSE;
        if (!order.Next(station, chain)) {
            message = FallingStation(in);
            return FALSE;
        }
        check.AddStation(station, chain);
        text.AppendFormat(L"%s\t%s\n", ChainedStationText(plain, chain, lastChain).GetString(),
                          in.Token(2).GetString());
        lines.push_back(in.LineNo());
        ++rows;
    }
    check.MapLines(0, std::move(lines));
    if (rows == 0) {
        message = ClFormat(L"读输入文件%s失败!\n\n地面线数据不足.", in.Path().GetString());
        return FALSE;
    }
    return TRUE;
}

struct SideNames {
    const wchar_t* count;
    const wchar_t* countFault;
};
const SideNames kLeft = {L"左侧断面点数", L"左侧断面数据个数有错!"};
const SideNames kRight = {L"右侧断面点数", L"右侧断面数据个数有错!"};

// One side of a HintCAD section: the point count n, then n pairs of
// distance and height difference, written "%.3f %.3f " each.
BOOL ReadHintCADSide(ToolSource& in, const SideNames& names, CString& text, CString& message)
{
    double count = 0;
    if (!in.Number(1, names.count, &count, message)) return FALSE;
    const int points = ToolWholeNumber(count);
    if (points < 0 || in.Count() != 2 * static_cast<long long>(points) + 1) {
        message = ClFormat(L"读输入文件%s\n\n第%d行失败!\n\n[%s]\n\n%s", in.Path().GetString(), in.LineNo(),
                           in.Line().GetString(), names.countFault);
        return FALSE;
    }
    for (int k = 0; k < points; ++k) {
        double distance = 0, height = 0;
        if (!in.Number(2 * k + 2, L"距离", &distance, message) || !in.Number(2 * k + 3, L"高差", &height, message))
            return FALSE;
        text.AppendFormat(L"%.3f %.3f ", distance, height);
    }
    text += L"\n";
    return TRUE;
}

// HintCAD cross-section ground line: per section a station line (with its
// chain letter), a left and a right line.  The result is in the raised-rod
// layout (no keyword line).
BOOL ReadHintCADSections(ToolSource& in, CString& text, CString& message, ToolReadBack& check)
{
    text = L"\n";
    int lines = 0;
    int chain = 1;
    StationOrder order;
    std::vector<int> inputLines(1, 0); // the blank line, then three lines a section
    for (;;) {
        const int read = in.Next();
        if (read == 0) break;
        if (read < 0 || in.SplitResult() == -1) {
            message = ClFormat(L"读输入文件%s\n\n读取第%d行[%s]失败!", in.Path().GetString(), in.LineNo(),
                               in.Line().GetString());
            return FALSE;
        }
        if (in.Count() < 1) {
            message = in.TooFew(1);
            return FALSE;
        }
        if (in.Token(1).Find(L"HINTCAD") >= 0) {
            in.Tokens().RemoveAt(0);
            if (in.Count() == 0) continue;
        }
        CString station = ChainLetterStation(in.Token(1), chain);
        CString plain;
        double value = 0;
        if (!PlainStationText(station, plain) || !ReadToolNumber(plain, &value)) {
            message = in.FieldFailed(1, L"断面桩号");
            return FALSE;
        }
        if (!order.Next(value, chain)) {
            message = FallingStation(in);
            return FALSE;
        }
        check.AddStation(value, chain);
        if (chain > 1) station.AppendFormat(L"_%d", chain);
        text += station + L"\n";
        inputLines.push_back(in.LineNo());

        if (in.Next() != 1 || in.Count() < 3) {
            message = ClFormat(L"读输入文件%s\n\n第%d行[%s]失败!", in.Path().GetString(), in.LineNo(),
                               in.Line().GetString());
            return FALSE;
        }
        if (!ReadHintCADSide(in, kLeft, text, message)) return FALSE;
        inputLines.push_back(in.LineNo());
        if (in.Next() != 1 || in.Count() <= 2) {
            message = in.LineFailed();
            return FALSE;
        }
        if (!ReadHintCADSide(in, kRight, text, message)) return FALSE;
        inputLines.push_back(in.LineNo());
        lines += 3;
    }
    if (lines < 3) {
        message = ClFormat(L"读输入文件%s\n\n第%d行失败! 文件内容不足!", in.Path().GetString(), in.LineNo());
        return FALSE;
    }
    check.MapLines(0, std::move(inputLines));
    return TRUE;
}

// 路线大师 cross-section ground line: a format flag on the first line; flags
// 1 (ABS1) and 2 (raised rod) hold the suite's lines already, any other flag
// sections of a station line and two side lines of pairs, flag 3 with
// distances from the centre and heights from the point before, any other
// with distances from the point before and heights from the centre.
BOOL ReadRMSections(ToolSource& in, CString& text, CString& message, ToolReadBack& check)
{
    if (!in.NextData(1, message)) return FALSE;
    double flagValue = 0;
    if (!in.Number(1, L"格式标志", &flagValue, message)) return FALSE;
    const int flag = ToolWholeNumber(flagValue);

    // Flags 1 and 2 copy every further line; any other flag reads sections.
    const bool copy = flag == 1 || flag == 2;
    CString body = flag == 1 ? L"ABS1\n" : L"";
    StationOrder order;
    // The input line of every line of the text: the layout comment and the
    // blank line (and the layout line "ABS1"), then the body.
    std::vector<int> lines(flag == 1 ? 3 : 2, 0);
    const size_t header = lines.size();
    for (;;) {
        const int read = in.Next();
        if (read == 0) break;
        if (read < 0) {
            message = in.LineFailed();
            return FALSE;
        }
        lines.push_back(in.LineNo());
        if (copy) {
            body += in.Line() + L"\n";
            continue;
        }
        double station = 0;
        if (!in.Number(1, L"断面桩号", &station, message)) return FALSE;
        if (!order.Next(station)) {
            message = FallingStation(in);
            return FALSE;
        }
        body += in.Line() + L"\n";
        for (int side = 0; side < 2; ++side) {
            if (in.Next() != 1 || in.Count() < 2) {
                message = ClFormat(L"读输入文件%s\n\n第%d行失败!\n\n%s", in.Path().GetString(), in.LineNo(),
                                   in.Line().GetString());
                return FALSE;
            }
            lines.push_back(in.LineNo());
            double previousDistance = 0, previousHeight = 0;
            for (int k = 0; 2 * k + 1 < in.Count(); ++k) {
                double distance = 0, height = 0;
                if (!in.Number(2 * k + 1, L"平距", &distance, message) ||
                    !in.Number(2 * k + 2, L"高差", &height, message))
                    return FALSE;
                if (flag == 3)
                    body.AppendFormat(L"%.3f %.3f ", distance - previousDistance, height);
                else
                    body.AppendFormat(L"%.3f %.3f ", distance, height - previousHeight);
                previousDistance = distance;
                previousHeight = height;
            }
            body += L"\n";
        }
    }
    // The flag line alone: no section to convert.
    if (lines.size() == header) {
        message = NoToolDataText(in.Path());
        return FALSE;
    }
    text = flag == 1 ? L"//数据格式: ABS1, 即:各点到中桩的距离, 与中桩的高差\n\n"
                     : L"//数据格式: 抬杆法, 即:各点到上一点的距离, 与上一点的高差\n\n";
    text += body;
    check.MapLines(0, std::move(lines));
    return TRUE;
}

// The section and the texts of a mode.
struct ModeTexts {
    short mode;
    const wchar_t* section;
    const wchar_t* title;
    const wchar_t* group;
    const wchar_t* inputLabel;
    const wchar_t* outputLabel;
    const wchar_t* inputExtension;
    const wchar_t* inputFilter;
    const wchar_t* inputTitle;
    const wchar_t* outputExtension; // with its point
};

const ModeTexts kModes[] = {
    {0, tool_section::HintCAD_HDX, L"转换纬地HintCAD 横断面地面线文件", L" 输入 纬地HintCAD 文件 ", L"纬地横地线文件(*.HDM):",
     L"Tavix横断面地面线文件(*.HDX):", L"HDM", L"纬地横断面地面线文件*.HDM|*.HDM|*.*||", L"选择纬地横断面地面线文件*.HDM",
     L".HDX"},
    {1, tool_section::RM_HDX, L"转换路线大师横断面地面线文件", L" 输入路线大师文件 ", L"路线大师横地线文件(*.DMX):",
     L"Tavix横断面地面线文件(*.HDX):", L"DMX", L"路线大师横地线文件*.DMX|*.DMX|*.*||", L"选择路线大师横断面地面线文件*.DMX",
     L".HDX"},
    {10, tool_section::HintCAD_ZDX, L"复制纬地HintCAD 纵断面地面线文件", L" 输入 纬地HintCAD 文件 ", L"纬地纵地线文件(*.DMX):",
     L"Tavix纵断面地面线文件(*.DMX):", L"DMX", L"纬地纵断面地面线文件*.DMX|*.DMX|*.*||", L"选择纬地纵断面地面线文件*.DMX",
     L".DMX"},
    {11, tool_section::RM_ZDX, L"转换路线大师纵断面地面线文件", L" 输入路线大师文件 ", L"路线大师纵地线文件(*.DMG):",
     L"Tavix纵断面地面线文件(*.DMX):", L"DMG", L"路线大师纵地线文件*.DMG|*.DMG|*.*||", L"选择路线大师纵断面地面线文件*.DMG",
     L".DMX"},
};

const ModeTexts* TextsOf(short mode)
{
    for (const ModeTexts& texts : kModes)
        if (texts.mode == mode) return &texts;
    return nullptr;
}

} // namespace

int TransformHintCADDMXFile(const wchar_t* input, const wchar_t* output)
{
    ToolReadBack check(input, {SuiteFileKind::DMX});
    return RunToolConversion(
        input, output, L"//转换纬地HintCAD纵断面地面线数据文件:%s\n",
        [&check](ToolSource& in, CString& text, CString& message) { return ReadHintCADProfile(in, text, message, check); },
        ShowApplicationMessage, check);
}

int TransformHintCADHDMFile(const wchar_t* input, const wchar_t* output)
{
    ToolReadBack check(input, {SuiteFileKind::HDX});
    return RunToolConversion(
        input, output, L"//转换纬地HintCAD横断面地面线数据文件:%s\n",
        [&check](ToolSource& in, CString& text, CString& message) { return ReadHintCADSections(in, text, message, check); },
        ShowApplicationMessage, check);
}

int CDialog_Transform_ZHDX::TransformRMHDXFile()
{
    ToolReadBack check(m_SInFileName, {SuiteFileKind::HDX});
    return RunToolConversion(
        m_SInFileName, m_SOutFileName, L"//转换路线大师横断面地面线数据文件:%s\n",
        [&check](ToolSource& in, CString& text, CString& message) { return ReadRMSections(in, text, message, check); },
        [this](const CString& text) { ShowToolMessage(this, text); }, check);
}

int CDialog_Transform_ZHDX::CopyRMDMGFile()
{
    // A file without a data line would be copied as a ground line of no
    // point, which the suite's reader takes.
    ToolLineReader lines;
    CString first;
    if (lines.Open(m_SInFileName) && lines.Next(first) == 0) {
        ShowToolMessage(this, NoToolDataText(m_SInFileName), MB_ICONHAND);
        return 0;
    }
    lines.Close();
    ToolReadBack check(m_SInFileName, {SuiteFileKind::DMX});
    if (CopyToolFile(m_SInFileName, m_SOutFileName, check.Check())) return 1;
    ShowToolMessage(this, check.Refused() ? check.Message() : tkx_SaveFailureText(m_SOutFileName, L"复制文件失败!"),
                    MB_ICONHAND);
    return 0;
}

void ShowTransformZHDXDialog(short mode)
{
    CDialog_Transform_ZHDX dialog(theApp.m_pMainWnd);
    dialog.m_nMode = mode;
    dialog.DoModal();
}

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog_Transform_ZHDX, CToolDialog)
    ON_BN_CLICKED(IDC_TOOL_PICK_INPUT, OnPickInput)
    ON_BN_CLICKED(IDC_TOOL_PICK_OUTPUT, OnPickOutput)
    ON_BN_CLICKED(IDC_TOOL_VIEW_INPUT, OnViewInput)
END_MESSAGE_MAP()

CDialog_Transform_ZHDX::CDialog_Transform_ZHDX(CWnd* parent) : CToolDialog(IDD_TRANSFORM_ZHDX, parent) {}

void CDialog_Transform_ZHDX::SerializeSettings(int get)
{
    if (const ModeTexts* texts = TextsOf(m_nMode))
        ExchangeToolSettings(get, texts->section, {m_SInFileName, m_SOutFileName});
}

void CDialog_Transform_ZHDX::DoDataExchange(CDataExchange* pDX)
{
    m_buttons.Exchange(pDX);
    DDX_Text(pDX, IDC_TOOL_INPUT, m_SInFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT, m_SOutFileName);
}

BOOL CDialog_Transform_ZHDX::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SerializeSettings(1);
    if (const ModeTexts* texts = TextsOf(m_nMode)) {
        SetWindowText(texts->title);
        SetDlgItemText(IDC_TOOL_INPUT_GROUP, texts->group);
        SetDlgItemText(IDC_TOOL_INPUT_LABEL, texts->inputLabel);
        SetDlgItemText(IDC_TOOL_OUTPUT_LABEL, texts->outputLabel);
    }
    m_buttons.Setup();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_Transform_ZHDX::OnPickInput()
{
    const ModeTexts* texts = TextsOf(m_nMode);
    if (!texts || !PickFile(1, m_SInFileName, texts->inputExtension, texts->inputFilter, texts->inputTitle)) return;
    m_SOutFileName = ToolDerivedPath(m_SInFileName, texts->outputExtension);
    UpdateData(FALSE);
}

void CDialog_Transform_ZHDX::OnPickOutput()
{
    const bool sections = m_nMode == 0 || m_nMode == 1;
    if (PickFile(0, m_SOutFileName, sections ? L"HDX" : L"DMX",
                 sections ? L"Tavix 横断面地面线文件*.HDX|*.HDX|*.*||" : L"Tavix 纵断面地面线文件*.DMX|*.DMX|*.*||",
                 sections ? L"保存Tavix横断面地面线文件*.HDX" : L"保存Tavix纵断面地面线文件*.DMX"))
        UpdateData(FALSE);
}

void CDialog_Transform_ZHDX::OnViewInput()
{
    if (!UpdateData(TRUE)) return;
    ViewFile(m_SInFileName, L"输入文件[%s]不存在!");
}

void CDialog_Transform_ZHDX::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (!ConfirmOverwrite(m_SOutFileName, L"输出文件已存在!\n\n是否覆盖?")) return;
    SerializeSettings(0);
    int done = 0;
    switch (m_nMode) {
    case 0: done = TransformHintCADHDMFile(m_SInFileName, m_SOutFileName); break;
    case 1: done = TransformRMHDXFile(); break;
    case 10: done = TransformHintCADDMXFile(m_SInFileName, m_SOutFileName); break;
    case 11: done = CopyRMDMGFile(); break;
    default: break;
    }
    if (!done) return;
    CDialog::OnOK();
    AskOpenGenerated(L"是否打开生成的数据文件?", {m_SOutFileName});
}

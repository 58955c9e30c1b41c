#include "brisko/convert/Dialog_Transform_SQX.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/OutputCheck.h"
#include "brisko/shell/BriskoApp.h"
#include <vector>

namespace {

// HintCAD: "HINTCAD" lines, the count of grade points, then one line per
// point: station (with its chain letter), elevation, curve radius.  The
// first and the last point carry no radius.
BOOL ReadHintCADGradePoints(ToolSource& in, CString& text, CString& message, ToolReadBack& check)
{
    if (!SkipHintCADLines(in, message)) return FALSE;
    double count = 0;
    if (!in.Number(1, L"变坡点数", &count, message)) return FALSE;
    if (count < 0.0) {
        message = in.FieldFailed(1, L"变坡点数");
        return FALSE;
    }
    const int points = ToolWholeNumber(count);
    if (points == 0) {
        message = NoToolDataText(in.Path());
        return FALSE;
    }

    text = L"\n";
    int chain = 1, lastChain = 1;
    StationOrder order;
    std::vector<int> lines(1, 0); // the blank line, then a line per point
    for (int i = 0; i < points; ++i) {
        if (in.Next() != 1 || in.Count() < 3) {
            message = in.LineFailed();
            return FALSE;
        }
        CString plain;
        double value = 0;
        if (!PlainStationText(ChainLetterStation(in.Token(1), chain), plain) || !ReadToolNumber(plain, &value)) {
            message = in.FieldFailed(1, L"变坡点桩号");
            return FALSE;
        }
        if (!in.Number(2, L"变坡点设计高程", nullptr, message) || !in.Number(3, L"竖曲线半径", nullptr, message))
            return FALSE;
        if (!order.Next(value, chain)) {
            message = FallingStation(in);
            return FALSE;
        }
        check.AddStation(value, chain);
        lines.push_back(in.LineNo());
        const CString station = ChainedStationText(plain, chain, lastChain);
        if (i == 0 || i == points - 1)
            text.AppendFormat(L"%s %s\n", station.GetString(), in.Token(2).GetString());
        else
            text.AppendFormat(L"%s %s %s\n", station.GetString(), in.Token(2).GetString(), in.Token(3).GetString());
    }
    check.MapLines(0, std::move(lines));
    return TRUE;
}

// 路线大师: one grade point per line (station, elevation, radius); the first
// and the last point are written without their radius.
BOOL ReadRMGradePoints(ToolSource& in, CString& text, CString& message, ToolReadBack& check)
{
    text = L"\n";
    int points = 0;
    CString last, lastShort;
    StationOrder order;
    std::vector<int> lines(1, 0); // the blank line, then a line per point
    for (;;) {
        const int read = in.Next();
        if (read == 0) break;
        if (read < 0 || in.Count() < 3) {
            message = in.LineFailed();
            return FALSE;
        }
        double station = 0;
        if (!in.Number(1, L"变坡点桩号", &station, message) || !in.Number(2, L"变坡点设计高程", nullptr, message) ||
            !in.Number(3, L"竖曲线半径", nullptr, message))
            return FALSE;
        if (!order.Next(station)) {
            message = FallingStation(in);
            return FALSE;
        }
        lines.push_back(in.LineNo());
        if (points > 0) text += last;
        lastShort.Format(L"%s %s\n", in.Token(1).GetString(), in.Token(2).GetString());
        last = points == 0 ? lastShort
                           : ClFormat(L"%s %s %s\n", in.Token(1).GetString(), in.Token(2).GetString(),
                                      in.Token(3).GetString());
        ++points;
    }
    if (points == 0) {
        message = NoToolDataText(in.Path());
        return FALSE;
    }
    if (points == 1) {
        // The one point would be both the first and the last grade point.
        message = ClFormat(L"输出终点桩号和设计高程信息失败!\n\n%s", lastShort.Left(lastShort.GetLength() - 1).GetString());
        return FALSE;
    }
    text += lastShort;
    check.MapLines(0, std::move(lines));
    return TRUE;
}

} // namespace

int TransformHintCADZDMFile(const wchar_t* input, const wchar_t* output)
{
    ToolReadBack check(input, {SuiteFileKind::SQX});
    return RunToolConversion(
        input, output, L"//转换纬地HintCAD纵断面竖曲线文件:%s\n",
        [&check](ToolSource& in, CString& text, CString& message) {
            return ReadHintCADGradePoints(in, text, message, check);
        },
        ShowApplicationMessage, check);
}

int CDialog_Transform_SQX::TransformRMZDMFile()
{
    ToolReadBack check(m_SInFileName, {SuiteFileKind::SQX});
    return RunToolConversion(
        m_SInFileName, m_SOutFileName, L"//转换路线大师纵断面竖曲线文件:%s\n",
        [&check](ToolSource& in, CString& text, CString& message) { return ReadRMGradePoints(in, text, message, check); },
        [this](const CString& text) { ShowToolMessage(this, text); }, check);
}

void ShowTransformSQXDialog(short mode)
{
    CDialog_Transform_SQX dialog(theApp.m_pMainWnd);
    dialog.m_nMode = mode;
    dialog.DoModal();
}

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog_Transform_SQX, CToolDialog)
    ON_BN_CLICKED(IDC_TOOL_PICK_INPUT, OnPickInput)
    ON_BN_CLICKED(IDC_TOOL_PICK_OUTPUT, OnPickOutput)
    ON_BN_CLICKED(IDC_TOOL_VIEW_INPUT, OnViewInput)
END_MESSAGE_MAP()

CDialog_Transform_SQX::CDialog_Transform_SQX(CWnd* parent) : CToolDialog(IDD_TRANSFORM_SQX, parent) {}

void CDialog_Transform_SQX::SerializeSettings(int get)
{
    if (m_nMode == 0 || m_nMode == 1)
        ExchangeToolSettings(get, m_nMode == 0 ? tool_section::HintCAD_ZDM : tool_section::RM_ZDM,
                             {m_SInFileName, m_SOutFileName});
}

void CDialog_Transform_SQX::DoDataExchange(CDataExchange* pDX)
{
    m_buttons.Exchange(pDX);
    DDX_Text(pDX, IDC_TOOL_INPUT, m_SInFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT, m_SOutFileName);
}

BOOL CDialog_Transform_SQX::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SerializeSettings(1);
    const bool hintCAD = m_nMode == 0;
    SetWindowText(hintCAD ? L"转换纬地HintCAD 纵断面竖曲线文件" : L"转换路线大师纵断面竖曲线文件");
    SetDlgItemText(IDC_TOOL_INPUT_GROUP, hintCAD ? L" 输入 纬地HintCAD 文件 " : L" 输入路线大师文件 ");
    SetDlgItemText(IDC_SQX_INPUT_LABEL, hintCAD ? L"纬地竖曲线文件(*.ZDM):" : L"路线大师竖曲线文件(*.ZDM):");
    m_buttons.Setup();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_Transform_SQX::OnPickInput()
{
    const bool hintCAD = m_nMode == 0;
    if (!PickFile(1, m_SInFileName, L"ZDM",
                  hintCAD ? L"纬地纵断面竖曲线文件*.ZDM|*.ZDM|*.*||" : L"路线大师纵断面竖曲线文件*.ZDM|*.ZDM|*.*||",
                  hintCAD ? L"选择纬地纵断面竖曲线文件*.ZDM" : L"选择路线大师纵断面竖曲线文件*.ZDM"))
        return;
    m_SOutFileName = ToolDerivedPath(m_SInFileName, L".SQX");
    UpdateData(FALSE);
}

void CDialog_Transform_SQX::OnPickOutput()
{
    if (PickFile(0, m_SOutFileName, L"SQX", L"", L"")) UpdateData(FALSE);
}

void CDialog_Transform_SQX::OnViewInput()
{
    if (!UpdateData(TRUE)) return;
    ViewFile(m_SInFileName, L"输入文件[%s]不存在!");
}

void CDialog_Transform_SQX::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (!ConfirmOverwrite(m_SOutFileName, L"输出文件已存在!\n\n是否覆盖?")) return;
    SerializeSettings(0);
    const int done =
        m_nMode == 0 ? TransformHintCADZDMFile(m_SInFileName, m_SOutFileName) : TransformRMZDMFile();
    if (!done) return;
    CDialog::OnOK();
    AskOpenGenerated(L"是否打开生成的数据文件?", {m_SOutFileName});
}

#include "brisko/convert/Dialog_Transform_RMPM.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/OutputCheck.h"
#include "corvane/road/ClothoidUnit.h"
#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

// Searches the keyword line ("NE" or "XY" as its first token, after ";;"
// marks are removed and the line is upper-cased); FALSE with the message
// when the file ends first.
BOOL FindKeyword(ToolSource& in, bool& northFirst, CString& message)
{
    CStringArray tokens;
    for (;;) {
        const int read = in.Next();
        if (read == 0) {
            message = ClFormat(L"读输入文件%s\n\n第%d行失败!\n\n没有读到坐标格式!", in.Path().GetString(), in.LineNo());
            return FALSE;
        }
        if (read < 0) {
            message = in.LineFailed();
            return FALSE;
        }
        CString line = in.Line();
        line.Replace(L";;", L"");
        line.Trim();
        line.MakeUpper();
        ToolLineReader::Split(line, tokens);
        if (tokens.GetSize() > 0 && (tokens[0] == L"NE" || tokens[0] == L"XY")) {
            northFirst = tokens[0] == L"NE";
            return TRUE;
        }
    }
}

// "读输入文件%s\n\n第%d行<what>\n\n<line>" for a line that is no unit.
CString LineMessage(const ToolSource& in, const wchar_t* what)
{
    return ClFormat(L"读输入文件%s\n\n第%d行%s\n\n%s", in.Path().GetString(), in.LineNo(), what, in.Line().GetString());
}

// "读输入文件%s\n\n第%d行<ordinal>个数据[<field>:%s]出错!" of the plane-line
// file.
CString FieldError(const ToolSource& in, int position, const wchar_t* ordinal, const wchar_t* field)
{
    return ClFormat(L"读输入文件%s\n\n第%d行%s个数据[%s:%s]出错!", in.Path().GetString(), in.LineNo(), ordinal, field,
                    in.Token(position).GetString());
}

// A radius or spiral-length text of an intersection point: a number that is
// not negative (the intersection-point reader refuses anything else).
BOOL CurveText(const ToolSource& in, int position, const wchar_t* field, CString& text, CString& message)
{
    double value = 0;
    if (!in.Number(position, field, &value, message)) return FALSE;
    if (value < 0.0) {
        message = in.FieldFailed(position, field);
        return FALSE;
    }
    text = in.Token(position);
    return TRUE;
}

// The coordinates of a point line in northing-first order, each a number.
BOOL Coordinates(const ToolSource& in, bool northFirst, const wchar_t* field, CString& north, CString& east,
                 CString& message)
{
    if (!in.Number(1, field, nullptr, message) || !in.Number(2, field, nullptr, message)) return FALSE;
    north = in.Token(northFirst ? 1 : 2);
    east = in.Token(northFirst ? 2 : 1);
    return TRUE;
}

BOOL ReadIntersections(ToolSource& in, CString& body, CString& message)
{
    bool northFirst = true;
    if (!FindKeyword(in, northFirst, message) || !in.NextData(1, message)) return FALSE;
    if (in.Token(1).Find(L'1') < 0) {
        message = ClFormat(L"读输入文件%s\n\n第%d行第1个数据[交点数据格式:%s, 必须为1：坐标格式。]", in.Path().GetString(),
                           in.LineNo(), in.Token(1).GetString());
        return FALSE;
    }
    double start = 0;
    if (in.Count() >= 2 && !ReadToolNumber(in.Token(2), &start)) {
        message = FieldError(in, 2, L"第二", L"起点桩号");
        return FALSE;
    }

    // The start point; a line of one token is passed over.
    if (!in.NextData(0, message)) return FALSE;
    if (in.Count() == 1 && !in.NextData(0, message)) return FALSE;
    if (in.Count() < 2) {
        message = ClFormat(L"读输入文件%s\n\n第%d行失败! 起点数据个数少于2个\n\n[%s]", in.Path().GetString(), in.LineNo(),
                           in.Line().GetString());
        return FALSE;
    }
    CString north, east;
    if (!Coordinates(in, northFirst, L"起点坐标", north, east, message)) return FALSE;
    body.Format(L"\n-1 %s %s %f\n", north.GetString(), east.GetString(), start);

    CString last;
    for (;;) {
        const int read = in.Next();
        if (read == 0) break;
        if (read < 0) {
            message = in.LineFailed();
            return FALSE;
        }
        if (in.Count() == 1 && !in.NextData(0, message)) return FALSE;
        if (in.Count() < 2) {
            message = ClFormat(L"读输入文件%s\n\n第%d行失败! 交点数据个数少于2个\n\n[%s]", in.Path().GetString(),
                               in.LineNo(), in.Line().GetString());
            return FALSE;
        }
        if (!Coordinates(in, northFirst, L"交点坐标", north, east, message)) return FALSE;
        CString ls1 = L"0", r = L"0", ls2 = L"0";
        double startR = 1e8, endR = 1e8;
        if (in.Count() == 8) {
            if (!in.Number(4, L"起点半径", &startR, message) || !in.Number(8, L"终点半径", &endR, message) ||
                !CurveText(in, 5, L"第一缓和曲线长度", ls1, message) || !CurveText(in, 6, L"圆曲线半径", r, message) ||
                !CurveText(in, 7, L"第二缓和曲线长度", ls2, message))
                return FALSE;
            if (startR < 1e-6) startR = 1e8;
            if (endR < 1e-6) endR = 1e8;
        } else if (in.Count() == 5) {
            if (!CurveText(in, 3, L"圆曲线半径", r, message) || !CurveText(in, 4, L"第一缓和曲线长度", ls1, message) ||
                !CurveText(in, 5, L"第二缓和曲线长度", ls2, message))
                return FALSE;
        }
        body += last;
        last.Format(L"3 %s %s %f L%s %s L%s %f\n", north.GetString(), east.GetString(), startR, ls1.GetString(),
                    r.GetString(), ls2.GetString(), endR);
    }
    if (last.IsEmpty()) {
        // The start line alone would become the end line.
        message = ClFormat(L"读输入文件%s\n\n第%d行失败! 没有读到交点数据, 至少应有一个交点!", in.Path().GetString(),
                           in.LineNo());
        return FALSE;
    }
    // The last point is the road's end: its coordinates, no line end.
    CStringArray tokens;
    ToolLineReader::Split(last, tokens);
    body.AppendFormat(L"-2 %s %s", tokens[1].GetString(), tokens[2].GetString());
    return TRUE;
}

BOOL ReadPlaneLines(ToolSource& in, CString& body, CString& message)
{
    bool northFirst = true;
    if (!FindKeyword(in, northFirst, message) || !in.NextData(2, message)) return FALSE;
    if (!ReadToolNumber(in.Token(2), nullptr)) {
        message = FieldError(in, 2, L"第二", L"起点桩号");
        return FALSE;
    }
    body = L"\n" + in.Token(2) + L"\n";

    if (!in.NextData(4, message)) return FALSE;
    double direction = 0;
    if (!ReadToolNumber(in.Token(2), nullptr)) {
        message = FieldError(in, 2, L"第二", L"起点X坐标");
        return FALSE;
    }
    if (!ReadToolNumber(in.Token(3), nullptr)) {
        message = FieldError(in, 3, L"第三", L"起点Y坐标");
        return FALSE;
    }
    if (!ReadToolNumber(in.Token(4), &direction)) {
        message = FieldError(in, 4, L"第四", L"起点方向角");
        return FALSE;
    }
    // "XY" files give the direction counter-clockwise from east.
    if (northFirst)
        body.AppendFormat(L"%s %s %f\n", in.Token(2).GetString(), in.Token(3).GetString(), direction * kPi / 180.0);
    else
        body.AppendFormat(L"%s %s %f\n", in.Token(3).GetString(), in.Token(2).GetString(),
                          kPi / 2.0 - direction * kPi / 180.0);

    bool units = false;
    for (;;) {
        const int read = in.Next();
        if (read == 0) break;
        if (read < 0 || in.SplitResult() != 0 || in.Count() == 0) {
            message = LineMessage(in, L"失败!");
            return FALSE;
        }
        CString kind = in.Token(1);
        kind.Trim();
        kind.MakeUpper();
        const int turn = in.Count() >= 2 && (in.Token(2) == L"L" || in.Token(2) == L"l") ? -1 : 1;
        if (kind == L"LINE") {
            if (in.Count() < 2) {
                message = LineMessage(in, L"数据个数小于2!");
                return FALSE;
            }
            if (!ReadToolNumber(in.Token(2), nullptr)) {
                message = FieldError(in, 2, L"第2", L"直线长度");
                return FALSE;
            }
            body.AppendFormat(L"1 %s\n", in.Token(2).GetString());
        } else if (kind == L"ARC") {
            if (in.Count() < 4) {
                message = LineMessage(in, L", 圆曲线数据个数小于4!");
                return FALSE;
            }
            if (!ReadToolNumber(in.Token(3), nullptr)) {
                message = FieldError(in, 3, L"第3", L"圆曲线半径");
                return FALSE;
            }
            if (!ReadToolNumber(in.Token(4), nullptr)) {
                message = FieldError(in, 4, L"第4", L"圆曲线长度");
                return FALSE;
            }
            body.AppendFormat(L"2 %s %s %d\n", in.Token(3).GetString(), in.Token(4).GetString(), turn);
        } else if (kind == L"SPIRAL" || kind == L"SPRIAL") {
            if (in.Count() < 5) {
                message = LineMessage(in, L", 缓和曲线数据个数小于5!");
                return FALSE;
            }
            double r1 = 0, r2 = 0, length = 0;
            if (!ReadToolNumber(in.Token(3), &r1)) {
                message = FieldError(in, 3, L"第3", L"缓和曲线起点半径");
                return FALSE;
            }
            if (!ReadToolNumber(in.Token(4), &r2)) {
                message = FieldError(in, 4, L"第4", L"缓和曲线终点半径");
                return FALSE;
            }
            if (!ReadToolNumber(in.Token(5), &length)) {
                message = FieldError(in, 5, L"第5", L"缓和曲线长度");
                return FALSE;
            }
            if (r1 < 1e-6) r1 = 1e10;
            if (r2 < 1e-6) r2 = 1e10;
            Tavix4::tkxUnitType type = Tavix4::UNIT_LINE;
            const int typed = tkxClothoidUnit::ComputeType(r1, r2, type);
            const double a = tkxClothoidUnit::ComputeA(r1, r2, length);
            if (typed && type == 3)
                body.AppendFormat(L"3 %f %f %d\n", a, r2, turn);
            else if (typed && type == 4)
                body.AppendFormat(L"4 %f %f %d\n", a, r1, turn);
            else if (typed && (type == 5 || type == 6))
                body.AppendFormat(L"%d %f %f %f %d\n", static_cast<int>(type), a, r1, r2, turn);
            else {
                message = ClFormat(L"读输入文件%s\n\n第%d行, 判断缓和曲线类型出错!", in.Path().GetString(), in.LineNo());
                return FALSE;
            }
        } else {
            message = FieldError(in, 1, L"第1", L"单元类型字符");
            return FALSE;
        }
        units = true;
    }
    // The start point alone is no plane line.
    if (!units) {
        message = NoToolDataText(in.Path());
        return FALSE;
    }
    return TRUE;
}

} // namespace

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog_Transform_RMPM, CToolDialog)
    ON_BN_CLICKED(IDC_TOOL_PICK_INPUT, OnPickInput)
    ON_BN_CLICKED(IDC_TOOL_PICK_OUTPUT, OnPickOutput)
    ON_BN_CLICKED(IDC_TOOL_VIEW_INPUT, OnViewInput)
    ON_BN_CLICKED(IDC_TOOL_FORMAT, OnFormat)
    ON_BN_CLICKED(IDC_TOOL_FORMAT1, OnFormat)
END_MESSAGE_MAP()

const wchar_t kRMPMNoFormat[] = L"请先选择输入文件的数据格式:\n\n平面交点数据(*.JDX, 坐标格式)或平面线形数据(*.PMX).";

CDialog_Transform_RMPM::CDialog_Transform_RMPM(CWnd* parent) : CToolDialog(IDD_TRANSFORM_RMPM, parent) {}

void CDialog_Transform_RMPM::SerializeSettings(int get)
{
    ExchangeToolSettings(get, tool_section::RMPM, {m_SInFileName, m_SOutFileName, m_iDatFormat});
}

int CDialog_Transform_RMPM::TransformRMJDXFile()
{
    ToolReadBack check(m_SInFileName, {SuiteFileKind::JD});
    return RunToolConversion(m_SInFileName, m_SOutFileName, L"//转换路线大师平面交点文件:%s\n", ReadIntersections,
                             [this](const CString& text) { ShowToolMessage(this, text); }, check);
}

int CDialog_Transform_RMPM::TransformRMPMXFile()
{
    ToolReadBack check(m_SInFileName, {SuiteFileKind::ICD});
    return RunToolConversion(m_SInFileName, m_SOutFileName, L"//转换路线大师平面线文件:%s\n", ReadPlaneLines,
                             [this](const CString& text) { ShowToolMessage(this, text); }, check);
}

void CDialog_Transform_RMPM::DoDataExchange(CDataExchange* pDX)
{
    m_buttons.Exchange(pDX);
    DDX_Text(pDX, IDC_TOOL_INPUT, m_SInFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT, m_SOutFileName);
    DDX_Radio(pDX, IDC_TOOL_FORMAT, m_iDatFormat);
}

BOOL CDialog_Transform_RMPM::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SerializeSettings(1);
    m_buttons.Setup();
    ShowLabels();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_Transform_RMPM::ShowLabels()
{
    SetDlgItemText(IDC_TOOL_INPUT_LABEL, m_iDatFormat == 1 ? L"平面线位数据文件(*.PMX):" : L"平面交点数据文件(*.JDX):");
    SetDlgItemText(IDC_TOOL_OUTPUT_LABEL, m_iDatFormat == 1 ? L"积木法单元数据文件(*.ICD):" : L"平面交点设计文件(*.JD):");
}

void CDialog_Transform_RMPM::OnFormat()
{
    UpdateData(TRUE);
    ShowLabels();
}

void CDialog_Transform_RMPM::OnPickInput()
{
    BOOL chosen = FALSE;
    if (m_iDatFormat == 0)
        chosen = PickFile(1, m_SInFileName, L"JDX", L"路线大师平面交点数据文件*.JDX|*.JDX||", L"选择路线大师平面交点数据文件*.JDX");
    else if (m_iDatFormat == 1)
        chosen = PickFile(1, m_SInFileName, L"PMX", L"路线大师平面线文件*.PMX|*.PMX||", L"选择路线大师平面线文件*.PMX");
    else
        chosen = PickFile(1, m_SInFileName, L"*", L"", L"");
    if (!chosen) return;
    m_SOutFileName = ToolDerivedPath(m_SInFileName, m_iDatFormat == 0 ? L".JD" : L".ICD");
    UpdateData(FALSE);
}

void CDialog_Transform_RMPM::OnPickOutput()
{
    BOOL chosen = FALSE;
    if (m_iDatFormat == 0)
        chosen = PickFile(0, m_SOutFileName, L"JD", L"TAVIX平面交点设计文件*.JD|*.JD||", L"保存TAVIX平面交点设计文件*.JD");
    else
        chosen = PickFile(0, m_SOutFileName, L"ICD", L"TAVIX积木法平面线位单元文件*.ICD|*.ICD||",
                          L"保存TAVIX积木法平面线位单元文件*.ICD");
    if (chosen) UpdateData(FALSE);
}

void CDialog_Transform_RMPM::OnViewInput()
{
    if (!UpdateData(TRUE)) return;
    ViewFile(m_SInFileName);
}

void CDialog_Transform_RMPM::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_iDatFormat != 0 && m_iDatFormat != 1) {
        // Nothing could run: say what is missing.
        ShowToolMessage(this, kRMPMNoFormat);
        if (CWnd* first = GetDlgItem(IDC_TOOL_FORMAT)) first->SetFocus();
        return;
    }
    if (!ConfirmOverwrite(m_SOutFileName, L"输出文件已存在!\n\n是否覆盖?")) return;
    SerializeSettings(0);
    int done = 0;
    if (m_iDatFormat == 0) {
        done = TransformRMJDXFile();
    } else if (m_iDatFormat == 1) {
        const wchar_t question[] = L"路线大师自动生成的平面线文件数据精度不足(数据仅保留3为小数),\n\n"
                                   L"直接转换为ICD格式可能导致路线终点坐标发生偏移.\n\n是否继续转换?";
        if (ClMessageBox(m_hWnd, question, kToolCaption, MB_YESNO | MB_ICONQUESTION) == IDNO) return;
        done = TransformRMPMXFile();
    }
    if (!done) return;
    CDialog::OnOK();
    AskOpenGenerated(L"是否打开生成的数据文件?", {m_SOutFileName});
}

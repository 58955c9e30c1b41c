#include "brisko/convert/Dialog_Transform_HintCAD_PM.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/OutputCheck.h"
#include "brisko/shell/Helpers.h"
#include "corvane/road/ClothoidUnit.h"
#include <cmath>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

// The token as a number that is not negative (a radius or a spiral length
// below 0 would give a row the intersection-point reader refuses).
BOOL NotNegative(const ToolSource& in, int position, const wchar_t* field, double* value, CString& message)
{
    if (!in.Number(position, field, value, message)) return FALSE;
    if (*value >= 0.0) return TRUE;
    message = in.FieldFailed(position, field);
    return FALSE;
}

// Intersection point line of a curve: infinite start and end radii, the
// spiral lengths marked "L".
CString CurveLine(double northing, double easting, double ls1, double r, double ls2, const CString& name)
{
    return ClFormat(L"3 %.8f %.8f 100000000.000 L%f %.8f L%f 100000000.000 %s\n", northing, easting, ls1, r, ls2,
                    name.GetString());
}

// Deflection form: header (count, start station, start X (northing), start
// Y (easting), start azimuth D.MMSS, distance mode), then one line per
// point: name, station or distance, R, deflection D.MMSS, Ls1, Ls2.
BOOL ReadDeflectionForm(ToolSource& in, CString& body, CString& message, ToolReadBack& check)
{
    if (!in.NextData(6, message)) return FALSE;
    double count = 0, start = 0, north = 0, east = 0, azimuth = 0, mode = 0;
    if (!in.Number(1, L"交点个数", &count, message) || !in.Number(2, L"起点桩号", &start, message) ||
        !in.Number(3, L"起点X(N)坐标", &north, message) || !in.Number(4, L"起点Y(E)坐标", &east, message) ||
        !in.Number(5, L"起点方位角", &azimuth, message) || !in.Number(6, L"距离模式", &mode, message))
        return FALSE;
    // A count below 0 is no count (0 is a road of its start point alone).
    if (count < 0.0) {
        message = in.FieldFailed(1, L"交点个数");
        return FALSE;
    }
    const int points = ToolWholeNumber(count);
    const bool byDistance = ToolWholeNumber(mode) != 0;

    sJDCurveInfo previous;
    previous.dZH = start;
    previous.JDPt = tkxPoint3d(east, north, 0.0);
    ComputeJDCurveElements(previous, 0);
    double running = DMSToRadian(azimuth);
    body = ClFormat(L"\n-1 %.8f %.8f %.8f\n", north, east, start);
    // The input line of every line of the text: the blank line, the start
    // row of the header line, a row per point.
    std::vector<int> lines = {0, in.LineNo()};

    for (int i = 0; i < points; ++i) {
        if (!in.NextData(6, message)) return FALSE;
        double second = 0, r = 0, deflection = 0, ls1 = 0, ls2 = 0;
        if (!in.Number(2, L"交点桩号(或交点间距)", &second, message) || !NotNegative(in, 3, L"平曲线半径", &r, message) ||
            !in.Number(4, L"交点转角", &deflection, message) ||
            !NotNegative(in, 5, L"第一缓和曲线长度", &ls1, message) ||
            !NotNegative(in, 6, L"第二缓和曲线长度", &ls2, message))
            return FALSE;
        sJDCurveInfo current;
        current.SName = in.Token(1);
        current.dR = r;
        current.dAngle = DMSToRadian(deflection);
        current.dLs1 = ls1;
        current.dLs2 = ls2;
        double distance = second;
        if (!byDistance) {
            // The previous point's exit tangent and the straight from its
            // curve end to this point's station.
            current.dZH = second;
            ComputeJDCurveElements(current, 0);
            distance = current.dZH - previous.dZH_HZ + previous.dT2;
        }
        current.JDPt = previous.JDPt.Polar(kPi / 2.0 - running, distance);
        running += current.dAngle;
        if (i == points - 1)
            body.AppendFormat(L"-2 %.8f %.8f %s\n", current.JDPt.y, current.JDPt.x, current.SName.GetString());
        else
            body += CurveLine(current.JDPt.y, current.JDPt.x, ls1, r, ls2, current.SName);
        lines.push_back(in.LineNo());
        previous = current;
    }
    check.MapLines(0, std::move(lines));
    return TRUE;
}

// Coordinate form: the start station, then one line per point: name, X
// (northing), Y (easting), R, Ls1, Ls2.  The first point is the road's
// start, the last its end.
BOOL ReadCoordinateForm(ToolSource& in, CString& body, CString& message)
{
    if (!in.NextData(1, message)) return FALSE;
    double start = 0;
    if (!in.Number(1, L"起点桩号", &start, message)) return FALSE;

    int points = 0;
    int lastLine = 0;
    CString last;
    body = L"\n";
    for (;;) {
        const int read = in.Next();
        if (read == 0) break;
        if (read < 0) {
            message = in.LineFailed();
            return FALSE;
        }
        if (in.SplitResult() == -1) break;
        if (in.Count() < 6) {
            message = in.TooFew(6);
            return FALSE;
        }
        double north = 0, east = 0, r = 0, ls1 = 0, ls2 = 0;
        if (!in.Number(2, L"交点X(N)坐标", &north, message) || !in.Number(3, L"交点Y(E)坐标", &east, message) ||
            !NotNegative(in, 4, L"圆曲线半径", &r, message) ||
            !NotNegative(in, 5, L"第一缓和曲线长度", &ls1, message) ||
            !NotNegative(in, 6, L"第二缓和曲线长度", &ls2, message))
            return FALSE;
        body += last;
        if (points == 0)
            last = ClFormat(L"-1 %.8f %.8f %.8f %s\n", north, east, start, in.Token(1).GetString());
        else
            last = CurveLine(north, east, ls1, r, ls2, in.Token(1));
        ++points;
        lastLine = in.LineNo();
    }
    if (points == 0) {
        // A start station and no point: nothing to convert.
        message = NoToolDataText(in.Path());
        return FALSE;
    }
    if (points == 1) {
        // The one point would be both the start and the end row.
        message = ClFormat(L"读输入文件%s\n\n第%d行失败! 交点数据只有1个, 至少应有起点和终点两个交点!",
                           in.Path().GetString(), lastLine);
        return FALSE;
    }
    // The last point is the road's end: its code 3 becomes -2.
    body += L"-2 " + last.Mid(1);
    return TRUE;
}

// Plane units: "HINTCAD" lines, the unit count, the start line (connection
// mode, station, azimuth, -, X, Y), then three lines per unit.
BOOL ReadPlaneUnits(ToolSource& in, CString& body, CString& message)
{
    if (!SkipHintCADLines(in, message)) return FALSE;
    double count = 0;
    if (!in.Number(1, L"单元个数", &count, message)) return FALSE;
    if (count < 0.0) {
        message = in.FieldFailed(1, L"单元个数");
        return FALSE;
    }
    const int units = ToolWholeNumber(count);
    // A start point without a unit is no alignment to convert.
    if (units == 0) {
        message = NoToolDataText(in.Path());
        return FALSE;
    }

    if (!in.NextData(6, message)) return FALSE;
    double mode = 0;
    if (!in.Number(1, L"起点接线模式", &mode, message)) return FALSE;
    if (ToolWholeNumber(mode) != 1) {
        const CString question = ClFormat(L"当前路线起点接线方式[%d]不等于1,\n\n该路线起点与其他路线的设计资料相关, "
                                          L"\n\n继续转换可能导致坐标转换失败!\n\n是否继续?",
                                          ToolWholeNumber(mode));
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDNO) {
            message.Empty();
            return FALSE;
        }
    }
    double station = 0, azimuth = 0, x = 0, y = 0;
    if (!in.Number(2, L"起点桩号", &station, message) || !in.Number(3, L"起点方位角", &azimuth, message) ||
        !in.Number(5, L"起点X坐标", &x, message) || !in.Number(6, L"起点Y坐标", &y, message))
        return FALSE;
    body = L"\n" + in.Token(2) + L"\n";
    body.AppendFormat(L"%s %s %s\n", in.Token(5).GetString(), in.Token(6).GetString(), in.Token(3).GetString());
    double running = azimuth;

    for (int u = 0; u < units; ++u) {
        if (!in.NextData(7, message)) return FALSE;
        double kind = 0;
        if (!in.Number(7, L"单元类型", &kind, message)) return FALSE;
        CString unit;
        if (ToolWholeNumber(kind) == 1) {
            double length = 0;
            if (!in.Number(3, L"直线单元长度", &length, message)) return FALSE;
            unit.Format(L"1 %.8f ", std::fabs(length));
        } else {
            double turnValue = 0;
            if (!in.Number(1, L"圆曲线单元转向", &turnValue, message)) return FALSE;
            const int turn = ToolWholeNumber(turnValue) == 1 ? 1 : -1;
            if (ToolWholeNumber(kind) == 3) {
                double length = 0, radius = 0;
                if (!in.Number(3, L"圆曲线长度", &length, message) || !in.Number(5, L"圆曲线半径", &radius, message))
                    return FALSE;
                unit.Format(L"2 %.8f %.8f %d", radius, std::fabs(length), turn);
            } else {
                double length = 0, a = 0, r1 = 0, r2 = 0;
                if (!in.Number(3, L"缓和曲线长度", &length, message) || !in.Number(4, L"缓和曲线参数", &a, message) ||
                    !in.Number(5, L"缓和曲线起点半径", &r1, message) ||
                    !in.Number(6, L"缓和曲线终点半径", &r2, message))
                    return FALSE;
                // A radius beyond 9998.999999 counts as infinite.
                if (std::fabs(r1) > 9998.999999) r1 = 1e8;
                if (std::fabs(r2) > 9998.999999) r2 = 1e8;
                Tavix4::tkxUnitType type = Tavix4::UNIT_LINE;
                if (!tkxClothoidUnit::ComputeType(r1, r2, type)) {
                    message = ClFormat(L"读输入文件%s\n\n第%d行, 判断缓和曲线类型出错!", in.Path().GetString(), in.LineNo());
                    return FALSE;
                }
                if (type == 3)
                    unit.Format(L"3 %.10f %.10f %d", a, r2, turn);
                else if (type == 4)
                    unit.Format(L"4 %.10f %.10f %d", a, r1, turn);
                else
                    unit.Format(L"%d %.10f %.10f %.10f %d", static_cast<int>(type), a, r1, r2, turn);
            }
        }
        // The second line is not used; the third holds the unit's start and
        // end azimuths.
        if (in.Next() != 1 || in.Next() != 1) {
            message = in.LineFailed();
            return FALSE;
        }
        if (in.Count() >= 4) {
            const double startAzimuth = _wtof(in.Token(3));
            if (std::fabs(startAzimuth - running) > 1e-8) {
                ShowApplicationMessage(L"检测到方位角突变, 即单元之间存在转折点!");
                // Written on as the unit's own azimuth: it must read back.
                if (!ReadToolNumber(in.Token(3), nullptr)) {
                    message = in.FieldFailed(3, L"单元起点方位角");
                    return FALSE;
                }
                unit += L" " + in.Token(3) + L"\n";
            } else {
                unit += L"\n";
            }
            running = _wtof(in.Token(4));
        } else {
            unit += L"\n";
        }
        body += unit;
    }
    body += L"0 0 0\n";
    return TRUE;
}

} // namespace

int TransformHintCADJDAngleFile(const wchar_t* input, const wchar_t* output)
{
    ToolReadBack check(input, {SuiteFileKind::JD});
    return RunToolConversion(
        input, output, L"//转换纬地HintCAD平面交点数据文件:%s\n",
        [&check](ToolSource& in, CString& body, CString& message) { return ReadDeflectionForm(in, body, message, check); },
        ShowApplicationMessage, check);
}

int TransformHintCADJDCoordFile(const wchar_t* input, const wchar_t* output)
{
    ToolReadBack check(input, {SuiteFileKind::JD});
    return RunToolConversion(input, output, L"//转换纬地HintCAD平面交点数据文件:%s\n", ReadCoordinateForm, ShowApplicationMessage,
                             check);
}

int TransformHintCADPMFile(const wchar_t* input, const wchar_t* output)
{
    ToolReadBack check(input, {SuiteFileKind::ICD});
    return RunToolConversion(input, output, L"//转换纬地HintCAD平面数据文件:%s\n", ReadPlaneUnits, ShowApplicationMessage, check);
}

// ---------------------------------------------------------------------------
// The dialog.

BEGIN_MESSAGE_MAP(CDialog_Transform_HintCAD_PM, CToolDialog)
    ON_BN_CLICKED(IDC_TOOL_PICK_INPUT, OnPickInput)
    ON_BN_CLICKED(IDC_TOOL_PICK_OUTPUT, OnPickOutput)
    ON_BN_CLICKED(IDC_TOOL_VIEW_INPUT, OnViewInput)
    ON_BN_CLICKED(IDC_TOOL_FORMAT, OnFormat)
    ON_BN_CLICKED(IDC_TOOL_FORMAT1, OnFormat)
    ON_BN_CLICKED(IDC_TOOL_FORMAT2, OnFormat)
END_MESSAGE_MAP()

CDialog_Transform_HintCAD_PM::CDialog_Transform_HintCAD_PM(CWnd* parent)
    : CToolDialog(IDD_TRANSFORM_HINTCAD_PM, parent)
{
}

void CDialog_Transform_HintCAD_PM::SerializeSettings(int get)
{
    ExchangeToolSettings(get, tool_section::HintCAD_PM, {m_SINFileName, m_SOutFileName, m_iDatFormat});
}

void CDialog_Transform_HintCAD_PM::DoDataExchange(CDataExchange* pDX)
{
    m_buttons.Exchange(pDX);
    DDX_Text(pDX, IDC_TOOL_INPUT, m_SINFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT, m_SOutFileName);
    DDX_Radio(pDX, IDC_TOOL_FORMAT, m_iDatFormat);
}

BOOL CDialog_Transform_HintCAD_PM::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SerializeSettings(1);
    m_buttons.Setup();
    ShowLabels();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_Transform_HintCAD_PM::ShowLabels()
{
    const wchar_t* input = m_iDatFormat == 0   ? L"平面交点数据文件(*.JDX):"
                           : m_iDatFormat == 1 ? L"平面交点数据文件(*.*):"
                                               : L"平面线位数据文件(*.PM):";
    SetDlgItemText(IDC_TOOL_INPUT_LABEL, input);
    SetDlgItemText(IDC_TOOL_OUTPUT_LABEL, m_iDatFormat == 2 ? L"积木法单元数据文件(*.ICD):" : L"平面交点设计文件(*.JD):");
}

void CDialog_Transform_HintCAD_PM::OnFormat()
{
    UpdateData(TRUE);
    ShowLabels();
}

void CDialog_Transform_HintCAD_PM::OnPickInput()
{
    BOOL chosen = FALSE;
    if (m_iDatFormat == 0)
        chosen = PickFile(1, m_SINFileName, L"JDX", L"纬地交点数据(方位角+距离)文件*.JDX|*.JDX||",
                          L"选择纬地交点数据(方位角+距离)文件*.JDX");
    else if (m_iDatFormat == 1)
        chosen = PickFile(1, m_SINFileName, L"", L"纬地交点数据(坐标格式)文件*.*|*.*||", L"选择纬地交点数据(坐标格式)文件*.*");
    else
        chosen = PickFile(1, m_SINFileName, L"PM", L"纬地平面线位数据文件*.PM|*.PM||", L"选择纬地平面线位数据文件*.PM");
    if (!chosen) return;
    m_SOutFileName = ToolDerivedPath(m_SINFileName, m_iDatFormat == 2 ? L".ICD" : L".JD");
    UpdateData(FALSE);
}

void CDialog_Transform_HintCAD_PM::OnPickOutput()
{
    BOOL chosen = FALSE;
    if (m_iDatFormat == 2)
        chosen = PickFile(0, m_SOutFileName, L"ICD", L"TAVIX积木法平面线位单元文件*.ICD|*.ICD||",
                          L"保存TAVIX积木法平面线位单元文件*.ICD");
    else
        chosen = PickFile(0, m_SOutFileName, L"JD", L"TAVIX平面交点设计文件*.JD|*.JD||", L"保存TAVIX平面交点设计文件*.JD");
    if (chosen) UpdateData(FALSE);
}

void CDialog_Transform_HintCAD_PM::OnViewInput()
{
    if (!UpdateData(TRUE)) return;
    ViewFile(m_SINFileName);
}

void CDialog_Transform_HintCAD_PM::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (!ConfirmOverwrite(m_SOutFileName, L"输出文件已存在!\n\n是否覆盖?")) return;
    SerializeSettings(0);
    int done = 0;
    if (m_iDatFormat == 0)
        done = TransformHintCADJDAngleFile(m_SINFileName, m_SOutFileName);
    else if (m_iDatFormat == 1)
        done = TransformHintCADJDCoordFile(m_SINFileName, m_SOutFileName);
    else
        done = TransformHintCADPMFile(m_SINFileName, m_SOutFileName);
    if (!done) return;
    CDialog::OnOK();
    AskOpenGenerated(L"是否打开生成的数据文件?", {m_SOutFileName});
}

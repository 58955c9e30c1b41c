#include "brisko/convert/Dialog_TransformHongYeZHDX.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/OutputCheck.h"
#include <algorithm>
#include <vector>

namespace {

struct GroundPoint {
    double offset;
    CString offsetText;
    CString elevationText;
};

// A side line of the absolute layout: the points from the centre outward,
// "offset, elevation" joined by ", "; a side without points is the centre
// point itself, so that every section keeps its three lines.
CString SideLine(std::vector<GroundPoint>& points, const CString& centre)
{
    if (points.empty()) return L"0, " + centre + L"\n";
    std::stable_sort(points.begin(), points.end(),
                     [](const GroundPoint& a, const GroundPoint& b) { return a.offset < b.offset; });
    CString line;
    for (const GroundPoint& p : points) {
        if (!line.IsEmpty()) line += L", ";
        line += p.offsetText + L", " + p.elevationText;
    }
    return line + L"\n";
}

} // namespace

int CDialog_TransformHongYeZHDX::TransformHongYeFile()
{
    ToolSource in(m_SInFileName);
    if (!in.Open()) {
        ShowToolMessage(this, ClFormat(L"打开原文件失败!\n\n%s", m_SInFileName.GetString()));
        return 0;
    }
    const wchar_t* path = m_SInFileName.GetString();
    CString dmx, hdx = L"ABS\n";
    CStringArray tokens;
    StationOrder order;
    // The input line of every output line: a profile row per line, the
    // layout line and three section lines per line.
    std::vector<int> dmxLines, hdxLines(1, 0);
    for (;;) {
        const int read = in.Next();
        if (read == 0) break;
        CString line = in.Line();
        line.MakeUpper();
        line.TrimLeft(L'K');
        if (read < 0 || ToolLineReader::Split(line, tokens) == -1) {
            ShowToolMessage(this, ClFormat(L"读原文件[%s]\n\n第%d行[%s]失败!", path, in.LineNo(), line.GetString()));
            return 0;
        }
        if (tokens.GetSize() < 6) {
            ShowToolMessage(this, ClFormat(L"读原文件[%s]\n\n第%d行[%s]失败!\n\n每行数据个数不能少于6个!", path,
                                           in.LineNo(), line.GetString()));
            return 0;
        }
        // A field the suite's readers would not take is named.
        const auto bad = [&](INT_PTR index, const wchar_t* field) {
            ShowToolMessage(this, ClFormat(L"读原文件[%s]\n\n第%d行第%d个数据[%s:%s]失败!", path, in.LineNo(),
                                           static_cast<int>(index + 1), field, tokens[index].GetString()));
            return 0;
        };
        CString plain;
        double station = 0;
        if (!PlainStationText(tokens[0], plain) || !ReadToolNumber(plain, &station)) return bad(0, L"桩号");
        if (!ReadToolNumber(tokens[1], nullptr)) return bad(1, L"中桩地面高程");
        if (!order.Next(station)) {
            ShowToolMessage(this, ClFormat(L"读原文件[%s]\n\n", path) + StationOrder::Falling(in.LineNo()));
            return 0;
        }

        std::vector<GroundPoint> left, right;
        for (INT_PTR k = 2; k + 1 < tokens.GetSize(); k += 2) {
            CString offset = tokens[k];
            const bool onLeft = offset.GetLength() > 0 && offset[0] == L'-';
            if (onLeft) offset = offset.Mid(1);
            double value = 0;
            if (!ReadToolNumber(offset, &value) || value < 0.0) return bad(k, L"距离");
            if (!ReadToolNumber(tokens[k + 1], nullptr)) return bad(k + 1, L"地面高程");
            (onLeft ? left : right).push_back({value, offset, tokens[k + 1]});
        }
        // The left points come from the outside in.
        std::reverse(left.begin(), left.end());

        dmx += plain + L", " + tokens[1] + L"\n";
        hdx += tokens[0] + L"\n";
        hdx += SideLine(left, tokens[1]);
        hdx += SideLine(right, tokens[1]);
        dmxLines.push_back(in.LineNo());
        hdxLines.insert(hdxLines.end(), 3, in.LineNo());
    }

    in.Close();
    if (dmxLines.empty()) {
        ShowToolMessage(this, NoToolDataText(m_SInFileName));
        return 0;
    }
    int failed = -1;
    ToolReadBack check(m_SInFileName, {SuiteFileKind::DMX, SuiteFileKind::HDX});
    check.MapLines(0, std::move(dmxLines));
    check.MapLines(1, std::move(hdxLines));
    tkxSetLeftovers left;
    if (!WriteToolOutputs({{m_SDMXFileName, dmx}, {m_SHDXFileName, hdx}}, &failed, check.Check(), &left)) {
        const CString& path = failed == 1 ? m_SHDXFileName : m_SDMXFileName;
        ShowToolMessage(this, check.Refused()
                                  ? check.Message()
                                  : tkx_SetFailureText(path, ClFormat(L"创建输出文件失败!\n\n%s", path.GetString()), 2, left));
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog_TransformHongYeZHDX, CToolDialog)
    ON_BN_CLICKED(IDC_TOOL_PICK_INPUT, OnPickInput)
    ON_BN_CLICKED(IDC_TOOL_PICK_OUTPUT, OnPickDMX)
    ON_BN_CLICKED(IDC_TOOL_PICK_OUTPUT2, OnPickHDX)
    ON_BN_CLICKED(IDC_TOOL_VIEW_INPUT, OnViewInput)
END_MESSAGE_MAP()

CDialog_TransformHongYeZHDX::CDialog_TransformHongYeZHDX(CWnd* parent) : CToolDialog(IDD_TRANSFORM_HONGYE, parent)
{
}

void CDialog_TransformHongYeZHDX::SerializeSettings(int get)
{
    ExchangeToolSettings(get, tool_section::HongYe, {m_SInFileName, m_SHDXFileName, m_SDMXFileName});
}

void CDialog_TransformHongYeZHDX::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TOOL_PICK_INPUT, m_btnPickInput);
    DDX_Control(pDX, IDC_TOOL_VIEW_INPUT, m_btnViewInput);
    DDX_Control(pDX, IDC_TOOL_PICK_OUTPUT, m_btnPickDMX);
    DDX_Control(pDX, IDC_TOOL_PICK_OUTPUT2, m_btnPickHDX);
    DDX_Text(pDX, IDC_TOOL_INPUT, m_SInFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT, m_SDMXFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT2, m_SHDXFileName);
}

BOOL CDialog_TransformHongYeZHDX::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SerializeSettings(1);
    SetupPicker(m_btnPickInput, IDS_TOOL_PICK_FILE);
    SetupViewer(m_btnViewInput);
    SetupPicker(m_btnPickDMX, IDS_TOOL_PICK_DMX);
    SetupPicker(m_btnPickHDX, IDS_TOOL_PICK_HDX);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_TransformHongYeZHDX::OnPickInput()
{
    if (!PickFile(1, m_SInFileName, L"BGHN", L"鸿业纵横地面线文件*.BGHN|*.BGHN|*.*||", L"选择鸿业纵横地面线文件*.BGHN"))
        return;
    m_SDMXFileName = ToolDerivedPath(m_SInFileName, L".DMX");
    m_SHDXFileName = ToolDerivedPath(m_SInFileName, L".HDX");
    UpdateData(FALSE);
}

void CDialog_TransformHongYeZHDX::OnPickDMX()
{
    if (PickFile(0, m_SDMXFileName, L"DMX", L"Tavix 纵断面地面线文件*.DMX|*.DMX|*.*||", L"保存Tavix纵断面地面线文件*.DMX"))
        UpdateData(FALSE);
}

void CDialog_TransformHongYeZHDX::OnPickHDX()
{
    if (PickFile(0, m_SHDXFileName, L"HDX", L"Tavix 横断面地面线文件*.HDX|*.HDX|*.*||", L"保存Tavix横断面地面线文件*.HDX"))
        UpdateData(FALSE);
}

void CDialog_TransformHongYeZHDX::OnViewInput()
{
    if (!UpdateData(TRUE)) return;
    ViewFile(m_SInFileName, L"输入文件[%s]不存在!");
}

void CDialog_TransformHongYeZHDX::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (!ConfirmOverwrite(m_SDMXFileName, ClFormat(L"输出[%s]文件已存在!\n\n是否覆盖?", m_SDMXFileName.GetString())) ||
        !ConfirmOverwrite(m_SHDXFileName, ClFormat(L"输出[%s]文件已存在!\n\n是否覆盖?", m_SHDXFileName.GetString())))
        return;
    SerializeSettings(0);
    if (!TransformHongYeFile()) return;
    CDialog::OnOK();
    AskOpenGenerated(L"是否打开生成的数据文件?", {m_SDMXFileName, m_SHDXFileName});
}

#include "brisko/convert/Dialog_TransformRICAD.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/OutputCheck.h"
#include "brisko/shell/Helpers.h"
#include <string>
#include <string_view>
#include <vector>

namespace {

// Every physical line of the file (ended by LF, CR LF or a lone CR), in the
// system code page, a zero byte kept where it lies (see HoldsZero); FALSE
// when the file cannot be read.
BOOL ReadRawLines(const CString& path, std::vector<CString>& lines)
{
    std::string bytes;
    CFile file;
    if (path.IsEmpty() || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) return FALSE;
    try {
        const ULONGLONG length = file.GetLength();
        bytes.resize(static_cast<size_t>(length));
        if (length && file.Read(&bytes[0], static_cast<UINT>(length)) != length) {
            file.Abort();
            return FALSE;
        }
        file.Close();
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        return FALSE;
    }
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\n' && bytes[i] != '\r') continue;
        if (i < bytes.size() || i > start)
            lines.push_back(ClMultiByteToWide(bytes.data() + start, static_cast<int>(i - start), CP_ACP));
        if (i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return TRUE;
}

// Whether a line holds a zero byte: no line of text does, and the splitter,
// which stops there, would read the line as if it ended there.
bool HoldsZero(const CString& line)
{
    return std::wstring_view(line.GetString(), static_cast<size_t>(line.GetLength())).find(L'\0') !=
           std::wstring_view::npos;
}

// The reading of the sections: the lines and where it stands.
struct Sections {
    const std::vector<CString>& lines;
    const CString& path;
    int layout;
    double minWidth;
    size_t next = 0;    // index of the next line
    int lineNo = 0;     // number of the last line read
    CStringArray tokens;
    StationOrder order;
    std::vector<int> dmxLines, hdxLines; // the input line of every output line

    CString Fault(const wchar_t* what, const CString& line) const
    {
        return ClFormat(L"读文件[%s],\n\n第%d行%s\n\n[%s]", path.GetString(), lineNo, what, line.GetString());
    }

    // The next side line: empty lines and "#" lines of two characters or
    // more are passed over.  FALSE at the end of the lines and at a line
    // holding a zero byte (lineNo names it).
    bool NextSideLine(CString& line)
    {
        while (next < lines.size()) {
            line = lines[next++];
            lineNo = static_cast<int>(next);
            if (HoldsZero(line)) return false;
            line.Trim();
            if (line.IsEmpty() || (line.GetLength() >= 2 && line[0] == L'#')) continue;
            return true;
        }
        return false;
    }

    // Whether a line read where a side line is expected is the next station
    // line (the side line is missing): a station beyond the section's, with
    // its two flags, whose pairs would not be a side of an absolute layout
    // (their distances fall).  A raised-rod side may have any such pairs.
    bool IsStationLine(double station) const
    {
        if (layout == 2 || tokens.GetSize() != 4) return false;
        double values[4] = {};
        for (int i = 0; i < 4; ++i) ReadToolNumber(tokens[i], &values[i]);
        const bool flags = values[2] == static_cast<double>(ToolWholeNumber(values[2])) &&
                           values[3] == static_cast<double>(ToolWholeNumber(values[3]));
        return flags && values[0] > station && values[2] < values[0] - 1e-6;
    }

    // One flagged side of the section at `station` into its HDX line; the
    // empty message on success.
    CString Side(CString& text, double station)
    {
        CString line;
        if (!NextSideLine(line)) return ClFormat(L"读文件[%s],\n\n第%d行错误!", path.GetString(), lineNo);
        if (ToolLineReader::Split(line, tokens) == -1) return Fault(L"错误!", line);
        const int count = static_cast<int>(tokens.GetSize());
        double sum = 0, value = 0;
        for (int i = 0; i < count; ++i) {
            if (!ReadToolNumber(tokens[i], &value)) return Fault(L"错误!", line);
            if (i % 2 == 0) sum += value;
        }
        if (count < 2 || count % 2 != 0) return Fault(L"错误, 数据不成对!", line);
        if (IsStationLine(station)) return Fault(L"错误, 应为断面地面线数据, 却是下一断面的桩号行!", line);
        double width = 0, lastElevation = 0;
        ReadToolNumber(tokens[count - 2], &width);
        ReadToolNumber(tokens[count - 1], &lastElevation);
        if (layout == 2) width = sum;
        text += line;
        hdxLines.push_back(lineNo);
        if (width < minWidth - 0.001) {
            if (layout == 2)
                text.AppendFormat(L", %.3f, %.3f", minWidth - sum, 0.0);
            else
                text.AppendFormat(L", %.3f, %.3f", minWidth, layout == 0 ? lastElevation : 0.0);
        }
        text += L"\n";
        return CString();
    }

    // All sections up to "9999" or the end; the empty message on success.
    CString Read(CString& dmx, CString& hdx)
    {
        CStringArray fields;
        while (next < lines.size()) {
            CString line = lines[next++];
            lineNo = static_cast<int>(next);
            if (HoldsZero(line)) return ClFormat(L"读文件[%s],\n\n第%d行错误!", path.GetString(), lineNo);
            line.Trim();
            if (line.IsEmpty() || line[0] == L'#') continue;
            if (ToolLineReader::Split(line, fields) == -1) return Fault(L"错误!", line);
            if (fields.GetSize() > 0 && fields[0] == L"9999") break;
            // A line that does not begin with a station (a column title).
            double station = 0;
            if (fields.GetSize() == 0 || !ReadToolNumber(fields[0], &station)) continue;
            if (fields.GetSize() < 2) return Fault(L"错误, 少于2个数据!", line);
            double centre = 0;
            if (!ReadToolNumber(fields[1], &centre)) return Fault(L"中桩高程数据错误!", line);
            double flags[2] = {0, 0};
            for (int f = 0; f < 2; ++f)
                if (fields.GetSize() > 2 + f && !ReadToolNumber(fields[2 + f], &flags[f])) return Fault(L"错误!", line);
            if (!order.Next(station))
                return ClFormat(L"读文件[%s],\n\n%s\n\n[%s]", path.GetString(), StationOrder::Falling(lineNo).GetString(),
                                line.GetString());
            dmx += fields[0] + L"," + fields[1] + L"\n";
            hdx += fields[0] + L"\n";
            const int stationLine = lineNo;
            dmxLines.push_back(stationLine);
            hdxLines.push_back(stationLine);
            for (double flag : flags) {
                if (ToolWholeNumber(flag) != 0) {
                    const CString fault = Side(hdx, station);
                    if (!fault.IsEmpty()) return fault;
                } else if (layout == 0) {
                    hdx.AppendFormat(L"%.3f, %.3f\n", minWidth, centre);
                    hdxLines.push_back(stationLine);
                } else {
                    hdx.AppendFormat(L"%.3f, 0\n", minWidth);
                    hdxLines.push_back(stationLine);
                }
            }
        }
        return CString();
    }
};

} // namespace

int CDialog_TransformRICAD::TransformRICADFile()
{
    std::vector<CString> lines;
    if (!ReadRawLines(m_SRicadFileName, lines)) {
        ShowFormattedMessage(this, MB_ICONINFORMATION, L"打开RICAD纵横断面地面线文件(*.dat)时出错!\n\n%s",
                             m_SRicadFileName.GetString());
        return 0;
    }
    if (lines.size() < 2) {
        ShowFormattedMessage(this, MB_ICONINFORMATION, L"RICAD纵横断面地面线文件<%s>中\n\n行数少于2.",
                             m_SRicadFileName.GetString());
        return 0;
    }
    Sections sections{lines, m_SRicadFileName, m_iDatFormat, m_rMinWidth};
    if (m_iDatFormat == 0 || m_iDatFormat == 1) sections.hdxLines.push_back(0);
    CString dmx;
    CString hdx = m_iDatFormat == 0 ? L"ABS\n" : m_iDatFormat == 1 ? L"ABS1\n" : L"";
    const CString fault = sections.Read(dmx, hdx);
    if (!fault.IsEmpty()) {
        ShowFormattedMessage(this, MB_ICONERROR, L"%s", fault.GetString());
        return 0;
    }
    // Every line passed over (titles, comments, text that is no station
    // line): nothing to write.
    if (sections.dmxLines.empty()) {
        ShowFormattedMessage(this, MB_ICONINFORMATION, L"%s", NoToolDataText(m_SRicadFileName).GetString());
        return 0;
    }
    int failed = -1;
    ToolReadBack check(m_SRicadFileName, {SuiteFileKind::DMX, SuiteFileKind::HDX});
    check.MapLines(0, std::move(sections.dmxLines));
    check.MapLines(1, std::move(sections.hdxLines));
    tkxSetLeftovers left;
    if (!WriteToolOutputs({{m_SDMXFileName, dmx}, {m_SHDXFileName, hdx}}, &failed, check.Check(), &left)) {
        if (check.Refused()) {
            ShowFormattedMessage(this, MB_ICONERROR, L"%s", check.Message().GetString());
        } else {
            const CString& path = failed == 1 ? m_SHDXFileName : m_SDMXFileName;
            const wchar_t* own = failed == 1 ? L"创建横断面地面线文件(*.hdx)时出错!\n\n%s"
                                             : L"创建纵断面地面线文件(*.dmx)时出错!\n\n%s";
            ShowFormattedMessage(this, MB_ICONINFORMATION, L"%s",
                                 tkx_SetFailureText(path, ClFormat(own, path.GetString()), 2, left).GetString());
        }
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog_TransformRICAD, CToolDialog)
    ON_BN_CLICKED(IDC_TOOL_PICK_INPUT, OnPickInput)
    ON_BN_CLICKED(IDC_TOOL_PICK_OUTPUT, OnPickDMX)
    ON_BN_CLICKED(IDC_TOOL_PICK_OUTPUT2, OnPickHDX)
    ON_BN_CLICKED(IDC_TOOL_VIEW_INPUT, OnViewInput)
END_MESSAGE_MAP()

CDialog_TransformRICAD::CDialog_TransformRICAD(CWnd* parent) : CToolDialog(IDD_TRANSFORM_RICAD, parent) {}

void CDialog_TransformRICAD::SerializeSettings(int get)
{
    ExchangeToolSettings(get, tool_section::RICAD,
                         {m_SDMXFileName, m_SHDXFileName, m_SRicadFileName, m_iDatFormat, m_rMinWidth});
}

void CDialog_TransformRICAD::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TOOL_PICK_INPUT, m_btnPickInput);
    DDX_Control(pDX, IDC_TOOL_PICK_OUTPUT, m_btnPickDMX);
    DDX_Control(pDX, IDC_TOOL_PICK_OUTPUT2, m_btnPickHDX);
    DDX_Control(pDX, IDC_TOOL_VIEW_INPUT, m_btnViewInput);
    DDX_Text(pDX, IDC_TOOL_INPUT, m_SRicadFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT, m_SDMXFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT2, m_SHDXFileName);
    DDX_Radio(pDX, IDC_TOOL_FORMAT, m_iDatFormat);
    DDX_Text(pDX, IDC_RICAD_MINWIDTH, m_rMinWidth);
}

BOOL CDialog_TransformRICAD::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SerializeSettings(1);
    SetupPicker(m_btnPickInput, IDS_TOOL_PICK_RICAD);
    SetupPicker(m_btnPickDMX, IDS_TOOL_PICK_DMX);
    SetupPicker(m_btnPickHDX, IDS_TOOL_PICK_HDX);
    SetupViewer(m_btnViewInput);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_TransformRICAD::OnPickInput()
{
    if (!PickFile(1, m_SRicadFileName, L"DAT", L"RICAD纵横断面地面线文件(*.dat)|*.dat|所有文件(*.*)|*.*||",
                  L"打开RICAD纵横断面地面线文件(*.dat)文件"))
        return;
    m_SDMXFileName = ToolDerivedPath(m_SRicadFileName, L".dmx");
    m_SHDXFileName = ToolDerivedPath(m_SRicadFileName, L".hdx");
    UpdateData(FALSE);
}

void CDialog_TransformRICAD::OnPickDMX()
{
    if (!PickFile(0, m_SDMXFileName, L"DMX", L"", L"")) return;
    m_SHDXFileName = ToolDerivedPath(m_SDMXFileName, L".hdx");
    UpdateData(FALSE);
}

void CDialog_TransformRICAD::OnPickHDX()
{
    if (!PickFile(0, m_SHDXFileName, L"HDX", L"", L"")) return;
    m_SDMXFileName = ToolDerivedPath(m_SHDXFileName, L".dmx");
    UpdateData(FALSE);
}

void CDialog_TransformRICAD::OnViewInput()
{
    if (!UpdateData(TRUE)) return;
    ViewFile(m_SRicadFileName, L"输入文件[%s]不存在!");
}

void CDialog_TransformRICAD::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_SRicadFileName.IsEmpty()) {
        ShowFormattedMessage(this, MB_ICONINFORMATION, L"请输入RICAD纵横断面地面线文件(*.dat)!");
        return;
    }
    if (m_SDMXFileName.IsEmpty()) {
        ShowFormattedMessage(this, MB_ICONINFORMATION, L"请输入Tavix纵断面地面线文件(*.dmx)!");
        return;
    }
    SerializeSettings(0);
    if (!ConfirmOverwrite(m_SDMXFileName, ClFormat(L"是否覆盖纵断面地面线文件\n\n%s?", m_SDMXFileName.GetString())))
        return;
    if (m_SHDXFileName.IsEmpty()) {
        ShowFormattedMessage(this, MB_ICONINFORMATION, L"请输入Tavix横断面地面线文件(*.hdx)!");
        return;
    }
    if (!ConfirmOverwrite(m_SHDXFileName, ClFormat(L"是否覆盖横断面地面线文件\n\n%s?", m_SHDXFileName.GetString())))
        return;
    if (m_iDatFormat < 0 || m_iDatFormat > 2) {
        ShowFormattedMessage(this, MB_ICONINFORMATION, L"请选择横断面地面点数据格式!");
        return;
    }
    if (!TransformRICADFile()) return;
    AskOpenGenerated(L"是否查看纵横断面数据的转换结果?", {m_SDMXFileName, m_SHDXFileName});
    CDialog::OnOK();
}

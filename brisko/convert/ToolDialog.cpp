#include "brisko/convert/ToolDialog.h"
#include "brisko/convert/OutputCheck.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Helpers.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Messages.h"
#include "brisko/shell/SharedDialogs.h"
#include "corvane/base/TextLines.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/Ini.h"
#include "corvane/project/FileInterface.h"

const wchar_t kToolCaption[] = L"TAVIX项目数据环境";
const wchar_t kToolSettingsFile[] = L"Brisko.ini";

namespace tool_section {
const wchar_t HDXFormat[] = L"HDXFormat";
const wchar_t ImportHintRoad[] = L"Transform_HintCAD_ROAD";
const wchar_t JGC[] = L"EnvJGC";
const wchar_t HintCAD_HDX[] = L"Transform_HintCAD_HDX";
const wchar_t RM_HDX[] = L"Transform_RM_HDX";
const wchar_t HintCAD_ZDX[] = L"Transform_HintCAD_ZDX";
const wchar_t RM_ZDX[] = L"Transform_RM_ZDX";
const wchar_t HongYe[] = L"Transform_HongYe_ZHDX";
const wchar_t RICAD[] = L"Transform_RICAD_ZHD";
const wchar_t MoveData[] = L"EnvMoveData";
const wchar_t HintCAD_PM[] = L"Transform_HintCAD_PM";
const wchar_t RMPM[] = L"Transform_RMPM";
const wchar_t HintCAD_ZDM[] = L"Transform_HintCAD_ZDM";
const wchar_t RM_ZDM[] = L"Transform_RM_ZDM";
} // namespace tool_section

// ---------------------------------------------------------------------------
// Settings.

const std::vector<ToolSettingSection>& ToolSettingSections()
{
    constexpr ToolValueType T = ToolValueType::Text;
    constexpr ToolValueType I = ToolValueType::Int;
    constexpr ToolValueType D = ToolValueType::Double;
    const std::vector<ToolSettingKey> inOut = {{L"m_SInFileName", T}, {L"m_SOutFileName", T}};
    static const std::vector<ToolSettingSection> sections = {
        {L"CDialog_HDXFormat", tool_section::HDXFormat,
         {{L"m_SFileFormat", T}, {L"m_SOutFileName", T}, {L"m_iOutFormat", I}, {L"m_bIncludeDL", I},
          {L"m_SHDXFileName", T}, {L"m_SDMXFileName", T}, {L"m_SDLFileName", T}}},
        {L"CDialog_Import_HintRoad", tool_section::ImportHintRoad,
         {{L"m_iDatFormat", I}, {L"m_SJDFileName", T}, {L"m_SSQXFileName", T}, {L"m_SDMXFileName", T},
          {L"m_SHDXFileName", T}, {L"m_SBreakChain", T}}},
        {L"CDialog_JGC", tool_section::JGC,
         {{L"m_SRuleHeight", T}, {L"m_SScale", T}, {L"m_rMinDistance", D}, {L"m_rRowHeight", D},
          {L"m_bPageAuto", I}, {L"m_rPageLength", D}}},
        {L"CDialog_Transform_ZHDX", tool_section::HintCAD_HDX, inOut},
        {L"CDialog_Transform_ZHDX", tool_section::RM_HDX, inOut},
        {L"CDialog_Transform_ZHDX", tool_section::HintCAD_ZDX, inOut},
        {L"CDialog_Transform_ZHDX", tool_section::RM_ZDX, inOut},
        {L"CDialog_TransformHongYeZHDX", tool_section::HongYe,
         {{L"m_SInFileName", T}, {L"m_SHDXFileName", T}, {L"m_SDMXFileName", T}}},
        {L"CDialog_TransformRICAD", tool_section::RICAD,
         {{L"m_SDMXFileName", T}, {L"m_SHDXFileName", T}, {L"m_SRicadFileName", T}, {L"m_iDatFormat", I},
          {L"m_rMinWidth", D}}},
        {L"CDialog_MoveData", tool_section::MoveData,
         {{L"m_SDMXFileName0", T}, {L"m_SDMXFileName1", T}, {L"m_SHDXFileName0", T}, {L"m_SHDXFileName1", T},
          {L"m_iDatFormat", I}, {L"m_bIncludeBreakChain", I}, {L"m_SDLFileName", T}}},
        {L"CDialog_Transform_HintCAD_PM", tool_section::HintCAD_PM,
         {{L"m_SINFileName", T}, {L"m_SOutFileName", T}, {L"m_iDatFormat", I}}},
        {L"CDialog_Transform_RMPM", tool_section::RMPM,
         {{L"m_SInFileName", T}, {L"m_SOutFileName", T}, {L"m_iDatFormat", I}}},
        {L"CDialog_Transform_SQX", tool_section::HintCAD_ZDM, inOut},
        {L"CDialog_Transform_SQX", tool_section::RM_ZDM, inOut},
    };
    return sections;
}

const ToolSettingSection* FindToolSettingSection(const wchar_t* section)
{
    if (!section) return nullptr;
    for (const ToolSettingSection& s : ToolSettingSections())
        if (std::wcscmp(s.section, section) == 0) return &s;
    return nullptr;
}

CString ToolSettingsPath() { return g_AppInfo.GetIniFileName(kToolSettingsFile); }

BOOL ExchangeToolSettings(int get, const wchar_t* section, std::initializer_list<ToolSettingValue> values)
{
    const ToolSettingSection* table = FindToolSettingSection(section);
    if (!table || table->keys.size() != values.size()) return FALSE;
    size_t i = 0;
    for (const ToolSettingValue& value : values)
        if (value.Type() != table->keys[i++].type) return FALSE;

    tkxIni ini(ToolSettingsPath(), section, 1);
    i = 0;
    for (const ToolSettingValue& value : values) {
        const CString key = table->keys[i++].name;
        switch (value.Type()) {
        case ToolValueType::Text: {
            CString& member = *static_cast<CString*>(value.Value());
            const CString current = member;
            ini.SerGet(get, member, key, nullptr, current);
            break;
        }
        case ToolValueType::Int: {
            int& member = *static_cast<int*>(value.Value());
            const int current = member;
            ini.SerGet(get, member, key, nullptr, current);
            break;
        }
        case ToolValueType::Double: {
            double& member = *static_cast<double*>(value.Value());
            const double current = member;
            ini.SerGet(get, member, key, nullptr, current);
            break;
        }
        }
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Files and names.

BOOL ToolFileExists(const CString& path)
{
    if (path.IsEmpty()) return FALSE;
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString ToolDerivedPath(const CString& path, const wchar_t* extension)
{
    const tkxFileName name(path);
    return name.GetPath() + L"\\" + name.GetFileTitle() + extension;
}

BOOL OpenToolDocument(const CString& path)
{
    if (path.IsEmpty()) return FALSE;
    return theApp.OpenDocumentFile(path) != nullptr;
}

CString CurrentRoadFile(const wchar_t* extension)
{
    tkxProject& project = theApp.m_CurProject;
    const int road = project.m_iCurRoad;
    return project.GetRoadDirectory(road) + L"\\" + project.GetRoadName(road) + extension;
}

CString WorkingRoadFile(const wchar_t* extension)
{
    tkxProject& project = theApp.m_CurProject;
    return project.GetWorkingDirectory() + L"\\" + project.GetCurRoadName() + extension;
}

void NotifyRoadFilesChanged()
{
    if (CWnd* main = theApp.m_pMainWnd) main->SendMessage(WM_PROJECTCHANGED, 0, 0);
}

void AskOpenGenerated(const wchar_t* question, std::initializer_list<CString> files)
{
    CWnd* main = theApp.m_pMainWnd;
    if (ClMessageBox(main ? main->GetSafeHwnd() : nullptr, question, kToolCaption, MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return;
    for (const CString& file : files) OpenToolDocument(file);
}

int ShowToolMessage(CWnd* dialog, const CString& text, UINT type)
{
    HWND owner = dialog && ::IsWindow(dialog->GetSafeHwnd()) ? dialog->GetSafeHwnd() : nullptr;
    return ClMessageBox(owner, text, kToolCaption, type);
}

void ShowApplicationMessage(const CString& text)
{
    if (!text.IsEmpty()) AfxMessageBox(text, MB_ICONINFORMATION);
}

// ---------------------------------------------------------------------------
// The dialog frame.

BEGIN_MESSAGE_MAP(CToolDialog, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CToolDialog::CToolDialog(UINT templateId, CWnd* parent, HINSTANCE caller) : CDialog(templateId, parent, caller)
{
    const wchar_t* name = MAKEINTRESOURCEW(IDB_ABOUT_BANNER);
    if (HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP))
        m_hSketch = static_cast<HBITMAP>(::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

CToolDialog::~CToolDialog()
{
    if (m_hSketch) ::DeleteObject(m_hSketch);
}

BOOL CToolDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetAppIcon(this);
    if (m_hSketch)
        SendDlgItemMessage(IDC_TOOL_SKETCH, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_hSketch));
    else
        ClMessageBox(m_hWnd, L"加载位图资源失败!", kToolCaption, MB_ICONHAND);
    return TRUE;
}

void CToolDialog::OnDestroy()
{
    if (m_hSketch) {
        ::DeleteObject(m_hSketch);
        m_hSketch = nullptr;
    }
    CDialog::OnDestroy();
}

void CToolDialog::SetupPicker(tkxIconButton& button, UINT tipId)
{
    button.SetIcon(IDI_TOOL_PICK_IN, IDI_TOOL_PICK_OUT);
    button.SetTooltipText(static_cast<int>(tipId));
}

void CToolDialog::SetupPicker(tkxIconButton& button, const wchar_t* tip)
{
    button.SetIcon(IDI_TOOL_PICK_IN, IDI_TOOL_PICK_OUT);
    CString text(tip);
    button.SetTooltipText(&text);
}

void CToolDialog::SetupViewer(tkxIconButton& button, UINT tipId)
{
    button.SetIcon(IDI_TOOL_VIEW_IN, IDI_TOOL_VIEW_OUT);
    button.SetTooltipText(static_cast<int>(tipId));
}

void CToolDialog::InOutButtons::Exchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TOOL_VIEW_INPUT, viewInput);
    DDX_Control(pDX, IDC_TOOL_PICK_OUTPUT, pickOutput);
    DDX_Control(pDX, IDC_TOOL_PICK_INPUT, pickInput);
}

void CToolDialog::InOutButtons::Setup()
{
    SetupViewer(viewInput);
    SetupPicker(pickOutput, IDS_TOOL_PICK_FILE);
    SetupPicker(pickInput, IDS_TOOL_PICK_FILE);
}

BOOL CToolDialog::PickFile(int open, CString& path, const wchar_t* extension, const wchar_t* filter,
                           const wchar_t* title)
{
    if (!UpdateData(TRUE)) return FALSE;
    return tkx_FileDialog(open, path, extension ? extension : L"", this, filter ? filter : L"", title ? title : L"") ==
           1;
}

void CToolDialog::ViewFile(const CString& path, const wchar_t* missingFormat)
{
    if (path.IsEmpty()) return;
    if (missingFormat && !ToolFileExists(path)) {
        ShowFormattedMessage(this, MB_ICONINFORMATION, missingFormat, path.GetString());
        return;
    }
    OpenToolDocument(path);
}

BOOL CToolDialog::ConfirmOverwrite(const CString& path, const CString& question, const wchar_t* caption)
{
    CFileFind find;
    if (path.IsEmpty() || !find.FindFile(path)) return TRUE;
    return ClMessageBox(m_hWnd, question, caption ? caption : kToolCaption, MB_YESNO | MB_ICONQUESTION) != IDNO;
}

// ---------------------------------------------------------------------------
// Reading.

BOOL ReadToolNumber(const CString& token, double* value)
{
    // The program's test first (as every typed number of the program), then
    // the readers' own rule, so that a text written on unchanged reads back.
    if (!IsNumberString(token) || !IsNumericString(token)) return FALSE;
    double v = 0.0;
    if (!StringToDouble(CString(token), &v)) return FALSE;
    if (value) *value = v;
    return TRUE;
}

int ToolSource::Next()
{
    m_tokens.RemoveAll();
    m_split = 0;
    // At the end of the file the line stays the last one read, for the
    // messages that quote it.
    CString line;
    const int result = m_reader.Next(line);
    if (result != 0) m_line = line;
    if (result == 1) m_split = ToolLineReader::Split(m_line, m_tokens);
    return result;
}

BOOL ToolSource::NextData(int least, CString& message)
{
    if (Next() != 1) {
        message = LineFailed();
        return FALSE;
    }
    if (Count() < least) {
        message = TooFew(least);
        return FALSE;
    }
    return TRUE;
}

CString ToolSource::LineFailed() const
{
    return ClFormat(L"读输入文件%s\n\n第%d行失败!", m_path.GetString(), LineNo());
}

CString ToolSource::TooFew(int least) const
{
    return ClFormat(L"读输入文件%s\n\n第%d行失败! 数据个数少于%d个\n\n[%s]", m_path.GetString(), LineNo(), least,
                    m_line.GetString());
}

CString ToolSource::FieldFailed(int position, const wchar_t* field) const
{
    const CString token = position >= 1 && position <= Count() ? Token(position) : CString();
    return ClFormat(L"读输入文件%s\n\n第%d行第%d个数据[%s:%s]失败!", m_path.GetString(), LineNo(), position, field,
                    token.GetString());
}

BOOL ToolSource::Number(int position, const wchar_t* field, double* value, CString& message) const
{
    if (position >= 1 && position <= Count() && ReadToolNumber(Token(position), value)) return TRUE;
    message = FieldFailed(position, field);
    return FALSE;
}

BOOL SkipHintCADLines(ToolSource& in, CString& message)
{
    for (;;) {
        if (!in.NextData(1, message)) return FALSE;
        if (in.Token(1).Find(L"HINTCAD") < 0) return TRUE;
    }
}

int ToolWholeNumber(double value)
{
    if (!(value > -2147483648.0)) return INT_MIN;
    if (!(value < 2147483648.0)) return INT_MAX;
    return static_cast<int>(value);
}

CString ChainLetterStation(const CString& field, int& chain)
{
    std::wstring text = field.str();
    for (int i = 0; i < 26; ++i) {
        const wchar_t upper = static_cast<wchar_t>(L'A' + i);
        const wchar_t lower = static_cast<wchar_t>(L'a' + i);
        std::wstring kept;
        kept.reserve(text.size());
        bool found = false;
        for (size_t k = 0; k < text.size(); ++k) {
            const wchar_t c = text[k];
            const bool kilometre = upper == L'K' && k + 1 < text.size() && text[k + 1] >= L'0' && text[k + 1] <= L'9';
            if ((c == upper || c == lower) && !kilometre)
                found = true;
            else
                kept += c;
        }
        if (!found) continue;
        text.swap(kept);
        if (i + 1 == chain) continue;
        chain = i + 1;
        break;
    }
    return CString(text);
}

namespace {

bool AllDigits(const CString& text)
{
    if (text.IsEmpty()) return false;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] < L'0' || text[i] > L'9') return false;
    return true;
}

} // namespace

BOOL PlainStationText(const CString& text, CString& plain)
{
    CString s(text);
    s.Trim();
    if (ReadToolNumber(s, nullptr)) {
        plain = s;
        return TRUE;
    }
    if (!s.IsEmpty() && (s[0] == L'K' || s[0] == L'k')) s = s.Mid(1);
    const int plus = s.Find(L'+');
    if (plus <= 0) return FALSE;
    const CString km = s.Left(plus);
    const CString metres = s.Mid(plus + 1);
    const int point = metres.Find(L'.');
    const CString whole = point < 0 ? metres : metres.Left(point);
    const CString fraction = point < 0 ? CString() : metres.Mid(point + 1);
    if (!AllDigits(km) || !AllDigits(whole) || (point >= 0 && !AllDigits(fraction)) || km.GetLength() > 9) return FALSE;
    double kmValue = 0.0, metreValue = 0.0;
    if (!ReadToolNumber(km, &kmValue) || !ReadToolNumber(metres, &metreValue)) return FALSE;
    plain = ClFormat(L"%.*f", fraction.GetLength(), kmValue * 1000.0 + metreValue);
    return TRUE;
}

CString ChainedStationText(const CString& plain, int chain, int& lastChain)
{
    CString text = plain;
    if (chain > 1 || lastChain > 1) text.AppendFormat(L"_%d", chain);
    lastChain = chain;
    return text;
}

BOOL StationOrder::Next(double station, int segment)
{
    const auto found = m_last.find(segment);
    if (found != m_last.end() && station < found->second - 1e-6) return FALSE;
    m_last[segment] = station;
    return TRUE;
}

CString StationOrder::Falling(int lineNo)
{
    return ClFormat(L"第%d行桩号小于上一行桩号", lineNo);
}

CString FallingStation(const ToolSource& in)
{
    return ClFormat(L"读输入文件%s\n\n", in.Path().GetString()) + StationOrder::Falling(in.LineNo());
}

// ---------------------------------------------------------------------------
// Writing.

namespace {

bool g_fixedClock = false;
SYSTEMTIME g_clock = {};

// The text as the files hold it: CR LF line ends, the system code page.
std::string FileBytes(const CString& text)
{
    std::wstring lines;
    lines.reserve(static_cast<size_t>(text.GetLength()) + static_cast<size_t>(text.GetLength()) / 16);
    for (wchar_t c : text.str()) {
        if (c == L'\n') lines += L'\r';
        lines += c;
    }
    return ClWideToMultiByte(lines.c_str(), static_cast<int>(lines.size()), CP_ACP);
}

bool WriteBytes(const CString& path, const char* bytes, size_t size)
{
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) return false;
    try {
        if (size) file.Write(bytes, static_cast<UINT>(size));
        file.Flush();
        file.Close();
        return true;
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        return false;
    }
}

} // namespace

void SetToolClock(const SYSTEMTIME* fixed)
{
    g_fixedClock = fixed != nullptr;
    if (fixed) g_clock = *fixed;
}

CString ToolCreationLine()
{
    SYSTEMTIME now = g_clock;
    if (!g_fixedClock) ::GetLocalTime(&now);
    return ClFormat(L"//创建时间:%d年%d月%d日 %d:%d:%d\n", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                    now.wSecond);
}

CString ToolHeader(const wchar_t* firstLine, const CString& input)
{
    return ClFormat(firstLine, input.GetString()) + ToolCreationLine();
}

namespace {

// The tools' writing: the bytes of each output (by its index) into a
// temporary file beside it, the check, then all put in place as one set.
int WriteToolFiles(const std::vector<ToolOutput>& outputs, const std::function<void(size_t, std::string&)>& bytesOf,
                   int* failed, const ToolOutputsCheck& check, tkxSetLeftovers* left)
{
    if (left) *left = tkxSetLeftovers();
    std::vector<CString> targets, temps;
    for (const ToolOutput& output : outputs) targets.push_back(output.path);
    const auto fail = [&](int index) {
        for (const CString& temp : temps) ::DeleteFileW(temp);
        if (failed) *failed = index;
        return 0;
    };
    // A read-only output refuses the whole run before anything is written.
    const int readOnly = tkx_FirstReadOnlyTarget(targets);
    if (readOnly >= 0) return fail(readOnly);
    for (size_t i = 0; i < outputs.size(); ++i) {
        const CString temp =
            outputs[i].path.IsEmpty() ? CString() : tkx_TempFileBeside(outputs[i].path, outputs[i].extension);
        if (temp.IsEmpty()) return fail(static_cast<int>(i));
        temps.push_back(temp);
        std::string bytes;
        bytesOf(i, bytes);
        if (!WriteBytes(temp, bytes.data(), bytes.size())) return fail(static_cast<int>(i));
    }
    if (check && !check(outputs, temps)) return fail(-1);
    int at = -1;
    tkxSetLeftovers leftovers;
    // The set removes the temporary files itself when it fails.
    const bool replaced = tkx_ReplaceSetByTemporaries(temps, targets, &at, &leftovers);
    // A backup another program kept from being removed is named where the
    // user sees it.
    for (const CString& line : tkx_BackupsKeptTexts(leftovers)) PrintToMainInfoWindow(L"%s", line.GetString());
    if (left) *left = std::move(leftovers);
    if (failed) *failed = replaced ? -1 : at;
    return replaced ? 1 : 0;
}

// The number of lines of a text ("\n" line ends).
int LineCount(const CString& text)
{
    int lines = 0;
    for (wchar_t c : text.str())
        if (c == L'\n') ++lines;
    return lines;
}

} // namespace

int WriteToolOutputs(const std::vector<ToolOutput>& outputs, int* failed, const ToolOutputsCheck& check,
                     tkxSetLeftovers* left)
{
    return WriteToolFiles(
        outputs, [&outputs](size_t i, std::string& bytes) { bytes = FileBytes(outputs[i].text); }, failed, check,
        left);
}

int RunToolConversion(const CString& input, const CString& output, const wchar_t* firstLine, const ToolReader& read,
                      const ToolTeller& tell, ToolReadBack& readBack)
{
    ToolSource in(input);
    if (!in.Open()) {
        tell(ClFormat(L"打开输入文件失败!\n\n%s", input.GetString()));
        return 0;
    }
    CString text, message;
    const BOOL done = read(in, text, message);
    in.Close();
    if (!done) {
        if (!message.IsEmpty()) tell(message);
        return 0;
    }
    const CString header = ToolHeader(firstLine, input);
    readBack.SetHeaderLines(0, LineCount(header));
    if (!WriteToolOutputs({{output, header + text, readBack.TemporaryExtension(0)}}, nullptr, readBack.Check())) {
        tell(readBack.Refused() ? readBack.Message()
                                : tkx_SaveFailureText(output, ClFormat(L"创建输出文件失败!\n\n%s", output.GetString())));
        return 0;
    }
    return 1;
}

int CopyToolFile(const CString& from, const CString& to, const ToolOutputsCheck& check)
{
    std::string bytes;
    CFile in;
    if (!in.Open(from, CFile::modeRead | CFile::shareDenyWrite)) return 0;
    try {
        const ULONGLONG length = in.GetLength();
        bytes.resize(static_cast<size_t>(length));
        if (length && in.Read(&bytes[0], static_cast<UINT>(length)) != length) {
            in.Abort();
            return 0;
        }
        in.Close();
    } catch (CFileException* e) {
        e->Delete();
        in.Abort();
        return 0;
    }
    return WriteToolFiles({{to, CString()}}, [&bytes](size_t, std::string& out) { out.swap(bytes); }, nullptr, check,
                          nullptr);
}

CString NoToolDataText(const CString& input)
{
    return ClFormat(L"文件%s中没有可转换的数据!", input.GetString());
}

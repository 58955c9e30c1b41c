#include "brisko/templates/Dialog_TemplateEdit.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/SharedDialogs.h"
#include "brisko/templates/TvTemplate.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/project/FileInterface.h"
#include <cmath>
#include <cwchar>
#include <vector>

namespace {

const wchar_t* const kFixedTypes[] = {L"固定坡度", L"固定高度", L"固定宽度"};
const wchar_t* const kSlopeStyles[] = {L"1:n", L"n%"};
const wchar_t* const kLabelPositions[] = {L"起点上方", L"中点上方", L"终点上方", L"起点下方", L"中点下方", L"终点下方"};
const wchar_t* const kLinePoints[] = {L"边坡起点", L"边坡中点", L"边坡终点"};
const wchar_t* const kPositionTypes[] = {L"边坡", L"护坡道", L"边沟内坡", L"边沟沟底", L"边沟外坡"};
const wchar_t* const kWallPositions[] = {L"边坡起点", L"边坡终点"};
const wchar_t* const kStopQuantities[] = {
    L"与地面有交点，且坡高", L"与地面有交点，且坡宽", L"边坡线的高度",       L"边坡线的宽度",
    L"终点到路中线的水平距离", L"终点到路基边缘的水平距离", L"终点和路基边缘的高差绝对值", L"终点高程",
};
const wchar_t* const kStopTests[] = {L"≥", L"〈"};
const wchar_t* const kStopActions[] = {L"边坡设计到交地点结束", L"设计终止，转下一方案"};

// Posted when the editor first shows: the preview's view is set once it
// can be seen.
const UINT WM_RESETPREVIEW = WM_APP + 25;

const UINT kTypeRadios[6] = {IDC_TPL_TYPE0, IDC_TPL_TYPE1, IDC_TPL_TYPE2, IDC_TPL_TYPE3, IDC_TPL_TYPE4, IDC_TPL_TYPE5};

// The end-rule texts by mode: the group, the value's label, the six types.
const struct {
    const wchar_t* group;
    const wchar_t* value;
    const wchar_t* types[6];
} kEndRules[3] = {
    {L"边坡终点按指定坡长确定", L"指定坡长:",
     {L"坡长等于指定坡长", L"由坡长文件计算坡长+指定坡长", L"距边坡起点等于指定坡长的交地点", L"与地面交点+指定坡长", L"", L""}},
    {L"边坡终点高程的确定方式", L"指定高差:",
     {L"边坡高差等于指定高差", L"沟底高程+指定高差", L"路基边缘高程+指定高差", L"由挡墙文件+指定高差",
      L"由竖曲线文件+指定高差", L"交地点高程+指定高差"}},
    {L"边坡终点位置的确定方式", L"指定宽度:",
     {L"边坡宽度等于指定宽度", L"终点距路基边缘等于指定宽度", L"由坡宽文件+指定宽度", L"距边坡起点等于指定宽度的地面点",
      L"距路基边缘等于指定宽度的地面点", L"与地面交点+指定宽度"}},
};

// The end rules that read a control file, and its file dialog.
struct FileRule {
    int mode, type;
    const wchar_t* label;
    const wchar_t* ext;        // default extension
    const wchar_t* filter;     // null: the dialog's own
    const wchar_t* title;      // null: the dialog's own
    const wchar_t* ends[2];    // names that already name such a file (lower case)
};
const FileRule kFileRules[] = {
    {0, 1, L"坡长文件:", L"PC", L"坡长文件*.PC|*.PC||", L"选择坡长文件", {L".pc", nullptr}},
    {1, 3, L"挡墙文件:", L"DQ", nullptr, nullptr, {L".dq", nullptr}},
    {1, 4, L"竖曲线文件:", L"SQX", nullptr, nullptr, {L".sqx", nullptr}},
    {2, 2, L"坡宽文件:", L"KD", L"坡宽文件(*.KD)|*.KD|视距台文件(*.SJT)|*.SJT||", L"选择坡宽文件(*.KD)或视距台文件(*.SJT)",
     {L".kd", L".sjt"}},
};

const FileRule* FileRuleOf(int mode, int type)
{
    for (const FileRule& rule : kFileRules)
        if (rule.mode == mode && rule.type == type) return &rule;
    return nullptr;
}

// The controls that store even when the values do not pass the checks.
bool StoresAlways(UINT id)
{
    switch (id) {
    case IDC_TPL_DRAW: case IDC_TPL_EARTHWORK: case IDC_TPL_LABEL_SLOPE: case IDC_TPL_DASHED:
    case IDC_TPL_LABEL_OFFSET: case IDC_TPL_LABEL_OFFSET_POS: case IDC_TPL_SAVE_POSTYPE: case IDC_TPL_SAVE_LENGTH:
    case IDC_TPL_STOP: case IDC_TPL_STOP_ACTION: case IDC_TPL_TOPSOIL: case IDC_TPL_SLOPE_STYLE: return true;
    default: return false;
    }
}

// The numeric edits, which a value being typed may leave unreadable.
const UINT kNumberEdits[] = {IDC_TPL_FIXED_VALUE, IDC_TPL_END_VALUE, IDC_TPL_START_THICKNESS, IDC_TPL_END_THICKNESS,
                             IDC_TPL_STOP_VALUE};

bool IsReal(const CString& text)
{
    const wchar_t* start = text;
    wchar_t* end = nullptr;
    std::wcstod(start, &end);
    if (end == start) return false;
    while (*end == L' ' || *end == L'\t') ++end;
    return *end == 0;
}

bool SamePath(const CString& a, const CString& b)
{
    wchar_t fullA[MAX_PATH * 2] = {}, fullB[MAX_PATH * 2] = {};
    if (!::GetFullPathNameW(a, MAX_PATH * 2, fullA, nullptr) || !::GetFullPathNameW(b, MAX_PATH * 2, fullB, nullptr))
        return a.CompareNoCase(b) == 0;
    return ::CompareStringOrdinal(fullA, -1, fullB, -1, TRUE) == CSTR_EQUAL;
}

void FillCombo(CWnd* dialog, UINT id, const wchar_t* const* items, int count)
{
    CComboBox* combo = static_cast<CComboBox*>(dialog->GetDlgItem(id));
    if (!combo) return;
    combo->ResetContent();
    for (int i = 0; i < count; ++i) combo->AddString(items[i]);
}

// A preset line after `before`: defaults, no dashes and no gradient label.
CSlopeLine PresetLine(const CSlopeLine& before, double gradient, int mode, int type, double value)
{
    CSlopeLine line;
    line.m_iFixedType = 0;
    line.m_rFixedValue = gradient;
    line.m_iEndMode = mode;
    line.m_iEndType = type;
    line.m_rEndValue = value;
    line.m_bDashed = line.m_bLabelSlope = line.m_iSlopeLabelStyle = 0;
    line.SetStartPoint(before.m_ptEnd);
    return line;
}

} // namespace

BEGIN_MESSAGE_MAP(CDialog_TemplateEdit, CResizableDialog)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_RESETPREVIEW, OnResetPreview)
    ON_BN_CLICKED(IDC_TPL_PREVIOUS, OnPrevious)
    ON_BN_CLICKED(IDC_TPL_NEXT, OnNext)
    ON_BN_CLICKED(IDC_TPL_SAVE, OnSave)
    ON_BN_CLICKED(IDC_TPL_INSERT, OnInsert)
    ON_BN_CLICKED(IDC_TPL_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_TPL_WALL_BROWSE, OnWallBrowse)
    ON_BN_CLICKED(IDC_TPL_CONTROL_BROWSE, OnControlBrowse)
    ON_BN_CLICKED(IDC_TPL_TEST, OnTest)
    ON_COMMAND_RANGE(ID_INSERT_FILL, ID_INSERT_PLATFORM, OnInsertCommand)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_TPL_DRAW, IDC_TPL_TYPE5, OnButtonControl)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_TPL_FIXED_TYPE, IDC_TPL_SLOPE_STYLE, OnComboControl)
    ON_CONTROL_RANGE(EN_CHANGE, IDC_TPL_FIXED_VALUE, IDC_TPL_STOP_VALUE, OnEditControl)
END_MESSAGE_MAP()

CDialog_TemplateEdit::CDialog_TemplateEdit(CWnd* parent) : CResizableDialog(IDD_TEMPLATE_EDIT, parent) {}

void CDialog_TemplateEdit::DoDataExchange(CDataExchange* pDX)
{
    CResizableDialog::DoDataExchange(pDX);
    CSlopeLine& v = m_value;
    DDX_Text(pDX, IDC_TPL_FILENAME, m_STemplateName);
    DDX_CBIndex(pDX, IDC_TPL_FIXED_TYPE, v.m_iFixedType);
    DDX_Text(pDX, IDC_TPL_FIXED_VALUE, v.m_rFixedValue);
    DDX_Radio(pDX, IDC_TPL_MODE_LENGTH, v.m_iEndMode);
    DDX_Radio(pDX, IDC_TPL_TYPE0, v.m_iEndType);
    DDX_Text(pDX, IDC_TPL_END_VALUE, v.m_rEndValue);
    DDX_Text(pDX, IDC_TPL_CONTROL_FILE, v.m_sControlFile);
    DDX_Check(pDX, IDC_TPL_DRAW, v.m_bDraw);
    DDX_Check(pDX, IDC_TPL_EARTHWORK, v.m_bEarthwork);
    DDX_Check(pDX, IDC_TPL_TOPSOIL, v.m_bTopsoil);
    DDX_Check(pDX, IDC_TPL_THICKNESS, v.m_bThickness);
    DDX_Text(pDX, IDC_TPL_START_THICKNESS, v.m_rStartThickness);
    DDX_Text(pDX, IDC_TPL_END_THICKNESS, v.m_rEndThickness);
    DDX_Check(pDX, IDC_TPL_LABEL_SLOPE, v.m_bLabelSlope);
    DDX_CBIndex(pDX, IDC_TPL_SLOPE_STYLE, v.m_iSlopeLabelStyle);
    DDX_Check(pDX, IDC_TPL_DASHED, v.m_bDashed);
    DDX_Check(pDX, IDC_TPL_LABEL_OFFSET, v.m_bLabelOffsetElev);
    DDX_CBIndex(pDX, IDC_TPL_LABEL_OFFSET_POS, v.m_iLabelOffsetElevPos);
    DDX_Check(pDX, IDC_TPL_SAVE_OFFSET, v.m_bSaveEndOffset);
    DDX_CBIndex(pDX, IDC_TPL_SAVE_OFFSET_POINT, v.m_iSaveEndOffsetPoint);
    DDX_Check(pDX, IDC_TPL_SAVE_POSTYPE, v.m_bSavePosType);
    DDX_CBIndex(pDX, IDC_TPL_POSTYPE, v.m_iPosType);
    DDX_Check(pDX, IDC_TPL_SAVE_LENGTH, v.m_bSaveLength);
    DDX_Check(pDX, IDC_TPL_ARC, v.m_bArcWithNext);
    DDX_Check(pDX, IDC_TPL_INSERT_WALL, v.m_bInsertWall);
    DDX_CBIndex(pDX, IDC_TPL_WALL_POS, v.m_iWallPos);
    DDX_Text(pDX, IDC_TPL_WALL_FILE, v.m_sWallFile);
    DDX_Check(pDX, IDC_TPL_STOP, v.m_bStopControl);
    DDX_CBIndex(pDX, IDC_TPL_STOP_QUANTITY, v.m_iStopQuantity);
    DDX_CBIndex(pDX, IDC_TPL_STOP_BELOW, v.m_bStopBelow);
    DDX_Text(pDX, IDC_TPL_STOP_VALUE, v.m_rStopValue);
    DDX_CBIndex(pDX, IDC_TPL_STOP_ACTION, v.m_iStopAction);
}

int CDialog_TemplateEdit::OnCreate(LPCREATESTRUCT cs)
{
    if (CResizableDialog::OnCreate(cs) == -1) return -1;
    if (!m_wndPreview.Create(CRect(0, 0, 80, 100), WS_CHILD | WS_VISIBLE | WS_TABSTOP, this, IDC_TPL_PREVIEW)) {
        ClMessageBox(m_hWnd, L"创建边坡模板浏览器失败!", kBriskoCaption, MB_ICONERROR);
        return -1;
    }
    return 0;
}

BOOL CDialog_TemplateEdit::OnInitDialog()
{
    m_bUpdating = true;
    CResizableDialog::OnInitDialog();
    // The file-name row stays on top; the settings keep their place at the
    // bottom; the preview takes what lies between (PlacePreview).
    for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
        const int id = child->GetDlgCtrlID();
        if (id == IDC_TPL_PREVIEW || child == &m_wndGrip) continue;
        if (id == IDC_TPL_OPTIONS_GROUP)
            AnchorChild(child->GetSafeHwnd(), 0, 100, 100, 100);
        else if (id == IDCANCEL)
            AnchorChild(child->GetSafeHwnd(), 100, 0);
        else if (id == IDC_TPL_FILENAME_LABEL || id == IDC_TPL_FILENAME || (id >= IDC_TPL_PREVIOUS && id <= IDC_TPL_DELETE) ||
                 id == IDC_TPL_TEST)
            AnchorChild(child->GetSafeHwnd(), 0, 0);
        else
            AnchorChild(child->GetSafeHwnd(), 0, 100);
    }
    SetAppIcon(this);
    FillCombo(this, IDC_TPL_FIXED_TYPE, kFixedTypes, 3);
    FillCombo(this, IDC_TPL_SLOPE_STYLE, kSlopeStyles, 2);
    FillCombo(this, IDC_TPL_LABEL_OFFSET_POS, kLabelPositions, 6);
    FillCombo(this, IDC_TPL_SAVE_OFFSET_POINT, kLinePoints, 3);
    FillCombo(this, IDC_TPL_POSTYPE, kPositionTypes, 5);
    FillCombo(this, IDC_TPL_WALL_POS, kWallPositions, 2);
    FillCombo(this, IDC_TPL_STOP_QUANTITY, kStopQuantities, 8);
    FillCombo(this, IDC_TPL_STOP_BELOW, kStopTests, 2);
    FillCombo(this, IDC_TPL_STOP_ACTION, kStopActions, 2);
    PlacePreview();

    if (!m_pSlopeLines || m_pSlopeLines->GetSize() == 0) {
        ClMessageBox(m_hWnd, L"未指定边坡模板，或模板没有加载成功.", kBriskoCaption, MB_ICONERROR);
        m_bUpdating = false;
        return TRUE;
    }
    m_STemplateName = tkxFileName(m_STemplatePath).GetFileName();
    m_nCurLine = 0;
    m_wndPreview.m_pSlopeLines = m_pSlopeLines;
    m_wndPreview.m_STemplatePath = m_STemplatePath;

    const struct {
        tkxIconButton* button;
        UINT id, icon;
        const wchar_t* tip;
    } buttons[] = {
        {&m_btnDelete, IDC_TPL_DELETE, IDI_TPL_DELETE, L"删除边坡线"},
        {&m_btnInsert, IDC_TPL_INSERT, IDI_TPL_INSERT, L"插入边坡线"},
        {&m_btnSave, IDC_TPL_SAVE, IDI_TPL_SAVE, L"保存/另存边坡模板"},
        {&m_btnWallBrowse, IDC_TPL_WALL_BROWSE, IDI_TPL_BROWSE, L"选择挡墙文件"},
        {&m_btnNext, IDC_TPL_NEXT, IDI_TPL_NEXT, L"下一条边坡线(PageDown)"},
        {&m_btnPrevious, IDC_TPL_PREVIOUS, IDI_TPL_PREVIOUS, L"上一条边坡线(PageUp)"},
        {&m_btnControlBrowse, IDC_TPL_CONTROL_BROWSE, IDI_TPL_BROWSE, L"选择控制数据文件"},
    };
    for (const auto& b : buttons) {
        b.button->SubclassDlgItem(b.id, this);
        b.button->SetIcon(static_cast<int>(b.icon), 0);
        CString tip = b.tip;
        b.button->SetTooltipText(&tip);
    }
    GetDlgItem(IDC_TPL_SAVE_OFFSET_POINT)->EnableWindow(FALSE);
    m_bUpdating = false;
    ShowLine(0);
    return TRUE;
}

void CDialog_TemplateEdit::OnShowWindow(BOOL show, UINT status)
{
    CResizableDialog::OnShowWindow(show, status);
    if (show && !m_bViewSet) {
        m_bViewSet = true;
        PostMessage(WM_RESETPREVIEW, 0, 0);
    }
}

LRESULT CDialog_TemplateEdit::OnResetPreview(WPARAM, LPARAM)
{
    m_wndPreview.FitView();
    return 0;
}

void CDialog_TemplateEdit::OnSize(UINT type, int cx, int cy)
{
    CResizableDialog::OnSize(type, cx, cy);
    PlacePreview();
}

void CDialog_TemplateEdit::PlacePreview()
{
    CWnd* label = GetDlgItem(IDC_TPL_FILENAME_LABEL);
    CWnd* group = GetDlgItem(IDC_TPL_OPTIONS_GROUP);
    if (!label || !group || !m_wndPreview.GetSafeHwnd()) return;
    CRect top, bottom;
    label->GetWindowRect(&top);
    group->GetWindowRect(&bottom);
    ScreenToClient(&top);
    ScreenToClient(&bottom);
    m_wndPreview.MoveWindow(CRect(top.left, top.bottom + 7, bottom.right, bottom.top - 5), TRUE);
}

// ---------------------------------------------------------------------------
// Values

void CDialog_TemplateEdit::Normalize()
{
    CSlopeLine& v = m_value;
    if (v.m_iFixedType == 1) {
        v.m_iEndMode = 2;
        if (v.m_iEndType == 5) v.m_iEndType = 0;
    } else if (v.m_iFixedType == 2) {
        v.m_iEndMode = 1;
    }
    if (v.m_iEndMode == 0 && v.m_iEndType > 3) v.m_iEndType = 0;
}

BOOL CDialog_TemplateEdit::ReadAndCheck(bool report)
{
    if (!report) {
        for (UINT id : kNumberEdits) {
            CString text;
            GetDlgItemText(id, text);
            if (!IsReal(text)) return FALSE;
        }
    }
    if (!UpdateData(TRUE)) return FALSE;
    return CheckValues(report);
}

BOOL CDialog_TemplateEdit::CheckValues(bool report)
{
    const CSlopeLine& v = m_value;
    const CSlopeLine* previous =
        m_pSlopeLines && m_nCurLine > 0 && m_nCurLine <= m_pSlopeLines->GetSize() ? &(*m_pSlopeLines)[m_nCurLine - 1]
                                                                                 : nullptr;
    const wchar_t* problem = nullptr;
    if (std::fabs(v.m_rFixedValue) < 1e-8)
        problem = L"固定参数不能为零!";
    else if (v.m_bThickness && v.m_bArcWithNext)
        problem = L"与下一边构成圆弧形边坡时，不能设置边坡的厚度!";
    else if (v.m_bThickness && previous && previous->m_bArcWithNext)
        problem = L"与前一边构成圆弧形边坡时，不能设置边坡的厚度!";
    else if (v.m_bArcWithNext && previous && previous->m_bArcWithNext)
        problem = L"当前边坡线与前一边构成圆弧形边坡时，不能再设置与下一边构成圆弧!\n\n"
                  L"如需要设置连续的两个圆弧，可将当前边坡拆分为两条边坡线。";
    if (!problem) return TRUE;
    if (report) ClMessageBox(m_hWnd, problem, kBriskoCaption, MB_ICONERROR);
    return FALSE;
}

void CDialog_TemplateEdit::StoreCurrent()
{
    if (!m_pSlopeLines || m_nCurLine < 0 || m_nCurLine >= m_pSlopeLines->GetSize()) return;
    Normalize();
    CSlopeLine line = m_value;
    const CSlopeLine& stored = (*m_pSlopeLines)[m_nCurLine];
    line.m_ptStart = stored.m_ptStart;
    line.m_ptEnd = stored.m_ptEnd;
    line.m_bError = stored.m_bError;
    line.m_sMessage = stored.m_sMessage;
    line.m_sControlFile.Trim();
    line.m_sWallFile.Trim();
    if (!FileRuleOf(line.m_iEndMode, line.m_iEndType)) line.m_sControlFile.Empty();
    (*m_pSlopeLines)[m_nCurLine] = line;
    SketchSlopeLines(*m_pSlopeLines);
}

void CDialog_TemplateEdit::ShowLine(int index)
{
    if (!m_pSlopeLines || index < 0 || index >= m_pSlopeLines->GetSize()) return;
    m_nCurLine = static_cast<short>(index);
    m_value = (*m_pSlopeLines)[index];
    m_value.m_iSaveEndOffsetPoint = 2;
    Refresh();
}

void CDialog_TemplateEdit::Refresh()
{
    if (!m_pSlopeLines) return;
    Normalize();
    CSlopeLine& v = m_value;
    const int count = static_cast<int>(m_pSlopeLines->GetSize());
    auto enable = [this](UINT id, bool on) {
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
    };
    auto show = [this](UINT id, bool on) {
        if (CWnd* control = GetDlgItem(id)) control->ShowWindow(on ? SW_SHOW : SW_HIDE);
    };
    auto text = [this](UINT id, const wchar_t* value) {
        CString now;
        GetDlgItemText(id, now);
        if (now != value) SetDlgItemText(id, value);
    };
    enable(IDC_TPL_PREVIOUS, m_nCurLine != 0);
    enable(IDC_TPL_NEXT, m_nCurLine < count - 1);
    enable(IDC_TPL_DELETE, count > 1);

    static const wchar_t* const kFixedLabels[] = {L"坡度 1:", L"高度(m):", L"宽度(m):"};
    static const wchar_t* const kFixedGroups[] = {L" 固定坡度参数 [向下为正, 向上为负]", L" 固定高度参数 [向下为正, 向上为负]",
                                                  L" 固定宽度参数 [用正值表示] "};
    const int fixed = v.m_iFixedType >= 0 && v.m_iFixedType <= 2 ? v.m_iFixedType : 0;
    text(IDC_TPL_FIXED_LABEL, kFixedLabels[fixed]);
    text(IDC_TPL_FIXED_GROUP, kFixedGroups[fixed]);
    enable(IDC_TPL_MODE_LENGTH, fixed == 0);
    enable(IDC_TPL_MODE_ELEVATION, fixed != 1);
    enable(IDC_TPL_MODE_WIDTH, fixed != 2);
    const bool fixedEditable =
        !(v.m_iEndMode == 0 && v.m_iEndType == 2) && !(v.m_iEndMode == 2 && (v.m_iEndType == 3 || v.m_iEndType == 4));
    enable(IDC_TPL_FIXED_VALUE, fixedEditable);
    enable(IDC_TPL_FIXED_TYPE, fixedEditable);

    const int mode = v.m_iEndMode >= 0 && v.m_iEndMode <= 2 ? v.m_iEndMode : 1;
    text(IDC_TPL_END_GROUP, kEndRules[mode].group);
    text(IDC_TPL_END_LABEL, kEndRules[mode].value);
    for (int type = 0; type < 6; ++type) text(kTypeRadios[type], kEndRules[mode].types[type]);
    if (fixed == 2) text(IDC_TPL_TYPE5, L"边坡终点处地面高程+指定高差");
    show(IDC_TPL_TYPE4, mode != 0);
    show(IDC_TPL_TYPE5, mode != 0 && fixed != 1);
    const FileRule* rule = FileRuleOf(v.m_iEndMode, v.m_iEndType);
    text(IDC_TPL_CONTROL_LABEL, rule ? rule->label : L"控制文件:");
    enable(IDC_TPL_CONTROL_LABEL, rule != nullptr);
    enable(IDC_TPL_CONTROL_FILE, rule != nullptr);
    m_btnControlBrowse.EnableWindow(rule != nullptr);

    enable(IDC_TPL_THICKNESS, !v.m_bArcWithNext);
    const bool thickness = v.m_bThickness && !v.m_bArcWithNext;
    enable(IDC_TPL_START_THICKNESS, thickness);
    enable(IDC_TPL_END_THICKNESS, thickness);
    enable(IDC_TPL_END_THICKNESS_LABEL, thickness);

    text(IDC_TPL_LABEL_OFFSET, v.m_bLabelOffsetElev ? L"标偏距高程, 位置:" : L"标偏距高程");
    show(IDC_TPL_LABEL_OFFSET_POS, v.m_bLabelOffsetElev != 0);
    text(IDC_TPL_SAVE_POSTYPE, v.m_bSavePosType ? L"保存位置类型, 类型:" : L"保存位置类型");
    show(IDC_TPL_POSTYPE, v.m_bSavePosType != 0);
    text(IDC_TPL_INSERT_WALL, v.m_bInsertWall ? L"插入挡墙  插入位置:" : L"插入挡墙");
    for (UINT id : {IDC_TPL_WALL_POS, IDC_TPL_WALL_LABEL, IDC_TPL_WALL_FILE, IDC_TPL_WALL_BROWSE})
        show(id, v.m_bInsertWall != 0);
    for (UINT id : {IDC_TPL_STOP_QUANTITY, IDC_TPL_STOP_BELOW, IDC_TPL_STOP_VALUE, IDC_TPL_STOP_THEN, IDC_TPL_STOP_ACTION})
        show(id, v.m_bStopControl != 0);

    SketchSlopeLines(*m_pSlopeLines);
    m_wndPreview.m_nCurLine = m_nCurLine;
    m_wndPreview.Invalidate(FALSE);
    m_bUpdating = true;
    UpdateData(FALSE);
    m_bUpdating = false;
}

void CDialog_TemplateEdit::StoreAndRefresh(UINT id, BOOL checked)
{
    if (m_bUpdating || !m_pSlopeLines || m_pSlopeLines->GetSize() == 0) return;
    const BOOL valid = ReadAndCheck(true);
    if (!valid && !StoresAlways(id)) return;
    CSlopeLine& v = m_value;
    bool browseControl = false, browseWall = false;
    switch (id) {
    case IDC_TPL_THICKNESS:
        if (checked && v.m_rStartThickness < 0.001) v.m_rStartThickness = v.m_rEndThickness = 0.25;
        break;
    case IDC_TPL_TYPE1:
        if (v.m_iEndMode == 0) browseControl = true;
        if (v.m_iEndMode == 1 && v.m_rEndValue < 0) v.m_rEndValue = 0.8;
        break;
    case IDC_TPL_TYPE2:
        if (v.m_iEndMode == 1 && v.m_rEndValue > 0) v.m_rEndValue = -1.5;
        if (v.m_iEndMode == 2) browseControl = true;
        break;
    case IDC_TPL_TYPE3:
    case IDC_TPL_TYPE4:
        if (v.m_iEndMode == 1) browseControl = true;
        break;
    case IDC_TPL_INSERT_WALL: browseWall = checked != 0; break;
    default: break;
    }
    StoreCurrent();
    Refresh();
    if (browseControl) BrowseControlFile();
    if (browseWall) BrowseWallFile();
}

void CDialog_TemplateEdit::OnButtonControl(UINT id)
{
    if (id == IDC_TPL_TEST) return;
    StoreAndRefresh(id, IsDlgButtonChecked(id) == BST_CHECKED);
}

void CDialog_TemplateEdit::OnComboControl(UINT id) { StoreAndRefresh(id, FALSE); }

// A value being typed is stored once it reads and passes the checks; the
// edit keeps what is typed (the values are not written back into it).
void CDialog_TemplateEdit::OnEditControl(UINT id)
{
    if (m_bUpdating || !m_pSlopeLines || m_pSlopeLines->GetSize() == 0) return;
    bool lineField = false;
    for (UINT edit : kNumberEdits) lineField |= edit == id;
    lineField |= id == IDC_TPL_CONTROL_FILE || id == IDC_TPL_WALL_FILE;
    if (!lineField || !ReadAndCheck(false)) return;
    StoreCurrent();
    m_wndPreview.Invalidate(FALSE);
}

// ---------------------------------------------------------------------------
// Lines

void CDialog_TemplateEdit::OnPrevious()
{
    if (!m_pSlopeLines || m_nCurLine <= 0 || !ReadAndCheck()) return;
    StoreCurrent();
    ShowLine(m_nCurLine - 1);
}

void CDialog_TemplateEdit::OnNext()
{
    if (!m_pSlopeLines || m_nCurLine >= m_pSlopeLines->GetSize() - 1 || !ReadAndCheck()) return;
    StoreCurrent();
    ShowLine(m_nCurLine + 1);
}

BOOL CDialog_TemplateEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_PRIOR || msg->wParam == VK_NEXT)) {
        if (msg->wParam == VK_PRIOR)
            OnPrevious();
        else
            OnNext();
        return TRUE;
    }
    if (msg->message == WM_MOUSEWHEEL && m_wndPreview.GetSafeHwnd() && m_wndPreview.IsWindowEnabled()) {
        CRect rect;
        m_wndPreview.GetWindowRect(&rect);
        if (rect.PtInRect(CPoint(static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))))) {
            m_wndPreview.SetFocus();
            m_wndPreview.SendMessage(WM_MOUSEWHEEL, msg->wParam, msg->lParam);
            return TRUE;
        }
    }
    return CResizableDialog::PreTranslateMessage(msg);
}

void CDialog_TemplateEdit::OnInsert()
{
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    menu.AppendMenu(MF_STRING, ID_INSERT_FILL, L"插入填方边坡");
    menu.AppendMenu(MF_STRING, ID_INSERT_CUT, L"插入挖方边坡");
    menu.AppendMenu(MF_STRING, ID_INSERT_BERM, L"插入护坡道");
    menu.AppendMenu(MF_STRING, ID_INSERT_PLATFORM, L"插入碎落台");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_INSERT_TRAPEZOID_DITCH, L"插入梯形边沟");
    menu.AppendMenu(MF_STRING, ID_INSERT_RECTANGLE_DITCH, L"插入矩形边沟");
    CPoint cursor;
    ::GetCursorPos(&cursor);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
}

void CDialog_TemplateEdit::OnInsertCommand(UINT id) { InsertPreset(id); }

void CDialog_TemplateEdit::InsertPreset(UINT command)
{
    if (!m_pSlopeLines || m_pSlopeLines->GetSize() == 0) return;
    CSlopeLineArray& lines = *m_pSlopeLines;
    struct Part {
        double gradient;
        int mode, type;
        double value;
        int position;
    };
    std::vector<Part> parts;
    bool ditch = false;
    switch (command) {
    case ID_INSERT_FILL: parts = {{1.5, 0, 0, 3.0, 0}}; break;
    case ID_INSERT_CUT: parts = {{-1.0, 0, 0, 3.0, 0}}; break;
    case ID_INSERT_BERM: parts = {{33.33333, 0, 0, 1.0, 1}}; break;
    case ID_INSERT_PLATFORM: parts = {{-33.33333, 0, 0, 1.0, 1}}; break;
    case ID_INSERT_TRAPEZOID_DITCH:
        parts = {{1.0, 1, 0, 0.6, 2}, {1000.0, 2, 0, 0.6, 3}, {-1.0, 2, 0, 0.6, 4}};
        ditch = true;
        break;
    case ID_INSERT_RECTANGLE_DITCH:
        parts = {{0.001, 1, 0, 0.6, 2}, {1000.0, 2, 0, 0.6, 3}, {-0.001, 1, 0, 0.6, 4}};
        ditch = true;
        break;
    default: return;
    }
    int at = m_nCurLine;
    for (const Part& part : parts) {
        CSlopeLine line = PresetLine(lines[at], part.gradient, part.mode, part.type, part.value);
        line.m_iPosType = part.position;
        line.m_bSavePosType = 1;
        if (ditch) {
            line.m_bTopsoil = 0;
            line.m_bThickness = 1;
            line.m_rStartThickness = line.m_rEndThickness = 0.2;
        } else {
            line.m_bLabelOffsetElev = 1;
            line.m_iLabelOffsetElevPos = 2;
            line.m_bLabelSlope = 1;
            line.m_iSlopeLabelStyle = 0;
            line.m_bSaveEndOffset = 1;
            line.m_bSaveLength = 1;
        }
        line.CalcSketch();
        lines.InsertAt(++at, line);
    }
    ShowLine(at);
}

void CDialog_TemplateEdit::OnDelete()
{
    if (!m_pSlopeLines || m_pSlopeLines->GetSize() <= 1) return;
    CSlopeLineArray& lines = *m_pSlopeLines;
    const int removed = m_nCurLine;
    const sSketchPoint start = lines[removed].m_ptStart;
    lines.RemoveAt(removed);
    if (removed == 0) {
        lines[0].SetStartPoint(start);
        lines[0].CalcSketch();
    }
    ShowLine(removed == 0 ? 0 : removed - 1);
}

void CDialog_TemplateEdit::OnTest()
{
    if (!m_pSlopeLines || !ReadAndCheck()) return;
    StoreCurrent();
    // The preview is drawn with each line current in turn, back to the
    // first and on to the last, a hundred times.
    const int count = static_cast<int>(m_pSlopeLines->GetSize());
    auto step = [this](int index) {
        m_wndPreview.m_nCurLine = static_cast<short>(index);
        m_wndPreview.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    };
    for (int round = 0; round < 100; ++round) {
        for (int i = round == 0 ? m_nCurLine - 1 : count - 2; i >= 0; --i) step(i);
        for (int i = 1; i < count; ++i) step(i);
    }
    ShowLine(count - 1);
    ClMessageBox(m_hWnd, L"Test Over!", kBriskoCaption, MB_OK);
}

// ---------------------------------------------------------------------------
// Files

BOOL CDialog_TemplateEdit::TakeFile(const CString& chosen, CString& field)
{
    const CString folder = CurrentLibraryFolder();
    const CString name = tkxFileName(chosen).GetFileName();
    if (!IsTypTokenName(name)) {
        ClMessageBox(m_hWnd, ClFormat(L"文件名<%s>不能含有空格、制表符或逗号, 也不能是NULL!", name.GetString()), kBriskoCaption,
                     MB_ICONERROR);
        return FALSE;
    }
    const CString target = folder + L"\\" + name;
    if (!SamePath(chosen, target)) {
        if (tkxFileName::Exist(target)) {
            const CString question =
                ClFormat(L"程序自动将文件<%s>复制到当前模板库路径中，\n\n当前模板库中<%s>包含同名文件是否覆盖?",
                         chosen.GetString(), folder.GetString());
            if (ClMessageBox(m_hWnd, question, kBriskoCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return FALSE;
        }
        if (!tkx_CopyReplacing(chosen, target)) {
            ClMessageBox(m_hWnd, tkx_SaveFailureText(target, ClFormat(L"复制文件<%s>时出错!", chosen.GetString())),
                         kBriskoCaption, MB_ICONERROR);
            return FALSE;
        }
    }
    field = name;
    StoreCurrent();
    Refresh();
    return TRUE;
}

void CDialog_TemplateEdit::OnControlBrowse()
{
    if (m_bUpdating) return;
    BrowseControlFile();
}

void CDialog_TemplateEdit::OnWallBrowse()
{
    if (m_bUpdating) return;
    BrowseWallFile();
}

// The file dialog's first path: the file named (in the library folder when
// the name has none) when its extension is one of `ends`, else every file
// of the extension in the library folder.
CString CDialog_TemplateEdit::FirstPath(CString name, std::initializer_list<const wchar_t*> ends, const wchar_t* ext)
{
    const CString folder = CurrentLibraryFolder();
    name.Trim();
    const CString given = tkxFileName(name).GetExt();
    for (const wchar_t* end : ends)
        if (end && given == end) return name.Find(L'\\') >= 0 ? name : folder + L"\\" + name;
    return ClFormat(L"%s\\*.%s", folder.GetString(), ext);
}

void CDialog_TemplateEdit::BrowseControlFile()
{
    if (!m_pSlopeLines || !ReadAndCheck()) return;
    const FileRule* rule = FileRuleOf(m_value.m_iEndMode, m_value.m_iEndType);
    if (!rule) {
        // No file dialog for the rule: the name typed goes the same way.
        CString name = m_value.m_sControlFile;
        if (name.Trim().IsEmpty()) return;
        TakeFile(name.Find(L'\\') >= 0 ? name : CurrentLibraryFolder() + L"\\" + name, m_value.m_sControlFile);
        return;
    }
    CString path = FirstPath(m_value.m_sControlFile, {rule->ends[0], rule->ends[1]}, rule->ext);
    if (tkx_FileDialog(1, path, rule->ext, this, rule->filter, rule->title) == 1) {
        TakeFile(path, m_value.m_sControlFile);
    } else if (rule->mode == 1 && rule->type == 4 && m_value.m_sControlFile.Find(L'*') >= 0) {
        m_value.m_sControlFile.Empty();
        StoreCurrent();
        Refresh();
    }
}

void CDialog_TemplateEdit::BrowseWallFile()
{
    if (!m_pSlopeLines || !ReadAndCheck()) return;
    CString path = FirstPath(m_value.m_sWallFile, {L".dq"}, L"DQ");
    if (tkx_FileDialog(1, path, L"DQ", this, nullptr, nullptr) == 1) TakeFile(path, m_value.m_sWallFile);
}

CString CDialog_TemplateEdit::SaveTo(const CString& name)
{
    const CString folder = CurrentLibraryFolder();
    const CString result = CTvTemplate(name).Save(*m_pSlopeLines, folder);
    if (result == kLineWritten) {
        m_STemplatePath = folder + L"\\" + name;
        m_STemplateName = name;
        m_bNewTemplate = 0;
        m_wndPreview.m_STemplatePath = m_STemplatePath;
        m_wndPreview.Invalidate(FALSE);
        m_bUpdating = true;
        SetDlgItemText(IDC_TPL_FILENAME, name);
        m_bUpdating = false;
    }
    return result;
}

BOOL CDialog_TemplateEdit::SaveAs()
{
    const CString folder = CurrentLibraryFolder();
    CString proposal = m_STemplatePath;
    if (m_bNewTemplate) {
        CString name = m_STemplateName;
        name.Trim();
        proposal = name.IsEmpty() ? folder + L"\\*.TYP" : folder + L"\\" + name;
    }
    for (;;) {
        CString path = proposal;
        if (tkx_FileDialog(0, path, L"TYP", this, L"边坡模板文件*.TYP|*.TYP||", L"保存边坡模板") != 1) return FALSE;
        proposal = path;
        const tkxFileName chosen(path);
        if (m_bNewTemplate && chosen.GetPath().CompareNoCase(folder) != 0) {
            ClMessageBox(m_hWnd,
                         ClFormat(L"创建新边坡模板文件<%s>的路径\n\n必须为当前模板库的路径<%s>!", path.GetString(),
                                  folder.GetString()),
                         kBriskoCaption, MB_ICONERROR);
            proposal = folder + L"\\" + chosen.GetFileName(); // asked again in the library's folder
            continue;
        }
        const CString result = SaveTo(chosen.GetFileName());
        if (result == kLineWritten) return TRUE;
        ClMessageBox(m_hWnd, ClFormat(L"保存边坡模板文件<%s>时出错!\n\n%s", path.GetString(), result.GetString()),
                     kBriskoCaption, MB_ICONERROR);
    }
}

void CDialog_TemplateEdit::OnSave()
{
    if (!m_pSlopeLines || m_pSlopeLines->GetSize() == 0 || !ReadAndCheck()) return;
    StoreCurrent();
    SaveAs();
}

// Enter in a field stores nothing more (the fields store as they change)
// and keeps the editor open.
void CDialog_TemplateEdit::OnOK() {}

void CDialog_TemplateEdit::OnCancel()
{
    if (m_pSlopeLines && m_pSlopeLines->GetSize() > 0) {
        if (!ReadAndCheck()) return;
        StoreCurrent();
        if (ClMessageBox(m_hWnd, L"是否保存当前模板所做的修改?", kBriskoCaption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            CString name = m_STemplateName;
            name.Trim();
            if (name.IsEmpty()) {
                SaveAs();
            } else {
                const CString file = tkxFileName(name).GetFileName();
                const CString result = SaveTo(file);
                if (result != kLineWritten) {
                    ClMessageBox(m_hWnd,
                                 ClFormat(L"保存边坡模板文件<%s>时出错!\n\n%s",
                                          (CurrentLibraryFolder() + L"\\" + file).GetString(), result.GetString()),
                                 kBriskoCaption, MB_ICONERROR);
                    return;
                }
            }
        }
    }
    EndDialog(IDCANCEL);
}

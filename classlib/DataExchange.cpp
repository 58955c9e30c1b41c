#include "Dialog.h"
#include "App.h"
#include <cerrno>
#include <cmath>
#include <cfloat>
#include <climits>
#include <cwchar>
#include <cwctype>

namespace {

CString IntText(long long value)
{
    wchar_t text[32];
    swprintf(text, 32, L"%lld", value);
    return text;
}

CString RealText(double value, int digits)
{
    wchar_t text[64];
    swprintf(text, 64, L"%.*g", digits, value);
    return text;
}

void FailWith(CDataExchange* pDX, const CString& message)
{
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
}

CString ControlText(HWND control)
{
    CString text;
    int n = ::GetWindowTextLengthW(control);
    wchar_t* buffer = text.GetBufferSetLength(n);
    n = ::GetWindowTextW(control, buffer, n + 1);
    text.ReleaseBuffer(n);
    return text;
}

bool OnlySpaces(const wchar_t* p)
{
    while (*p && std::iswspace(*p)) ++p;
    return *p == 0;
}

// Whole-text conversions: leading and trailing spaces only.
bool ParseLong(const CString& text, long long minValue, long long maxValue, long long& out)
{
    const wchar_t* start = text;
    wchar_t* end = nullptr;
    errno = 0;
    long long value = std::wcstoll(start, &end, 10);
    if (end == start || errno == ERANGE || !OnlySpaces(end) || value < minValue || value > maxValue) return false;
    out = value;
    return true;
}

bool ParseReal(const CString& text, double& out)
{
    const wchar_t* start = text;
    wchar_t* end = nullptr;
    errno = 0;
    double value = std::wcstod(start, &end);
    if (end == start || !OnlySpaces(end)) return false;
    if (errno == ERANGE && (value == HUGE_VAL || value == -HUGE_VAL)) return false;
    out = value;
    return true;
}

template <class T> void TextInteger(CDataExchange* pDX, int id, T& value, long long minValue, long long maxValue)
{
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        long long parsed = 0;
        if (!ParseLong(ControlText(control), minValue, maxValue, parsed)) FailWith(pDX, CL_MSG_PARSE_INT);
        value = static_cast<T>(parsed);
    } else {
        ::SetWindowTextW(control, IntText(static_cast<long long>(value)));
    }
}

} // namespace

// ---------------------------------------------------------------------------

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
        return TRUE;
    } catch (CUserException* e) {
        e->Delete();
    } catch (CException* e) {
        e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
    }
    return FALSE;
}

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), id);
    if (!control) AfxThrowNotSupportedException(); // the template lacks the control
    m_hWndLastControl = control;
    m_idLastControl = static_cast<UINT>(id);
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl) ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

CString AfxFormatString2(const wchar_t* format, const wchar_t* one, const wchar_t* two)
{
    CString result;
    for (const wchar_t* p = format; *p; ++p) {
        if (p[0] == L'%' && (p[1] == L'1' || p[1] == L'2')) {
            result += p[1] == L'1' ? (one ? one : L"") : (two ? two : L"");
            ++p;
        } else {
            result += *p;
        }
    }
    return result;
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = ControlText(control);
    else
        ::SetWindowTextW(control, value);
}

void DDX_Text(CDataExchange* pDX, int id, int& value) { TextInteger(pDX, id, value, INT_MIN, INT_MAX); }
void DDX_Text(CDataExchange* pDX, int id, UINT& value) { TextInteger(pDX, id, value, 0, UINT_MAX); }
void DDX_Text(CDataExchange* pDX, int id, long& value) { TextInteger(pDX, id, value, LONG_MIN, LONG_MAX); }
void DDX_Text(CDataExchange* pDX, int id, short& value) { TextInteger(pDX, id, value, SHRT_MIN, SHRT_MAX); }

void DDX_Text(CDataExchange* pDX, int id, double& value)
{
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        double parsed = 0;
        if (!ParseReal(ControlText(control), parsed)) FailWith(pDX, CL_MSG_PARSE_REAL);
        value = parsed;
    } else {
        ::SetWindowTextW(control, RealText(value, DBL_DIG));
    }
}

void DDX_Text(CDataExchange* pDX, int id, float& value)
{
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        double parsed = 0;
        if (!ParseReal(ControlText(control), parsed) || parsed > FLT_MAX || parsed < -FLT_MAX)
            FailWith(pDX, CL_MSG_PARSE_REAL);
        value = static_cast<float>(parsed);
    } else {
        ::SetWindowTextW(control, RealText(value, FLT_DIG));
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value)
{
    // `id` is the first button of a group; the group runs to the next
    // control with WS_GROUP.
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) value = -1;
    int index = 0;
    do {
        if (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
            } else {
                ::SendMessageW(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
    } while (control && !(::GetWindowLongPtrW(control, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* pDX, int id, CString& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = ControlText(control);
    } else if (::SendMessageW(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(value))) == CB_ERR) {
        ::SetWindowTextW(control, value);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int id, int& index)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(control, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.m_hWnd) return;
    HWND hwnd = pDX->PrepareCtrl(id);
    if (!control.SubclassWindow(hwnd)) AfxThrowNotSupportedException();
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
        FailWith(pDX, AfxFormatString2(CL_MSG_PARSE_INT_RANGE, IntText(minValue), IntText(maxValue)));
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
        FailWith(pDX, AfxFormatString2(CL_MSG_PARSE_INT_RANGE, IntText(minValue), IntText(maxValue)));
}

void DDV_MinMaxShort(CDataExchange* pDX, short value, short minValue, short maxValue)
{
    DDV_MinMaxInt(pDX, value, minValue, maxValue);
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minValue, double maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
        FailWith(pDX, AfxFormatString2(CL_MSG_PARSE_REAL_RANGE, RealText(minValue, DBL_DIG),
                                       RealText(maxValue, DBL_DIG)));
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars)
{
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > maxChars) FailWith(pDX, AfxFormatString2(CL_MSG_PARSE_STRING_SIZE, IntText(maxChars), nullptr));
    } else if (pDX->m_hWndLastControl && pDX->m_bEditLastControl) {
        wchar_t cls[16] = {};
        ::GetClassNameW(pDX->m_hWndLastControl, cls, 16);
        UINT limit = _wcsicmp(cls, L"ComboBox") == 0 ? CB_LIMITTEXT : EM_LIMITTEXT;
        ::SendMessageW(pDX->m_hWndLastControl, limit, static_cast<WPARAM>(maxChars), 0);
    }
}

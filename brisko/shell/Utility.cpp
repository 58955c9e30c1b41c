#include "brisko/shell/Utility.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Helpers.h"
#include <shellapi.h>
#include <cmath>
#include <cwchar>

namespace {

const double kPi = 3.14159265358979323846;

struct DescendantSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindDescendant(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<DescendantSearch*>(param);
    if (::GetDlgCtrlID(wnd) != search->id) return TRUE;
    search->found = wnd;
    return FALSE;
}

// The first window below parent (at any depth) with the child id.
HWND FindDescendantWindow(HWND parent, int id)
{
    if (HWND child = ::GetDlgItem(parent, id)) return child;
    DescendantSearch search{id, nullptr};
    ::EnumChildWindows(parent, FindDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

HICON LoadAppIcon()
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_MAINFRAME), RT_GROUP_ICON);
    if (!module) return nullptr;
    return static_cast<HICON>(
        ::LoadImageW(module, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
}

int GetWheelScrollLines()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 3;
    wchar_t text[128] = L"";
    DWORD size = sizeof(text) - sizeof(wchar_t);
    DWORD type = 0;
    const LONG result = ::RegQueryValueExW(key, L"WheelScrollLines", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return 3;
    text[size / sizeof(wchar_t)] = L'\0';
    return static_cast<int>(std::wcstol(text, nullptr, 10));
}

BOOL StringToDouble(const wchar_t* text, double* out)
{
    if (!IsNumberString(text)) return FALSE;
    if (out) *out = _wtof(text);
    return TRUE;
}

void GetPolarPoint(const double* from, double angle, double distance, double* out)
{
    if (std::fabs(distance) < 1e-6) {
        out[0] = from[0];
        out[1] = from[1];
        out[2] = from[2];
        return;
    }
    out[0] = from[0] + distance * std::cos(angle);
    out[1] = from[1] + distance * std::sin(angle);
}

double GetLineAngle(const double* p1, const double* p2)
{
    const double dx = p2[0] - p1[0];
    const double dy = p2[1] - p1[1];
    if (std::fabs(dx) < 1e-6) {
        if (std::fabs(dy) < 1e-6) return 0.0;
        return p1[1] > p2[1] ? 3.0 * kPi / 2.0 : kPi / 2.0;
    }
    if (std::fabs(dy) < 1e-6) return p2[0] > p1[0] ? 0.0 : kPi;
    double angle = std::atan(dy / dx);
    if (p2[0] < p1[0]) angle += kPi;
    if (angle < 0.0) angle += 2.0 * kPi;
    return angle;
}

void PrintStatusText(const wchar_t* format, ...)
{
    CWnd* main = theApp.m_pMainWnd;
    if (!main || !main->GetSafeHwnd()) return;
    va_list args;
    va_start(args, format);
    const CString text = FormatWhole(format, args);
    va_end(args);

    HWND bar = FindDescendantWindow(main->GetSafeHwnd(), AFX_IDW_STATUS_BAR);
    if (!bar) return;
    if (auto* statusBar = dynamic_cast<CStatusBar*>(CWnd::FromHandlePermanent(bar))) {
        statusBar->SetPaneText(0, text);
    } else {
        ::SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.GetString()));
    }
    ::UpdateWindow(bar);
}

namespace {
ShellVerbHandler g_shellVerbHandler = nullptr;
}

BOOL RunShellVerb(const wchar_t* verb, const wchar_t* path)
{
    if (g_shellVerbHandler) return g_shellVerbHandler(verb, path);
    HINSTANCE result = ::ShellExecuteW(nullptr, verb, path, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

ShellVerbHandler SetShellVerbHandler(ShellVerbHandler handler)
{
    ShellVerbHandler before = g_shellVerbHandler;
    g_shellVerbHandler = handler;
    return before;
}

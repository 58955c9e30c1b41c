#include "WindowTest.h"
#include "Scratch.h"
#include <algorithm>
#include <cstdio>

namespace wintest {

void PumpUntilIdle(int maxMs)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        bool any = false;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (msg.message == WM_QUIT) continue; // a test's frame closing ends no test
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (static_cast<int>(::GetTickCount() - start) > maxMs) return;
        }
        AfxRunIdle();
        if (!any && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) return;
        if (static_cast<int>(::GetTickCount() - start) > maxMs) return;
    }
}

void PumpFor(int ms)
{
    DWORD start = ::GetTickCount();
    while (static_cast<int>(::GetTickCount() - start) < ms) {
        PumpUntilIdle(ms);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    PumpUntilIdle();
}

TestFrame::TestFrame(bool visible, CRect rect, const wchar_t* title)
{
    Create(nullptr, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect);
    if (visible) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
    }
}

// ---------------------------------------------------------------------------

namespace {
DialogScript* g_current = nullptr;
HHOOK g_hook = nullptr;
DialogScript* g_guard = nullptr;

bool IsDialogWindow(HWND hwnd)
{
    wchar_t name[16] = {};
    ::GetClassNameW(hwnd, name, 16);
    return wcscmp(name, L"#32770") == 0;
}

// A dialog that runs a modal loop (ours, or the system's with its owner
// disabled).
bool IsModal(HWND hwnd)
{
    if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd)) return (wnd->m_nFlags & WF_MODALLOOP) != 0;
    HWND owner = ::GetWindow(hwnd, GW_OWNER);
    return !owner || !::IsWindowEnabled(owner);
}
} // namespace

struct ScriptHooks {
    static LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE && g_current) {
            HWND hwnd = reinterpret_cast<HWND>(wParam);
            if (IsDialogWindow(hwnd)) g_current->Schedule(hwnd);
        }
        return ::CallNextHookEx(g_hook, code, wParam, lParam);
    }

    static void CALLBACK Bound(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(nullptr, id);
        for (DialogScript* script = g_current; script; script = script->m_previous)
            if (script->m_bound == id) {
                script->m_bound = 0;
                script->RunOutOfTime();
                return;
            }
    }

    static void CALLBACK Timer(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(nullptr, id);
        // Only the current script's own look acts: a look of a script that
        // has ended would drive the next one's steps a second time.
        if (!g_current || id != g_current->m_timer) return;
        g_current->m_timer = 0;
        // The most recent dialog of the script that is still there.
        auto& known = g_current->m_known;
        known.erase(std::remove_if(known.begin(), known.end(), [](HWND h) { return !::IsWindow(h); }), known.end());
        // A dialog is activated while it is created, before its modal loop
        // shows it; on a busy machine this tick can come in between.  While
        // a dialog newer than the one to drive is still to be shown, or a
        // dialog is kept disabled by a modal window over it (one of its own
        // dialogs coming up), the script looks again: the coming dialog's
        // modal loop would otherwise wait for a step that never comes, or
        // the step meant for it would go to the dialog below.
        bool waiting = false;
        for (auto it = known.rbegin(); it != known.rend(); ++it) {
            if (!::IsWindowVisible(*it)) {
                waiting = true;
                continue;
            }
            if (!IsModal(*it)) continue;
            if (!::IsWindowEnabled(*it)) {
                waiting = true;
                continue;
            }
            // Its step is still running (it pumps messages: it opened a
            // dialog, or the dialog was activated again meanwhile): the
            // next step comes when that one has ended, or when the dialog
            // it opened has come up.
            const auto& busy = g_current->m_stepping;
            if (std::find(busy.begin(), busy.end(), *it) != busy.end()) break;
            g_current->RunStep(*it);
            return;
        }
        if (waiting) g_current->Arm();
    }
};

DialogScript::DialogScript()
{
    if (!g_hook) g_hook = ::SetWindowsHookExW(WH_CBT, &ScriptHooks::Cbt, nullptr, ::GetCurrentThreadId());
    m_previous = g_current;
    g_current = this;
}

DialogScript::~DialogScript()
{
    if (m_timer) ::KillTimer(nullptr, m_timer);
    if (m_bound) ::KillTimer(nullptr, m_bound);
    g_current = m_previous;
    // The script below takes over again; a look of its that came while this
    // one was current was passed over, so it looks anew.
    if (m_previous) {
        if (m_previous->m_timer) ::KillTimer(nullptr, m_previous->m_timer);
        m_previous->m_timer = 0;
        m_previous->Arm();
    }
}

void DialogScript::Arm()
{
    if (!m_timer) m_timer = ::SetTimer(nullptr, 0, 10, &ScriptHooks::Timer);
}

void DialogScript::InstallGuard()
{
    if (g_guard) return;
    g_guard = new DialogScript; // lives as long as the program
    g_guard->m_printUnscripted = true;
}

DialogScript& DialogScript::Then(Step step) { return ThenWhen(nullptr, std::move(step), 0); }

DialogScript& DialogScript::ThenWhen(std::function<bool()> ready, Step step, int maxMs)
{
    m_steps.push_back(std::move(step));
    m_waits.push_back(Waiting{std::move(ready), maxMs});
    return *this;
}

DialogScript& DialogScript::EndWithin(int ms)
{
    if (m_bound) ::KillTimer(nullptr, m_bound);
    m_bound = ::SetTimer(nullptr, 0, static_cast<UINT>(ms), &ScriptHooks::Bound);
    return *this;
}

void DialogScript::RunOutOfTime()
{
    m_ranOut = true;
    m_next = m_steps.size();
    for (auto it = m_known.rbegin(); it != m_known.rend(); ++it) {
        if (!::IsWindow(*it)) continue;
        m_unscripted.push_back(CWnd::FromHandle(*it)->GetWindowText() + L" (still open when the script's time was up)");
        ::PostMessageW(*it, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

void DialogScript::Schedule(HWND dialog)
{
    if (std::find(m_known.begin(), m_known.end(), dialog) == m_known.end()) {
        m_known.push_back(dialog);
        ++m_seen;
    }
    Arm();
}

void DialogScript::RunStep(HWND dialog)
{
    CWnd* wnd = CWnd::FromHandle(dialog);
    bool timedOut = false;
    if (m_next < m_steps.size() && m_waits[m_next].ready && !m_waits[m_next].ready()) {
        if (!m_waitSince) m_waitSince = ::GetTickCount() | 1;
        timedOut = static_cast<int>(::GetTickCount() - m_waitSince) > m_waits[m_next].maxMs;
        if (!timedOut) {
            Arm(); // not yet: look again
            return;
        }
        m_next = m_steps.size(); // the rest of the script cannot run
    }
    m_waitSince = 0;
    if (m_next < m_steps.size()) {
        Step step = m_steps[m_next++];
        m_stepping.push_back(dialog);
        step(wnd);
        m_stepping.erase(std::find(m_stepping.begin(), m_stepping.end(), dialog));
    } else {
        CString title = wnd->GetWindowText();
        if (timedOut) title += L" (a step waited in vain)";
        m_unscripted.push_back(title);
        if (m_printUnscripted)
            std::fprintf(stderr, "[dialog \"%s\"] not scripted: cancelled\n",
                         ClWideToMultiByte(title, -1, CP_UTF8).c_str());
        if (m_unscripted.size() > 50 || std::count(m_unscripted.begin(), m_unscripted.end(), title) > 3)
            ::DestroyWindow(dialog);
        else
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    if (::IsWindow(dialog)) Arm();
}

void SetText(CWnd* dialog, int id, const wchar_t* text) { ::SetDlgItemTextW(dialog->GetSafeHwnd(), id, text); }

CRect ChildRect(const CWnd* parent, int id)
{
    CRect rect;
    ::GetWindowRect(::GetDlgItem(parent->GetSafeHwnd(), id), &rect);
    parent->ScreenToClient(&rect);
    return rect;
}

void GrowWindow(CWnd* window, int dx, int dy)
{
    CRect rect;
    window->GetWindowRect(&rect);
    window->SetWindowPos(nullptr, 0, 0, rect.Width() + dx, rect.Height() + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CString GetText(CWnd* dialog, int id)
{
    CString text;
    dialog->GetDlgItemText(id, text);
    return text;
}

void Press(CWnd* dialog, int id)
{
    HWND button = ::GetDlgItem(dialog->GetSafeHwnd(), id);
    ::PostMessageW(dialog->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// ---------------------------------------------------------------------------

Image::Image(int width, int height) : m_width(width), m_height(height), m_pixels(size_t(width) * height, 0xFFFFFF) {}

COLORREF Image::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    uint32_t p = m_pixels[size_t(y) * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Image::Count(const RECT& area, COLORREF color) const
{
    int n = 0;
    for (int y = std::max<LONG>(0, area.top); y < std::min<LONG>(m_height, area.bottom); ++y)
        for (int x = std::max<LONG>(0, area.left); x < std::min<LONG>(m_width, area.right); ++x)
            if (At(x, y) == color) ++n;
    return n;
}

bool Image::SaveBmp(const CString& path) const
{
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = m_width;
    info.biHeight = -m_height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    DWORD bytes = static_cast<DWORD>(m_pixels.size() * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + bytes;
    const bool relative = path.GetLength() < 2 || (path[1] != L':' && path[0] != L'\\' && path[0] != L'/');
    const CString target = relative ? test_support::ScratchRoot() + L"\\" + path : path;
    HANDLE h = ::CreateFileW(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(h, &file, sizeof(file), &written, nullptr) &&
              ::WriteFile(h, &info, sizeof(info), &written, nullptr) &&
              ::WriteFile(h, m_pixels.data(), bytes, &written, nullptr);
    ::CloseHandle(h);
    return ok;
}

namespace {

// A DIB section with a memory DC selected into it; copied into an Image.
struct DibCanvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
    int width, height;

    DibCanvas(int w, int h) : width(w), height(h)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        ::ReleaseDC(nullptr, screen);
        void* p = nullptr;
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        old = ::SelectObject(dc, bitmap);
        RECT all{0, 0, w, h};
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    ~DibCanvas()
    {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    Image Take() const
    {
        ::GdiFlush();
        Image image(width, height);
        for (size_t i = 0; i < size_t(width) * height; ++i) image.Bits()[i] = bits[i] & 0xFFFFFF;
        return image;
    }
};

} // namespace

Image RenderPaint(int width, int height, const std::function<void(CDC& dc)>& paint)
{
    DibCanvas canvas(width, height);
    CDC dc;
    dc.Attach(canvas.dc);
    paint(dc);
    dc.Detach();
    return canvas.Take();
}

PrintedPage::PrintedPage()
{
    dc.CreateCompatibleDC(&m_screen);
    width = dc.GetDeviceCaps(HORZRES);
    height = dc.GetDeviceCaps(VERTRES);
    m_bitmap.CreateCompatibleBitmap(&m_screen, width, height);
    m_old = dc.SelectObject(m_bitmap.m_hObject);
    dc.m_bPrinting = TRUE;
    Clear();
}

PrintedPage::~PrintedPage() { dc.SelectObject(m_old); }

void PrintedPage::Clear() { dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255)); }

Image PrintedPage::Take()
{
    Image image(width, height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc.SelectObject(m_old);
    ::GetDIBits(m_screen.m_hDC, static_cast<HBITMAP>(m_bitmap.m_hObject), 0, height, image.Bits(), &info,
                DIB_RGB_COLORS);
    m_old = dc.SelectObject(m_bitmap.m_hObject);
    return image;
}

Image PrintWindowImage(CWnd* wnd, bool clientOnly)
{
    CRect rect;
    if (clientOnly)
        wnd->GetClientRect(&rect);
    else
        wnd->GetWindowRect(&rect);
    if (rect.IsRectEmpty()) return Image();
    DibCanvas canvas(rect.Width(), rect.Height());
    ::PrintWindow(wnd->GetSafeHwnd(), canvas.dc, clientOnly ? PW_CLIENTONLY : 0);
    return canvas.Take();
}

Image CaptureWindow(CWnd* wnd, bool clientOnly)
{
    HWND hwnd = wnd->GetSafeHwnd();
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpUntilIdle();
    CRect rect;
    if (clientOnly)
        ::GetClientRect(hwnd, &rect);
    else {
        ::GetWindowRect(hwnd, &rect);
        rect.OffsetRect(-rect.left, -rect.top);
    }
    if (rect.IsRectEmpty()) return Image();
    DibCanvas canvas(rect.Width(), rect.Height());
    HDC source = clientOnly ? ::GetDC(hwnd) : ::GetWindowDC(hwnd);
    ::BitBlt(canvas.dc, 0, 0, rect.Width(), rect.Height(), source, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, source);
    return canvas.Take();
}

CString ToolTipText(CToolBar& bar, UINT id)
{
    HWND tip = reinterpret_cast<HWND>(bar.SendMessage(TB_GETTOOLTIPS));
    if (!tip) return L"<没有工具提示窗口>";
    wchar_t text[256] = L"";
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = bar.m_hWnd;
    info.uId = id;
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&info));
    return text;
}

Image DialogImage(CWnd* dialog)
{
    Image image = PrintWindowImage(dialog, true);
    for (HWND child = ::GetWindow(dialog->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        CRect rect;
        ::GetWindowRect(child, &rect);
        dialog->ScreenToClient(&rect);
        Image part = PrintWindowImage(CWnd::FromHandle(child));
        for (int y = 0; y < part.Height(); ++y)
            for (int x = 0; x < part.Width(); ++x) {
                const int tx = rect.left + x, ty = rect.top + y;
                if (tx >= 0 && ty >= 0 && tx < image.Width() && ty < image.Height())
                    image.Bits()[ty * image.Width() + tx] = part.Bits()[y * part.Width() + x];
            }
    }
    return image;
}

} // namespace wintest

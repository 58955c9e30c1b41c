// Test tooling for windows: run the message loop until nothing is left to
// do, script modal dialogs, and render windows or paint routines into
// bitmaps whose pixels a test can check and a person can look at.
//
// Dialog scripts.  A DialogScript holds steps; each step runs once the
// message loop is idle with a modal dialog of this thread active, and gets
// that dialog.  A step fills fields and presses buttons (SetText, Press);
// when the dialog is still open after a step, the next step runs at the
// next idle moment.  When the steps run out and a modal dialog is still
// open, the script cancels it and records it as unscripted, so no test ever
// waits on a window.  The test programs' main keeps such a guard for every
// test; a test's own script takes over while it lives.  A step never runs
// inside another step of the same dialog (a step that pumps messages is not
// overtaken), and a script's pending look ends with the script.  A dialog
// opened inside a step, or over another dialog, gets the next step once it
// is shown, however long it takes to come up.
#pragma once
#include "classlib/ClassLib.h"
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace wintest {

// Dispatches every queued message (with the pre-translate walk) and runs
// the idle pass, until the queue stays empty or `maxMs` passed.
void PumpUntilIdle(int maxMs = 2000);
// The same for at least `ms` milliseconds (timers get their turns).
void PumpFor(int ms);

// A top-level frame for hosting test windows (it deletes itself when
// destroyed).  Hidden unless asked: under Wine without a window manager,
// destroying a window that was on the screen costs two seconds, so only
// tests that look at the screen show their frame.
class TestFrame : public CFrameWnd
{
public:
    explicit TestFrame(bool visible = false, CRect rect = CRect(50, 50, 650, 450), const wchar_t* title = L"测试窗口");
};

// ---------------------------------------------------------------------------

class DialogScript
{
public:
    using Step = std::function<void(CWnd* dialog)>;
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& Then(Step step);
    // A step that waits (at later idle moments) until `ready` holds; after
    // `maxMs` the dialog is cancelled and recorded as unscripted instead.
    DialogScript& ThenWhen(std::function<bool()> ready, Step step, int maxMs = 5000);
    // The script's bound: once `ms` have passed from now, the script runs
    // no further step, cancels every dialog of its still open (the newest
    // first), records each as unscripted and says it ran out of time.
    DialogScript& EndWithin(int ms);
    // Modal dialogs the script saw, and those it had to cancel.
    int DialogsSeen() const { return m_seen; }
    const std::vector<CString>& Unscripted() const { return m_unscripted; }
    bool StepsLeft() const { return m_next < m_steps.size(); }
    // The steps begun so far, and whether the script ran out of time.
    size_t StepsBegun() const { return m_next; }
    bool RanOutOfTime() const { return m_ranOut; }

    // The guard of the test programs: prints what it cancels.
    static void InstallGuard();

private:
    friend struct ScriptHooks;
    void Schedule(HWND dialog);
    void RunStep(HWND dialog);
    void RunOutOfTime();
    // Looks for a step at the next idle moment: one timer per script, so
    // that no second look can come while a step runs.
    void Arm();
    struct Waiting {
        std::function<bool()> ready;
        int maxMs;
    };
    std::vector<Step> m_steps;
    std::vector<Waiting> m_waits; // one per step (no predicate: at once)
    DWORD m_waitSince = 0;
    size_t m_next = 0;
    int m_seen = 0;
    std::vector<CString> m_unscripted;
    std::vector<HWND> m_known;
    std::vector<HWND> m_stepping; // dialogs whose step is running
    UINT_PTR m_timer = 0;          // the pending look, 0 when none
    UINT_PTR m_bound = 0;          // the timer of EndWithin, 0 when none
    bool m_ranOut = false;
    DialogScript* m_previous = nullptr;
    bool m_printUnscripted = false;
};

// Step helpers.
void SetText(CWnd* dialog, int id, const wchar_t* text);
// A child's rectangle in its parent's client coordinates.
CRect ChildRect(const CWnd* parent, int id);
// Makes a window larger (smaller) by the amounts, keeping its place.
void GrowWindow(CWnd* window, int dx, int dy);
CString GetText(CWnd* dialog, int id);
// Posts the button's click to the dialog (it runs from the loop).
void Press(CWnd* dialog, int id);

// ---------------------------------------------------------------------------

// A 32-bit top-down image; At answers COLORREF values.
class Image
{
public:
    Image() = default;
    Image(int width, int height);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Empty() const { return m_width == 0 || m_height == 0; }
    COLORREF At(int x, int y) const;
    // Pixels of the colour inside the rectangle.
    int Count(const RECT& area, COLORREF color) const;
    // Saves a .bmp file (a relative path lies under the program's scratch
    // root, never in the current folder).
    bool SaveBmp(const CString& path) const;
    uint32_t* Bits() { return m_pixels.data(); }

private:
    int m_width = 0, m_height = 0;
    std::vector<uint32_t> m_pixels; // 0x00RRGGBB
};

// A sheet for printing tests: a white bitmap as large as the screen says
// its page is, selected into a DC flagged as printing.
class PrintedPage
{
public:
    PrintedPage();
    ~PrintedPage();
    PrintedPage(const PrintedPage&) = delete;
    PrintedPage& operator=(const PrintedPage&) = delete;
    void Clear();
    // What is printed on it now.
    Image Take();

    CDC dc;
    int width = 0, height = 0;

private:
    CClientDC m_screen{nullptr};
    CBitmap m_bitmap;
    HGDIOBJ m_old = nullptr;
};

// Paints into a memory bitmap of the given size (white at first).
Image RenderPaint(int width, int height, const std::function<void(CDC& dc)>& paint);
// The window as it renders itself into a memory DC (PrintWindow: its own
// paint handlers with the library's printing DC, children included).
Image PrintWindowImage(CWnd* wnd, bool clientOnly = false);
// What the window shows on the screen now, children included (updates it
// first).
Image CaptureWindow(CWnd* wnd, bool clientOnly = false);
// A dialog's client area with its controls, for a person to look at: a
// hidden window prints without its children, so each control shown is
// printed on its own and laid over the dialog (later controls on top).
Image DialogImage(CWnd* dialog);

// What a tool bar's own tool tip shows for the button of a command.
CString ToolTipText(CToolBar& bar, UINT id);

} // namespace wintest

// gtest output of the library's geometry.
inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const CSize& s, std::ostream* os) { *os << s.cx << " x " << s.cy; }

// Redraw time of the 2-D graphics view for 1,000 and 100,000 entities at
// survey coordinates, run by hand:
//     tools/wine-run build/bin/bench_graphics_redraw.exe
// Each figure is set against this machine's raw limit measured in the same
// run: the shapes that meet the window drawn with plain GDI calls (already
// in device coordinates, nothing else to decide) onto a memory surface of
// the same size.  "all in view" fits
// the whole drawing; "zoomed" shows about one percent of it, where the view
// skips what lies outside the window by its extents.
#include "corvane/ui/GraphicsCtrl.h"
#include "BenchClock.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

const int kWidth = 1200, kHeight = 900;
const double kPi = 3.141592653589793;

template <class F> double Median(int runs, F f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double t0 = Now();
        f();
        times.push_back(Now() - t0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The drawing: lines, 8-vertex polylines, circles, arcs and texts spread
// over a square of `side` metres at survey coordinates.
void Fill(tkxGraphicsCtrl& view, int count, double side)
{
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> at(0, side), step(-side / 200, side / 200), unit(0, 1);
    const tkxPoint2d o(3512000, 4298000);
    for (int i = 0; i < count; ++i) {
        const tkxPoint2d p = o + tkxPoint2d(at(random), at(random));
        const COLORREF color = RGB(64 + i % 192, 255 - i % 128, 128 + i % 128);
        const int kind = i % 20;
        if (kind < 12) {
            view.DrawLine(p, p + tkxPoint2d(step(random), step(random)), color);
        } else if (kind < 16) {
            CArray<tkxPoint2d, tkxPoint2d> v;
            tkxPoint2d q = p;
            for (int k = 0; k < 8; ++k) {
                v.Add(q);
                q = q + tkxPoint2d(step(random), step(random));
            }
            view.DrawPolyline(v, color);
        } else if (kind < 18) {
            view.DrawCircle(p, std::fabs(step(random)) + side / 1000, false, color);
        } else if (kind < 19) {
            view.DrawArc(p, std::fabs(step(random)) + side / 1000, unit(random) * 2 * kPi, unit(random) * 2 * kPi, color);
        } else {
            view.DrawTextW(L"K12+345", p, 24, side / 150, 0, color);
        }
    }
}

// The same drawing as plain GDI calls in device coordinates of the view's
// current mapping, onto a memory surface (what any drawing of it costs).
double RawLimit(tkxGraphicsCtrl& view, int runs)
{
    tkxWorldDrawDC& dc = view.GetDrawContext();
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SelectObject(memory, ::GetStockObject(HOLLOW_BRUSH));
    ::SetBkMode(memory, TRANSPARENT);
    // Device coordinates, computed once (not part of the raw limit).
    struct Shape {
        int kind;
        std::vector<POINT> points;
        COLORREF color;
        LOGFONTW font;
        CString text;
    };
    std::vector<Shape> shapes;
    for (long id = 1;; ++id) {
        tkxEntityDC* e = nullptr;
        if (!view.OpenEntity(e, id, true)) break;
        Shape s{};
        s.color = e->GetColorREF();
        if (auto* line = DYNAMIC_DOWNCAST(tkxLineDC, e)) {
            tkxPoint2d a, b;
            line->GetStartPoint(a);
            line->GetEndPoint(b);
            s.kind = 0;
            s.points = {dc.MathToScreen(a), dc.MathToScreen(b)};
        } else if (auto* poly = DYNAMIC_DOWNCAST(tkxPolyLineDC, e)) {
            s.kind = 0;
            for (int k = 0; k < poly->GetVertexNum(); ++k) {
                tkxPoint2d v;
                poly->GetVertexAt(k, v);
                s.points.push_back(dc.MathToScreen(v));
            }
        } else if (auto* circle = DYNAMIC_DOWNCAST(tkxCircleDC, e)) {
            tkxPoint2d c;
            double r;
            circle->GetCenterPoint(c);
            circle->GetRadius(r);
            const CPoint p = dc.MathToScreen(c);
            const int pr = static_cast<int>(r * dc.m_dScale);
            s.kind = 1;
            s.points = {{p.x - pr, p.y - pr}, {p.x + pr, p.y + pr}};
        } else if (auto* arc = DYNAMIC_DOWNCAST(tkxArcDC, e)) {
            tkxPoint2d c;
            double r, a0, a1;
            arc->GetCenterPoint(c);
            arc->GetRadius(r);
            arc->GetStartAngle(a0);
            arc->GetEndAngle(a1);
            s.kind = 2;
            s.points = {dc.MathToScreen(c - tkxPoint2d(r, -r)), dc.MathToScreen(c + tkxPoint2d(r, -r)),
                        dc.MathToScreen(c.Polar(a0, r)), dc.MathToScreen(c.Polar(a1, r))};
        } else if (auto* text = DYNAMIC_DOWNCAST(tkxTextDC, e)) {
            tkxPoint2d p;
            text->GetPosition(p);
            s.kind = 3;
            s.points = {dc.MathToScreen(p)};
            s.font = LOGFONTW{};
            s.font.lfHeight = static_cast<LONG>(text->GetTextSize() * dc.m_dScale);
            s.font.lfWidth = s.font.lfHeight / 2;
            s.font.lfWeight = 100;
            s.font.lfCharSet = 136;
            wcscpy(s.font.lfFaceName, L"宋体");
            s.text = text->GetText();
        }
        // Only what meets the window: the raw limit decides nothing.
        RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (const POINT& p : s.points) {
            box.left = std::min(box.left, p.x);
            box.top = std::min(box.top, p.y);
            box.right = std::max(box.right, p.x);
            box.bottom = std::max(box.bottom, p.y);
        }
        if (s.kind == 3) box = {box.left - 2000, box.top - 2000, box.right + 2000, box.bottom + 2000};
        if (s.kind == 2) box = {s.points[0].x, s.points[0].y, s.points[1].x, s.points[1].y};
        if (box.right >= 0 && box.bottom >= 0 && box.left <= kWidth && box.top <= kHeight) shapes.push_back(s);
    }
    const double t = Median(runs, [&] {
        ::PatBlt(memory, 0, 0, kWidth, kHeight, BLACKNESS);
        for (const Shape& s : shapes) {
            HPEN pen = ::CreatePen(PS_SOLID, 0, s.color);
            HGDIOBJ oldPen = ::SelectObject(memory, pen);
            switch (s.kind) {
            case 0: ::Polyline(memory, s.points.data(), static_cast<int>(s.points.size())); break;
            case 1: ::Ellipse(memory, s.points[0].x, s.points[0].y, s.points[1].x, s.points[1].y); break;
            case 2:
                ::Arc(memory, s.points[0].x, s.points[0].y, s.points[1].x, s.points[1].y, s.points[2].x, s.points[2].y,
                      s.points[3].x, s.points[3].y);
                break;
            case 3:
                if (s.font.lfHeight >= 3) {
                    HFONT font = ::CreateFontIndirectW(&s.font);
                    HGDIOBJ oldFont = ::SelectObject(memory, font);
                    ::SetTextColor(memory, s.color);
                    ::SetTextAlign(memory, TA_BASELINE);
                    ::ExtTextOutW(memory, s.points[0].x, s.points[0].y, ETO_CLIPPED, nullptr, s.text,
                                  static_cast<UINT>(s.text.GetLength()), nullptr);
                    ::SelectObject(memory, oldFont);
                    ::DeleteObject(font);
                }
                break;
            }
            ::SelectObject(memory, oldPen);
            ::DeleteObject(pen);
        }
        ::GdiFlush();
    });
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return t;
}

} // namespace

int main()
{
    CWnd frame;
    frame.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_OVERLAPPEDWINDOW, 0, 0, kWidth + 40, kHeight + 60, nullptr,
                   nullptr);
    std::printf("%-8s %-12s %12s %12s %8s %12s\n", "entities", "view", "redraw (ms)", "raw GDI (ms)", "ratio",
                "click (ms)");
    for (int count : {1000, 100000}) {
        tkxGraphicsCtrl view;
        view.Create(L"tkxGraphicsCtrl", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &frame, 1);
        const double side = 20000; // metres
        Fill(view, count, side);
        const int runs = count > 10000 ? 5 : 25;
        for (int zoomed = 0; zoomed < 2; ++zoomed) {
            view.ShowAll();
            if (zoomed) {
                // About one percent of the area: a tenth of the width.
                tkxWorldDrawDC& dc = view.GetDrawContext();
                const tkxPoint2d middle = dc.ScreenToMath(CPoint(kWidth / 2, kHeight / 2));
                dc.m_dScale *= 10;
                dc.m_ptOrigin = tkxPoint2d(kWidth / 2.0, kHeight / 2.0) - middle * dc.m_dScale;
            }
            view.ReDraw();
            const double redraw = Median(runs, [&] {
                view.Regen();
                ::GdiFlush();
            });
            const double raw = RawLimit(view, runs);
            // A click: the pick (from the topmost entity down) and, on a hit,
            // the redraw that shows the selection.
            std::vector<double> clicks;
            for (int i = 0; i < runs; ++i) {
                const double t0 = Now();
                view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kWidth / 2 + 7 * i, kHeight / 2));
                clicks.push_back(Now() - t0);
                view.CancelSelect();
            }
            std::sort(clicks.begin(), clicks.end());
            const double click = clicks[clicks.size() / 2];
            std::printf("%-8d %-12s %12.1f %12.1f %8.2f %12.1f\n", count, zoomed ? "zoomed 1%" : "all in view",
                        redraw * 1000, raw * 1000, redraw / raw, click * 1000);
        }
        view.DestroyWindow();
    }
    frame.DestroyWindow();
    return 0;
}

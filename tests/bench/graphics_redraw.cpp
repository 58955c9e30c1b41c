// The 2-D graphics view with 1,000 and 100,000 entities at survey
// coordinates, three runs.  Figures:
//   redraw   Regen of the whole drawing in view (and "zoomed": about one
//            percent of it), against the machine's limit in the same run:
//            the shapes that meet the window drawn with plain GDI calls,
//            already in device coordinates, onto a memory surface of the
//            same size
//   click    a left click that selects an entity, and Esc that clears the
//            selection: the message handled and the repaint it asks for
//            (UpdateWindow), against a goal in milliseconds; beside them a
//            click with editing off, which picks (from the topmost entity
//            down) and changes nothing
// Run by hand: tools/wine-run build/bin/bench_graphics_redraw.exe
#include "corvane/ui/GraphicsCtrl.h"
#include "BenchClock.h"

#include <algorithm>
#include <climits>
#include <functional>
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
    return Row::Median(times);
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

// Client points of line entities (the middle of each) spread over the
// view, for clicks that hit them.
std::vector<CPoint> LinePoints(tkxGraphicsCtrl& view, int count)
{
    std::vector<CPoint> points;
    tkxWorldDrawDC& dc = view.GetDrawContext();
    for (long id = 1; static_cast<int>(points.size()) < count; id += 97) {
        tkxEntityDC* e = nullptr;
        if (!view.OpenEntity(e, id)) break;
        auto* line = DYNAMIC_DOWNCAST(tkxLineDC, e);
        if (!line) continue;
        tkxPoint2d a, b;
        line->GetStartPoint(a);
        line->GetEndPoint(b);
        const CPoint p = dc.MathToScreen((a + b) * 0.5);
        if (p.x > 10 && p.y > 10 && p.x < kWidth - 10 && p.y < kHeight - 10) points.push_back(p);
    }
    return points;
}

struct Rows {
    Row redrawSmall{"redraw, 1,000 entities all in view (Regen)", "plain GDI drawing of the same shapes", 0};
    Row redraw{"redraw, 100,000 entities all in view (Regen)", "plain GDI drawing of the same shapes", 1.3};
    Row redrawZoomed{"redraw, 100,000 entities zoomed to 1% (Regen)", "plain GDI drawing of the shapes in view", 0};
    Row click{"click that selects an entity among 100,000 in view: handled and repainted (UpdateWindow)",
              "absolute, milliseconds", 5};
    Row clear{"Esc that clears the selection among 100,000 in view: handled and repainted", "absolute, milliseconds",
              5};
    Row pick{"click with editing off (the pick alone: nothing changes), handled and repainted",
             "absolute, milliseconds", 0};
};

void Run(CWnd& frame, Rows& rows)
{
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
            view.UpdateWindow();
            const double redraw = Median(runs, [&] {
                view.Regen();
                ::GdiFlush();
            });
            const double raw = RawLimit(view, runs);
            if (count < 10000 && !zoomed) rows.redrawSmall.Add(redraw, raw);
            if (count > 10000) (zoomed ? rows.redrawZoomed : rows.redraw).Add(redraw, raw);
        }
        if (count > 10000) {
            view.ShowAll();
            view.UpdateWindow();
            const std::vector<CPoint> points = LinePoints(view, 15);
            auto timed = [&](const std::function<void()>& act) {
                const double t0 = Now();
                act();
                view.UpdateWindow();
                ::GdiFlush();
                return Now() - t0;
            };
            std::vector<double> clicks, clears, picks;
            for (const CPoint& p : points) {
                clicks.push_back(timed([&] { view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y)); }));
                view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
                clears.push_back(timed([&] {
                    MSG escape{view.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
                    view.PreTranslateMessage(&escape);
                }));
            }
            view.SetEditEnable(0);
            for (const CPoint& p : points) {
                picks.push_back(timed([&] { view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y)); }));
                view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
            }
            view.SetEditEnable(1);
            rows.click.AddAbsolute(Row::Median(clicks));
            rows.clear.AddAbsolute(Row::Median(clears));
            rows.pick.AddAbsolute(Row::Median(picks));
            if (points.size() < 10) std::printf("only %zu lines to click\n", points.size());
        }
        view.DestroyWindow();
    }
}

} // namespace

int main()
{
    CWnd frame;
    frame.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, kWidth + 40,
                   kHeight + 60, nullptr, nullptr);
    std::printf("graphics view %d x %d, 3 runs; times and ratios as min / median / max (a click figure is the "
                "median of 15 clicks in its run)\n",
                kWidth, kHeight);
    Rows rows;
    for (int run = 0; run < 3; ++run) {
        std::printf("run %d: load average %s\n", run + 1, LoadAverage().c_str());
        Run(frame, rows);
    }
    std::printf("load average at the end %s\n\n", LoadAverage().c_str());
    for (const Row* row : {&rows.redrawSmall, &rows.redraw, &rows.redrawZoomed, &rows.click, &rows.clear, &rows.pick})
        row->Print();
    frame.DestroyWindow();
    return 0;
}

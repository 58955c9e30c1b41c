// The grid with a small and a large table: filling it, scrolling to the end,
// painting a screen, a line scroll, sorting by a numeric column, saving and
// loading a delimited file.  Each figure is printed as the time for the
// table and as a ratio to the machine's raw limit for the same work,
// measured in the same run:
//   fill    - storing the same texts in a plain array of strings
//   paint   - drawing the screen's cells with plain GDI calls
//   scroll  - one line scroll and its repaint, against the raw paint
//   sort    - sorting the column's numbers with the standard sort
//   save    - writing the file's bytes with one call
//   load    - reading the file's bytes and converting them to wide text
// Run by hand: tools/wine-run build/bin/bench_grid.exe [rows...]
#include "corvane/ui/GridCtrl.h"
#include <algorithm>
#include "BenchClock.h"
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// Seconds per run, the best of a few runs of `repeat` calls each.
double Time(int repeat, const std::function<void()>& work)
{
    double best = 1e30;
    for (int round = 0; round < 3; ++round) {
        const double start = Now();
        for (int i = 0; i < repeat; ++i) work();
        best = std::min(best, (Now() - start) / repeat);
    }
    return best;
}

double Once(const std::function<void()>& work)
{
    const double start = Now();
    work();
    return Now() - start;
}

CString CellText(int row, int col)
{
    CString text;
    if (col == 1)
        text.Format(L"%d.%03d", (row * 7919) % 100003, row % 1000); // numbers in no order
    else
        text.Format(L"K%d+%03d.%d", row / 1000, row % 1000, col);
    return text;
}

struct Figures {
    double fill, fillRaw, scrollEnd, paint, paintRaw, lineScroll, sort, sortRaw, save, saveRaw, load, loadRaw;
};

class BenchWindow : public CWnd
{
public:
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), L"表格基准",
                        WS_POPUP | WS_VISIBLE, 0, 0, 820, 620, nullptr, nullptr);
    }
};

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

Figures Measure(int rows, const CString& folder)
{
    const int cols = 10;
    Figures f{};
    BenchWindow host;
    host.Make();
    auto* grid = new tkxGridCtrl;
    grid->Create(CRect(0, 0, 800, 600), &host, 1, WS_CHILD | WS_VISIBLE);
    Pump();

    std::vector<CString> texts;
    texts.reserve(static_cast<size_t>(rows + 1) * cols);
    f.fillRaw = Once([&] {
        for (int row = 0; row <= rows; ++row)
            for (int col = 0; col < cols; ++col) texts.push_back(CellText(row, col));
    });
    f.fill = Once([&] {
        grid->SetRowCount(rows + 1);
        grid->SetColumnCount(cols);
        grid->SetFixedRowCount(1);
        grid->SetFixedColumnCount(1);
        size_t i = 0;
        for (int row = 0; row <= rows; ++row)
            for (int col = 0; col < cols; ++col) grid->SetItemText(row, col, texts[i++]);
    });

    f.scrollEnd = Once([&] {
        grid->SendMessage(WM_VSCROLL, SB_BOTTOM);
        grid->UpdateWindow();
    });

    // A screen: the grid's drawing against plain GDI drawing of the same
    // cells.
    CRect client;
    grid->GetClientRect(client);
    CClientDC screen(grid);
    CDC memDC;
    memDC.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
    HGDIOBJ old = memDC.SelectObject(bitmap.m_hObject);
    f.paint = Time(20, [&] { grid->OnDraw(&memDC); });
    const CCellRange visible = [&] {
        CCellRange r;
        CRect cell;
        int first = rows, last = 0;
        for (int row = 1; row <= rows; ++row)
            if (grid->GetCellRect(row, 1, cell)) {
                first = row;
                break;
            }
        for (int row = first; row <= rows && grid->GetCellRect(row, 1, cell) && cell.top < client.bottom; ++row)
            last = row;
        r.Set(first, 0, last, cols - 1);
        return r;
    }();
    HFONT font = reinterpret_cast<HFONT>(grid->SendMessage(WM_GETFONT));
    f.paintRaw = Time(20, [&] {
        HGDIOBJ oldFont = ::SelectObject(memDC.m_hDC, font);
        CRect cell;
        for (int row = visible.GetMinRow(); row <= visible.GetMaxRow(); ++row)
            for (int col = 0; col < cols; ++col) {
                if (!grid->GetCellRect(row, col, cell)) continue;
                memDC.FillSolidRect(cell, RGB(255, 255, 193));
                const CString& text = texts[static_cast<size_t>(row) * cols + col];
                ::DrawTextW(memDC.m_hDC, text, text.GetLength(), cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
        ::SelectObject(memDC.m_hDC, oldFont);
    });
    memDC.SelectObject(old);

    f.lineScroll = Time(20, [&] {
        grid->SendMessage(WM_VSCROLL, SB_LINEUP);
        grid->UpdateWindow();
        grid->SendMessage(WM_VSCROLL, SB_LINEDOWN);
        grid->UpdateWindow();
    }) / 2;

    std::vector<double> numbers;
    numbers.reserve(static_cast<size_t>(rows));
    for (int row = 1; row <= rows; ++row) numbers.push_back(std::wcstod(texts[static_cast<size_t>(row) * cols + 1], nullptr));
    f.sortRaw = Once([&] { std::sort(numbers.begin(), numbers.end()); });
    f.sort = Once([&] { grid->SortByDat(1, -1, 1, TRUE); });

    const CString path = folder + L"\\grid_bench.csv";
    f.save = Once([&] { grid->Save(path, L","); });
    std::string bytes;
    {
        CFile file(path, CFile::modeRead);
        bytes.resize(static_cast<size_t>(file.GetLength()));
        file.Read(&bytes[0], static_cast<UINT>(bytes.size()));
    }
    const CString rawPath = folder + L"\\grid_bench_raw.csv";
    f.saveRaw = Once([&] {
        CFile file(rawPath, CFile::modeCreate | CFile::modeWrite);
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
    });
    f.loadRaw = Once([&] {
        CFile file(rawPath, CFile::modeRead);
        std::string read(static_cast<size_t>(file.GetLength()), '\0');
        file.Read(&read[0], static_cast<UINT>(read.size()));
        const CString wide = ClMultiByteToWide(read.data(), static_cast<int>(read.size()), CP_ACP);
        if (wide.IsEmpty()) std::printf("?");
    });
    auto* loaded = new tkxGridCtrl;
    loaded->Create(CRect(0, 0, 800, 600), &host, 2, WS_CHILD);
    f.load = Once([&] { loaded->Load(path); });
    if (loaded->GetRowCount() != rows + 1) std::printf("load read %d rows of %d\n", loaded->GetRowCount(), rows + 1);

    ::DeleteFileW(path);
    ::DeleteFileW(rawPath);
    host.DestroyWindow();
    delete loaded;
    delete grid;
    return f;
}

void Row(const char* name, double small, double large, double raw)
{
    std::printf("%-22s %10.3f ms %12.3f ms %8.1f x %10.1f x raw\n", name, small * 1e3, large * 1e3, large / small,
                large / raw);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.size() != 2) sizes = {1000, 100000};
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);

    const Figures small = Measure(sizes[0], folder);
    const Figures large = Measure(sizes[1], folder);
    std::printf("grid of %d and %d rows by 10 columns\n", sizes[0], sizes[1]);
    std::printf("%-22s %13s %15s %10s %16s\n", "operation", "small", "large", "growth", "large vs raw");
    Row("fill", small.fill, large.fill, large.fillRaw);
    Row("scroll to the end", small.scrollEnd, large.scrollEnd, large.paintRaw);
    Row("paint a screen", small.paint, large.paint, large.paintRaw);
    Row("line scroll + repaint", small.lineScroll, large.lineScroll, large.paintRaw);
    Row("sort numeric column", small.sort, large.sort, large.sortRaw);
    Row("save", small.save, large.save, large.saveRaw);
    Row("load", small.load, large.load, large.loadRaw);
    std::printf("raw limits for the large table: fill %.3f ms, paint %.3f ms, sort %.3f ms, write %.3f ms, read "
                "%.3f ms\n",
                large.fillRaw * 1e3, large.paintRaw * 1e3, large.sortRaw * 1e3, large.saveRaw * 1e3,
                large.loadRaw * 1e3);
    return 0;
}

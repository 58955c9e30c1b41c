// The grid with a large table (100,000 rows by 10 columns by default),
// three runs.  Each figure is set against the machine's limit for the same
// work, measured in the same run:
//   fill          the grid's SetItemText of prepared texts, against storing
//                 the same texts in a plain array of strings
//   scroll, paint the grid's drawing of a screen (after a scroll to the
//                 end, a line scroll), against plain GDI drawing the same
//                 cells: their background and their text
//   sort          SortByDat of the numeric column (keys in no order, then
//                 presorted, then reversed), each against std::sort of the
//                 same keys in no order, already parsed into doubles
//   save          Save with a comma between fields, against formatting the
//                 same texts into the file's text, converting it to the
//                 code page and writing it with one call
//   load          Load of that file (columns auto-sized), against reading
//                 the file's bytes with one call and converting them with
//                 one MultiByteToWideChar; with where its time goes: the
//                 cells' memory (new pages, one cell's size for each cell)
//                 and making the cells outside a grid, which the cell model
//                 costs whatever the grid does
// Run by hand: tools/wine-run build/bin/bench_grid.exe [rows]
#include "corvane/ui/GridCtrl.h"
#include "BenchClock.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

const int kColumns = 10;

double Once(const std::function<void()>& work)
{
    const double start = Now();
    work();
    return Now() - start;
}

// The best of a few rounds of `repeat` calls, per call.
double Best(int repeat, const std::function<void()>& work)
{
    double best = 1e30;
    for (int round = 0; round < 3; ++round) {
        const double start = Now();
        for (int i = 0; i < repeat; ++i) work();
        best = std::min(best, (Now() - start) / repeat);
    }
    return best;
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

struct Rows {
    Row fill{"fill: SetItemText of prepared texts into every cell", "the same texts stored in a plain array", 0};
    Row scrollEnd{"scroll to the end and repaint", "plain GDI drawing of the screen's cells", 0};
    Row paint{"paint a screen (OnDraw into a memory DC)", "plain GDI drawing of the screen's cells", 0};
    Row lineScroll{"line scroll and repaint", "plain GDI drawing of the screen's cells", 0};
    Row sortRandom{"numeric sort (SortByDat), keys in no order", "std::sort of the keys in no order, parsed", 3};
    Row sortSorted{"numeric sort (SortByDat), keys presorted", "std::sort of the keys in no order, parsed", 3};
    Row sortReversed{"numeric sort (SortByDat), keys reversed", "std::sort of the keys in no order, parsed", 3};
    Row save{"Save, comma separated", "format the same texts, convert, one write", 3};
    Row load{"Load of that file, columns auto-sized", "one read of the file and one conversion", 6};
    // Where a load's time goes.
    Row loadMemory{"  of which at least: the cells' memory, one CGridCell's size of new pages per cell, written once",
                   "one read of the file and one conversion", 0};
    Row loadCells{"  of which at least: making the cells (new CGridCell, its font, its text) without a grid",
                  "one read of the file and one conversion", 0};
    Row loadSizes{"  not in it: AutoSizeColumns of the loaded grid again (Load sizes the columns as it reads)",
                  "one read of the file and one conversion", 0};
};

std::vector<double> ParsedKeys(const std::vector<CString>& texts, int rows)
{
    std::vector<double> keys;
    keys.reserve(static_cast<size_t>(rows));
    for (int row = 1; row <= rows; ++row)
        keys.push_back(std::wcstod(texts[static_cast<size_t>(row) * kColumns + 1], nullptr));
    return keys;
}

void Run(int rows, const CString& folder, Rows& out)
{
    BenchWindow host;
    host.Make();
    auto* grid = new tkxGridCtrl;
    grid->Create(CRect(0, 0, 800, 600), &host, 1, WS_CHILD | WS_VISIBLE);
    Pump();

    std::vector<CString> texts;
    texts.reserve(static_cast<size_t>(rows + 1) * kColumns);
    for (int row = 0; row <= rows; ++row)
        for (int col = 0; col < kColumns; ++col) texts.push_back(CellText(row, col));

    std::vector<CString> plain(texts.size());
    const double fillLimit = Once([&] {
        for (size_t i = 0; i < texts.size(); ++i) plain[i] = texts[i];
    });
    const double fill = Once([&] {
        grid->SetRowCount(rows + 1);
        grid->SetColumnCount(kColumns);
        grid->SetFixedRowCount(1);
        grid->SetFixedColumnCount(1);
        size_t i = 0;
        for (int row = 0; row <= rows; ++row)
            for (int col = 0; col < kColumns; ++col) grid->SetItemText(row, col, texts[i++]);
    });
    out.fill.Add(fill, fillLimit);

    // Saving: the grid's file against the same text made and written
    // directly.
    const CString path = folder + L"\\grid_bench.csv";
    const double save = Once([&] { grid->Save(path, L","); });
    const CString rawPath = folder + L"\\grid_bench_raw.csv";
    size_t written = 0;
    const double saveLimit = Once([&] {
        size_t length = 0;
        for (int row = 0; row <= rows; ++row)
            for (int col = 0; col < kColumns; ++col) length += grid->GetCell(row, col)->szText.GetLength() + 2;
        std::wstring text;
        text.reserve(length);
        for (int row = 0; row <= rows; ++row)
            for (int col = 0; col < kColumns; ++col) {
                const CString& field = grid->GetCell(row, col)->szText;
                text.append(field.GetString(), static_cast<size_t>(field.GetLength()));
                text += col + 1 < kColumns ? L"," : L"\r\n";
            }
        std::string bytes(text.size() * 2, '\0');
        bytes.resize(static_cast<size_t>(::WideCharToMultiByte(ClTextCodePage(), 0, text.data(),
                                                               static_cast<int>(text.size()), &bytes[0],
                                                               static_cast<int>(bytes.size()), nullptr, nullptr)));
        HANDLE file = ::CreateFileW(rawPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD done = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
        ::CloseHandle(file);
        written = done;
    });
    out.save.Add(save, saveLimit);

    // Loading the grid's file into a new grid.
    auto* loaded = new tkxGridCtrl;
    loaded->Create(CRect(0, 0, 800, 600), &host, 2, WS_CHILD);
    const double loadLimit = Once([&] {
        HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        LARGE_INTEGER size;
        ::GetFileSizeEx(file, &size);
        std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
        ::CloseHandle(file);
        std::wstring wide(bytes.size(), L'\0');
        if (::MultiByteToWideChar(ClTextCodePage(), 0, bytes.data(), static_cast<int>(read), &wide[0],
                                  static_cast<int>(wide.size())) <= 0)
            std::printf("conversion failed\n");
    });
    const double load = Once([&] { loaded->Load(path); });
    out.load.Add(load, loadLimit);
    out.loadSizes.Add(Once([&] { loaded->AutoSizeColumns(); }), loadLimit);
    out.loadMemory.Add(Once([&] {
                           const size_t bytes = texts.size() * sizeof(CGridCell);
                           void* memory = ::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
                           if (memory) std::memset(memory, 1, bytes);
                           ::VirtualFree(memory, 0, MEM_RELEASE);
                       }),
                       loadLimit);
    {
        std::vector<CGridCell*> cells(texts.size());
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(loaded->SendMessage(WM_GETFONT)), sizeof font, &font);
        out.loadCells.Add(Once([&] {
                              for (size_t i = 0; i < cells.size(); ++i) {
                                  cells[i] = new CGridCell;
                                  cells[i]->lfFont = font;
                                  cells[i]->szText = texts[i];
                              }
                          }),
                          loadLimit);
        for (CGridCell* cell : cells) delete cell;
    }
    if (loaded->GetRowCount() != rows + 1) std::printf("load read %d rows of %d\n", loaded->GetRowCount(), rows + 1);
    if (written == 0) std::printf("the direct write failed\n");


    // A screen: the grid's drawing against plain GDI drawing of the same
    // cells.
    const double scrollEnd = Once([&] {
        grid->SendMessage(WM_VSCROLL, SB_BOTTOM);
        grid->UpdateWindow();
    });
    CRect client;
    grid->GetClientRect(client);
    CClientDC screen(grid);
    CDC memDC;
    memDC.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
    HGDIOBJ old = memDC.SelectObject(bitmap.m_hObject);
    const double paint = Best(20, [&] { grid->OnDraw(&memDC); });
    int first = rows, last = 0;
    CRect cell;
    for (int row = 1; row <= rows; ++row)
        if (grid->GetCellRect(row, 1, cell)) {
            first = row;
            break;
        }
    for (int row = first; row <= rows && grid->GetCellRect(row, 1, cell) && cell.top < client.bottom; ++row) last = row;
    HFONT font = reinterpret_cast<HFONT>(grid->SendMessage(WM_GETFONT));
    const double paintLimit = Best(20, [&] {
        HGDIOBJ oldFont = ::SelectObject(memDC.m_hDC, font);
        CRect rect;
        for (int row = first; row <= last; ++row)
            for (int col = 0; col < kColumns; ++col) {
                if (!grid->GetCellRect(row, col, rect)) continue;
                memDC.FillSolidRect(rect, RGB(255, 255, 193));
                const CString& text = texts[static_cast<size_t>(row) * kColumns + col];
                ::DrawTextW(memDC.m_hDC, text, text.GetLength(), rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
        ::SelectObject(memDC.m_hDC, oldFont);
    });
    memDC.SelectObject(old);
    const double lineScroll = Best(20, [&] {
        grid->SendMessage(WM_VSCROLL, SB_LINEUP);
        grid->UpdateWindow();
        grid->SendMessage(WM_VSCROLL, SB_LINEDOWN);
        grid->UpdateWindow();
    }) / 2;
    out.scrollEnd.Add(scrollEnd, paintLimit);
    out.paint.Add(paint, paintLimit);
    out.lineScroll.Add(lineScroll, paintLimit);

    // Sorting: keys in no order, then the sorted column again, then the
    // other way round; the limit sorts the same keys, in no order.
    std::vector<double> keys = ParsedKeys(texts, rows);
    const double sortLimit = Once([&] { std::sort(keys.begin(), keys.end()); });
    const double sortRandom = Once([&] { grid->SortByDat(1, -1, 1, TRUE); });
    const double sortSorted = Once([&] { grid->SortByDat(1, -1, 1, TRUE); });
    const double sortReversed = Once([&] { grid->SortByDat(1, -1, 1, FALSE); });
    out.sortRandom.Add(sortRandom, sortLimit);
    out.sortSorted.Add(sortSorted, sortLimit);
    out.sortReversed.Add(sortReversed, sortLimit);

    ::DeleteFileW(path);
    ::DeleteFileW(rawPath);
    host.DestroyWindow();
    delete loaded;
    delete grid;
}

} // namespace

int main(int argc, char** argv)
{
    const int rows = argc > 1 ? std::max(1000, std::atoi(argv[1])) : 100000;
    const int runs = 3;
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);

    std::printf("grid of %d rows by %d columns, %d runs; times and ratios as min / median / max\n", rows, kColumns,
                runs);
    Rows rowsOut;
    for (int run = 0; run < runs; ++run) {
        std::printf("run %d: load average %s\n", run + 1, LoadAverage().c_str());
        Run(rows, folder, rowsOut);
    }
    std::printf("load average at the end %s\n\n", LoadAverage().c_str());
    for (const Row* row : {&rowsOut.fill, &rowsOut.scrollEnd, &rowsOut.paint, &rowsOut.lineScroll, &rowsOut.sortRandom,
                           &rowsOut.sortSorted, &rowsOut.sortReversed, &rowsOut.save, &rowsOut.load,
                           &rowsOut.loadMemory, &rowsOut.loadCells, &rowsOut.loadSizes})
        row->Print();
    return 0;
}

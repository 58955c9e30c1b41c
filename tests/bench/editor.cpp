// The data-file editor with a large code-page-936 data file (20 MB by
// default), three runs.  Each figure is set against the machine's limit
// measured in the same run (the best of three tries):
//   read   reading the file's bytes and converting them to wide text with
//          one MultiByteToWideChar call
//   write  one WriteFile of the encoded bytes
// Figures: loading into the text buffer, saving, colouring and drawing the
// last screen (parsing every line above it once) and drawing it again, and
// a replace-all of a word that stands on every line, from the top of the
// file, in the whole file and in a quarter of it (its growth with the size).
// Run by hand: tools/wine-run build/bin/bench_editor.exe [megabytes]
#include "brisko/editor/EditReplaceDlg.h"
#include "brisko/editor/TvEditView.h"
#include <algorithm>
#include "BenchClock.h"
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// The best of three runs.
double Best(const std::function<void()>& work)
{
    double best = 1e30;
    for (int round = 0; round < 3; ++round) {
        const double start = Now();
        work();
        best = std::min(best, Now() - start);
    }
    return best;
}

// A data file of about `bytes` bytes: station, elevations and a comment.
std::string DataFile(size_t bytes)
{
    std::string text;
    text.reserve(bytes + 128);
    const std::string comment = ClWideToMultiByte(L" // 地面线高程 桥头", -1, 936);
    char line[128];
    for (int i = 0; text.size() < bytes; ++i) {
        std::snprintf(line, sizeof line, "K%d+%03d.%03d\t%.3f\t%.3f", i / 1000, i % 1000, (i * 7) % 1000,
                      100.0 + (i % 5000) * 0.013, 98.5 + (i % 3000) * 0.021);
        text += line;
        text += comment;
        text += "\r\n";
    }
    return text;
}

void WriteAll(const CString& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

// Reads the bytes and converts them in one call: the least any load does.
double RawRead(const CString& path)
{
    return Best([&] {
        HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        LARGE_INTEGER size;
        ::GetFileSizeEx(file, &size);
        std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        ::CloseHandle(file);
        std::vector<wchar_t> wide(bytes.size());
        const int n = ::MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(read), wide.data(),
                                            static_cast<int>(wide.size()));
        if (n <= 0) std::printf("conversion failed\n");
    });
}

// A view that colours as the data view does: walks every character of a
// line, numbers, keywords and "//" comments in their colours.
class DataView : public CTvEditView
{
public:
    CTvTextBuffer* m_pBuffer = nullptr;
    CTvTextBuffer* GetTextBuffer() override { return m_pBuffer; }
    DWORD ParseLine(DWORD cookie, int line, TEXTBLOCK* blocks, int& count) override
    {
        const int length = GetLineLength(line);
        if (length == 0) return 0;
        const wchar_t* chars = LineText(line);
        DWORD state = cookie & 4;
        int token = -1;
        auto endToken = [&](int end) {
            if (token < 0) return;
            bool number = iswdigit(chars[token]) || chars[token] == L'.';
            for (int k = token; k < end && number; ++k)
                number = iswdigit(chars[k]) || chars[k] == L'.' || chars[k] == L'-';
            if (number) DefineBlock(blocks, count, token, COLORINDEX_NUMBER);
            DefineBlock(blocks, count, end, COLORINDEX_NORMALTEXT);
            token = -1;
        };
        DefineBlock(blocks, count, 0, COLORINDEX_NORMALTEXT);
        for (int i = 0; i < length; ++i) {
            const wchar_t c = chars[i];
            if (i > 0 && c == L'/' && chars[i - 1] == L'/') {
                endToken(i - 1);
                DefineBlock(blocks, count, i - 1, COLORINDEX_COMMENT);
                state |= 1;
                break;
            }
            const bool part = iswalnum(c) || c == L'.' || c == L'_' || c == L'-';
            if (part && token < 0) token = i;
            if (!part) endToken(i);
        }
        if (!(state & 1)) endToken(length);
        return state & 4;
    }
};

class Host : public CWnd
{
public:
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), L"编辑器基准",
                        WS_POPUP | WS_VISIBLE, 0, 0, 1000, 760, nullptr, nullptr);
    }
};

int QuietBox(HWND, const wchar_t*, const wchar_t*, UINT, void*) { return IDOK; }

struct Figures {
    double load = 0, save = 0, write = 0, paint = 0, paintAgain = 0, replace = 0, read = 0;
    int lines = 0, replaced = 0;
    size_t bytes = 0;
};

Figures Measure(size_t bytes, const CString& folder, bool full)
{
    Figures f;
    const std::string text = DataFile(bytes);
    f.bytes = text.size();
    const CString path = folder + L"\\editor_bench.dmx";
    WriteAll(path, text);
    f.read = RawRead(path);

    CTvTextBuffer buffer;
    f.load = Best([&] {
        buffer.ReleaseAll();
        if (!buffer.LoadFromFile(path)) std::printf("load failed\n");
    });
    f.lines = buffer.GetLineCount();

    if (full) {
        const CString copy = folder + L"\\editor_bench_copy.dmx";
        f.save = Best([&] {
            if (!buffer.SaveToFile(copy)) std::printf("save failed\n");
        });
        const CString raw = folder + L"\\editor_bench_raw.dmx";
        f.write = Best([&] { WriteAll(raw, text); });
        ::DeleteFileW(copy);
        ::DeleteFileW(raw);
    }

    Host host;
    host.Make();
    auto* view = new DataView;
    view->m_pBuffer = &buffer;
    view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 980, 740), &host, 1);
    LOGFONTW font{};
    font.lfHeight = -16;
    font.lfCharSet = GB2312_CHARSET;
    wcscpy_s(font.lfFaceName, L"宋体");
    view->AttachToBuffer(&buffer);
    view->SetFont(font);

    CClientDC screen(view);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 980, 740);
    const HGDIOBJ old = memory.SelectObject(bitmap.m_hObject);
    if (full) {
        // The first screen at the end parses every line above it once.
        view->MoveCtrlEnd(FALSE);
        double start = Now();
        view->OnDraw(&memory);
        f.paint = Now() - start;
        f.paintAgain = Best([&] { view->OnDraw(&memory); });
    }
    memory.SelectObject(old);

    // Replace-all of the word every line holds, from the top of the file.
    view->MoveCtrlHome(FALSE);
    CEditReplaceDlg dialog(view);
    dialog.m_sText = L"高程";
    dialog.m_sNewText = L"地面高程";
    dialog.m_nScope = 1;
    void* previousContext = nullptr;
    const ClMessageBoxHook previous = ClSetMessageBoxHook(QuietBox, nullptr, &previousContext);
    double start = Now();
    f.replaced = dialog.ReplaceAll();
    f.replace = Now() - start;
    ClSetMessageBoxHook(previous, previousContext);

    host.DestroyWindow();
    ::DeleteFileW(path);
    return f;
}

struct Rows {
    Row load{"load into the buffer", "read and convert the file", 0};
    Row save{"save", "one write of the encoded bytes", 0};
    Row paint{"colour and draw the last screen", "read and convert the file", 0};
    Row paintAgain{"draw it again", "read and convert the file", 0};
    Row replace{"replace-all, whole file (430,000 replacements in 20 MB by default)", "read and convert the file", 3};
    Row replaceQuarter{"replace-all, a quarter of the file", "read and convert that file", 0};
};

} // namespace

int main(int argc, char** argv)
{
    const size_t megabytes = argc > 1 ? static_cast<size_t>(std::max(1, std::atoi(argv[1]))) : 20;
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);

    std::printf("code-page-936 data file of %zu MB, 3 runs; times and ratios as min / median / max\n", megabytes);
    Rows rows;
    int lines = 0, replaced = 0, replacedQuarter = 0;
    for (int run = 0; run < 3; ++run) {
        std::printf("run %d: load average %s\n", run + 1, LoadAverage().c_str());
        const Figures quarter = Measure(megabytes * 1024 * 1024 / 4, folder, false);
        const Figures whole = Measure(megabytes * 1024 * 1024, folder, true);
        rows.load.Add(whole.load, whole.read);
        rows.save.Add(whole.save, whole.write);
        rows.paint.Add(whole.paint, whole.read);
        rows.paintAgain.Add(whole.paintAgain, whole.read);
        rows.replace.Add(whole.replace, whole.read);
        rows.replaceQuarter.Add(quarter.replace, quarter.read);
        lines = whole.lines;
        replaced = whole.replaced;
        replacedQuarter = quarter.replaced;
    }
    std::printf("load average at the end %s\n", LoadAverage().c_str());
    std::printf("%d lines; replace-all made %d replacements in the whole file, %d in the quarter\n\n", lines, replaced,
                replacedQuarter);
    for (const Row* row : {&rows.load, &rows.save, &rows.paint, &rows.paintAgain, &rows.replace, &rows.replaceQuarter})
        row->Print();
    return 0;
}

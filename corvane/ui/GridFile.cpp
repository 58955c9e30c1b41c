// The grid's delimited text files: every row a line of its texts, the
// heading row first.  Saving writes a temporary file beside the target and
// then puts it in the target's place, so a failed save leaves the old file.
#include "corvane/platform/FileReplace.h"
#include "corvane/ui/GridColumnSizer.h"
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Whether a code page gives every 7-bit byte as the character of the same
// number (the code pages of the C runtime's locales do), so that a line of
// such bytes is widened by a copy.
bool KeepsAscii(UINT codePage)
{
    char bytes[127];
    wchar_t wide[127];
    for (int i = 0; i < 127; ++i) bytes[i] = static_cast<char>(i + 1);
    if (::MultiByteToWideChar(codePage, 0, bytes, 127, wide, 127) != 127) return false;
    for (int i = 0; i < 127; ++i)
        if (wide[i] != static_cast<wchar_t>(i + 1)) return false;
    return true;
}

// The first line feed of data[0, count), or null: eight bytes at a time (the
// run-time's memchr goes byte by byte).
const char* FindLineFeed(const char* data, size_t count)
{
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t word;
        std::memcpy(&word, data + i, sizeof word);
        word ^= kOnes * '\n';
        if (((word - kOnes) & ~word & kHighs) != 0) break;
    }
    for (; i < count; ++i)
        if (data[i] == '\n') return data + i;
    return nullptr;
}

// The lines of a text-mode file as the class library's ReadString gives
// them (a line ends at a line feed, a carriage return right before it is
// dropped, a lone one stays), scanned in the file's own buffer and each
// converted through the text code page as a whole.
class LineSource
{
public:
    explicit LineSource(CStdioFile& file)
        : m_file(file), m_codePage(ClTextCodePage()), m_copyAscii(KeepsAscii(m_codePage))
    {
    }

    // The next line, ended by a NUL; false after the last.
    bool Next(std::vector<wchar_t>& line)
    {
        m_bytes.clear();
        const char* bytes = nullptr;
        size_t size = 0;
        bool any = false, ended = false;
        const char* data = nullptr;
        for (UINT count; !ended && (count = m_file.PeekBuffered(&data)) > 0;) {
            const char* feed = FindLineFeed(data, count);
            const size_t taken = feed ? static_cast<size_t>(feed - data) : count;
            ended = feed != nullptr;
            if (!any && ended) {
                // The whole line lies in the buffer: it is read in place.
                // It stays there until the next look at the buffer.
                bytes = data;
                size = taken;
            } else {
                m_bytes.append(data, taken);
            }
            any = true;
            m_file.SkipBuffered(static_cast<UINT>(feed ? taken + 1 : taken));
        }
        if (!any) return false;
        if (!bytes) {
            bytes = m_bytes.data();
            size = m_bytes.size();
        }
        if (ended && size > 0 && bytes[size - 1] == '\r') --size;
        Widen(bytes, size, line);
        return true;
    }

private:
    void Widen(const char* bytes, size_t size, std::vector<wchar_t>& line) const
    {
        line.resize(size + 1);
        unsigned char high = 0;
        if (m_copyAscii) {
            const auto* in = reinterpret_cast<const unsigned char*>(bytes);
            for (size_t i = 0; i < size; ++i) {
                high |= in[i];
                line[i] = in[i];
            }
        }
        int n = static_cast<int>(size);
        if (!m_copyAscii || high >= 0x80) {
            // A character never takes more wide characters than bytes.
            n = size > 0 ? ClMultiByteToWideInto(bytes, static_cast<int>(size), m_codePage, line.data(),
                                                 static_cast<int>(size))
                         : 0;
            if (n == 0 && size > 0) {
                n = ::MultiByteToWideChar(m_codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
                line.resize(static_cast<size_t>(n) + 1);
                if (n > 0) ::MultiByteToWideChar(m_codePage, 0, bytes, static_cast<int>(size), line.data(), n);
            }
        }
        line.resize(static_cast<size_t>(n) + 1);
        line[static_cast<size_t>(n)] = 0;
    }

    CStdioFile& m_file;
    const UINT m_codePage;
    const bool m_copyAscii;
    std::string m_bytes;
};

// The first comma of [p, end), or end: four characters at a time.
wchar_t* NextComma(wchar_t* p, wchar_t* end)
{
    constexpr uint64_t kOnes = 0x0001000100010001ull;
    constexpr uint64_t kHighs = 0x8000800080008000ull;
    for (; end - p >= 4; p += 4) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        word ^= kOnes * L',';
        if (((word - kOnes) & ~word & kHighs) != 0) break;
    }
    for (; p < end; ++p)
        if (*p == L',') return p;
    return end;
}

// Splits a line at every comma, in place: each comma becomes the end of its
// field.  Fields may be empty, and an empty line is one empty field.
void SplitAtCommas(std::vector<wchar_t>& line, std::vector<const wchar_t*>& fields)
{
    fields.clear();
    wchar_t* p = line.data();
    wchar_t* const end = p + line.size() - 1;
    fields.push_back(p);
    while ((p = NextComma(p, end)) != end) {
        *p++ = 0;
        fields.push_back(p);
    }
}

void ShowError(HWND owner, const wchar_t* text) { ClMessageBox(owner, text, L"TAVIX", MB_OK | MB_ICONINFORMATION); }

} // namespace

BOOL tkxGridCtrl::Save(const wchar_t* path, const wchar_t* separator)
{
    const CString target = path ? path : L"";
    const CString between = separator ? separator : L"";
    if (!tkx_ReadOnlyTargetText(target).IsEmpty()) {
        ShowError(m_hWnd, tkx_SaveFailureText(target, L"无法保存列表内容!"));
        return FALSE;
    }
    const CString temp = tkx_TempFileBeside(target);
    if (temp.IsEmpty()) {
        CFileException error(CFileException::OsErrorToException(static_cast<LONG>(::GetLastError())),
                             static_cast<LONG>(::GetLastError()), target);
        error.ReportError();
        return FALSE;
    }

    CStdioFile file;
    CFileException error;
    if (!file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::typeText, &error)) {
        ::DeleteFileW(temp);
        error.m_strFileName = target;
        error.ReportError();
        return FALSE;
    }
    bool written = false;
    try {
        CString line, copy;
        for (int row = 0; row < m_nRows; ++row) {
            line.Empty();
            for (int col = 0; col < m_nCols; ++col) {
                line += CellText(row, col, copy);
                line += col + 1 < m_nCols ? between : CString(L"\n");
            }
            file.WriteString(line);
        }
        file.Close();
        written = true;
    } catch (CFileException* e) {
        file.Abort();
        e->Delete();
    }
    if (!written || !tkx_ReplaceByTemporary(temp, target)) {
        ::DeleteFileW(temp);
        ShowError(m_hWnd, tkx_SaveFailureText(target, L"无法保存列表内容!"));
        return FALSE;
    }
    return TRUE;
}

void tkxGridCtrl::AppendReadRow(const std::vector<const wchar_t*>& fields, ColumnSizer& sizer)
{
    // A grid Load has emptied has no selection, current cell, open editor
    // or drawing to keep up with: the row and its cells are made as they
    // are, each cell with its text.
    const int row = m_nRows;
    const GRID_ROW* above = row > 0 ? m_RowData[row - 1] : nullptr;
    const wchar_t* heading = fields[0];
    m_arRowHeights.Insert(row, sizer.HeadingHeight(heading, static_cast<int>(std::wcslen(heading))));
    auto* cells = new GRID_ROW;
    m_RowData.Add(cells);
    ++m_nRows;
    cells->SetSize(m_nCols);
    CGridCell** place = cells->GetData();
    const int filled = std::min(static_cast<int>(fields.size()), m_nCols);
    for (int col = 0; col < m_nCols; ++col) {
        // The format of the cell above, as CreateCell gives it.
        UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (row > 0) {
            const CGridCell* over = above ? above->GetData()[col] : nullptr;
            format = over ? over->nFormat : 0;
        }
        CGridCell* cell = place[col] = new CGridCell(m_Logfont, format);
        if (col < filled) cell->szText = fields[static_cast<size_t>(col)];
    }
    m_bModified = TRUE;
    sizer.MeasureRowInGridFont(row);
}

BOOL tkxGridCtrl::Load(const wchar_t* path)
{
    // A grid that cannot be edited would refuse every row: nothing is read.
    if (!m_bEditable) return FALSE;

    CStdioFile file;
    if (!file.Open(path ? path : L"", CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) {
        CFileException(CFileException::genericException, -1, path).ReportError();
        return FALSE;
    }
    DeleteAllItems();

    // Rows go in without drawing; the window repaints once at the end.
    const BOOL allowDraw = m_bAllowDraw;
    m_bAllowDraw = FALSE;
    BOOL result = TRUE;
    // The columns are sized as AutoSizeColumns sizes them.  The library's
    // own grids measure each row as it is read, while its cells are at hand,
    // instead of reading them all again at the end.
    std::unique_ptr<ColumnSizer> sizer;
    try {
        LineSource lines(file);
        std::vector<wchar_t> line;
        std::vector<const wchar_t*> fields;
        if (lines.Next(line)) {
            SplitAtCommas(line, fields);
            for (const wchar_t* field : fields) InsertColumn(field, DT_CENTER | DT_VCENTER | DT_SINGLELINE, -1);
            sizer = std::make_unique<ColumnSizer>(*this);
            if (sizer->Ready()) sizer->MeasureRow(0);
            // The library's own grids take each row straight into new cells.
            const bool direct = sizer->Ready();
            while (lines.Next(line)) {
                SplitAtCommas(line, fields);
                if (direct) {
                    AppendReadRow(fields, *sizer);
                    continue;
                }
                const int row = InsertRow(fields[0], -1);
                if (row < 0) continue;
                const int count = std::min(static_cast<int>(fields.size()), m_nCols);
                for (int col = 1; col < count; ++col) SetItemText(row, col, fields[static_cast<size_t>(col)]);
                if (sizer->Ready()) sizer->MeasureRow(row);
            }
        }
    } catch (CFileException* e) {
        e->Delete();
        ShowError(m_hWnd, L"载入列表数据时出错!");
        result = FALSE;
    }
    file.Abort();
    m_bAllowDraw = allowDraw;
    if (result) {
        if (sizer && sizer->Ready() && sizer->Rows() == m_nRows) {
            sizer->Apply();
        } else {
            sizer.reset();
            AutoSizeColumns();
        }
    }
    if (m_bAllowDraw && m_hWnd) {
        ResetScrollBars();
        Invalidate();
    }
    return result;
}

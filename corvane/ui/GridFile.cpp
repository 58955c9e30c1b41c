// The grid's delimited text files: every row a line of its texts, the
// heading row first.  Saving writes a temporary file beside the target and
// then puts it in the target's place, so a failed save leaves the old file.
#include "corvane/road/RoadFiles.h"
#include "corvane/ui/GridCtrl.h"
#include <cstring>
#include <string>
#include <vector>

namespace {

// The lines of a text-mode file as the class library's ReadString gives
// them (a line ends at a line feed, a carriage return right before it is
// dropped, a lone one stays), scanned in the file's own buffer and each
// converted through the text code page as a whole.
class LineSource
{
public:
    explicit LineSource(CStdioFile& file) : m_file(file) {}

    // The next line, ended by a NUL; false after the last.
    bool Next(std::vector<wchar_t>& line)
    {
        m_bytes.clear();
        bool any = false, ended = false;
        const char* data = nullptr;
        for (UINT count; !ended && (count = m_file.PeekBuffered(&data)) > 0;) {
            any = true;
            const auto* feed = static_cast<const char*>(std::memchr(data, '\n', count));
            const size_t taken = feed ? static_cast<size_t>(feed - data) : count;
            m_bytes.append(data, taken);
            m_file.SkipBuffered(static_cast<UINT>(feed ? taken + 1 : taken));
            ended = feed != nullptr;
        }
        if (!any) return false;
        if (ended && !m_bytes.empty() && m_bytes.back() == '\r') m_bytes.pop_back();
        const int size = static_cast<int>(m_bytes.size());
        const UINT codePage = ClTextCodePage();
        line.resize(m_bytes.size() + 1);
        int n = size > 0 ? ClMultiByteToWideInto(m_bytes.data(), size, codePage, line.data(), size) : 0;
        if (n == 0 && size > 0) {
            n = ::MultiByteToWideChar(codePage, 0, m_bytes.data(), size, nullptr, 0);
            line.resize(static_cast<size_t>(n) + 1);
            if (n > 0) ::MultiByteToWideChar(codePage, 0, m_bytes.data(), size, line.data(), n);
        }
        line.resize(static_cast<size_t>(n) + 1);
        line[static_cast<size_t>(n)] = 0;
        return true;
    }

private:
    CStdioFile& m_file;
    std::string m_bytes;
};

// Splits a line at every comma, in place: each comma becomes the end of its
// field.  Fields may be empty, and an empty line is one empty field.
void SplitAtCommas(std::vector<wchar_t>& line, std::vector<const wchar_t*>& fields)
{
    fields.clear();
    wchar_t* field = line.data();
    fields.push_back(field);
    for (wchar_t* p = field; p < line.data() + line.size() - 1; ++p)
        if (*p == L',') {
            *p = 0;
            fields.push_back(p + 1);
        }
}

void ShowError(HWND owner, const wchar_t* text) { ClMessageBox(owner, text, L"TAVIX", MB_OK | MB_ICONINFORMATION); }

} // namespace

BOOL tkxGridCtrl::Save(const wchar_t* path, const wchar_t* separator)
{
    const CString target = path ? path : L"";
    const CString between = separator ? separator : L"";
    const CString temp = road_files::TempFileBeside(target);
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
    if (!written || !road_files::ReplaceFileWith(temp, target)) {
        ::DeleteFileW(temp);
        ShowError(m_hWnd, L"无法保存列表内容!");
        return FALSE;
    }
    return TRUE;
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
    try {
        LineSource lines(file);
        std::vector<wchar_t> line;
        std::vector<const wchar_t*> fields;
        if (lines.Next(line)) {
            SplitAtCommas(line, fields);
            for (const wchar_t* field : fields) InsertColumn(field, DT_CENTER | DT_VCENTER | DT_SINGLELINE, -1);
            while (lines.Next(line)) {
                SplitAtCommas(line, fields);
                const int row = InsertRow(fields[0], -1);
                if (row < 0) continue;
                const int count = std::min(static_cast<int>(fields.size()), m_nCols);
                for (int col = 1; col < count; ++col) SetItemText(row, col, fields[static_cast<size_t>(col)]);
            }
        }
    } catch (CFileException* e) {
        e->Delete();
        ShowError(m_hWnd, L"载入列表数据时出错!");
        result = FALSE;
    }
    file.Abort();
    m_bAllowDraw = allowDraw;
    if (result) AutoSizeColumns();
    if (m_bAllowDraw && m_hWnd) {
        ResetScrollBars();
        Invalidate();
    }
    return result;
}

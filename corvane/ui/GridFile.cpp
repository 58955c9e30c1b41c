// The grid's delimited text files: every row a line of its texts, the
// heading row first.  Saving writes a temporary file beside the target and
// then puts it in the target's place, so a failed save leaves the old file.
#include "corvane/road/RoadFiles.h"
#include "corvane/ui/GridCtrl.h"

namespace {

// Splits a line at every comma; fields may be empty, and an empty line is
// one empty field.
void SplitAtCommas(const CString& line, std::vector<CString>& fields)
{
    fields.clear();
    const std::wstring& text = line.str();
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(L',', start);
        if (comma == std::wstring::npos) {
            fields.emplace_back(text.substr(start));
            return;
        }
        fields.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
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
        CString line;
        for (int row = 0; row < m_nRows; ++row) {
            line.Empty();
            for (int col = 0; col < m_nCols; ++col) {
                line += GetItemText(row, col);
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
        CString line;
        std::vector<CString> fields;
        if (file.ReadString(line)) {
            SplitAtCommas(line, fields);
            for (const CString& field : fields) InsertColumn(field, DT_CENTER | DT_VCENTER | DT_SINGLELINE, -1);
            while (file.ReadString(line)) {
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

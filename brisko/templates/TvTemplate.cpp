#include "brisko/templates/TvTemplate.h"
#include "classlib/TempFile.h"
#include "corvane/base/TextLines.h"

const wchar_t kTemplateLoaded[] = L"文件结束";

CTvTemplate::~CTvTemplate() = default;

CString CTvTemplate::Validate(const CSlopeLineArray& lines) const
{
    CString scratch;
    for (INT_PTR i = 0; i < lines.GetSize(); ++i) {
        const CString result = lines[i].WriteTypLine(scratch);
        if (result != kLineWritten)
            return ClFormat(L"验证第%d条边坡线设置时, 发生错误!\n\n%s", static_cast<int>(i + 1), result.GetString());
    }
    return CString();
}

CString CTvTemplate::Save(const CSlopeLineArray& lines, const CString& folder) const
{
    if (m_sFileName.IsEmpty()) return L"未定义边坡模板文件名, 无法保存模板!";
    const CString problem = Validate(lines);
    if (!problem.IsEmpty()) return problem;

    // The lines go into a new file beside the target first.
    const CString path = folder + L"\\" + m_sFileName;
    const CString temporary = ClMakeTempFile(folder, L"TYP");
    if (temporary.IsEmpty()) return L"无法打开";
    CStdioFile file;
    if (!file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::typeText)) {
        ::DeleteFileW(temporary);
        return L"无法打开";
    }
    CString result = kLineWritten;
    try {
        CString line;
        for (INT_PTR i = 0; i < lines.GetSize() && result == kLineWritten; ++i) {
            const CString written = lines[i].WriteTypLine(line);
            if (written != kLineWritten)
                result = ClFormat(L"保存第%d条边坡线数据时, 发生错误!\n\n%s", static_cast<int>(i + 1), written.GetString());
            else
                file.WriteString(line);
        }
        if (result == kLineWritten) file.Close();
    } catch (CException* e) {
        e->Delete();
        result = ClFormat(L"写入文件<%s>时出错!", path.GetString());
    }
    if (result != kLineWritten) {
        file.Abort();
        ::DeleteFileW(temporary);
        return result;
    }
    if (!::MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temporary);
        return ClFormat(L"无法替换文件<%s>!", path.GetString());
    }
    return kLineWritten;
}

CString CTvTemplate::Load(CSlopeLineArray& lines, const CString& folder) const
{
    if (m_sFileName.IsEmpty()) return L"未定义边坡模板文件名, 无法装载模板!";
    const CString path = folder + L"\\" + m_sFileName;
    CFileFind find;
    const BOOL found = find.FindFile(path);
    find.Close();
    if (!found) return L"文件未找到";
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) return L"无法打开";

    CSlopeLine working;
    working.SetStartPoint(sSketchPoint{1.0f, -1.0f});
    CString result = kTemplateLoaded;
    try {
        CString text;
        int lineNo = 0;
        for (;;) {
            const int read = tkx_ReadNextStringST(&file, text, lineNo);
            if (read == 0) break;
            if (read < 0) {
                result = ClFormat(L"第%d行: 读取文件时出错!", lineNo);
                break;
            }
            if (text.GetLength() < 2 || text.Left(2) == L"\\\\") continue;
            const CString decoded = working.ReadTypLine(text);
            working.CalcSketch();
            if (decoded != kLineRead) {
                result = ClFormat(L"第%d行: %s", lineNo, decoded.GetString());
                break;
            }
            lines.Add(working);
            working.SetStartPoint(working.m_ptEnd);
        }
    } catch (CException* e) {
        e->Delete();
        result = L"读取文件时出错!";
    }
    file.Abort();
    return result;
}

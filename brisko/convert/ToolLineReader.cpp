#include "brisko/convert/ToolLineReader.h"
#include "corvane/base/TextLines.h"

ToolLineReader::~ToolLineReader() { Close(); }

void ToolLineReader::Close()
{
    if (m_open) m_file.Abort();
    m_open = false;
}

BOOL ToolLineReader::Open(const CString& path)
{
    m_lineNo = 0;
    if (path.IsEmpty()) return FALSE;
    m_open = m_file.Open(path, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite) != FALSE;
    return m_open;
}

int ToolLineReader::Next(CString& line)
{
    if (!m_open) return 0;
    try {
        return tkx_ReadNextStringST(&m_file, line, m_lineNo);
    } catch (CFileException* e) {
        e->Delete();
        return -1;
    }
}

int ToolLineReader::Split(const CString& line, CStringArray& tokens)
{
    tokens.RemoveAll();
    return tkx_DivideString(line, tokens);
}

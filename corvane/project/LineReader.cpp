#include "corvane/project/LineReader.h"
#include "corvane/geometry/NumberText.h"

#include <algorithm>
#include <cwctype>

namespace {

// A field of this many characters or more makes the splitter give up.
constexpr ptrdiff_t kFieldLimit = 65535;

// The C library's white space among the 7-bit characters, the ones a line
// is trimmed of before it is widened.
struct AsciiBlanks {
    bool blank[128];
    AsciiBlanks()
    {
        for (int c = 0; c < 128; ++c) blank[c] = std::iswspace(static_cast<wint_t>(c)) != 0;
    }
};

bool IsAsciiBlank(char c)
{
    static const AsciiBlanks blanks;
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 128 && blanks.blank[u];
}

// Widens the bytes of a line from the ANSI code page into line, trimmed.
// 7-bit text (the usual data line) is widened by a plain copy.  No lead
// byte of a double-byte character is a blank, and no trail byte is one, so
// trimming bytes first is safe.
void WidenTrimmed(const char* bytes, size_t length, CString& line)
{
    size_t first = 0;
    size_t last = length;
    while (first < last && IsAsciiBlank(bytes[first])) ++first;
    while (last > first && IsAsciiBlank(bytes[last - 1])) --last;
    const int n = static_cast<int>(last - first);
    if (n == 0) {
        line.Empty();
        return;
    }
    bool ascii = true;
    for (size_t i = first; i < last && ascii; ++i) ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    wchar_t* out = line.GetBufferSetLength(n);
    if (ascii) {
        for (int i = 0; i < n; ++i) out[i] = static_cast<wchar_t>(bytes[first + i]);
        line.ReleaseBuffer(n);
        return;
    }
    // A character never takes more wide characters than bytes.
    const int widened = MultiByteToWideChar(CP_ACP, 0, bytes + first, n, out, n);
    line.ReleaseBuffer(widened);
    line.Trim();
}

// Whether bytes begin, after blanks, with "//".
bool BeginsComment(const char* bytes, size_t length)
{
    size_t i = 0;
    while (i < length && IsAsciiBlank(bytes[i])) ++i;
    return i + 1 < length && bytes[i] == '/' && bytes[i + 1] == '/';
}

bool IsFieldSeparator(wchar_t c) { return c == L' ' || c == L'\t' || c == L','; }
bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

} // namespace

namespace text_lines {

DataLineReader::DataLineReader(CStdioFile& file) : m_file(&file), m_limit(kFileLineBytes), m_countEnd(true) {}

DataLineReader::DataLineReader(CArchive& archive)
    : m_archive(&archive), m_limit(kArchiveLineBytes), m_countEnd(false)
{
}

UINT DataLineReader::Peek(const char** data)
{
    if (m_file) return m_file->PeekBuffered(data);
    const BYTE* bytes = nullptr;
    const UINT n = m_archive->PeekBuffered(&bytes);
    *data = reinterpret_cast<const char*>(bytes);
    return n;
}

void DataLineReader::Skip(UINT count)
{
    if (m_file)
        m_file->SkipBuffered(count);
    else
        m_archive->SkipBuffered(count);
}

bool DataLineReader::ReadPhysicalLine(size_t& length, bool& zeroByte)
{
    m_bytes.clear();
    length = 0;
    zeroByte = false;
    bool any = false;
    for (;;) {
        const char* data = nullptr;
        const UINT n = Peek(&data);
        if (n == 0) return any;
        any = true;
        UINT i = 0;
        for (; i < n; ++i) {
            const unsigned char c = static_cast<unsigned char>(data[i]);
            if (c > '\r') continue;
            if (c == '\n' || c == '\r') break;
            if (c == 0) zeroByte = true;
        }
        // Only the bytes up to the limit are kept: a longer line is a bad
        // line whatever follows.
        const size_t room = length < m_limit ? m_limit - length : 0;
        m_bytes.append(data, std::min<size_t>(i, room));
        length += i;
        if (i == n) {
            Skip(n);
            continue;
        }
        const bool carriageReturn = data[i] == '\r';
        const bool lineFeedFollows = i + 1 < n && data[i + 1] == '\n';
        const bool atChunkEnd = i + 1 == n;
        Skip(i + 1);
        // CR LF is one line end; a CR alone ends the line as well.
        if (carriageReturn) {
            if (lineFeedFollows) {
                Skip(1);
            } else if (atChunkEnd) {
                const char* next = nullptr;
                if (Peek(&next) > 0 && next[0] == '\n') Skip(1);
            }
        }
        return true;
    }
}

bool DataLineReader::Next(CString& line, int& lineNo)
{
    m_fault = Fault::none;
    for (;;) {
        size_t length = 0;
        bool zeroByte = false;
        if (!ReadPhysicalLine(length, zeroByte)) {
            if (m_countEnd) ++lineNo;
            // No skipped blank or comment text is left behind to pass for data.
            line.Empty();
            return false;
        }
        ++lineNo;
        Fault fault = Fault::none;
        if (zeroByte)
            fault = Fault::zeroByte;
        else if (length > m_limit && !BeginsComment(m_bytes.data(), m_bytes.size()))
            fault = Fault::tooLong;
        if (fault != Fault::none) {
            m_fault = fault;
            m_faultLine = lineNo;
            line.Empty();
            return false;
        }
        if (length > m_limit) continue;   // an over-long comment
        WidenTrimmed(m_bytes.data(), m_bytes.size(), line);
        if (line.IsEmpty()) continue;
        if (line.GetLength() == 1) return true;
        if (line[0] == L'/' && line[1] == L'/') continue;
        return true;
    }
}

CString DataLineReader::FaultText() const
{
    if (m_fault == Fault::zeroByte) return L"该行含有空字符(0), 不是文本数据!";
    return ClFormat(L"该行长度超过%d个字节!", static_cast<int>(m_limit));
}

CString DataLineReader::FailureText() const
{
    const CFile* source = m_file ? m_file : m_archive->GetFile();
    const CString path = source ? source->GetFilePath() : CString();
    return ClFormat(L"读文件<%s>第%d行出错: %s", path.GetString(), m_faultLine, FaultText().GetString());
}

int Field::Find(wchar_t ch) const
{
    const size_t at = View().find(ch);
    return at == std::wstring_view::npos ? -1 : static_cast<int>(at);
}

int FieldList::Divide(const wchar_t* text, size_t length)
{
    m_fields.clear();
    if (!text || length == 0 || *text == 0) return -1;
    m_text.assign(text, length);
    wchar_t* const base = &m_text[0];
    wchar_t* const end = base + length;
    wchar_t* p = base;
    // Each field ends in a zero character written over the separator after
    // it (the copy ends in one already).
    for (;;) {
        while (p < end && IsFieldSeparator(*p)) ++p;
        if (p == end || *p == 0) return 0;
        if (IsLineBreak(*p)) return *p;
        wchar_t* const start = p;
        while (p < end && *p != 0 && !IsFieldSeparator(*p) && !IsLineBreak(*p)) {
            ++p;
            if (p - start >= kFieldLimit) return -1;
        }
        m_fields.emplace_back(static_cast<int>(start - base), static_cast<int>(p - start));
        if (p == end || *p == 0) return 0;
        const wchar_t stop = *p;
        *p = 0;
        if (IsLineBreak(stop)) return p + 1 < end && p[1] != 0 ? stop : 0;
        ++p;
    }
}

Field FieldList::operator[](INT_PTR i) const
{
    if (i < 0 || i >= GetSize()) AfxThrowInvalidArgException();
    const std::pair<int, int>& f = m_fields[static_cast<size_t>(i)];
    return Field(m_text.data() + f.first, f.second);
}

bool ReadNumber(std::wstring_view text, double& value)
{
    return number_text::ReadNumber(text.data(), text.size(), value);
}

} // namespace text_lines

#include "corvane/base/LineReader.h"
#include "corvane/base/NumberText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <type_traits>

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
    bool operator()(char c) const
    {
        const unsigned char u = static_cast<unsigned char>(c);
        return u < 128 && blank[u];
    }
};

const AsciiBlanks& Blanks()
{
    static const AsciiBlanks blanks;
    return blanks;
}

// Widens the bytes of a line from the ANSI code page into line, trimmed.
// 7-bit text (the usual data line) is widened by a plain copy.  No lead
// byte of a double-byte character is a blank, and no trail byte is one, so
// trimming bytes first is safe.
void WidenTrimmed(const char* bytes, size_t length, CString& line)
{
    const AsciiBlanks& isBlank = Blanks();
    size_t first = 0;
    size_t last = length;
    while (first < last && isBlank(bytes[first])) ++first;
    while (last > first && isBlank(bytes[last - 1])) --last;
    const int n = static_cast<int>(last - first);
    if (n == 0) {
        line.Empty();
        return;
    }
    const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes + first);
    wchar_t* out = line.GetBufferSetLength(n);
    unsigned char high = 0;
    for (int i = 0; i < n; ++i) {
        high |= in[i];
        out[i] = static_cast<wchar_t>(in[i]);
    }
    if (high < 0x80) {
        line.ReleaseBuffer(n);
        return;
    }
    // A character never takes more wide characters than bytes.
    const int widened = MultiByteToWideChar(CP_ACP, 0, bytes + first, n, out, n);
    line.ReleaseBuffer(widened);
    line.Trim();
}

// Whether no byte of the text has its high bit set.  Eight bytes at a time.
bool IsSevenBit(const char* bytes, size_t length)
{
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    uint64_t any = 0;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        any |= word;
    }
    for (; i < length; ++i) any |= static_cast<unsigned char>(bytes[i]);
    return (any & kHighs) == 0;
}

// Index of the first byte of data[from, n) that is a line feed, a carriage
// return or zero; n when there is none.  Eight bytes at a time: only a word
// holding a byte below 14 is looked at byte by byte.
UINT FindLineStop(const char* data, UINT from, UINT n)
{
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    UINT i = from;
    for (;;) {
        while (i + 8 <= n) {
            uint64_t word;
            std::memcpy(&word, data + i, sizeof word);
            if (((word - kOnes * 14) & ~word & kHighs) != 0) break;
            i += 8;
        }
        const UINT stop = std::min(n, i + 8);
        for (; i < stop; ++i) {
            const unsigned char c = static_cast<unsigned char>(data[i]);
            if (c == '\n' || c == '\r' || c == 0) return i;
        }
        if (i >= n) return n;
    }
}

// Whether bytes begin, after blanks, with "//".
bool BeginsComment(const char* bytes, size_t length)
{
    const AsciiBlanks& isBlank = Blanks();
    size_t i = 0;
    while (i < length && isBlank(bytes[i])) ++i;
    return i + 1 < length && bytes[i] == '/' && bytes[i + 1] == '/';
}

bool IsFieldSeparator(wchar_t c) { return c == L' ' || c == L'\t' || c == L','; }
bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

// Whether a character ends a field: a separator, a line break or zero.
bool EndsField(wchar_t c)
{
    return c <= L',' && (c == L' ' || c == L',' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0);
}

// Copies the start of a field, four characters at a time, for as long as
// none of the four can end it (every character that ends a field is at most
// ','); the caller copies the rest character by character.
void CopyFieldStart(const wchar_t*& p, const wchar_t* limit, wchar_t*& out)
{
    constexpr uint64_t kLanes = 0x0001000100010001ull;
    constexpr uint64_t kHighs = 0x8000800080008000ull;
    while (limit - p >= 4) {
        uint64_t four;
        std::memcpy(&four, p, sizeof four);
        if (((four - kLanes * (L',' + 1)) & ~four & kHighs) != 0) break;
        std::memcpy(out, &four, sizeof four);
        p += 4;
        out += 4;
    }
}

// The first byte of [p, limit) that ends a field, or limit.  Eight bytes at
// a time while none of the eight can end one (every byte that ends a field
// is at most ','; the lowest byte flagged below ',' + 1 is the first such
// byte of the word, and the rest is looked at byte by byte).
const char* FieldEnd(const char* p, const char* limit)
{
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    for (;;) {
        while (limit - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, sizeof word);
            const uint64_t low = (word - kOnes * (',' + 1)) & ~word & kHighs;
            if (low != 0) {
                p += __builtin_ctzll(low) / 8;
                break;
            }
            p += 8;
        }
        if (p == limit) return p;
        if (EndsField(static_cast<unsigned char>(*p))) return p;
        if (limit - p < 8) {
            while (p < limit && !EndsField(static_cast<unsigned char>(*p))) ++p;
            return p;
        }
        ++p;
    }
}

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
    m_line = nullptr;
    m_lineLength = 0;
    length = 0;
    zeroByte = false;
    bool any = false;
    for (;;) {
        const char* data = nullptr;
        const UINT n = Peek(&data);
        if (n == 0) break;
        any = true;
        UINT i = FindLineStop(data, 0, n);
        while (i < n && data[i] == 0) {
            zeroByte = true;
            i = FindLineStop(data, i + 1, n);
        }
        // Only the bytes up to the limit are kept: a longer line is a bad
        // line whatever follows.
        const size_t keep = std::min<size_t>(i, length < m_limit ? m_limit - length : 0);
        const bool firstChunk = length == 0 && m_bytes.empty();
        length += i;
        if (i == n) {
            m_bytes.append(data, keep);
            Skip(n);
            continue;
        }
        const bool carriageReturn = data[i] == '\r';
        const bool atChunkEnd = i + 1 == n;
        // A line met whole in the buffer is used where it lies, unless the
        // buffer is to be refilled to look past a CR at its end.
        if (firstChunk && !(carriageReturn && atChunkEnd)) {
            m_line = data;
            m_lineLength = keep;
        } else {
            m_bytes.append(data, keep);
        }
        // CR LF is one line end; a CR alone ends the line as well.
        const bool lineFeedFollows = carriageReturn && !atChunkEnd && data[i + 1] == '\n';
        Skip(lineFeedFollows ? i + 2 : i + 1);
        if (carriageReturn && atChunkEnd) {
            const char* next = nullptr;
            if (Peek(&next) > 0 && next[0] == '\n') Skip(1);
        }
        break;
    }
    if (!m_line) {
        m_line = m_bytes.data();
        m_lineLength = m_bytes.size();
    }
    return any;
}

bool DataLineReader::Next(CString& line, int& lineNo) { return NextLine(line, lineNo, true, nullptr); }

bool DataLineReader::Next(CString& line, std::string_view& bytes, int& lineNo)
{
    bytes = std::string_view();
    return NextLine(line, lineNo, true, &bytes);
}

bool DataLineReader::NextAnyLine(CString& line, int& lineNo) { return NextLine(line, lineNo, false, nullptr); }

bool DataLineReader::NextLine(CString& line, int& lineNo, bool dataOnly, std::string_view* bytes)
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
        else if (length > m_limit && (!dataOnly || !BeginsComment(m_line, m_lineLength)))
            fault = Fault::tooLong;
        if (fault != Fault::none) {
            m_fault = fault;
            m_faultLine = lineNo;
            line.Empty();
            return false;
        }
        if (length > m_limit) continue;   // an over-long comment
        if (bytes) {
            // Trimmed as WidenTrimmed trims; 7-bit text widens to the same
            // characters, so the data-line rules below read the same.
            const AsciiBlanks& isBlank = Blanks();
            const char* first = m_line;
            const char* last = m_line + m_lineLength;
            while (first < last && isBlank(*first)) ++first;
            while (last > first && isBlank(last[-1])) --last;
            const size_t n = static_cast<size_t>(last - first);
            if (IsSevenBit(first, n)) {
                if (n == 0) continue;
                if (n >= 2 && first[0] == '/' && first[1] == '/') continue;
                line.Empty();
                *bytes = std::string_view(first, n);
                return true;
            }
        }
        WidenTrimmed(m_line, m_lineLength, line);
        if (!dataOnly) return true;
        const wchar_t* text = line.GetString();
        if (text[0] == 0) continue;
        if (text[1] == 0) return true;
        if (text[0] == L'/' && text[1] == L'/') continue;
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

// The fields are copied as they are found, each followed by a zero
// character; together they never take more room than the text and its end.
void FieldList::Reserve(size_t length)
{
    if (length < kInlineText) {
        m_text = m_inlineText;
    } else {
        m_longText.resize(length);
        m_text = &m_longText[0];
    }
}

namespace {

// A character of 7-bit text as a wide one.
inline wchar_t Wide(char c) { return static_cast<unsigned char>(c); }
inline wchar_t Wide(wchar_t c) { return c; }

} // namespace

// Wide text, or 7-bit text (a line as DataLineReader hands its bytes over)
// widened as its fields are scanned, in one pass.
template <class Char>
int FieldList::DivideText(const Char* text, size_t length)
{
    m_count = 0;
    m_fields = m_inlineFields;
    if (!text || length == 0 || *text == 0) return -1;
    Reserve(length);
    wchar_t* const base = m_text;
    wchar_t* out = base;
    const Char* p = text;
    const Char* const end = text + length;
    for (;;) {
        while (p < end && IsFieldSeparator(Wide(*p))) ++p;
        if (p == end || *p == 0) return 0;
        if (IsLineBreak(Wide(*p))) return Wide(*p);
        const Char* const start = p;
        const Char* const limit = end - start > kFieldLimit ? start + kFieldLimit : end;
        wchar_t* const field = out;
        if constexpr (std::is_same_v<Char, wchar_t>) CopyFieldStart(p, limit, out);
        while (p < limit && !EndsField(Wide(*p))) *out++ = Wide(*p++);
        if (p - start >= kFieldLimit) return -1;
        *out++ = 0;
        AddField(static_cast<int>(field - base), static_cast<int>(p - start));
        if (p == end || *p == 0) return 0;
        const wchar_t stop = Wide(*p++);
        if (IsLineBreak(stop)) return p < end && *p != 0 ? stop : 0;
    }
}

int FieldList::Divide(const wchar_t* text, size_t length) { return DivideText(text, length); }

int FieldList::Divide(std::string_view bytes) { return DivideText(bytes.data(), bytes.size()); }

void FieldList::AddMoreField(int offset, int length)
{
    if (m_count == kInlineFields) m_moreFields.assign(m_inlineFields, m_inlineFields + kInlineFields);
    m_moreFields.resize(static_cast<size_t>(m_count));
    m_moreFields.push_back({offset, length});
    m_fields = m_moreFields.data();
    ++m_count;
}

bool WideLineFields::Number(int i, double& value) const { return ReadNumber(m_fields[i], value); }

int ByteFieldList::Divide(const char* text, size_t length)
{
    m_count = 0;
    m_moreFields.clear();
    m_text = text;
    if (!text || length == 0 || *text == 0) return -1;
    const char* p = text;
    const char* const end = text + length;
    for (;;) {
        while (p < end && IsFieldSeparator(static_cast<unsigned char>(*p))) ++p;
        if (p == end || *p == 0) return 0;
        if (IsLineBreak(static_cast<unsigned char>(*p))) return static_cast<unsigned char>(*p);
        const char* const start = p;
        const char* const limit = end - start > kFieldLimit ? start + kFieldLimit : end;
        p = FieldEnd(p, limit);
        if (p - start >= kFieldLimit) return -1;
        AddField(static_cast<size_t>(start - text), static_cast<size_t>(p - start));
        if (p == end || *p == 0) return 0;
        const unsigned char stop = static_cast<unsigned char>(*p++);
        if (IsLineBreak(stop)) return p < end && *p != 0 ? stop : 0;
    }
}

void ByteFieldList::AddField(size_t offset, size_t length)
{
    if (m_count < kInlineFields) {
        m_inlineFields[m_count++] = {offset, length};
        return;
    }
    m_moreFields.push_back({offset, length});
    ++m_count;
}

std::string_view ByteFieldList::View(int i) const
{
    if (i < 0 || i >= m_count) AfxThrowInvalidArgException();
    const Span& span = i < kInlineFields ? m_inlineFields[i] : m_moreFields[static_cast<size_t>(i - kInlineFields)];
    return std::string_view(m_text + span.offset, span.length);
}

bool ByteFieldList::Number(int i, double& value) const
{
    const std::string_view field = View(i);
    return number_text::ReadNumber(field.data(), field.size(), value);
}

CString ByteFieldList::Text(int i) const
{
    const std::string_view field = View(i);
    return ClMultiByteToWide(field.data(), static_cast<int>(field.size()), CP_ACP);
}

bool ReadNumber(std::wstring_view text, double& value)
{
    return number_text::ReadNumber(text.data(), text.size(), value);
}

} // namespace text_lines

#include "corvane/project/TextLines.h"
#include <cwctype>
#include <string>

namespace {

// Longest line kept, in bytes, for each kind of source.  A physical line that
// is longer is cut there: the bytes beyond the limit are read and dropped up
// to the line feed, so the next call starts at the next physical line and the
// counter still counts one line.  A double-byte character split by the cut is
// dropped whole.
constexpr size_t kArchiveLineBytes = 1023;
constexpr size_t kFileLineBytes = 65535;

// A token of this many characters or more makes the splitter give up.
constexpr ptrdiff_t kTokenLimit = 65535;

// Drops a lead byte left without its trail byte at the end of a cut line.
void DropSplitCharacter(std::string& bytes)
{
    size_t i = 0;
    while (i < bytes.size())
        i += IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(bytes[i])) ? 2 : 1;
    if (i > bytes.size()) bytes.pop_back();
}

// Reads one physical line, without its line feed, keeping at most maxBytes
// bytes.  Returns false when the source ended before any byte was read.
template <class ReadByte>
bool ReadPhysicalLine(ReadByte& readByte, size_t maxBytes, std::string& bytes)
{
    bytes.clear();
    bool any = false;
    bool cut = false;
    char c = 0;
    while (readByte(c)) {
        any = true;
        if (c == '\n') break;
        if (bytes.size() < maxBytes)
            bytes.push_back(c);
        else
            cut = true;
    }
    if (cut) DropSplitCharacter(bytes);
    return any;
}

// The reading procedure shared by both sources.
template <class ReadByte>
int ReadDataLine(ReadByte readByte, size_t maxBytes, bool countEnd, CString& line, int& lineNo)
{
    std::string bytes;
    for (;;) {
        if (!ReadPhysicalLine(readByte, maxBytes, bytes)) {
            if (countEnd) ++lineNo;
            // No skipped blank or comment text is left behind to pass for data.
            line.Empty();
            return 0;
        }
        line = ClMultiByteToWide(bytes.data(), static_cast<int>(bytes.size()), CP_ACP);
        ++lineNo;
        line.Trim();
        if (line.IsEmpty()) continue;
        if (line.GetLength() == 1) return 1;
        if (line[0] == L'/' && line[1] == L'/') continue;
        return 1;
    }
}

bool IsFieldSeparator(wchar_t c) { return c == L' ' || c == L'\t' || c == L','; }
bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

bool IsBlank(wchar_t c) { return iswspace(c) != 0; }

} // namespace

int tkx_ReadNextStringST(CStdioFile* file, CString& line, int& lineNo)
{
    if (!file) return 0;
    auto readByte = [file](char& c) { return file->Read(&c, 1) == 1; };
    return ReadDataLine(readByte, kFileLineBytes, true, line, lineNo);
}

int tkx_ReadNextString(CArchive* ar, CString& line, int& lineNo)
{
    if (!ar) return 0;
    auto readByte = [ar](char& c) { return ar->Read(&c, 1) == 1; };
    return ReadDataLine(readByte, kArchiveLineBytes, false, line, lineNo);
}

int tkx_DivideString(const wchar_t* text, CStringArray& tokens)
{
    if (!text || !*text) return -1;
    tokens.RemoveAll();
    const wchar_t* p = text;
    for (;;) {
        while (IsFieldSeparator(*p)) ++p;
        if (*p == 0) return 0;
        if (IsLineBreak(*p)) return *p;
        const wchar_t* start = p;
        while (*p != 0 && !IsFieldSeparator(*p) && !IsLineBreak(*p)) {
            ++p;
            if (p - start >= kTokenLimit) return -1;
        }
        tokens.Add(CString(start, static_cast<int>(p - start)));
        if (*p == 0) return 0;
        if (IsLineBreak(*p)) return p[1] != 0 ? *p : 0;
    }
}

int tkx_SplitString(const wchar_t* text, const wchar_t* separator, CStringArray& pieces)
{
    pieces.RemoveAll();
    CString sepText(separator);
    sepText.Trim();
    if (sepText.IsEmpty()) {
        pieces.Add(CString(text));
        return 1;
    }
    CString whole(text);
    whole.Trim();
    const std::wstring& s = whole.str();
    const std::wstring& sep = sepText.str();

    // Positions walk forward through the text once; the pieces are the only
    // copies made.
    auto trimmed = [&s](size_t from, size_t to) {
        while (from < to && IsBlank(s[from])) ++from;
        while (to > from && IsBlank(s[to - 1])) --to;
        return CString(s.substr(from, to - from));
    };
    size_t pos = 0;
    while (pos < s.size()) {
        size_t hit = s.find(sep, pos);
        if (hit == std::wstring::npos) {
            pieces.Add(trimmed(pos, s.size()));
            break;
        }
        pieces.Add(trimmed(pos, hit));
        pos = hit + sep.size();
        // Separators that follow at once give no empty piece between them.
        // Only whole separators are skipped: dropping every following character
        // that merely occurs in the separator would eat data ("-5" after "->").
        while (s.compare(pos, sep.size(), sep) == 0) pos += sep.size();
    }
    return static_cast<int>(pieces.GetSize());
}

int tkx_IsIncludeI(CArray<int, int>& values, int value)
{
    const int n = static_cast<int>(values.GetSize());
    for (int i = 0; i < n; ++i)
        if (values[i] == value) return i;
    return -1;
}

int tkx_IsIncludeD(CArray<double, double>& values, double value, double tolerance)
{
    if (!(tolerance >= 1e-10)) tolerance = 1e-10;
    const int n = static_cast<int>(values.GetSize());
    for (int i = 0; i < n; ++i) {
        const double e = values[i];
        if (e - tolerance < value && value < e + tolerance) return i;
    }
    return -1;
}

int tkx_IsIncludeS(CStringArray& texts, const wchar_t* text, int flag)
{
    if (!text) text = L"";
    const int n = static_cast<int>(texts.GetSize());
    for (int i = 0; i < n; ++i) {
        const CString& t = texts[i];
        if ((flag == 1 ? t.CompareNoCase(text) : t.Compare(text)) == 0) return i;
    }
    return -1;
}

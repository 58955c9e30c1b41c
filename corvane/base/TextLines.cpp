#include "corvane/base/TextLines.h"
#include "corvane/base/LineReader.h"

#include <cwchar>
#include <cwctype>
#include <string>

namespace {

bool IsBlank(wchar_t c) { return iswspace(c) != 0; }

// The exported result of a reader: 1 with a data line, 0 at the end, -1 at
// a bad line.
template <class Source> int ReadNext(Source& source, CString& line, int& lineNo)
{
    text_lines::DataLineReader reader(source);
    if (reader.Next(line, lineNo)) return 1;
    return reader.Failed() ? -1 : 0;
}

} // namespace

int tkx_ReadNextStringST(CStdioFile* file, CString& line, int& lineNo)
{
    if (!file) return 0;
    return ReadNext(*file, line, lineNo);
}

int tkx_ReadNextString(CArchive* ar, CString& line, int& lineNo)
{
    if (!ar) return 0;
    return ReadNext(*ar, line, lineNo);
}

int tkx_DivideString(const wchar_t* text, CStringArray& tokens)
{
    if (!text || !*text) return -1;
    text_lines::FieldList fields;
    const int result = fields.Divide(text, std::wcslen(text));
    tokens.SetSize(fields.GetSize());
    for (INT_PTR i = 0; i < fields.GetSize(); ++i) tokens[i] = fields[i].Text();
    return result;
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

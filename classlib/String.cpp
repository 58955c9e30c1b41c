#include "String.h"
#include "Resources.h"
#include "Exceptions.h"
#include <algorithm>
#include <clocale>
#include <cstring>
#include <locale.h>
#include <cwctype>
#include <vector>

namespace {

// The Microsoft run-time's own wide formatters.  The compiler's C99 printf
// family reads "%s" in wide functions as a narrow string and prints special
// values differently; the system's texts are written for these.
using VsnwprintfFn = int(__cdecl*)(wchar_t*, size_t, const wchar_t*, va_list);
using VscwprintfFn = int(__cdecl*)(const wchar_t*, va_list);

struct MsvcrtFormatters {
    VsnwprintfFn vsnwprintf = nullptr;
    VscwprintfFn vscwprintf = nullptr;
    MsvcrtFormatters()
    {
        HMODULE crt = GetModuleHandleW(L"msvcrt.dll");
        if (!crt) crt = LoadLibraryW(L"msvcrt.dll");
        vsnwprintf = reinterpret_cast<VsnwprintfFn>(GetProcAddress(crt, "_vsnwprintf"));
        vscwprintf = reinterpret_cast<VscwprintfFn>(GetProcAddress(crt, "_vscwprintf"));
    }
};

const MsvcrtFormatters& Formatters()
{
    static MsvcrtFormatters f;
    return f;
}

std::wstring FormatToString(const wchar_t* format, va_list args)
{
    if (!format) return std::wstring();
    const MsvcrtFormatters& f = Formatters();
    va_list copy;
    va_copy(copy, args);
    int needed = f.vscwprintf(format, copy);
    va_end(copy);
    if (needed < 0) AfxThrowInvalidArgException();
    std::wstring out(static_cast<size_t>(needed) + 1, L'\0');
    va_copy(copy, args);
    f.vsnwprintf(&out[0], out.size(), format, copy);
    va_end(copy);
    out.resize(static_cast<size_t>(needed));
    return out;
}

bool InSet(const wchar_t* set, wchar_t ch)
{
    return set && ch != 0 && std::wcschr(set, ch) != nullptr;
}

} // namespace



UINT ClTextCodePage()
{
    unsigned int cp = ___lc_codepage_func();
    return cp ? cp : CP_ACP;
}

CString ClMultiByteToWide(const char* text, int length, UINT codePage)
{
    if (!text) return CString();
    if (length < 0) length = static_cast<int>(std::strlen(text));
    if (length == 0) return CString();
    int n = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, text, length, &out[0], n);
    return CString(out);
}

std::string ClWideToMultiByte(const wchar_t* text, int length, UINT codePage)
{
    if (!text) return std::string();
    if (length < 0) length = static_cast<int>(std::wcslen(text));
    if (length == 0) return std::string();
    int n = WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    if (n > 0) WideCharToMultiByte(codePage, 0, text, length, &out[0], n, nullptr, nullptr);
    return out;
}

int ClMultiByteToWideInto(const char* text, int length, UINT codePage, wchar_t* out, int capacity)
{
    if (!text || length <= 0 || !out || capacity <= 0) return 0;
    return MultiByteToWideChar(codePage, 0, text, length, out, capacity);
}

int ClWideToMultiByteInto(const wchar_t* text, int length, UINT codePage, char* out, int capacity)
{
    if (!text || length <= 0 || !out || capacity <= 0) return 0;
    return WideCharToMultiByte(codePage, 0, text, length, out, capacity, nullptr, nullptr);
}

CString::CString(const wchar_t* text) : m_s(text ? text : L"") {}
CString::CString(const wchar_t* text, int length)
{
    if (text && length > 0) m_s.assign(text, static_cast<size_t>(length));
}
CString::CString(wchar_t ch, int repeat)
{
    if (repeat > 0) m_s.assign(static_cast<size_t>(repeat), ch);
}
CString::CString(const char* text) : CString(ClMultiByteToWide(text, -1, CP_ACP)) {}
CString::CString(const char* text, int length) : CString(ClMultiByteToWide(text, length, CP_ACP)) {}

CString& CString::operator=(const wchar_t* text)
{
    m_s = text ? text : L"";
    return *this;
}
CString& CString::operator=(const char* text) { return *this = CString(text); }
CString& CString::operator=(wchar_t ch)
{
    m_s.assign(1, ch);
    return *this;
}
CString& CString::operator+=(const CString& text)
{
    m_s += text.m_s;
    return *this;
}
CString& CString::operator+=(const wchar_t* text)
{
    if (text) m_s += text;
    return *this;
}
CString& CString::operator+=(wchar_t ch)
{
    m_s += ch;
    return *this;
}
CString& CString::operator+=(const char* text) { return *this += CString(text); }

wchar_t CString::GetAt(int index) const
{
    if (index < 0 || index > GetLength()) AfxThrowInvalidArgException();
    return m_s.c_str()[index];
}

void CString::SetAt(int index, wchar_t ch)
{
    if (index < 0 || index >= GetLength()) AfxThrowInvalidArgException();
    m_s[static_cast<size_t>(index)] = ch;
}

void CString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list args) { m_s = FormatToString(format, args); }

void CString::AppendFormat(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CString::AppendFormatV(const wchar_t* format, va_list args) { m_s += FormatToString(format, args); }

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    int len = GetLength();
    if (first > len) first = len;
    if (count > len - first) count = len - first;
    return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const
{
    if (count < 0) count = 0;
    return CString(m_s.substr(0, static_cast<size_t>(std::min(count, GetLength()))));
}

CString CString::Right(int count) const
{
    if (count < 0) count = 0;
    int len = GetLength();
    if (count > len) count = len;
    return CString(m_s.substr(static_cast<size_t>(len - count)));
}

CString CString::SpanIncluding(const wchar_t* set) const
{
    size_t n = 0;
    while (n < m_s.size() && InSet(set, m_s[n])) ++n;
    return CString(m_s.substr(0, n));
}

CString CString::SpanExcluding(const wchar_t* set) const
{
    size_t n = 0;
    while (n < m_s.size() && !InSet(set, m_s[n])) ++n;
    return CString(m_s.substr(0, n));
}

CString CString::Tokenize(const wchar_t* tokens, int& start) const
{
    if (start < 0 || start >= GetLength()) {
        start = -1;
        return CString();
    }
    size_t from = static_cast<size_t>(start);
    while (from < m_s.size() && InSet(tokens, m_s[from])) ++from;
    if (from >= m_s.size()) {
        start = -1;
        return CString();
    }
    size_t to = from;
    while (to < m_s.size() && !InSet(tokens, m_s[to])) ++to;
    start = static_cast<int>(to + 1);
    return CString(m_s.substr(from, to - from));
}

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || start >= GetLength()) return -1;
    size_t p = m_s.find(ch, static_cast<size_t>(start));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CString::Find(const wchar_t* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength()) return -1;
    size_t p = m_s.find(sub, static_cast<size_t>(start));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t p = m_s.rfind(ch);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CString::FindOneOf(const wchar_t* set) const
{
    if (!set || !*set) return -1;
    size_t p = m_s.find_first_of(set);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int CString::Replace(wchar_t oldCh, wchar_t newCh)
{
    int n = 0;
    for (wchar_t& c : m_s)
        if (c == oldCh) {
            c = newCh;
            ++n;
        }
    return n;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText)
{
    if (!oldText || !*oldText) return 0;
    std::wstring from(oldText), to(newText ? newText : L"");
    std::wstring out;
    int n = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_s.find(from, pos);
        if (hit == std::wstring::npos) break;
        out.append(m_s, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++n;
    }
    if (n) {
        out.append(m_s, pos, std::wstring::npos);
        m_s.swap(out);
    }
    return n;
}

int CString::Remove(wchar_t ch)
{
    size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return static_cast<int>(before - m_s.size());
}

int CString::Insert(int index, wchar_t ch)
{
    if (index < 0) index = 0;
    if (index > GetLength()) index = GetLength();
    m_s.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const wchar_t* text)
{
    if (index < 0) index = 0;
    if (index > GetLength()) index = GetLength();
    if (text) m_s.insert(static_cast<size_t>(index), text);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index < 0) index = 0;
    if (count > 0 && index < GetLength()) m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

static bool IsBlank(wchar_t c) { return std::iswspace(c) != 0; }

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const wchar_t* set) { return TrimRight(set).TrimLeft(set); }

CString& CString::TrimLeft()
{
    size_t n = 0;
    while (n < m_s.size() && IsBlank(m_s[n])) ++n;
    m_s.erase(0, n);
    return *this;
}
CString& CString::TrimLeft(wchar_t ch)
{
    size_t n = 0;
    while (n < m_s.size() && m_s[n] == ch) ++n;
    m_s.erase(0, n);
    return *this;
}
CString& CString::TrimLeft(const wchar_t* set)
{
    size_t n = 0;
    while (n < m_s.size() && InSet(set, m_s[n])) ++n;
    m_s.erase(0, n);
    return *this;
}
CString& CString::TrimRight()
{
    size_t n = m_s.size();
    while (n > 0 && IsBlank(m_s[n - 1])) --n;
    m_s.resize(n);
    return *this;
}
CString& CString::TrimRight(wchar_t ch)
{
    size_t n = m_s.size();
    while (n > 0 && m_s[n - 1] == ch) --n;
    m_s.resize(n);
    return *this;
}
CString& CString::TrimRight(const wchar_t* set)
{
    size_t n = m_s.size();
    while (n > 0 && InSet(set, m_s[n - 1])) --n;
    m_s.resize(n);
    return *this;
}

CString& CString::MakeUpper()
{
    if (!m_s.empty()) CharUpperBuffW(&m_s[0], static_cast<DWORD>(m_s.size()));
    return *this;
}
CString& CString::MakeLower()
{
    if (!m_s.empty()) CharLowerBuffW(&m_s[0], static_cast<DWORD>(m_s.size()));
    return *this;
}
CString& CString::MakeReverse()
{
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

int CString::Compare(const wchar_t* other) const { return std::wcscmp(m_s.c_str(), other ? other : L""); }
int CString::CompareNoCase(const wchar_t* other) const { return _wcsicmp(m_s.c_str(), other ? other : L""); }

wchar_t* CString::GetBuffer()
{
    if (m_s.empty()) m_s.reserve(1);
    return &m_s[0];
}

wchar_t* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength()) {
        size_t old = m_s.size();
        m_s.resize(static_cast<size_t>(minLength));
        // keep the text zero-terminated where it ended
        if (old < m_s.size()) m_s[old] = L'\0';
    }
    return &m_s[0];
}

wchar_t* CString::GetBufferSetLength(int length)
{
    m_s.resize(static_cast<size_t>(std::max(length, 0)));
    return &m_s[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) newLength = static_cast<int>(wcsnlen(m_s.c_str(), m_s.size()));
    if (newLength > GetLength()) newLength = GetLength();
    m_s.resize(static_cast<size_t>(newLength));
}

BOOL CString::LoadString(UINT id, HINSTANCE caller)
{
    HINSTANCE order[32];
    int count = ClResourceSearchOrder(caller, order, 32);
    for (int i = 0; i < count; ++i) {
        const wchar_t* text = nullptr;
        int n = ::LoadStringW(order[i], id, reinterpret_cast<LPWSTR>(&text), 0);
        if (n > 0) {
            m_s.assign(text, static_cast<size_t>(n));
            return TRUE;
        }
    }
    return FALSE;
}

CString ClFormat(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    return text;
}

CString operator+(const CString& a, const CString& b) { return CString(a.str() + b.str()); }
CString operator+(const CString& a, const wchar_t* b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(const wchar_t* a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, wchar_t b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(wchar_t a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

#include "String.h"
#include "Resources.h"
#include "Exceptions.h"
#include <algorithm>
#include <clocale>
#include <cstring>
#include <locale.h>
#include <cwctype>
#include <climits>
#include <cstdint>
#include <string_view>
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

// Short texts are measured and copied here: the run-time's wcslen and
// memmove cost several times as much as the copy itself for the few
// characters of a field or a number.
size_t TextLength(const wchar_t* text)
{
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

// Copies n characters to `to`, which lies before `from` or apart from it.
void CopyForward(wchar_t* to, const wchar_t* from, size_t n)
{
    if (n > 32) {
        std::wmemmove(to, from, n);
        return;
    }
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        uint64_t four;
        std::memcpy(&four, from + i, sizeof four);
        std::memcpy(to + i, &four, sizeof four);
    }
    for (; i < n; ++i) to[i] = from[i];
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
    const int n = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    CString out;
    if (n > 0) MultiByteToWideChar(codePage, 0, text, length, out.GetBufferSetLength(n), n);
    return out;
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

// ---------------------------------------------------------------------------
// The storage.

void CString::InitFrom(const wchar_t* text, size_t length)
{
    SetLocalEmpty();
    Assign(text, length);
}

void CString::FreeHeap()
{
    delete[] m_heap.text;
    SetLocalEmpty();
}

void CString::Rebuild(size_t room, const wchar_t* head, size_t headLength, const wchar_t* tail, size_t tailLength)
{
    if (room > static_cast<size_t>(INT_MAX)) AfxThrowMemoryException();
    wchar_t* text = new wchar_t[room + 1];
    std::wmemcpy(text, head, headLength);
    if (tailLength) std::wmemcpy(text + headLength, tail, tailLength);
    text[headLength + tailLength] = 0;
    if (!IsLocal()) delete[] m_heap.text;
    m_heap.text = text;
    m_heap.length = headLength + tailLength;
    m_heap.capacity = room;
    m_local[kLocalRoom] = kOnHeap;
}

void CString::Reserve(size_t capacity, bool writable)
{
    const size_t have = Capacity();
    if (capacity <= have && !(writable && IsLocal() && capacity >= kLocalRoom)) return;
    // Growth by at least half again: text added piece by piece costs time
    // in proportion to its length.
    Rebuild(IsLocal() ? capacity : std::max(capacity, have + have / 2), GetString(), Size(), nullptr, 0);
}

void CString::Assign(const wchar_t* text, size_t length)
{
    // A text longer than the room cannot lie in this string.
    if (length > Capacity()) {
        Rebuild(length, text, length, nullptr, 0);
        return;
    }
    CopyForward(Data(), text, length);
    SetSize(length);
}

void CString::AssignText(const wchar_t* text)
{
    if (IsLocal()) {
        // A short text is copied as it is measured.  The text may lie in
        // this string, from the first character on: each character is read
        // before its place is written.
        size_t n = 0;
        for (; n < kLocalRoom && text[n]; ++n) m_local[n] = text[n];
        if (!text[n]) {
            SetSize(n);
            return;
        }
        // Longer than the room: it cannot lie in this string.
    }
    Assign(text, TextLength(text));
}

void CString::Append(const wchar_t* text, size_t length)
{
    if (length == 0) return;
    const size_t old = Size();
    if (old + length > Capacity()) {
        // The text may lie in this string: Rebuild copies it before the old
        // room goes.
        Rebuild(std::max(old + length, IsLocal() ? 2 * kLocalRoom : m_heap.capacity * 2), GetString(), old, text,
                length);
        return;
    }
    CopyForward(Data() + old, text, length);
    SetSize(old + length);
}

void CString::Splice(size_t at, size_t count, const wchar_t* text, size_t length)
{
    const size_t old = Size();
    const wchar_t* const begin = GetString();
    if (text && text >= begin && text < begin + old) {
        // Out of this string: copied first, as the edit moves it.
        const std::wstring copy(text, length);
        Splice(at, count, copy.data(), copy.size());
        return;
    }
    const size_t size = old - count + length;
    Reserve(size);
    wchar_t* data = Data();
    std::wmemmove(data + at + length, data + at + count, old - at - count);
    if (length) std::wmemcpy(data + at, text, length);
    SetSize(size);
}

// ---------------------------------------------------------------------------

CString::CString(const wchar_t* text)
{
    SetLocalEmpty();
    if (text) AssignText(text);
}
CString::CString(const wchar_t* text, int length)
{
    SetLocalEmpty();
    if (text && length > 0) Assign(text, static_cast<size_t>(length));
}
CString::CString(wchar_t ch, int repeat)
{
    SetLocalEmpty();
    if (repeat > 0) {
        Reserve(static_cast<size_t>(repeat));
        std::wmemset(Data(), ch, static_cast<size_t>(repeat));
        SetSize(static_cast<size_t>(repeat));
    }
}
CString::CString(const char* text) : CString(ClMultiByteToWide(text, -1, CP_ACP)) {}
CString::CString(const char* text, int length) : CString(ClMultiByteToWide(text, length, CP_ACP)) {}

CString& CString::operator=(const wchar_t* text)
{
    if (text)
        AssignText(text);
    else
        Empty();
    return *this;
}
CString& CString::operator=(const char* text) { return *this = CString(text); }
CString& CString::operator=(wchar_t ch)
{
    Assign(&ch, 1);
    return *this;
}
CString& CString::operator+=(const CString& text)
{
    Append(text.GetString(), text.Size());
    return *this;
}
CString& CString::operator+=(const wchar_t* text)
{
    if (text) Append(text, TextLength(text));
    return *this;
}
CString& CString::operator+=(wchar_t ch)
{
    Append(&ch, 1);
    return *this;
}
CString& CString::operator+=(const char* text) { return *this += CString(text); }

wchar_t CString::GetAt(int index) const
{
    if (index < 0 || index > GetLength()) AfxThrowInvalidArgException();
    return GetString()[index];
}

void CString::SetAt(int index, wchar_t ch)
{
    if (index < 0 || index >= GetLength()) AfxThrowInvalidArgException();
    Data()[index] = ch;
}

void CString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list args)
{
    const std::wstring text = FormatToString(format, args);
    Assign(text.data(), text.size());
}

void CString::AppendFormat(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CString::AppendFormatV(const wchar_t* format, va_list args)
{
    const std::wstring text = FormatToString(format, args);
    Append(text.data(), text.size());
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    int len = GetLength();
    if (first > len) first = len;
    if (count > len - first) count = len - first;
    return CString(GetString() + first, count);
}

CString CString::Left(int count) const
{
    if (count < 0) count = 0;
    return CString(GetString(), std::min(count, GetLength()));
}

CString CString::Right(int count) const
{
    if (count < 0) count = 0;
    int len = GetLength();
    if (count > len) count = len;
    return CString(GetString() + (len - count), count);
}

CString CString::SpanIncluding(const wchar_t* set) const
{
    const wchar_t* text = GetString();
    int n = 0;
    while (n < GetLength() && InSet(set, text[n])) ++n;
    return CString(text, n);
}

CString CString::SpanExcluding(const wchar_t* set) const
{
    const wchar_t* text = GetString();
    int n = 0;
    while (n < GetLength() && !InSet(set, text[n])) ++n;
    return CString(text, n);
}

CString CString::Tokenize(const wchar_t* tokens, int& start) const
{
    const int length = GetLength();
    if (start < 0 || start >= length) {
        start = -1;
        return CString();
    }
    const wchar_t* text = GetString();
    int from = start;
    while (from < length && InSet(tokens, text[from])) ++from;
    if (from >= length) {
        start = -1;
        return CString();
    }
    int to = from;
    while (to < length && !InSet(tokens, text[to])) ++to;
    start = to + 1;
    return CString(text + from, to - from);
}

namespace {

// The text of a string as a view, zero characters in it included.
std::wstring_view View(const CString& s) { return std::wstring_view(s.GetString(), static_cast<size_t>(s.GetLength())); }

int Index(size_t at) { return at == std::wstring_view::npos ? -1 : static_cast<int>(at); }

} // namespace

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || start >= GetLength()) return -1;
    return Index(View(*this).find(ch, static_cast<size_t>(start)));
}

int CString::Find(const wchar_t* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength()) return -1;
    return Index(View(*this).find(sub, static_cast<size_t>(start)));
}

int CString::ReverseFind(wchar_t ch) const { return Index(View(*this).rfind(ch)); }

int CString::FindOneOf(const wchar_t* set) const
{
    if (!set || !*set) return -1;
    return Index(View(*this).find_first_of(set));
}

int CString::Replace(wchar_t oldCh, wchar_t newCh)
{
    int n = 0;
    wchar_t* text = Data();
    for (size_t i = 0, length = Size(); i < length; ++i)
        if (text[i] == oldCh) {
            text[i] = newCh;
            ++n;
        }
    return n;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText)
{
    if (!oldText || !*oldText) return 0;
    const std::wstring_view from(oldText), to(newText ? newText : L"");
    const std::wstring_view text = View(*this);
    std::wstring out;
    int n = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = text.find(from, pos);
        if (hit == std::wstring_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
        ++n;
    }
    if (n) {
        out.append(text.substr(pos));
        Assign(out.data(), out.size());
    }
    return n;
}

int CString::Remove(wchar_t ch)
{
    wchar_t* text = Data();
    const size_t before = Size();
    size_t kept = 0;
    for (size_t i = 0; i < before; ++i)
        if (text[i] != ch) text[kept++] = text[i];
    SetSize(kept);
    return static_cast<int>(before - kept);
}

int CString::Insert(int index, wchar_t ch)
{
    if (index < 0) index = 0;
    if (index > GetLength()) index = GetLength();
    Splice(static_cast<size_t>(index), 0, &ch, 1);
    return GetLength();
}

int CString::Insert(int index, const wchar_t* text)
{
    if (index < 0) index = 0;
    if (index > GetLength()) index = GetLength();
    if (text) Splice(static_cast<size_t>(index), 0, text, std::wcslen(text));
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index < 0) index = 0;
    if (count > 0 && index < GetLength())
        Splice(static_cast<size_t>(index), std::min(static_cast<size_t>(count), Size() - static_cast<size_t>(index)),
               nullptr, 0);
    return GetLength();
}

static bool IsBlank(wchar_t c) { return std::iswspace(c) != 0; }

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const wchar_t* set) { return TrimRight(set).TrimLeft(set); }

namespace {

// How many characters at the start (end) of a text pass a test.
template <class Test> size_t LeadingCount(std::wstring_view text, Test test)
{
    size_t n = 0;
    while (n < text.size() && test(text[n])) ++n;
    return n;
}
template <class Test> size_t TrailingCount(std::wstring_view text, Test test)
{
    size_t n = 0;
    while (n < text.size() && test(text[text.size() - 1 - n])) ++n;
    return n;
}

} // namespace

CString& CString::TrimLeft()
{
    Splice(0, LeadingCount(View(*this), IsBlank), nullptr, 0);
    return *this;
}
CString& CString::TrimLeft(wchar_t ch)
{
    Splice(0, LeadingCount(View(*this), [ch](wchar_t c) { return c == ch; }), nullptr, 0);
    return *this;
}
CString& CString::TrimLeft(const wchar_t* set)
{
    Splice(0, LeadingCount(View(*this), [set](wchar_t c) { return InSet(set, c); }), nullptr, 0);
    return *this;
}
CString& CString::TrimRight()
{
    SetSize(Size() - TrailingCount(View(*this), IsBlank));
    return *this;
}
CString& CString::TrimRight(wchar_t ch)
{
    SetSize(Size() - TrailingCount(View(*this), [ch](wchar_t c) { return c == ch; }));
    return *this;
}
CString& CString::TrimRight(const wchar_t* set)
{
    SetSize(Size() - TrailingCount(View(*this), [set](wchar_t c) { return InSet(set, c); }));
    return *this;
}

CString& CString::MakeUpper()
{
    if (Size()) CharUpperBuffW(Data(), static_cast<DWORD>(Size()));
    return *this;
}
CString& CString::MakeLower()
{
    if (Size()) CharLowerBuffW(Data(), static_cast<DWORD>(Size()));
    return *this;
}
CString& CString::MakeReverse()
{
    std::reverse(Data(), Data() + Size());
    return *this;
}

int CString::Compare(const wchar_t* other) const { return std::wcscmp(GetString(), other ? other : L""); }
int CString::CompareNoCase(const wchar_t* other) const { return _wcsicmp(GetString(), other ? other : L""); }

// A buffer handed out for writing never reaches the last local place, which
// holds the length of a short text (see Reserve).
wchar_t* CString::GetBuffer()
{
    Reserve(Size(), true);
    return Data();
}

wchar_t* CString::GetBuffer(int minLength)
{
    const size_t old = Size();
    if (minLength > GetLength()) {
        Reserve(static_cast<size_t>(minLength), true);
        // The new places hold zero characters: the text still ends where
        // it ended.
        std::wmemset(Data() + old, 0, static_cast<size_t>(minLength) - old);
        SetSize(static_cast<size_t>(minLength));
    } else {
        Reserve(old, true);
    }
    return Data();
}

wchar_t* CString::GetBufferSetLength(int length)
{
    const size_t n = static_cast<size_t>(std::max(length, 0));
    const size_t old = Size();
    Reserve(n, true);
    // New places hold zero characters, as a resized text's do.
    if (n > old) std::wmemset(Data() + old, 0, n - old);
    SetSize(n);
    return Data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) newLength = static_cast<int>(wcsnlen(GetString(), Size()));
    if (newLength > GetLength()) newLength = GetLength();
    SetSize(static_cast<size_t>(newLength));
}

BOOL CString::LoadString(UINT id, HINSTANCE caller)
{
    HINSTANCE order[32];
    int count = ClResourceSearchOrder(caller, order, 32);
    for (int i = 0; i < count; ++i) {
        const wchar_t* text = nullptr;
        int n = ::LoadStringW(order[i], id, reinterpret_cast<LPWSTR>(&text), 0);
        if (n > 0) {
            Assign(text, static_cast<size_t>(n));
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

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
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

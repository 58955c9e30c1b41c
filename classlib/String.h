// CString: the library's wide-character string.
#pragma once
#include "ClassLibDefs.h"
#include <string>

class CLASSLIB_API CString
{
public:
    CString() = default;
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    CString(const wchar_t* text);
    CString(const wchar_t* text, int length);
    CString(wchar_t ch, int repeat = 1);
    // 8-bit text in the system's ANSI code page.
    CString(const char* text);
    CString(const char* text, int length);
    CString(const std::wstring& text) : m_s(text) {}

    CString& operator=(const CString& other) = default;
    CString& operator=(CString&& other) noexcept = default;
    CString& operator=(const wchar_t* text);
    CString& operator=(const char* text);
    CString& operator=(wchar_t ch);

    CString& operator+=(const CString& text);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch);
    CString& operator+=(const char* text);

    operator const wchar_t*() const { return m_s.c_str(); }
    const wchar_t* GetString() const { return m_s.c_str(); }
    const std::wstring& str() const { return m_s; }

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t ch);
    wchar_t operator[](int index) const { return GetAt(index); }

    // Formatting with the Microsoft run-time's wide printf rules ("%s" is a
    // wide string, "%S" a narrow one).
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormat(const wchar_t* format, ...);
    void AppendFormatV(const wchar_t* format, va_list args);
    void Append(const wchar_t* text) { if (text) m_s += text; }
    void AppendChar(wchar_t ch) { m_s += ch; }

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const wchar_t* set) const;
    CString SpanExcluding(const wchar_t* set) const;
    CString Tokenize(const wchar_t* tokens, int& start) const;

    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* set) const;

    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(const wchar_t* oldText, const wchar_t* newText);
    int Remove(wchar_t ch);
    int Insert(int index, wchar_t ch);
    int Insert(int index, const wchar_t* text);
    int Delete(int index, int count = 1);

    CString& Trim();
    CString& Trim(wchar_t ch);
    CString& Trim(const wchar_t* set);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t ch);
    CString& TrimLeft(const wchar_t* set);
    CString& TrimRight();
    CString& TrimRight(wchar_t ch);
    CString& TrimRight(const wchar_t* set);

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    int Compare(const wchar_t* other) const;
    int CompareNoCase(const wchar_t* other) const;

    // Direct access to the characters; ReleaseBuffer(-1) takes the length up
    // to the first zero character.
    wchar_t* GetBuffer();
    wchar_t* GetBuffer(int minLength);
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    // From the string table of the module that asks, or of the next module
    // in the resource search order that has the string (Resources.h).
    BOOL LoadString(UINT id, HINSTANCE caller = ClCallerModule());

private:
    std::wstring m_s;
};

CLASSLIB_API CString operator+(const CString& a, const CString& b);
CLASSLIB_API CString operator+(const CString& a, const wchar_t* b);
CLASSLIB_API CString operator+(const wchar_t* a, const CString& b);
CLASSLIB_API CString operator+(const CString& a, wchar_t b);
CLASSLIB_API CString operator+(wchar_t a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
inline bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
inline bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return !(a == b); }
inline bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
inline bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

// A new string formatted as CString::Format does.
CLASSLIB_API CString ClFormat(const wchar_t* format, ...);

// 8-bit text conversions.  Every conversion between 8-bit and wide text in
// the library goes through these two functions.
CLASSLIB_API CString ClMultiByteToWide(const char* text, int length, UINT codePage);
CLASSLIB_API std::string ClWideToMultiByte(const wchar_t* text, int length, UINT codePage);
// The same conversions into the caller's buffer, for callers that convert
// many pieces (a file's lines) without allocating each one: the characters
// or bytes written, 0 for an empty text or one that does not fit `capacity`.
CLASSLIB_API int ClMultiByteToWideInto(const char* text, int length, UINT codePage, wchar_t* out, int capacity);
CLASSLIB_API int ClWideToMultiByteInto(const wchar_t* text, int length, UINT codePage, char* out, int capacity);
// The code page of the C run-time's character-type locale (for example 936
// after setlocale(LC_CTYPE, "chs")), or the ANSI code page under the "C"
// locale.  Text-mode files convert through it.
CLASSLIB_API UINT ClTextCodePage();

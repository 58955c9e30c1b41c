// CString: the library's wide-character string.
//
// A text of up to 15 characters is held in the object itself (the usual
// field, number or station text costs no allocation); a longer one in a
// block of the heap.  The object is 32 bytes either way.
#pragma once
#include "ClassLibDefs.h"
#include <cstring>
#include <string>

class CLASSLIB_API CString
{
public:
    CString() noexcept { SetLocalEmpty(); }
    CString(const CString& other)
    {
        if (other.IsLocal())
            std::memcpy(m_local, other.m_local, sizeof m_local);
        else
            InitFrom(other.m_heap.text, other.m_heap.length);
    }
    CString(CString&& other) noexcept
    {
        std::memcpy(m_local, other.m_local, sizeof m_local);
        other.SetLocalEmpty();
    }
    ~CString()
    {
        if (!IsLocal()) FreeHeap();
    }
    CString(const wchar_t* text);
    CString(const wchar_t* text, int length);
    CString(wchar_t ch, int repeat = 1);
    // 8-bit text in the system's ANSI code page.
    CString(const char* text);
    CString(const char* text, int length);
    CString(const std::wstring& text) { InitFrom(text.data(), text.size()); }

    CString& operator=(const CString& other)
    {
        if (this != &other) {
            if (IsLocal() && other.IsLocal())
                std::memcpy(m_local, other.m_local, sizeof m_local);
            else
                Assign(other.GetString(), other.Size());
        }
        return *this;
    }
    CString& operator=(CString&& other) noexcept
    {
        if (this != &other) {
            if (!IsLocal()) FreeHeap();
            std::memcpy(m_local, other.m_local, sizeof m_local);
            other.SetLocalEmpty();
        }
        return *this;
    }
    CString& operator=(const wchar_t* text);
    CString& operator=(const char* text);
    CString& operator=(wchar_t ch);

    CString& operator+=(const CString& text);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch);
    CString& operator+=(const char* text);

    operator const wchar_t*() const { return GetString(); }
    const wchar_t* GetString() const { return IsLocal() ? m_local : m_heap.text; }
    // A copy of the text (zero characters in it included).
    std::wstring str() const { return std::wstring(GetString(), Size()); }

    int GetLength() const { return static_cast<int>(Size()); }
    bool IsEmpty() const { return Size() == 0; }
    void Empty() { SetSize(0); }
    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t ch);
    wchar_t operator[](int index) const { return GetAt(index); }

    // Formatting with the Microsoft run-time's wide printf rules ("%s" is a
    // wide string, "%S" a narrow one).
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormat(const wchar_t* format, ...);
    void AppendFormatV(const wchar_t* format, va_list args);
    void Append(const wchar_t* text)
    {
        if (text) Append(text, std::wcslen(text));
    }
    void AppendChar(wchar_t ch) { Append(&ch, 1); }

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
    // A short text: its characters and end in m_local, and in the last
    // place kLocalRoom minus its length (0 for a text of kLocalRoom
    // characters, which is its end too).  A long text: m_heap, with kOnHeap
    // in that last place.
    static constexpr size_t kLocalRoom = 15;
    static constexpr wchar_t kOnHeap = 0xFFFF;
    struct Heap {
        wchar_t* text;
        size_t length;
        size_t capacity; // characters without the end
    };

    bool IsLocal() const { return m_local[kLocalRoom] != kOnHeap; }
    size_t Size() const { return IsLocal() ? kLocalRoom - m_local[kLocalRoom] : m_heap.length; }
    size_t Capacity() const { return IsLocal() ? kLocalRoom : m_heap.capacity; }
    wchar_t* Data() { return IsLocal() ? m_local : m_heap.text; }
    void SetLocalEmpty()
    {
        m_local[0] = 0;
        m_local[kLocalRoom] = static_cast<wchar_t>(kLocalRoom);
    }
    // The length within the capacity, with the end after it.
    void SetSize(size_t length)
    {
        if (IsLocal()) {
            m_local[length] = 0;
            m_local[kLocalRoom] = static_cast<wchar_t>(kLocalRoom - length);
        } else {
            m_heap.text[length] = 0;
            m_heap.length = length;
        }
    }
    void InitFrom(const wchar_t* text, size_t length);
    void FreeHeap();
    // A new heap block of `room` characters and the end, holding `head`
    // followed by `tail` (either may lie in the old text), in place of the
    // text.
    void Rebuild(size_t room, const wchar_t* head, size_t headLength, const wchar_t* tail, size_t tailLength);
    // Room for `capacity` characters and the end; the text is kept.  A
    // buffer handed out for writing keeps its last local place untouched:
    // `writable` asks for heap room unless the text and its end fit below
    // that place.
    void Reserve(size_t capacity, bool writable = false);
    void Assign(const wchar_t* text, size_t length);
    // The same for a text ended by a zero character.
    void AssignText(const wchar_t* text);
    void Append(const wchar_t* text, size_t length);
    // Replaces `count` characters at `at` by `length` characters of `text`
    // (which may lie in this string).
    void Splice(size_t at, size_t count, const wchar_t* text, size_t length);

    union {
        wchar_t m_local[kLocalRoom + 1];
        Heap m_heap;
    };
};

CLASSLIB_API CString operator+(const CString& a, const CString& b);
CLASSLIB_API CString operator+(const CString& a, const wchar_t* b);
CLASSLIB_API CString operator+(const wchar_t* a, const CString& b);
CLASSLIB_API CString operator+(const CString& a, wchar_t b);
CLASSLIB_API CString operator+(wchar_t a, const CString& b);

inline bool operator==(const CString& a, const CString& b)
{
    const int n = a.GetLength();
    return n == b.GetLength() && std::wmemcmp(a.GetString(), b.GetString(), static_cast<size_t>(n)) == 0;
}
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

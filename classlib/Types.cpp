#include "Types.h"
#include "Exceptions.h"
#include <string>

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst)
{
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = dst;
    m_time = _mktime64(&t);
    if (m_time == -1) AfxThrowInvalidArgException();
}

CTime::CTime(const SYSTEMTIME& st, int dst)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, dst)
{
}

CTime::CTime(const FILETIME& ft, int dst)
{
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st))
        AfxThrowInvalidArgException();
    *this = CTime(st, dst);
}

CTime CTime::GetCurrentTime() { return CTime(_time64(nullptr)); }

struct tm CTime::Local() const
{
    struct tm t = {};
    __time64_t copy = m_time;
    struct tm* p = _localtime64(&copy);
    if (p) t = *p;
    return t;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t = Local();
    st.wYear = static_cast<WORD>(t.tm_year + 1900);
    st.wMonth = static_cast<WORD>(t.tm_mon + 1);
    st.wDay = static_cast<WORD>(t.tm_mday);
    st.wHour = static_cast<WORD>(t.tm_hour);
    st.wMinute = static_cast<WORD>(t.tm_min);
    st.wSecond = static_cast<WORD>(t.tm_sec);
    st.wDayOfWeek = static_cast<WORD>(t.tm_wday);
    st.wMilliseconds = 0;
    return TRUE;
}

CString CTime::Format(const wchar_t* format) const
{
    if (!format) return CString();
    struct tm t = Local();
    // The run-time's wcsftime narrows the whole format through the C locale
    // and loses text outside it (Chinese literals among others): hand it one
    // directive at a time and copy the literal text ourselves.
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%' || !p[1]) {
            out += *p;
            continue;
        }
        std::wstring directive(L"%");
        if (p[1] == L'#' && p[2]) directive += *++p;
        directive += *++p;
        wchar_t buffer[256];
        size_t n = wcsftime(buffer, 256, directive.c_str(), &t);
        out.append(buffer, n);
    }
    return CString(out);
}

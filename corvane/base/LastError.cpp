#include "corvane/base/LastError.h"

namespace {

// The text itself lives in a function-local static, so that code running
// during the library's own start-up may set it no matter in which order the
// module's globals are constructed.
CString& LastErrorText()
{
    static CString text;
    return text;
}

// Creates the text when the library loads; it is destroyed when it unloads.
CString& g_lastErrorAtLoad = LastErrorText();

} // namespace

CString tkx_GetLastError()
{
    return LastErrorText();
}

void tkx_SetLastError(const wchar_t* text)
{
    LastErrorText() = text ? text : L"";
}

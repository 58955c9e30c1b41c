// Not built: the faults tools/lifetime-check must find.  If the checker no
// longer reports each of them, the check fails rather than pass blind.
#include "classlib/String.h"

#include <string>
#include <string_view>

std::wstring Copy(const CString& text);

// A view assigned from a returned string, used after the statement (the
// water-mark reader once read a stripped distance so).
int ViewOfAReturnedString(const CString& marked)
{
    std::wstring_view distance;
    distance = marked.str();
    return static_cast<int>(distance.size()); // lifetime-check: expected
}

// The same with the view made where it is declared.
int ViewMadeFromAReturnedString(const CString& text)
{
    const std::wstring_view view = Copy(text);
    return static_cast<int>(view.size()); // lifetime-check: expected
}

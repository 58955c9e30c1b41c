// The numeric sort key of a grid cell's text (internal to the library).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cwchar>

namespace grid_sort {

// The text as the C runtime's wcstod reads it (0 for a text that does not
// begin with a number), to the last bit.  The runtime converts to the
// nearest long double and rounds that to a double; the usual key, a signed
// decimal of at most 15 digits, is converted the same way without it: its
// digits and its power of ten are exact in a long double, so one division
// gives the runtime's long double.
inline double NumericKey(const wchar_t* text, size_t length)
{
    static const long double powers[] = {1e0L, 1e1L, 1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,
                                         1e8L, 1e9L, 1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L};
    const wchar_t* p = text;
    const wchar_t* const end = text + length;
    const bool negative = p < end && *p == L'-';
    if (p < end && (*p == L'-' || *p == L'+')) ++p;
    uint64_t mantissa = 0;
    int digits = 0, fraction = -1;
    for (; p < end && digits <= 15; ++p) {
        if (*p >= L'0' && *p <= L'9') {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - L'0');
            ++digits;
            if (fraction >= 0) ++fraction;
        } else if (*p == L'.' && fraction < 0) {
            fraction = 0;
        } else {
            break;
        }
    }
    if (p == end && digits > 0 && digits <= 15) {
        const double magnitude =
            static_cast<double>(static_cast<long double>(mantissa) / powers[fraction > 0 ? fraction : 0]);
        return negative ? -magnitude : magnitude;
    }
    return std::wcstod(text, nullptr);
}

} // namespace grid_sort

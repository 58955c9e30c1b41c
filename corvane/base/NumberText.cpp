#include "corvane/base/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>
#include <system_error>

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;
constexpr uint64_t kIntegerPowers[] = {1ull,
                                       10ull,
                                       100ull,
                                       1000ull,
                                       10000ull,
                                       100000ull,
                                       1000000ull,
                                       10000000ull,
                                       100000000ull,
                                       1000000000ull,
                                       10000000000ull,
                                       100000000000ull,
                                       1000000000000ull,
                                       10000000000000ull,
                                       100000000000000ull,
                                       1000000000000000ull,
                                       10000000000000000ull,
                                       100000000000000000ull,
                                       1000000000000000000ull,
                                       10000000000000000000ull};
constexpr uint64_t kLargestExactInteger = uint64_t(1) << 53;
// Significant digits gathered into the 64-bit mantissa.
constexpr int kMantissaDigits = 19;

template <class Char> bool IsDigit(Char c) { return c >= '0' && c <= '9'; }

// How many of the characters from q on are zeros, counted 64 bits at a time
// (eight 8-bit or four wide characters) while all of them are (the files
// write many: "%.20f" of a round value).
template <class Char> ptrdiff_t ZeroRun(const Char* q, const Char* end)
{
    static_assert(sizeof(Char) <= 2, "at least four characters in 64 bits");
    constexpr ptrdiff_t kStep = 8 / sizeof(Char);
    constexpr uint64_t kZeros = sizeof(Char) == 1 ? 0x3030303030303030ull : 0x0030003000300030ull;
    const Char* p = q;
    for (uint64_t word; end - p >= kStep; p += kStep) {
        std::memcpy(&word, p, sizeof word);
        if (word != kZeros) break;
    }
    while (p < end && *p == '0') ++p;
    return p - q;
}
template <class Char> bool IsBlankOrTab(Char c) { return c == ' ' || c == '\t'; }

// Narrow copy of the characters of a number, kept on the stack for the usual
// short ones.
class NarrowCopy
{
public:
    template <class Char> NarrowCopy(const Char* first, const Char* last, bool negative)
    {
        const size_t n = static_cast<size_t>(last - first) + (negative ? 1 : 0);
        char* out = n <= sizeof(m_local) ? m_local : (m_heap.resize(n), &m_heap[0]);
        m_first = out;
        if (negative) *out++ = '-';
        for (const Char* p = first; p < last; ++p) *out++ = static_cast<char>(*p);
        m_last = out;
    }
    const char* First() const { return m_first; }
    const char* Last() const { return m_last; }

private:
    char m_local[64];
    std::string m_heap;
    const char* m_first;
    const char* m_last;
};

// Exact conversion of a checked number text.  A result that does not fit is
// refused when it is too large; one that is too small is zero.
bool ConvertExact(const char* first, const char* last, std::chars_format format, bool tooLarge, double& value)
{
    double result = 0.0;
    const std::from_chars_result r = std::from_chars(first, last, result, format);
    if (r.ec == std::errc::result_out_of_range) {
        if (tooLarge) return false;
        result = *first == '-' ? -0.0 : 0.0;
    } else if (r.ec != std::errc() || !std::isfinite(result)) {
        return false;
    }
    value = result;
    return true;
}

template <class Char> bool ReadWholeNumber(const Char* p, const Char* end, double& value)
{
    while (p < end && IsBlankOrTab(*p)) ++p;
    while (end > p && IsBlankOrTab(end[-1])) --end;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const Char* const digits = p;

    // Digits, a point, digits, in one pass.  The mantissa gathers the digits
    // up to the last one that is not a zero ending the fraction (zeros that
    // end the fraction change nothing, "100.00000000000000000000" as some
    // writers put it), while they fit in kMantissaDigits; the quick
    // conversion below is taken only then.
    uint64_t mantissa = 0;
    ptrdiff_t kept = 0; // digits in the mantissa
    const Char* q = p;
    while (q < end && IsDigit(*q)) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*q++ - '0');
        ++kept;
    }
    const Char* const point = q;
    const ptrdiff_t wholeDigits = point - digits;
    bool fits = wholeDigits <= kMantissaDigits;
    ptrdiff_t fractionDigits = 0; // up to the last one that is not a zero
    ptrdiff_t anyFraction = 0;
    if (q < end && *q == '.') {
        const Char* const fraction = ++q;
        ptrdiff_t zeros = 0; // zeros met since the last other digit
        for (; q < end && IsDigit(*q); ++q) {
            if (*q == '0') {
                const ptrdiff_t run = ZeroRun(q, end);
                zeros += run;
                q += run - 1;
                continue;
            }
            if (kept + zeros + 1 > kMantissaDigits) fits = false;
            if (fits) mantissa = mantissa * kIntegerPowers[zeros + 1] + static_cast<unsigned>(*q - '0');
            kept += zeros + 1;
            fractionDigits += zeros + 1;
            zeros = 0;
        }
        anyFraction = q - fraction;
    }
    if (q != end || wholeDigits + anyFraction == 0) return false;

    // Both operands exact: one correctly rounded division is the exact
    // result.
    if (fits && mantissa <= kLargestExactInteger && fractionDigits <= kLargestExactPower) {
        const double magnitude = static_cast<double>(mantissa) / kExactPowers[fractionDigits];
        value = negative ? -magnitude : magnitude;
        return true;
    }
    bool wholePartNonZero = false;
    for (const Char* d = digits; d < point && !wholePartNonZero; ++d) wholePartNonZero = *d != '0';
    const NarrowCopy copy(digits, end, negative);
    return ConvertExact(copy.First(), copy.Last(), std::chars_format::fixed, wholePartNonZero, value);
}

} // namespace

namespace number_text {

bool ReadNumber(const wchar_t* text, size_t length, double& value)
{
    if (!text) return false;
    return ReadWholeNumber(text, text + length, value);
}

bool ReadNumber(const wchar_t* text, double& value)
{
    if (!text) return false;
    return ReadWholeNumber(text, text + std::wcslen(text), value);
}

bool ReadNumber(const char* text, size_t length, double& value)
{
    if (!text) return false;
    return ReadWholeNumber(text, text + length, value);
}

bool ReadLeadingNumber(const wchar_t* text, double& value)
{
    if (!text) return false;
    const wchar_t* p = text;
    while (*p && std::iswspace(*p)) ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') {
        negative = *p == L'-';
        ++p;
    }
    const wchar_t* const start = p;

    // The extent of the number, and the power of ten of its first
    // significant digit (to tell a value too large from one too small).
    int leadingPower = 0;
    bool significant = false;
    bool anyDigit = false;
    while (IsDigit(*p)) {
        anyDigit = true;
        if (*p != L'0') significant = true;
        if (significant) ++leadingPower;
        ++p;
    }
    if (*p == L'.') {
        ++p;
        while (IsDigit(*p)) {
            anyDigit = true;
            if (!significant) {
                --leadingPower;
                if (*p != L'0') significant = true;
            }
            ++p;
        }
    }
    if (!anyDigit) {
        value = 0.0;
        return true;
    }
    if (*p == L'e' || *p == L'E') {
        const wchar_t* q = p + 1;
        bool negativeExponent = false;
        if (*q == L'+' || *q == L'-') {
            negativeExponent = *q == L'-';
            ++q;
        }
        if (IsDigit(*q)) {
            long exponent = 0;
            for (; IsDigit(*q); ++q)
                if (exponent < 100000) exponent = exponent * 10 + (*q - L'0');
            leadingPower += static_cast<int>(negativeExponent ? -exponent : exponent);
            p = q;
        }
    }
    const NarrowCopy copy(start, p, negative);
    return ConvertExact(copy.First(), copy.Last(), std::chars_format::general, significant && leadingPower > 0,
                        value);
}

int WholePart(double value)
{
    if (!(value > static_cast<double>(INT_MIN))) return value < 0.0 ? INT_MIN : 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(value);
}

} // namespace number_text

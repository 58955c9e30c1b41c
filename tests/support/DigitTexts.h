// Decimal texts in every arrangement of digits around the borders of a
// quick number conversion (19 significant digits, 2^53, runs of zeros inside
// the fraction and at its end, no whole part, no fraction), from a fixed
// seed, so that a test meets the same texts on every run; with the exact
// value of a text and the bits of a double, for tests that compare a
// conversion with the exact one bit for bit.
#pragma once
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

namespace test_support {

class DigitTexts
{
public:
    explicit DigitTexts(uint64_t seed) : m_state(seed) {}

    // A number below n.
    int Next(int n)
    {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((m_state >> 33) % static_cast<uint64_t>(n));
    }

    // The next text: a sign on one text in four ("+", or "+" and "-" alike
    // when `minus`), fewer than `wholeLimit` whole digits, up to 25 fraction
    // digits and, on one text in three, up to 21 zeros after them.  The text
    // may hold no digit at all (".", "+").
    std::string Text(int wholeLimit, bool minus)
    {
        std::string text;
        if (Next(4) == 0) text += !minus || Next(2) == 0 ? "+" : "-";
        const int whole = Next(wholeLimit), fraction = Next(26), trailingZeros = Next(3) ? 0 : Next(22);
        const int zeroChance = Next(4); // of 4: how often a digit is a zero
        auto digit = [&] { return Next(4) < zeroChance ? '0' : static_cast<char>('1' + Next(9)); };
        for (int d = 0; d < whole; ++d) text += digit();
        if (fraction + trailingZeros > 0 || Next(2)) text += '.';
        for (int d = 0; d < fraction; ++d) text += digit();
        text += std::string(static_cast<size_t>(trailingZeros), '0');
        return text;
    }

    // The value of a text as the exact conversion reads it (a leading "+"
    // passed over); false for a text that is no number.
    static bool Exact(const std::string& text, double& value)
    {
        const char* digits = text.c_str() + (!text.empty() && text[0] == '+' ? 1 : 0);
        return std::from_chars(digits, text.c_str() + text.size(), value, std::chars_format::fixed).ec == std::errc();
    }

private:
    uint64_t m_state;
};

// The bits of a double, so that two values compare bit for bit.
inline uint64_t Bits(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace test_support

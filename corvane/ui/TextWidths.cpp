#include "corvane/ui/TextWidths.h"
#include <cstdint>
#include <cstring>

bool SameLogFont(const LOGFONTW& a, const LOGFONTW& b)
{
    static_assert(sizeof(LOGFONTW) % 4 == 0, "whole words");
    const auto* p = reinterpret_cast<const unsigned char*>(&a);
    const auto* q = reinterpret_cast<const unsigned char*>(&b);
    size_t i = 0;
    for (; i + 8 <= sizeof(LOGFONTW); i += 8) {
        uint64_t x, y;
        std::memcpy(&x, p + i, 8);
        std::memcpy(&y, q + i, 8);
        if (x != y) return false;
    }
    for (; i < sizeof(LOGFONTW); i += 4) {
        uint32_t x, y;
        std::memcpy(&x, p + i, 4);
        std::memcpy(&y, q + i, 4);
        if (x != y) return false;
    }
    return true;
}

bool TextWidths::IsFor(const LOGFONTW& font) const { return SameLogFont(m_font, font); }

SIZE TextWidths::Measure(HDC dc, const wchar_t* text, int length)
{
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, length, &size);
    return size;
}

// The table holds when characters of different kinds (digits, Latin
// letters and signs, Chinese characters and full-width signs) measure
// together as the sum of their widths, all at one height.
void TextWidths::Probe(HDC dc)
{
    m_mode = Mode::WholeTexts;
    m_height = static_cast<int>(Measure(dc, L"0", 1).cy);
    static const wchar_t* const pairs[] = {L"00", L"W.", L"iK", L"+-", L"中a", L"桩，", L"号1", L"  "};
    for (const wchar_t* pair : pairs) {
        const SIZE both = Measure(dc, pair, 2);
        const SIZE first = Measure(dc, pair, 1), second = Measure(dc, pair + 1, 1);
        if (both.cx != first.cx + second.cx || both.cy != m_height || first.cy != m_height || second.cy != m_height)
            return;
    }
    m_widths.assign(0x10000, -1);
    m_mode = Mode::Table;
}

SIZE TextWidths::Extent(HDC dc, HFONT font, const wchar_t* text, int length)
{
    // The device holds the font whenever something is measured.
    struct Selected {
        HDC dc;
        HFONT font;
        bool done = false;
        HDC operator()()
        {
            if (!done && ::GetCurrentObject(dc, OBJ_FONT) != font) ::SelectObject(dc, font);
            done = true;
            return dc;
        }
    } device{dc, font};
    if (m_mode == Mode::Unknown) Probe(device());
    if (m_mode != Mode::Table || length <= 0) return Measure(device(), text, length);
    // The usual text holds only characters measured before: summed in a
    // loop of its own, which stops at the first character without a width
    // (surrogates never get one).
    const int* const table = m_widths.data();
    long long width = 0;
    int i = 0;
    for (; i < length; ++i) {
        const int known = table[static_cast<unsigned short>(text[i])];
        if (known < 0) break;
        width += known;
    }
    for (; i < length; ++i) {
        const wchar_t c = text[i];
        if (c >= 0xD800 && c <= 0xDFFF) return Measure(device(), text, length);
        int& known = m_widths[static_cast<unsigned short>(c)];
        if (known < 0) known = static_cast<int>(Measure(device(), &c, 1).cx);
        width += known;
    }
    if (width > 0x7FFFFFFF) return Measure(device(), text, length);
    return SIZE{static_cast<LONG>(width), m_height};
}


// TextWidths: the extents of texts in one font, from a table of the widths
// of its characters (internal to the library).
//
// The platform's text extent of a single line is the sum of the advance
// widths of its characters (no kerning is applied) and the font's height, so
// one measure per distinct character gives the extent of every text.  Each
// character is measured the first time a text holds it.  A font for which two characters
// measured together do not give the sum of their widths, or whose
// characters differ in height (an overhang added once per text, say), is
// measured text by text, as is any text holding a surrogate.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <vector>

// Whether two fonts are the same, byte for byte.  Compared eight bytes at a
// time: the run-time's memcmp goes byte by byte, and a grid compares the
// font of every cell it measures.
bool SameLogFont(const LOGFONTW& a, const LOGFONTW& b);

class TextWidths
{
public:
    explicit TextWidths(const LOGFONTW& font) : m_font(font) {}

    const LOGFONTW& Font() const { return m_font; }
    bool IsFor(const LOGFONTW& font) const;

    // The extent GetTextExtentPoint32W gives the text on `dc` with `font`
    // (a font made from this LOGFONT), which is selected into `dc` when
    // something has to be measured.
    SIZE Extent(HDC dc, HFONT font, const wchar_t* text, int length);
    // The width Extent gives a text, from the table alone; false when the
    // font is not measured by its characters or one of the text's
    // characters has not been measured yet (Extent measures it).
    bool KnownWidth(const wchar_t* text, int length, int& width) const
    {
        if (m_mode != Mode::Table || length <= 0) return false;
        const int* const table = m_widths.data();
        long long sum = 0;
        for (int i = 0; i < length; ++i) {
            const int known = table[static_cast<unsigned short>(text[i])];
            if (known < 0) return false;
            sum += known;
        }
        if (sum > 0x7FFFFFFF) return false;
        width = static_cast<int>(sum);
        return true;
    }

private:
    enum class Mode { Unknown, Table, WholeTexts };
    static SIZE Measure(HDC dc, const wchar_t* text, int length);
    void Probe(HDC dc);

    LOGFONTW m_font;
    Mode m_mode = Mode::Unknown;
    int m_height = 0;
    std::vector<int> m_widths; // by character; -1 not measured yet
};

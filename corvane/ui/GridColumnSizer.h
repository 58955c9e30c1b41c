// tkxGridCtrl::ColumnSizer: the widths AutoSizeColumns gives the columns of
// one of the library's own grids (internal to the library), measured row by
// row: each column's width is the largest extent of its cells, as
// GetCellExtent measures them.  Load measures each row as it reads it, while
// its cells are at hand; AutoSizeColumns walks the rows as they lie in memory.
#pragma once
#include "corvane/ui/GridCtrl.h"

#include <vector>

class tkxGridCtrl::ColumnSizer
{
public:
    // Measures on the window's device context.  Not ready when the grid
    // measures its cells through an overridden GetCellExtent, has no window
    // or no columns.
    explicit ColumnSizer(tkxGridCtrl& grid);
    ~ColumnSizer();
    ColumnSizer(const ColumnSizer&) = delete;
    ColumnSizer& operator=(const ColumnSizer&) = delete;

    bool Ready() const { return m_dc != nullptr; }
    // Raises each column's width to the extent of the row's cell.
    void MeasureRow(int row);
    // The same for a row whose cells all hold the grid's own font (a row
    // Load has just made).
    void MeasureRowInGridFont(int row);
    // The height InsertRow gives a row of this heading: that of the text in
    // the grid's font made bold, with the margin.
    int HeadingHeight(const wchar_t* heading, int length);
    // How many rows were measured.
    int Rows() const { return m_rows; }
    // Gives each column its width, resetting the scroll bars after each as
    // AutoSizeColumn does; the device context is let go first.
    void Apply();

private:
    void ReleaseDevice();
    // The extent width of one cell; a missing cell measures as an empty one.
    int Width(const CGridCell* cell, bool fixed);

    tkxGridCtrl& m_grid;
    CDC* m_dc = nullptr;
    int m_saved = 0;
    std::vector<int> m_widths;
    int m_rows = 0;
    // The font of the cell measured before in the same row, with what it is
    // measured in: most cells share one.  Taken again for every row, since
    // the grid's fonts may be let go between rows.
    bool m_known = false;
    bool m_knownFixed = false;
    LOGFONTW m_knownFont{};
    HFONT m_font = nullptr;
    TextWidths* m_table = nullptr;
    // The grid's font as it is, and made bold, with their tables; found
    // the first time a row in the grid's font is measured.
    struct GridFont {
        HFONT font = nullptr;
        TextWidths* table = nullptr;
    };
    bool m_gridFonts = false;
    GridFont m_plain, m_bold;
    void FindGridFonts();
    int TextWidth(const GridFont& font, const CString& text);
};

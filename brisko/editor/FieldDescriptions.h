// What each data field of the suite's data files means: the description
// of the field under the caret by file type (the index in the file-style
// table), data line, kind code and field number; the cross-section that the
// caret stands in within a cross-section ground-line file; and the profile
// ground point of a ground-line line with its neighbours.
//
// Data lines are the lines that are neither empty (after trimming) nor
// comment lines ("//" after leading blanks and tabs).  Fields of a line are
// separated by runs of tabs, blanks and commas.
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/shell/MainFrm.h"

class CTvTextBuffer;

// The cross-section under the editor's caret, read by the cross-section
// page when it is told to redraw.
struct sHdxSection {
    short m_nFormat = 0;   // 0 unknown, 1 raised-rod relative, 2 "ABS", 3 "ABS1"
    CString m_SStation;    // the station line as typed
    CString m_SLeft;       // the left ground-line line
    CString m_SRight;      // the right ground-line line
    int m_iCaret = 0;      // 0 on the station line, column + 1 on the left line, -(column + 1) on the right
};
extern sHdxSection CurHdxSection;

// The lines the descriptions read.
class CFieldLines
{
public:
    explicit CFieldLines(CTvTextBuffer& buffer) : m_buffer(buffer) {}
    int Count() const;
    const wchar_t* Text(int line) const;
    int Length(int line) const;
    CString Line(int line) const;
    // Whether the line holds data (not empty after trimming, no comment).
    bool IsData(int line) const;
    bool IsComment(int line) const;
    // The nearest data line before / after `line`; -1 when there is none.
    int PreviousData(int line) const;
    int NextData(int line) const;

private:
    CTvTextBuffer& m_buffer;
};

// "//" after leading blanks and tabs; a line of fewer than two characters
// is never one.
bool IsCommentLine(const wchar_t* text, int length);
// The field number (from 1) at the column; 0 when the caret stands on a
// separator before the line's second field.
int FieldNumberAt(const wchar_t* text, int length, int column);
// The layout of a cross-section ground-line file from its first data line:
// 1 number text (also an empty one), 3 containing "ABS1", 2 containing
// "ABS", else 0 (the text upper-cased, trimmed of blanks and tabs).
int HdxFormatOf(const CString& firstLine);

// What the description of a field found besides its text.
struct FieldFindings {
    bool sectionChanged = false; // `section` holds the cross-section at the caret
    sHdxSection section;
};

// The description of field `field` (from 1) of `line` in a file of type
// `type`, the caret at `column`; empty when there is none.
CString DescribeField(int type, const CFieldLines& lines, int line, int column, int field, FieldFindings& findings);

// The ground point of a profile ground-line line and of the nearest data
// lines before and after it (comment and empty lines skipped); FALSE when
// the line is no ground point.  A neighbour that is missing or no ground
// point leaves its flag FALSE.
BOOL FindProfilePoints(const CFieldLines& lines, int line, sGroundPoint& point, sGroundPoint& previous,
                       BOOL& hasPrevious, sGroundPoint& next, BOOL& hasNext);

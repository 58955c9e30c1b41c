// One segment of a slope template: the straight piece of a fill or cut
// slope, berm, platform or ditch that the cross-section design hangs on a
// road side, with its end rule, its labels and stored values, and the
// schematic sketch the preview draws.  A template file (".TYP") holds one
// line of text per segment; WriteTypLine and ReadTypLine are its two
// directions.
//
// The sketch plane has y upwards; the subgrade edge sits at (1, -1), where
// the first segment of every template starts.  1 unit is 1 m where the
// segment's own values fix a length; what only the ground or a control file
// could give is drawn with a placeholder extent.
#pragma once
#include "classlib/ClassLib.h"

struct sSketchPoint
{
    float x = 0.0f;
    float y = 0.0f;
};

// out := from when |distance| < 0.000001, else from moved by distance in the
// direction angle (radians, counter-clockwise from +x).
void OffsetPoint(const sSketchPoint& from, double angle, double distance, sSketchPoint& out);

// The success texts callers compare against.
extern const wchar_t kSketchDone[];   // "计算结束"
extern const wchar_t kLineWritten[];  // "保存成功"
extern const wchar_t kLineRead[];     // "读取成功"

// Whether a file name can stand as one token of a template line: not empty,
// no blank, tab or comma (the reader splits on them) and not "NULL" (which
// stands for no file).
bool IsTypTokenName(const CString& name);

class CSlopeLine
{
public:
    CSlopeLine();
    CSlopeLine(const CSlopeLine& other) = default;
    CSlopeLine& operator=(const CSlopeLine& other) = default;
    virtual ~CSlopeLine();

    void SetStartPoint(const sSketchPoint& point) { m_ptStart = point; }
    // Computes m_ptEnd from m_ptStart and the parameters; sets m_bError and
    // m_sMessage and returns the message ("计算结束" when it went well).
    CString CalcSketch();
    // The template-file line of this segment into `line`, ending in "\n";
    // "保存成功", or the reason it cannot be written (a control or wall file
    // that is missing from the current library folder, or whose name cannot
    // stand in the line) with `line` incomplete.
    CString WriteTypLine(CString& line) const;
    // Decodes one template-file line into the fields: "读取成功",
    // "读取失败", "数据个数不足", or the field that is no finite number or
    // holds flags beyond those of a line (nothing of the line is then
    // taken).  A control or wall file missing from the current library
    // folder is reported in the info window; the line still loads.
    CString ReadTypLine(CString line);

    float GetLength() const;
    // Direction of the sketch segment in [0, 2 pi).
    float GetDirection() const;
    // Direction for label text in tenths of a degree.
    int GetTextAngle() const;
    // x of the sketch segment at height y.
    float GetXAtY(float y) const;

    int m_bError;
    CString m_sMessage;
    int m_iFixedType;            // 0 gradient, 1 height, 2 width
    double m_rFixedValue;        // m of 1:m, or metres; down positive
    int m_iEndMode;              // 0 slope length, 1 elevation, 2 width
    int m_iEndType;              // 0..5 within the mode
    double m_rEndValue;
    CString m_sControlFile;      // file name only
    int m_bLabelOffsetElev;
    int m_iLabelOffsetElevPos;   // 0..2 above start/middle/end, 3..5 below
    int m_bLabelSlope;
    int m_iSlopeLabelStyle;      // 0 "1:n", 1 "n%"
    int m_bDashed;
    int m_bSaveEndOffset;
    int m_iSaveEndOffsetPoint;   // 0 start, 1 middle, 2 end
    int m_bSavePosType;
    int m_iPosType;              // 0 slope, 1 berm, 2..4 ditch inner, bottom, outer
    int m_bSaveLength;
    int m_bInsertWall;
    CString m_sWallFile;         // file name only
    int m_iWallPos;              // 0 slope start, 1 slope end
    int m_bTopsoil;
    int m_bDraw;
    int m_bEarthwork;
    int m_bThickness;
    double m_rStartThickness;
    double m_rEndThickness;
    int m_bArcWithNext;
    int m_bStopControl;
    int m_iStopQuantity;         // 0..7
    int m_bStopBelow;            // "〈" instead of "≥"
    double m_rStopValue;
    int m_iStopAction;           // 0 end at the ground, 1 next design
    sSketchPoint m_ptStart;
    sSketchPoint m_ptEnd;
};

typedef CArray<CSlopeLine, CSlopeLine> CSlopeLineArray;

// The folder of the template library current in the suite (where control
// and wall files must lie).
CString CurrentLibraryFolder();

// Sketches the list: the first line keeps its start point, each following
// line starts where the one before ends.
void SketchSlopeLines(CSlopeLineArray& lines);

// The drawing entities of the 2-D graphics view: line, circle, arc,
// polyline, text and bitmap, each bound by the entity contract of
// tkxEntityDC (WorldDrawDC.h), and tkxGdiPlusBitmap, an owner of one image
// loaded through GDI+ for the suite's programs (no entity uses it).
//
// World units throughout; angles in radians counter-clockwise from +x; an
// arc runs counter-clockwise from its start to its end angle.  A text's
// size is its character-cell height in world units and its align mode a
// combination of the platform's text-alignment flags (left 0, right 2,
// centre 6; top 0, bottom 8, baseline 24).  A bitmap is placed by its
// lower-left corner at one world unit per image pixel.
//
// Grips, in order (the grip index is the position):
//   line      start, midpoint, end (the midpoint moves both ends)
//   circle    centre, then (cx + r, cy), (cx, cy + r), (cx - r, cy),
//             (cx, cy - r); any grip but the centre sets the radius to the
//             offset's length (the view measures it from the centre)
//   arc       centre, start point, end point; the end grips set the radius
//             and that end's angle from the offset (measured from the centre)
//   polyline  every vertex; an index that names no vertex changes nothing
//             (result 0)
//   text      its position (whatever the index)
//   bitmap    its position
//
// Drawing maps every world point through the context's MathToScreen;
// segments and circles far larger than the window are clipped to it first,
// so that any zoom draws exactly what the window shows.
#pragma once
#include "corvane/ui/WorldDrawDC.h"

namespace Gdiplus {
class Bitmap;
}

class CORVANE_API tkxLineDC : public tkxEntityDC
{
    DECLARE_DYNAMIC(tkxLineDC)
public:
    tkxLineDC();
    tkxLineDC(tkxPoint2d start, tkxPoint2d end);
    ~tkxLineDC() override;

    int worldDraw(tkxWorldDrawDC* dc) override;
    int GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max) override;
    int getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips) override;
    int moveGripPointsAt(tkxPoint2d& offset, int index) override;
    tkxEntityDC* Clone() override;
    virtual tkxLineDC& operator=(tkxLineDC& other);

    int GetStartPoint(tkxPoint2d& p) const;
    int SetStartPoint(tkxPoint2d p);
    int GetEndPoint(tkxPoint2d& p) const;
    int SetEndPoint(tkxPoint2d p);

private:
    tkxPoint2d m_ptStart;
    tkxPoint2d m_ptEnd;
};

class CORVANE_API tkxCircleDC : public tkxEntityDC
{
    DECLARE_DYNAMIC(tkxCircleDC)
public:
    tkxCircleDC();
    tkxCircleDC(tkxPoint2d centre, double radius, bool filled);
    ~tkxCircleDC() override;

    // A filled circle is drawn with a solid red brush whatever its colour.
    int worldDraw(tkxWorldDrawDC* dc) override;
    int GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max) override;
    int getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips) override;
    int moveGripPointsAt(tkxPoint2d& offset, int index) override;
    tkxEntityDC* Clone() override;
    virtual tkxCircleDC& operator=(tkxCircleDC& other);

    int GetCenterPoint(tkxPoint2d& p) const;
    int SetCenterPoint(tkxPoint2d p);
    int GetRadius(double& r) const;
    int SetRadius(double r);
    int GetFilled(bool& filled) const;
    int SetFilled(bool filled);

private:
    tkxPoint2d m_ptCenter;
    double m_dRadius = 0.0;
    bool m_bFilled = false;
};

class CORVANE_API tkxArcDC : public tkxEntityDC
{
    DECLARE_DYNAMIC(tkxArcDC)
public:
    tkxArcDC(); // centre (0, 0), radius 0, both angles 0
    tkxArcDC(tkxPoint2d centre, double radius, double startAngle, double endAngle);
    ~tkxArcDC() override;

    int worldDraw(tkxWorldDrawDC* dc) override;
    int GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max) override;
    int getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips) override;
    int moveGripPointsAt(tkxPoint2d& offset, int index) override;
    tkxEntityDC* Clone() override;
    virtual tkxArcDC& operator=(tkxArcDC& other);

    int GetCenterPoint(tkxPoint2d& p) const;
    int SetCenterPoint(tkxPoint2d p);
    int GetRadius(double& r) const;
    int SetRadius(double r);
    int GetStartAngle(double& a) const;
    int SetStartAngle(double a);
    int GetEndAngle(double& a) const;
    int SetEndAngle(double a);

private:
    tkxPoint2d m_ptCenter;
    double m_dRadius = 0.0;
    double m_dStartAngle = 0.0;
    double m_dEndAngle = 0.0;
};

class CORVANE_API tkxPolyLineDC : public tkxEntityDC
{
    DECLARE_DYNAMIC(tkxPolyLineDC)
public:
    tkxPolyLineDC();
    explicit tkxPolyLineDC(const CArray<tkxPoint2d, tkxPoint2d>& vertices);
    ~tkxPolyLineDC() override;

    // A closed polyline of more than two vertices whose last vertex differs
    // from the first is drawn with a closing segment.
    int worldDraw(tkxWorldDrawDC* dc) override;
    int GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max) override;
    int getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips) override;
    int moveGripPointsAt(tkxPoint2d& offset, int index) override;
    tkxEntityDC* Clone() override;
    virtual tkxPolyLineDC& operator=(tkxPolyLineDC& other);

    // Inserts before vertex `index`; an index at or past the count puts the
    // point there, filling the gap with (0, 0); a negative index throws the
    // class library's invalid-argument exception.
    int AddVertexAt(int index, tkxPoint2d p);
    // These three: 0 for an index outside the vertices.
    int DelVertexAt(int index);
    int SetVertexAt(int index, tkxPoint2d p);
    int GetVertexAt(int index, tkxPoint2d& p) const;
    int GetVertexNum() const;
    int SetClose(int closed);
    int isClose() const;
    // The marked vertex: -1 (none) .. count - 1, else 0 and unchanged.
    int SetHightAt(int index);
    int GetHightAt() const;

private:
    CArray<tkxPoint2d, tkxPoint2d> m_vertices;
    int m_bClosed = 0;
    int m_nMarked = -1;
};

class CORVANE_API tkxTextDC : public tkxEntityDC
{
    DECLARE_DYNAMIC(tkxTextDC)
public:
    tkxTextDC();
    tkxTextDC(const wchar_t* text, const tkxPoint2d& position, int alignMode, CString fontName, double size,
              double angle);
    ~tkxTextDC() override;

    // Nothing is drawn (result 1) while the text is under 3 pixels high, or
    // so tall that one character alone would overfill any window.
    int worldDraw(tkxWorldDrawDC* dc) override;
    // The box of the unrotated text placed by its align mode; 0 for an align
    // mode outside the nine combinations or when measuring fails.
    int GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max) override;
    int getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips) override;
    int moveGripPointsAt(tkxPoint2d& offset, int index) override;
    tkxEntityDC* Clone() override;
    virtual tkxTextDC& operator=(tkxTextDC& other);

    CString GetText() const { return m_strText; }
    CString GetFontName() const { return m_strFontName; }
    // From 8-bit text of the system code page.
    int SetText(const char* text);
    int SetFontName(const wchar_t* name);
    double GetTextSize() const { return m_dSize; }
    int SetTextSize(double size);
    double GetTextAngle() const { return m_dAngle; }
    int SetTextAngle(double angle);
    int GetAlignMode() const { return m_nAlignMode; }
    int SetAlignMode(int mode);
    int GetPosition(tkxPoint2d& p) const;
    int SetPosition(tkxPoint2d& p);

private:
    bool MeasureUnit(CSize& size);

    CString m_strText;
    CString m_strFontName;
    double m_dSize = 1.0;
    int m_nAlignMode = 0;
    tkxPoint2d m_ptPosition;
    double m_dAngle = 0.0;
    // The text measured in the 1000-point font, kept until text or font
    // change (measuring on every redraw would dominate large drawings).
    CSize m_measured;
    bool m_bMeasured = false;
};

class CORVANE_API tkxBitmapDC : public tkxEntityDC
{
    DECLARE_DYNAMIC(tkxBitmapDC)
public:
    tkxBitmapDC();
    // Loads the image file (a device-independent bitmap); a file that cannot
    // be loaded leaves the entity without an image.
    tkxBitmapDC(tkxPoint2d position, CString path);
    // Each bitmap entity owns its own image: a copy loads its own from the
    // path.
    tkxBitmapDC(tkxBitmapDC& other);
    ~tkxBitmapDC() override;

    int worldDraw(tkxWorldDrawDC* dc) override;
    // From the position to position + (width, height).
    int GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max) override;
    int getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips) override;
    int moveGripPointsAt(tkxPoint2d& offset, int index) override;
    tkxEntityDC* Clone() override;
    // Releases the image held, then loads its own from the source's path.
    virtual tkxBitmapDC& operator=(tkxBitmapDC& other);

    bool HasImage() const { return m_hBitmap != nullptr; }
    int GetImageWidth() const { return m_nWidth; }
    int GetImageHeight() const { return m_nHeight; }

private:
    void Load();
    void Release();

    CString m_strPath;
    tkxPoint2d m_ptPosition;
    HBITMAP m_hBitmap = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
};

// One image loaded through GDI+.  The library does not start GDI+: the
// program starts it before using this class.  Copies are deep (each object
// owns its own image); assignment releases the image held first.
class CORVANE_API tkxGdiPlusBitmap
{
public:
    tkxGdiPlusBitmap();
    explicit tkxGdiPlusBitmap(const wchar_t* path);
    tkxGdiPlusBitmap(const tkxGdiPlusBitmap& other);
    tkxGdiPlusBitmap& operator=(const tkxGdiPlusBitmap& other);
    virtual ~tkxGdiPlusBitmap();

    void Empty();
    // Empties, then loads the file without embedded colour management; on
    // failure the object stays empty and the result is false.
    bool Load(const wchar_t* path);
    operator Gdiplus::Bitmap*() const { return m_pBitmap; }

private:
    Gdiplus::Bitmap* m_pBitmap = nullptr;
};

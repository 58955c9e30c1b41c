// The drawing context of the 2-D graphics view and the base of its drawing
// entities.
//
// tkxWorldDrawDC maps world coordinates (doubles, x to the right, y upwards)
// to device pixels (y downwards) with one uniform scale:
//     device x = trunc(x * scale + origin.x)
//     device y = bottom - trunc(y * scale + origin.y)
// origin being the device position of world (0, 0) measured upwards from the
// bottom of the client rectangle.  Truncation is toward zero; a value within
// a ten-thousandth of a pixel of the next whole pixel counts as that pixel,
// so that device -> world -> device gives the same pixel back also at survey
// coordinates (millions of world units at high zoom).  The scale must be
// positive before either mapping is used.
//
// tkxEntityDC is the base of every drawing entity: display attributes,
// state flags, the id the view gives it, and the virtual contract through
// which the view draws, measures, picks, copies and edits it with grips:
//   worldDraw        draws through the context's device only, with the pen,
//                    brush and text colour the caller selected (1 drawn,
//                    0 cannot draw);
//   GetGeomExtents   writes the world bounding box (1, or 0 when the entity
//                    cannot measure itself);
//   getGripPoints    appends its grips in a fixed order (the grip index is
//                    the position in that order, from 0 per entity);
//   moveGripPointsAt moves grip `index` by a world offset; the view always
//                    undoes the previous offset first, so a grip ends at
//                    base + latest offset;
//   Clone            a new heap object of the same class assigned from this
//                    one (the caller deletes it).
// Assignment copies colour, line type, line width, can-select and the
// derived data, never the id, the selected or the erased flag.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/geometry/Points.h"

class CORVANE_API tkxWorldDrawDC : public CObject
{
public:
    tkxWorldDrawDC();
    tkxWorldDrawDC(const tkxWorldDrawDC& other);
    tkxWorldDrawDC& operator=(const tkxWorldDrawDC& other);
    ~tkxWorldDrawDC() override;

    tkxPoint2d ScreenToMath(const CPoint& p) const;
    CPoint MathToScreen(const tkxPoint2d& p) const;
    // The world rectangle shown by the client rectangle.
    void GetBoundsBox(tkxPoint2d& min, tkxPoint2d& max);

    // Device coordinates before truncation (x, and y measured upwards from
    // the bottom); MathToScreen is Truncated(ToDevice(p)).
    void ToDevice(const tkxPoint2d& p, double& x, double& y) const;
    CPoint Truncated(double x, double y) const;

    tkxPoint2d m_ptOrigin;  // device position of world (0, 0), y upwards from the bottom
    CRect m_rcClient;       // the drawable area of the device
    CDC* m_pDC = nullptr;   // where entities draw (not owned)
    double m_dScale = 0.0;  // device pixels per world unit

protected:
    // 1 when the point lies outside the client rectangle (its right and
    // bottom edges count as inside).
    int IsOutOfRange(const CPoint& p) const;
    // 1 when the segment between two device points is judged not to cross
    // the client rectangle (a quick rejection test).
    int IsOutOfRange(const CPoint& p1, const CPoint& p2) const;
};

class CORVANE_API tkxEntityDC : public CObject
{
    DECLARE_DYNAMIC(tkxEntityDC)
public:
    ~tkxEntityDC() override;

    virtual int worldDraw(tkxWorldDrawDC* dc);
    virtual int GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max);
    virtual tkxEntityDC& operator=(tkxEntityDC& other);
    virtual int getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips);
    virtual int moveGripPointsAt(tkxPoint2d& offset, int index);
    virtual tkxEntityDC* Clone();

    long GetId() const { return m_lId; }
    COLORREF GetColorREF() const { return m_crColor; }
    int SetColorREF(COLORREF color);
    // 2 (dotted) while selected, else the stored line type.
    unsigned long GetLineType() const;
    int SetLineType(unsigned long type);
    // 0 while selected, else the stored width (world units).
    double GetLineWidth() const;
    int SetLineWidth(double width);
    int IsSelected() const { return m_bSelected; }
    int SetSelected(int selected);
    int IsErased() const { return m_bErased; }
    // A non-zero value also clears the selection.
    int SetErase(int erased);
    int IsCanSel() const { return m_bCanSel; }
    int SetCanSel(int canSelect);

protected:
    tkxEntityDC();

private:
    friend CORVANE_API int SetEntityId(tkxEntityDC* entity, long id);
    friend class tkxGraphicsCtrl;
    int SetId(long id);
    // How many entities of the program are selected: the view clears the
    // selection it knows and looks through all its entities only when
    // others remain.
    static long s_selected;

    COLORREF m_crColor = 0xFFFFFF;
    unsigned long m_dwLineType = 0;
    double m_dLineWidth = 0.0;
    int m_bSelected = 0;
    int m_bErased = 0;
    int m_bCanSel = 1;
    long m_lId = 0;
};

// Gives an entity its id (the view's use only); 0 for a null entity.
CORVANE_API int SetEntityId(tkxEntityDC* entity, long id);

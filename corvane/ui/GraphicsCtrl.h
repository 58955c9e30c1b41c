// tkxGraphicsCtrl: a child window that shows drawing entities (DrawEntities.h)
// in world coordinates on a black drawing area, with an optional two-level
// grid, a coordinate-axis icon, white tick margins with scale labels along
// the bottom and right edges, and a title of one or more lines.
//
// The owner creates the window with the class name "tkxGraphicsCtrl" (or
// subclasses one), adds entities (the view owns them from then on and gives
// each an id: 1, 2, 3 ..., never reused) and calls ReDraw.  Adding and
// deleting entities does not redraw by itself.  Deleting by id only marks an
// entity erased: it stays in the list and can still be opened.
//
// Rendering: five off-screen surfaces (background with grid and axis icon,
// entities with selection, grips and title, the composite that also holds
// the tick margins, a per-paint overlay and the crosshair) are combined on
// every paint, within the part of the window being painted; the entities
// are drawn again only by Regen (ReDraw, zoom, pan, fit and the setters),
// and only those whose extents meet the visible area.  A pick, Esc and a
// grip edit draw again only the area of the entities whose selection or
// grips changed (the entities that may draw there, in the same order),
// while the view maps, holds and shows the same as at the last Regen;
// entities changed by the owner through their pointers show with the
// next ReDraw.  While that holds, a pick, too, takes the entities as the
// last Regen measured them: it tries only those shown whose area meets
// the pick box.
//
// Interaction: the wheel zooms about the cursor, the middle button pans
// (double click fits everything), a left click picks the topmost entity
// under the 9-pixel pick box and posts WM_USER+200 (id, 0) to the parent,
// selecting it while editing is enabled; grips of selected entities catch
// the cursor and a click on one drags it (modal, Esc cancels; F8 or the menu
// toggles the horizontal/vertical constraint).  Enter is swallowed, Esc
// clears the selection, Delete erases the selected entities.  GetPoint asks
// the user for a world point (modal; Esc cancels, other keys are ignored).
// The modal loops end, with 0, when the parent window is hidden or the
// thread's queue ends (WM_QUIT is then posted again for the outer loop).
#pragma once
#include "corvane/ui/DrawEntities.h"
#include <memory>
#include <vector>

class EntityTiles;

// One entity whose grips are shown: its grips are grip points
// nFirst .. nFirst + nCount - 1.
struct sGripPointManage {
    tkxEntityDC* pEntity = nullptr;
    int nFirst = 0;
    int nCount = 0;
};

class CORVANE_API tkxGraphicsCtrl : public CWnd
{
    DECLARE_DYNAMIC(tkxGraphicsCtrl)
public:
    tkxGraphicsCtrl();
    ~tkxGraphicsCtrl() override;

    // Posted to the parent after a pick that hit an entity: wParam its id.
    enum { WM_ENTITY_PICKED = WM_USER + 200 };
    // State flags.
    enum { STATE_PANNING = 1, STATE_MODAL = 4 };
    // Context-menu commands.
    enum {
        ID_GRAPHICS_OK = 16000,
        ID_GRAPHICS_CANCEL = 16001,
        ID_GRAPHICS_SHOWALL = 16002,
        ID_GRAPHICS_ORTHO = 16003,
        ID_GRAPHICS_DELETE = 16009,
    };

    // Entity list.  Ids are the new entity's; 0 or -1 when nothing was added.
    long AddEntityToDB(tkxEntityDC* entity);
    long DrawLine(const tkxPoint2d& start, const tkxPoint2d& end, COLORREF color, int lineType = 0);
    // The arc through three points; -1 when they lie on one line.
    long DrawArc(const tkxPoint2d& p1, const tkxPoint2d& p2, const tkxPoint2d& p3, COLORREF color, int lineType = 0);
    long DrawArc(const tkxPoint2d& centre, double radius, double startAngle, double endAngle, COLORREF color,
                 int lineType = 0);
    long DrawCircle(const tkxPoint2d& centre, double radius, bool filled, COLORREF color, int lineType = 0);
    // -1 for fewer than two vertices.
    long DrawPolyline(const CArray<tkxPoint2d, tkxPoint2d>& vertices, COLORREF color, int closed = 0,
                      int lineType = 0, double lineWidth = 0.0);
    // A text in "宋体".
    long DrawTextW(const wchar_t* text, tkxPoint2d position, int alignMode, double size, double angle,
                   COLORREF color);
    // The first entity with the id that is not erased (any, with
    // includeErased); the view keeps it.  1 found, else 0 with out null.
    int OpenEntity(tkxEntityDC*& out, long id, bool includeErased = false);
    int DeleteEntity(long id);
    // Erases the entities with first <= id <= last; 0 for a zero id, else 1.
    int DeleteEntitys(long first, long last);
    // Deletes every entity; 0 (nothing done) while point input or a grip
    // drag runs.
    int RemoveAll();
    // RemoveAll, then origin (0, 0), scale 100 and ReDraw.
    int Clear();

    // Drawing.
    void Init();
    void Regen();
    void ReDraw();
    // The device entities are drawing on (null until the view has drawn).
    CDC* GetDC();
    // World width and height of a text of the given size in a face.
    tkxPoint2d GetTextExtent(const wchar_t* text, double size, const wchar_t* faceName);
    // Every entity, fitted with a 10 % margin, drawn in white into a new
    // cx x cy monochrome bitmap; the view keeps its own mapping.
    void CreateThumbnail(CBitmap& bitmap, int cx, int cy);
    // Brings a world point to the middle of the drawing area horizontally,
    // keeping scale and vertical offset.
    void PanTo(const tkxPoint2d& p);

    // Settings (each redraws unless stated).
    void SetBGColor(const COLORREF& color);
    void SetGridColor(const COLORREF& major, const COLORREF& minor);
    void SetDisplayGrid(int show);
    void SetDisplayUCS(int show);
    void SetDisplayTick(int show);
    // Factors of the tick labels; 0 for a factor within 1e-6 of zero.
    int SetTickHScale(double factor);
    int SetTickVScale(double factor);
    // Lines separated by "\n".
    void SetTitle(const wchar_t* title);
    void SetEditEnable(int enable);    // no redraw
    void SetOrthMode(int ortho);       // no redraw

    // Picking and point input.
    int GetPoint(const wchar_t* prompt, tkxPoint2d& point);
    int GetPoint(tkxPoint2d base, const wchar_t* prompt, tkxPoint2d& point);
    void GetSelect(CArray<long, long>& ids);
    void CancelSelect();
    // Fits every entity that is not erased into the drawing area.
    void ShowAll();
    // Tool-tip modes: 0 none, 1 live coordinates, 2 fixed text.
    void ActivateToolTip(int on, UINT mode);
    int IsActivateToolTip() const { return m_bToolTipActive; }
    // Shows a fixed tip; with elapse > 0 it is taken away after elapse ms.
    void SetToolTipText(const wchar_t* text, long elapse);

    // The mapping and state, for the owner's own drawing and for checks.
    tkxWorldDrawDC& GetDrawContext() { return m_worldDC; }
    DWORD GetState() const { return m_dwState; }
    int GetEditEnable() const { return m_bEditEnable; }
    int GetOrthMode() const { return m_bOrthMode; }
    int GetHoveredGrip() const { return m_nHoveredGrip; }
    const CArray<tkxPoint2d, tkxPoint2d>& GetGripPoints() const { return m_gripPoints; }
    UINT GetToolTipMode() const { return m_nToolTipMode; }
    CString GetToolTipText() const { return m_strTip; }
    int GetEntityCount() const { return static_cast<int>(m_entities.size()); }

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;

    int OnCreate(LPCREATESTRUCT cs);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    LRESULT OnMButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnMButtonDblClk(WPARAM wParam, LPARAM lParam);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnCaptureChanged(CWnd* wnd);
    void OnContextMenu(CWnd* wnd, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    struct Surface {
        CDC dc;
        CBitmap bitmap;
        HGDIOBJ old = nullptr;
        void Release();
        bool Make(CDC* compatible, int width, int height);
    };

    static void RegisterWindowClass();
    void CreateToolTip();
    void SetGraphicsPen(DWORD style, int width, COLORREF color, COLORREF fill, CDC* dc);
    void SetGraphicsFont(const wchar_t* face, int size, COLORREF color, CDC* dc);
    // The drawing area from the client rectangle (less the tick margins).
    void UpdateDrawingArea();
    void DrawGrid(CDC& dc, int width, int height);
    void DrawAxisIcon(CDC& dc, int height);
    void DrawTicks(CDC& dc);
    void DrawGripBox(CDC& dc, const tkxPoint2d& grip, COLORREF fill);
    void DrawTitle(CDC& surface);
    bool IsVisible(tkxEntityDC* entity, const tkxPoint2d& vmin, const tkxPoint2d& vmax);
    // Regenerates the surfaces for a change of the selection or of
    // entities' grips: `before` holds the device area the changed entities
    // covered before the change (EntityArea), `known` whether it could be
    // told.  Only that area and the area they cover now are drawn again,
    // and repainted, when the surfaces still show the model as it was
    // (SurfacesShowTheModel); otherwise everything is regenerated.
    void RegenChange(std::vector<tkxEntityDC*> changed, std::vector<CRect> before, bool known);
    // Appends the device area an entity draws on as it is now, its grips
    // included when they are shown; false for an entity whose area cannot
    // be told (one of a class of the owner's).
    bool EntityArea(tkxEntityDC* entity, std::vector<CRect>& area);
    // How far, in world units, an entity may draw beyond its extents;
    // false for one of a class of the owner's.
    bool DrawingMargin(tkxEntityDC* entity, const tkxPoint2d& emin, const tkxPoint2d& emax, double& margin);
    void RepaintPart(const std::vector<CRect>& area);
    // The entities' passes of a regeneration: those not selected, then the
    // selected ones dotted with XOR, whose grips are collected; with an
    // area (device box) only the entities that may draw on it are drawn.
    void DrawEntities(CDC& surface, const CRect* area);
    // The entities as the last regeneration saw them, in the order of the
    // list, each measured again when the view changes it: what the entity
    // is (the flags below) and, for one in view, the device box it may
    // draw on (of a class of the library's: its extents widened by what it
    // may draw beyond them; of any other class, or one that cannot measure
    // itself: the whole device).  Kept apart and small, so that a part
    // redrawn or a pick reads a few bytes per entity.
    struct DeviceBox {
        int left, top, right, bottom; // inclusive
    };
    enum : unsigned char {
        KEPT_IN_VIEW = 1,  // drawn by a regeneration
        KEPT_SELECTED = 2,
        KEPT_PEN_ONLY = 4, // a line, polyline, circle or arc
        KEPT_REACHES = 8,  // its box bounds its drawing
    };
    std::vector<unsigned char> m_kept;
    std::vector<DeviceBox> m_keptBoxes;
    // The entities in view filed by the part of the device their boxes
    // meet, and the list of those near a part (reused).
    std::unique_ptr<EntityTiles> m_tiles;
    std::vector<size_t> m_near;
    void MeasureEntity(size_t i, const tkxPoint2d& vmin, const tkxPoint2d& vmax);
    // Extents of every entity that is not erased; false when none measured.
    bool DrawingExtents(tkxPoint2d& min, tkxPoint2d& max);
    // The pick: the id of the topmost entity under the pick box (and the
    // entity), 0 for none.
    UINT GraphicsItemSelect(CPoint point, tkxEntityDC** hitEntity = nullptr);
    // The place of an entity in the list (found by its id), or the count.
    size_t IndexOf(const tkxEntityDC* entity) const;
    int DragEntity(tkxEntityDC* preview, tkxPoint2d& base, int& gripIndex, tkxPoint2d& offset);
    tkxPoint2d TransOrthModePt(tkxPoint2d base, tkxPoint2d p);
    void DeleteEntities();
    // The next message for a modal loop; false when the loop must end with
    // 0 (the queue ended, the quit message is posted again; or the parent
    // was hidden).
    bool NextModalMessage(MSG& msg);
    void EndPanning();

    CPen m_pen;
    CFont m_font;
    CBrush m_brush;
    CToolTipCtrl m_toolTip;
    HCURSOR m_hPanCursor = nullptr;
    std::vector<tkxEntityDC*> m_entities;
    tkxEntityDC* m_pPreview = nullptr;
    CArray<sGripPointManage, const sGripPointManage&> m_gripRecords;
    CArray<tkxPoint2d, tkxPoint2d> m_gripPoints;
    tkxPoint2d m_ptRubberBase;
    tkxPoint2d m_ptCursorWorld;
    CPoint m_ptCursor;
    POINT m_ptPanAnchor{0, 0};
    long m_lNextId = 1;
    DWORD m_dwState = 0;
    int m_bToolTipActive = 0;
    int m_bGripHovered = 0;
    int m_bRubberBand = 0;
    int m_bEditEnable = 1;
    int m_bOrthMode = 0;
    int m_bShowAxis = 0;
    int m_bShowGrid = 0;
    int m_bShowTicks = 0;
    int m_bSurfacesReady = 0;
    int m_nHoveredGrip = -1;
    int m_nDraggedGrip = -1;
    UINT m_nToolTipMode = 0;
    CString m_strTip;
    CString m_strTitle;
    tkxWorldDrawDC m_worldDC;
    COLORREF m_crBackground = 0;
    COLORREF m_crMajorGrid = 0x282828;
    COLORREF m_crMinorGrid = 0x0C0C0C;
    double m_dVLabelFactor = 1.0;
    double m_dHLabelFactor = 1.0;
    Surface m_entitySurface;
    Surface m_backSurface;
    Surface m_compositeSurface;
    Surface m_overlaySurface;
    Surface m_cursorSurface;
    int m_nCrossHalf = 45;
    int m_nPickHalf = 4;
    // What the surfaces were last regenerated for; a change of the
    // selection repaints only its area while the view still maps and holds
    // the same.
    struct RegenState {
        bool valid = false;
        tkxPoint2d origin;
        double scale = 0.0;
        CRect client;
        size_t entities = 0;
        int editEnable = 0;
    };
    RegenState m_regenState;
    bool SurfacesShowTheModel() const;
    // What the view's pen was made from, so that a run of entities of one
    // look selects one pen.
    DWORD m_penStyle = 0;
    int m_penWidth = -1;
    COLORREF m_penColor = 0;
    // The device the stock hollow brush is known to be selected into.
    HDC m_hollowOn = nullptr;
};

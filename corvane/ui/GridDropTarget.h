// CGridDropTarget: makes a grid's window accept dropped text.  It serves
// the one grid it was registered for and hands OLE's calls on to that grid
// (tkxGridCtrl::OnDragEnter, OnDragOver, OnDragLeave, OnDrop); calls for any
// other window are refused.  It never asks OLE to scroll the grid.
#pragma once
#include "corvane/CorvaneDefs.h"

class tkxGridCtrl;

class CORVANE_API CGridDropTarget : public COleDropTarget
{
public:
    CGridDropTarget() = default;
    ~CGridDropTarget() override = default;

    // FALSE when already registered or the grid has no window.
    BOOL Register(tkxGridCtrl* grid);
    void Revoke() override;
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point) override;
    BOOL OnDrop(CWnd* wnd, COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point) override;
    void OnDragLeave(CWnd* wnd) override;
    DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point) override;

    tkxGridCtrl* m_pGridCtrl = nullptr;
    BOOL m_bRegistered = FALSE;

private:
    bool Serves(const CWnd* wnd) const;
};

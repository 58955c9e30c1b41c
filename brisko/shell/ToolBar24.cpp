#include "brisko/shell/ToolBar24.h"

namespace {

BOOL MakeList(CImageList& list, CBitmap& bitmap, COLORREF mask)
{
    list.DeleteImageList();
    if (!list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1)) return FALSE;
    return list.Add(&bitmap, mask) >= 0;
}

} // namespace

CToolBar24::CToolBar24() : m_bmpDisabled(RGB(255, 255, 255)), m_bmpNormal(RGB(255, 255, 255)) {}

BOOL CToolBar24::LoadTrueColorImages(UINT bitmapId, COLORREF mask)
{
    if (!GetSafeHwnd()) return FALSE;

    m_bmpHot.DeleteObject();
    if (!m_bmpHot.LoadBitmap(bitmapId) || !MakeList(m_ilHot, m_bmpHot, mask)) return FALSE;
    SendMessage(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(m_ilHot.GetSafeHandle()));

    m_bmpDisabled.DeleteObject();
    if (!m_bmpDisabled.LoadBitmap(bitmapId) || !m_bmpDisabled.MakeDisabled(mask) ||
        !MakeList(m_ilDisabled, m_bmpDisabled, mask))
        return FALSE;
    SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(m_ilDisabled.GetSafeHandle()));

    m_bmpNormal.DeleteObject();
    if (!m_bmpNormal.LoadBitmap(bitmapId) || !m_bmpNormal.MakeNormal(mask) || !MakeList(m_ilNormal, m_bmpNormal, mask))
        return FALSE;
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_ilNormal.GetSafeHandle()));
    return TRUE;
}

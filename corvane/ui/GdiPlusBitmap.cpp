// tkxGdiPlusBitmap (declared with the drawing entities).
#include "corvane/ui/DrawEntities.h"

#include <algorithm>
#include <objidl.h>
#include <gdiplus.h>

tkxGdiPlusBitmap::tkxGdiPlusBitmap() = default;

tkxGdiPlusBitmap::tkxGdiPlusBitmap(const wchar_t* path) { Load(path); }

tkxGdiPlusBitmap::tkxGdiPlusBitmap(const tkxGdiPlusBitmap& other) { *this = other; }

tkxGdiPlusBitmap& tkxGdiPlusBitmap::operator=(const tkxGdiPlusBitmap& other)
{
    if (this == &other) return *this;
    Empty();
    if (other.m_pBitmap) {
        const Gdiplus::Rect all(0, 0, static_cast<INT>(other.m_pBitmap->GetWidth()),
                                static_cast<INT>(other.m_pBitmap->GetHeight()));
        Gdiplus::Bitmap* copy = other.m_pBitmap->Clone(all, other.m_pBitmap->GetPixelFormat());
        if (copy && copy->GetLastStatus() == Gdiplus::Ok)
            m_pBitmap = copy;
        else
            delete copy;
    }
    return *this;
}

tkxGdiPlusBitmap::~tkxGdiPlusBitmap() { Empty(); }

void tkxGdiPlusBitmap::Empty()
{
    delete m_pBitmap;
    m_pBitmap = nullptr;
}

bool tkxGdiPlusBitmap::Load(const wchar_t* path)
{
    Empty();
    if (!path) return false;
    auto* bitmap = new Gdiplus::Bitmap(path, FALSE);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) {
        delete bitmap;
        return false;
    }
    m_pBitmap = bitmap;
    return true;
}

#include "Collections.h"
#include "Archive.h"

IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)

void CStringArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetSize()));
        for (const CString& s : m_data) ar << s;
    } else {
        DWORD n = ar.ReadCount();
        RemoveAll();
        for (DWORD i = 0; i < n; ++i) {
            CString s;
            ar >> s;
            Add(s);
        }
    }
}

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetSize()));
        for (CObject* o : m_data) ar << o;
    } else {
        DWORD n = ar.ReadCount();
        RemoveAll();
        for (DWORD i = 0; i < n; ++i) {
            CObject* o = nullptr;
            ar >> o;
            Add(o);
        }
    }
}

void CObList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetCount()));
        for (POSITION pos = GetHeadPosition(); pos;) ar << GetNext(pos);
    } else {
        DWORD n = ar.ReadCount();
        for (DWORD i = 0; i < n; ++i) {
            CObject* o = nullptr;
            ar >> o;
            AddTail(o);
        }
    }
}

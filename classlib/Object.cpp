#include "Object.h"
#include "Archive.h"
#include "Exceptions.h"
#include <cstring>
#include <string>

namespace {

// Classes register themselves while their modules load; the loader runs
// that one module at a time, so the list needs no lock.
CRuntimeClass* g_firstClass = nullptr;

} // namespace

CRuntimeClass::CRuntimeClass(const char* name, int size, UINT schema, CObject* (*create)(),
                             CRuntimeClass* (*base)())
    : m_lpszClassName(name), m_nObjectSize(size), m_wSchema(schema), m_pfnCreateObject(create),
      m_pfnGetBaseClass(base), m_pNextClass(g_firstClass)
{
    g_firstClass = this;
}

CRuntimeClass::~CRuntimeClass()
{
    for (CRuntimeClass** p = &g_firstClass; *p; p = &(*p)->m_pNextClass) {
        if (*p == this) {
            *p = m_pNextClass;
            break;
        }
    }
}

CObject* CRuntimeClass::CreateObject() const
{
    if (!m_pfnCreateObject) return nullptr;
    return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->GetBaseClass())
        if (c == base) return TRUE;
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(const char* name)
{
    if (!name) return nullptr;
    for (CRuntimeClass* c = g_firstClass; c; c = c->m_pNextClass)
        if (std::strcmp(c->m_lpszClassName, name) == 0) return c;
    return nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(const wchar_t* name)
{
    if (!name) return nullptr;
    std::string narrow;
    for (const wchar_t* p = name; *p; ++p) {
        if (*p > 0x7F) return nullptr;      // class names are plain ASCII
        narrow += static_cast<char>(*p);
    }
    return FromName(narrow.c_str());
}

CObject* CRuntimeClass::CreateObject(const wchar_t* name)
{
    CRuntimeClass* c = FromName(name);
    return c ? c->CreateObject() : nullptr;
}

void CRuntimeClass::Store(CArchive& ar) const
{
    WORD len = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema) << len;
    ar.Write(m_lpszClassName, len);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* schema)
{
    WORD storedSchema = 0, len = 0;
    ar >> storedSchema >> len;
    char name[64];
    if (len >= sizeof(name)) {
        *schema = static_cast<UINT>(-1);
        return nullptr;
    }
    if (ar.Read(name, len) != len) AfxThrowArchiveException(CArchiveException::endOfFile);
    name[len] = '\0';
    *schema = storedSchema;
    return FromName(name);
}

// CObject is the root: its record has no base class.
static CRuntimeClass cl_runtime_CObject("CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr);

CRuntimeClass* CObject::GetThisClass() { return &cl_runtime_CObject; }
CRuntimeClass* CObject::GetRuntimeClass() const { return &cl_runtime_CObject; }
void CObject::Serialize(CArchive&) {}
void CObject::AssertValid() const {}
void CObject::Dump(CDumpContext&) const {}

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

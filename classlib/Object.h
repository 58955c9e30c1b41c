// CObject and the run-time class records: class names, dynamic creation,
// serialisation schemas and look-up by name.
#pragma once
#include "ClassLibDefs.h"

class CObject;
class CArchive;

// Diagnostic output target of CObject::Dump (diagnostics are not kept).
class CLASSLIB_API CDumpContext
{
};

// Marks a schema as versionable: objects of older schemas load, and
// Serialize asks the archive for the stored schema.
#define VERSIONABLE_SCHEMA (0x80000000)

struct CLASSLIB_API CRuntimeClass
{
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                            // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();           // null: not dynamically creatable
    CRuntimeClass* (*m_pfnGetBaseClass)();
    CRuntimeClass* m_pNextClass;               // the process-wide list of classes

    CRuntimeClass(const char* name, int size, UINT schema, CObject* (*create)(),
                  CRuntimeClass* (*base)());
    ~CRuntimeClass();
    CRuntimeClass(const CRuntimeClass&) = delete;
    CRuntimeClass& operator=(const CRuntimeClass&) = delete;

    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
    CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }

    static CRuntimeClass* FromName(const char* name);
    static CRuntimeClass* FromName(const wchar_t* name);
    static CObject* CreateObject(const wchar_t* name);

    // Archive form of a class record: schema, name length, 8-bit name.
    void Store(CArchive& ar) const;
    static CRuntimeClass* Load(CArchive& ar, UINT* schema);
};

class CLASSLIB_API CObject
{
public:
    // The order of the virtual operations is part of the library's binary
    // interface: run-time class, destructor, Serialize, then diagnostics.
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

    static CRuntimeClass* GetThisClass();
    BOOL IsKindOf(const CRuntimeClass* cls) const;
    BOOL IsSerializable() const;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

template <class T> CArchive& ClReadObjectInto(CArchive& ar, T*& object);

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                    \
public:                                                                                \
    static CRuntimeClass* GetThisClass();                                              \
    virtual CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                  \
    DECLARE_DYNAMIC(class_name)                                                        \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                                     \
    DECLARE_DYNCREATE(class_name)                                                      \
    friend CArchive& operator>>(CArchive& ar, class_name*& object)                     \
    {                                                                                  \
        return ClReadObjectInto(ar, object);                                           \
    }

#define CL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create)         \
    static CRuntimeClass cl_runtime_##class_name(#class_name, sizeof(class_name),      \
                                                 schema, create,                       \
                                                 &base_class_name::GetThisClass);     \
    CRuntimeClass* class_name::GetThisClass() { return &cl_runtime_##class_name; }     \
    CRuntimeClass* class_name::GetRuntimeClass() const { return &cl_runtime_##class_name; }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                 \
    CL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                               \
    CObject* class_name::CreateObject() { return new class_name; }                     \
    CL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, &class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)                          \
    CObject* class_name::CreateObject() { return new class_name; }                     \
    CL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, &class_name::CreateObject)

#define DYNAMIC_DOWNCAST(class_name, object)                                           \
    ((object) && (object)->IsKindOf(RUNTIME_CLASS(class_name))                         \
         ? static_cast<class_name*>(object) : nullptr)

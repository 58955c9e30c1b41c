// Resource modules: which module a resource (dialog template, menu,
// accelerators, bitmap, icon, string, tool bar) is loaded from.
//
// The rule, used by every load of the library: a resource belongs first to
// the module that asks for it, the module whose code makes the request.  The
// library knows that module at compile time: each loading function takes it
// as a last argument whose default, ClCallerModule(), is evaluated in the
// caller's own code.  Objects that load resources later for their creator
// (a dialog's template when it runs, a document template's menu and strings,
// a frame's menu and accelerators) take the module in their constructor or
// creation call the same way and keep it; a class that passes such requests
// on for its own callers takes the argument too and hands it down.
//
// When that module does not hold the resource, the search goes on in the
// resource handle (AfxSetResourceHandle), the program, and the modules added
// with AfxAddResourceModule (every module with an application object is
// added, and a program adds its resource libraries), in that order.
#pragma once
#include "ClassLibDefs.h"

// The first module in the search order that holds the resource; null when
// none does.
CLASSLIB_API HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type,
                                             HINSTANCE caller = ClCallerModule());
// The modules searched for a resource asked for by `caller`, in order, each
// once.
CLASSLIB_API int ClResourceSearchOrder(HINSTANCE caller, HINSTANCE* modules, int max);
CLASSLIB_API void AfxAddResourceModule(HINSTANCE module);
CLASSLIB_API void AfxRemoveResourceModule(HINSTANCE module);

// The resource handle: searched right after the asking module.  Without one
// set, the application's module.
CLASSLIB_API HINSTANCE AfxGetResourceHandle();
CLASSLIB_API void AfxSetResourceHandle(HINSTANCE resource);

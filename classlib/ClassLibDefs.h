// Common definitions of the class library: the export macro, the Windows
// headers and a few basic helpers shared by every class-library header.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <cstddef>
#include <cstdarg>
#include <cwchar>

#ifdef CLASSLIB_BUILD
#define CLASSLIB_API __declspec(dllexport)
#else
#define CLASSLIB_API __declspec(dllimport)
#endif

// Debug-only checks are compiled out: the library reports errors through
// return values and exceptions, never through assertion boxes.
#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif

// Whether an object pointer is null, also when the pointer is `this`.  The
// "safe" accessors (GetSafeHwnd, GetSafeHandle, ...) answer null for a null
// object; compilers take `this` for non-null and may drop a plain test of it,
// so the address passes through an empty assembly statement first, which the
// optimiser cannot see through.
inline bool ClIsNull(const void* object)
{
    __asm__("" : "+r"(object));
    return object == nullptr;
}

// The module being compiled: the program or library whose code this is.
// Used as a default argument, it is evaluated in the caller's code and names
// the module that asks for a resource (see Resources.h).
extern "C" IMAGE_DOS_HEADER __ImageBase;
inline HINSTANCE ClCallerModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

struct __POSITION {};
typedef __POSITION* POSITION;

#define BEFORE_START_POSITION ((POSITION)-1L)

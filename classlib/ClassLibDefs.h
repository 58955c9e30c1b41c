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

struct __POSITION {};
typedef __POSITION* POSITION;

#define BEFORE_START_POSITION ((POSITION)-1L)

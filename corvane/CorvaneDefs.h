// Common definitions of Corvane: the one export macro of the library.
#pragma once
#include "classlib/ClassLib.h"

#ifdef CORVANE_BUILD
#define CORVANE_API __declspec(dllexport)
#else
#define CORVANE_API __declspec(dllimport)
#endif

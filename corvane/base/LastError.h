// The library's last-error text: one message text for the whole module.
// Failing operations overwrite it with their message; callers read it with
// tkx_GetLastError and show it.  It carries no code and no time, and it is
// shared without a lock (the suite uses it from its user-interface threads).
#pragma once
#include "corvane/CorvaneDefs.h"

// A copy of the current last-error text (empty until something failed).
CORVANE_API CString tkx_GetLastError();

// Replaces the last-error text; a null pointer empties it.
CORVANE_API void tkx_SetLastError(const wchar_t* text);

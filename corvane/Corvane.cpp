// Module entry of Corvane.  Nothing happens here while the library loads:
// the library's start-up work runs from its application object on first use.
#include "corvane/CorvaneDefs.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

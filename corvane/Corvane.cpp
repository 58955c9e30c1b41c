// Module entry of Corvane.  Nothing happens here while the library loads:
// the library's start-up work runs from its application object on first use.
#include "corvane/CorvaneDefs.h"
#include "corvane/road/PlaneUnit.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    // A program that lets go of the library gets back the memory the unit
    // pools keep for units to come (the objects freed later, as the
    // library's static objects go, give theirs back at once).  At the
    // process's end the system takes everything back, and the other threads
    // were stopped wherever they were: the pools are left alone.
    if (reason == DLL_PROCESS_DETACH && !reserved) alignment::CloseUnitPools();
    return TRUE;
}

// Work handed to a thread of the system's thread pool by the library, and
// the touching of fresh pages that such work does (internal, not exported;
// header only, so that the tests that compile the library's internal sources
// take it along).  The module stays loaded while the work runs: a program
// may let go of it before a piece of work returned.
#pragma once
#include "corvane/CorvaneDefs.h"

#include <cstdint>

namespace pool_work {

// The module holding this code, counted once more when `hold`.
inline HMODULE ThisModule(bool hold)
{
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | (hold ? 0 : GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT);
    return ::GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(&ThisModule), &module) ? module : nullptr;
}

} // namespace pool_work

// Runs callback(instance, context) on a pool thread; false (and nothing
// runs) when the work cannot be handed over.
inline bool SubmitPoolWork(PTP_SIMPLE_CALLBACK callback, void* context)
{
    const HMODULE module = pool_work::ThisModule(true);
    if (!module) return false;
    if (::TrySubmitThreadpoolCallback(callback, context, nullptr)) return true;
    ::FreeLibrary(module);
    return false;
}

// Has the system give fresh memory its pages now rather than as each is
// first written: writes a zero byte at `begin` and at the start of every
// page after it below `end`.  Fresh pages read as zeros, so the memory keeps
// its value.
inline void TouchPages(char* begin, char* end)
{
    constexpr uintptr_t kPageBytes = 4096;
    for (char* page = begin; page < end;
         page = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(page) / kPageBytes + 1) * kPageBytes))
        *static_cast<volatile char*>(page) = 0;
}

// The last call of a piece of work: the module is let go of as it returns.
inline void EndPoolWork(PTP_CALLBACK_INSTANCE instance)
{
    if (const HMODULE module = pool_work::ThisModule(false)) ::FreeLibraryWhenCallbackReturns(instance, module);
}

// The steps of a set replacement (tkx_ReplaceSetByTemporaries), for tests:
// a hook called before each step may act at that moment (open a backup as a
// reader would, put a file in a target's place as another program would) or
// make the step fail with an error of its own, so that a roll-back can be
// made to happen with the set at any step.  Not for the program's own use.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <functional>

enum class tkxSetStep {
    Check,   // the target looked at before anything changes (other: empty)
    Link,    // the backup made as a second name of the target (other: backup)
    Copy,    // the backup made as a copy, where the link failed (other: backup)
    Place,   // the temporary file moved to the target's name (other: temporary)
    PutBack, // a roll-back's move of the backup over the new file (other: the
             // backup; empty: the new file removed, no target was there)
    Remove,  // a backup no longer needed removed (other: backup)
};

// 0 lets the step run; any other value makes it fail with that error
// without being tried.  index: the target's index in the set.
using tkxSetStepHook =
    std::function<DWORD(tkxSetStep step, size_t index, const CString& target, const CString& other)>;

// Sets the hook for every set that follows in the process (empty: none).
CORVANE_API void tkx_SetReplaceSetStepHook(tkxSetStepHook hook);

// The hook for the object's life.
class tkxSetStepHookScope
{
public:
    explicit tkxSetStepHookScope(tkxSetStepHook hook) { tkx_SetReplaceSetStepHook(std::move(hook)); }
    ~tkxSetStepHookScope() { tkx_SetReplaceSetStepHook(nullptr); }
    tkxSetStepHookScope(const tkxSetStepHookScope&) = delete;
    tkxSetStepHookScope& operator=(const tkxSetStepHookScope&) = delete;
};

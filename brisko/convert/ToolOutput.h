// What a tool writes and the look at it before it replaces anything: shared
// by the tools' writer (ToolDialog.h) and the read-back of their outputs
// (OutputCheck.h).
#pragma once
#include "classlib/ClassLib.h"
#include <functional>
#include <vector>

// One output of a tool and its whole text ("\n" line ends).
struct ToolOutput {
    CString path;
    CString text;
    // The extension its temporary file carries (".ICD"), for a reader that
    // goes by the name of its file; none when null.
    const wchar_t* extension = nullptr;
};

// A look at the temporary files (one per output, in order) once all were
// written and before any replaces its output (OutputCheck.h reads them back
// through the suite's readers): FALSE stops the write.
using ToolOutputsCheck =
    std::function<BOOL(const std::vector<ToolOutput>& outputs, const std::vector<CString>& temporaries)>;

// The demo installation's slope templates: every kind of slope line (each
// fixed kind, each end rule of each mode, labels, stored values, walls,
// terminations, arcs, thickness) in four templates of the demo library,
// written in the template files' line form, with the control files they
// name.
#pragma once
#include "classlib/ClassLib.h"

// Writes the templates and their control files into the library folder and
// appends the templates' file names to `names`.  False when a file cannot be
// written.
bool WriteDemoTemplates(const CString& folder, CStringArray& names);

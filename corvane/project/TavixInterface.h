// Corvane's exported C-style interface in one include: the tkx_ functions
// through which Brisko and the suite's other programs reach the current
// project, road and slope-template library, the registered lists, station
// and number text, the data-file line readers, the last-error text, and the
// suite's other programs.
#pragma once
#include "corvane/project/LastError.h"
#include "corvane/project/Project.h"
#include "corvane/project/ProjectInterface.h"
#include "corvane/project/RegistryLists.h"
#include "corvane/project/ShellFunctions.h"
#include "corvane/project/StationText.h"
#include "corvane/project/SuitePrograms.h"
#include "corvane/project/TavixDevApp.h"
#include "corvane/project/TemplateBase.h"
#include "corvane/project/TextLines.h"
#include "corvane/project/Widen.h"

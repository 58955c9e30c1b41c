// Corvane's exported C-style interface in one include: the tkx_ functions
// through which Brisko and the suite's other programs reach the current
// project, road and slope-template library, the registered lists, station
// and number text, the data-file line readers, the last-error text, and the
// suite's other programs, the file, shell and clipboard functions with the
// data-file types, the saving of a file through a temporary one, the
// road-class tables, and sheet sets.
#pragma once
#include "corvane/project/FileInterface.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/base/LastError.h"
#include "corvane/project/Project.h"
#include "corvane/project/ProjectInterface.h"
#include "corvane/project/RegistryLists.h"
#include "corvane/project/RoadTables.h"
#include "corvane/project/SheetSet.h"
#include "corvane/project/StationText.h"
#include "corvane/project/SuitePrograms.h"
#include "corvane/project/TavixDevApp.h"
#include "corvane/project/TemplateBase.h"
#include "corvane/base/TextLines.h"
#include "corvane/project/Widen.h"

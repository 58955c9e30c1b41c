// The suite's shared notion of the current project, road and slope-template
// library: exported functions that copy the library's current project or
// library in and out, register, open, import and remove projects and
// libraries by name, read the road records of the registry's current
// project and the project's output precisions.
//
// The state lives in the library's application object (TavixDevApp.h).
// Every change that other programs must see is stored at once in the
// registered lists (RegistryLists.h), and project and road names are pushed
// to the suite status bars in the CAD host.  Names are compared
// case-sensitively.  Functions that store the registered lists pass their
// owner window on to the messages of the list writer.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/project/Project.h"
#include "corvane/project/TavixDevApp.h"
#include "corvane/project/TemplateBase.h"

namespace Tavix4 {

// Output precision kinds, in the order of the precision slots of
// sPrjSetting0.
enum enPrecision {
    PRECISION_ZH = 0,       // stations
    PRECISION_R = 1,        // radii
    PRECISION_A = 2,        // clothoid parameters
    PRECISION_XY = 3,       // coordinates
    PRECISION_L = 4,        // lengths
    PRECISION_WIDTH = 5,    // widths
    PRECISION_ELV = 6,      // elevations
    PRECISION_SLOPE = 7,    // slopes
    PRECISION_AREA = 8,     // areas
    PRECISION_VOLUME = 9,   // volumes
};

} // namespace Tavix4

// The suite's installation folder, without a trailing separator.
CORVANE_API CString tkx_GetTavixPath();

// -- current project ----------------------------------------------------------

CORVANE_API void tkx_GetCurProject(tkxProject& project);
// Copies the project into the current project; nothing is saved or sent.
CORVANE_API void tkx_SetCurProject(const tkxProject* project);
// Copies the project into the current project, shows its name and current
// road on the suite status bars and, with save 1, saves the project file.
// 0 for NULL, a failed save, or a road added or renamed to a name that
// cannot be a folder and file name (message box; nothing is taken then).
CORVANE_API int tkx_UpdateProject(tkxProject* project, int save);

// -- current slope-template library ---------------------------------------------

CORVANE_API void tkx_GetCurTemplateBase(tkxTemplateBase& base);
// Copies the library in and, with save 1, saves its file; 0 for NULL or a
// failed save.
CORVANE_API int tkx_UpdateTBase(tkxTemplateBase* base, int save);

// -- workspace and settings -----------------------------------------------------

CORVANE_API Tavix4::sWorkSpace tkx_GetWorkSpace();
// Takes the three settings records of the workspace into the current project
// and writes them to the settings INI file (the project file is not saved).
CORVANE_API void tkx_UpdateBZSettings(Tavix4::sWorkSpace workspace);
// The current project's precision of that kind; 3 for an unknown kind.
CORVANE_API short tkx_GetDimPrecision(Tavix4::enPrecision kind);

// -- registered projects ----------------------------------------------------------

// Index of the name in the registered project list, -1 when absent.
CORVANE_API int tkx_ExistProject(const wchar_t* name);
// Registers the project (its name must be new), makes it current, saves its
// file and stores the list.  On failure the previous current project stays.
CORVANE_API int tkx_AddProject(tkxProject* project, HWND owner);
// Unregisters the project; the entry now at its place (or the last one)
// becomes current.  The new current project is copied out.  0 for a NULL
// output or an unregistered name, else the result of storing the list.
CORVANE_API int tkx_RemoveProject(const wchar_t* name, tkxProject* project, HWND owner);
// Makes the registered project current and copies it out (when an output is
// given).  0 when the name is not registered or its file cannot be read;
// the previous current project then stays whole.
CORVANE_API int tkx_OpenProject(const wchar_t* name, tkxProject* project, HWND owner);
// Loads a project file into `project` and makes it current: registered as a
// new project, or opened by name when its name is registered already (under
// another folder the registered project is opened, not the file).  1 when a
// project of that name is current afterwards; `project` then holds it.
CORVANE_API int tkx_ImportProject(const wchar_t* file, tkxProject& project, HWND owner);

// -- registered libraries ----------------------------------------------------------

CORVANE_API int tkx_AddTBase(tkxTemplateBase* base, HWND owner);
CORVANE_API int tkx_RemoveTBase(const wchar_t* name, tkxTemplateBase* base, HWND owner);
CORVANE_API int tkx_OpenTBase(const wchar_t* name, tkxTemplateBase* base, HWND owner);

// -- the lists ------------------------------------------------------------------------

// Empty the array and append the registered names or folders; nothing for
// NULL.
CORVANE_API void tkx_GetAllPrjNames(CStringArray* names);
CORVANE_API void tkx_GetAllPrjPaths(CStringArray* paths);
CORVANE_API void tkx_GetAllTBNames(CStringArray* names);
CORVANE_API void tkx_GetAllTBPaths(CStringArray* paths);
// Folder of the registered library of that name, "" when absent.
CORVANE_API CString tkx_GetTBasePath(CString name);

// -- roads of the registry's current project -------------------------------------

// Reloads the current project from the file the registry names as current
// (so changes of other programs are seen) and copies out its current road.
// 0 without a current project file, without roads, or with an invalid
// current-road index ("非法道路记录数!").
CORVANE_API int tkx_GetCurRoadInfo(Tavix4::sRoadInfo& road);
// The same, copying out all road records and the current-road index.
CORVANE_API int tkx_GetRoadInfos(CArray<Tavix4::sRoadInfo, Tavix4::sRoadInfo>* roads, short& current);

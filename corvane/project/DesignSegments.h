// The design segment file (标段) of a project and the station ranges of a
// segment's road stretches.
//
// The file is 8-bit text; per segment:
//
//   //标段名 道路数
//   <segment name> <road count>
//   //	道路名 起点桩号 终点桩号
//   	<road name> <start station> <end station>      (one line per road)
//
// with an empty line before every segment but the first.  A road line may
// give the road name only (or "-1" as a station): the stretch then takes the
// start and end stations of the project's road of that name.  The break
// chain of a stretch is not written; it comes from the project's road record.
//
// The segment-file operations of tkxProjectSegment and tkxProject, each
// taking the segment or project as its first argument.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/project/Project.h"

namespace tkxSegments {

// -- one segment --------------------------------------------------------------

// The two station texts of stretch i; 0 for an invalid index.
CORVANE_API int GetRoadZHRangeAt(const tkxProjectSegment& segment, int i, CString& start, CString& end);
// The stretch's stations as continuous chainage through its break chain; 0
// for an invalid index, an unreadable break chain or an unconvertible
// station.
CORVANE_API int GetRoadZHRangeAt(const tkxProjectSegment& segment, int i, double& start, double& end);
// Stores the station texts after checking them against the stretch's break
// chain; 0 with the last-error text when they do not convert (a start that
// converted is stored already).
CORVANE_API int SetRoadZHRangeAt(tkxProjectSegment& segment, int i, const wchar_t* start, const wchar_t* end);
CORVANE_API int GetBreakChainAt(const tkxProjectSegment& segment, int i, CString& text);
// Stores the break-chain text; 0 with the last-error text when it forms no
// break chain (the text stays stored).
CORVANE_API int SetBreakChainAt(tkxProjectSegment& segment, int i, const wchar_t* text);
// Reads one segment: 1 read, 0 end of the file, -1 error (last-error text
// naming the file, the line and the field; a road count of 0 or one that is
// no whole number is an error).  The segment changes only when one was read.
CORVANE_API int LoadFile(tkxProjectSegment& segment, CStdioFile* file, int& line);
// Writes one segment; 1.
CORVANE_API int SaveFile(const tkxProjectSegment& segment, CStdioFile* file);

// -- the project's segment list ----------------------------------------------

// Reads the whole file into the project's segment list and completes the
// stretches from the project's roads.  0 with the last-error text when a
// line cannot be read or a station does not convert through the road's
// break chain (naming the file, the line and the field); the segment list is
// then left as it was.
CORVANE_API int LoadFDFile(tkxProject& project, const wchar_t* file);
// Writes every segment.  Refused (and the old file left as it was) when a
// segment could not be read back: an empty name, a name beginning with "//",
// a name or station text holding a blank, tab, comma or line break, a
// segment without roads, or a stretch with only one of its two stations.  The old file is replaced only by a whole new
// one.
CORVANE_API int SaveFDFile(const tkxProject& project, const wchar_t* file);
// One segment "默认分段" over every road of the project; 0 when the project has
// no road.
CORVANE_API int AutoProjectSegment(tkxProject& project);

} // namespace tkxSegments

// The segments of the registry's current project: those of the given file
// when it exists, else one unnamed segment over all the project's roads.
// projectPath receives the project's folder.  0 with the last-error text
// when the project or the file cannot be read or no segment results.
CORVANE_API int tkx_GetProjectSegment(const wchar_t* file, CArray<tkxProjectSegment>& list, CString& projectPath);

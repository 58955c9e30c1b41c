// The import of a road designed in HintCAD (纬地): the road record's
// operation that writes the road's break chain, alignment, vertical curves
// and ground lines from HintCAD's files through the converters.
#include "brisko/convert/Dialog_Transform_HintCAD_PM.h"
#include "brisko/convert/Dialog_Transform_SQX.h"
#include "brisko/convert/Dialog_Transform_ZHDX.h"
#include "brisko/convert/ToolDialog.h"
#include "brisko/manager/RoadInfo.h"
#include "brisko/shell/Helpers.h"
#include "corvane/base/LastError.h"
#include "corvane/platform/PathDialog.h"
#include "corvane/road/BreakChain.h"

namespace {

// Whether the target may be written: it does not exist yet, or the user
// lets it be replaced.
bool MayWrite(const CString& target)
{
    if (!ToolFileExists(target)) return true;
    return ShowFormattedMessage(nullptr, MB_YESNO | MB_ICONQUESTION, L"文件%s\n\n已经存在，是否覆盖?",
                                target.GetString()) == IDYES;
}

} // namespace

bool CRoadInfo::ImportHintCADRoad(int kind, CString breakChain, CString planeFile, CString zdmFile, CString dmxFile,
                                  CString hdmFile, CString projectFolder)
{
    breakChain.Trim();
    m_SRoadName.Trim();
    if (m_SRoadName.IsEmpty()) return false;

    // A break chain that does not read stops the import before any folder
    // or file is made: every station of the road would lie on the wrong
    // segment.
    tkxBreakChain chain;
    if (!breakChain.IsEmpty() && !chain.GetDLFromString(breakChain)) {
        ShowFormattedMessage(nullptr, MB_ICONINFORMATION, L"断链数据<%s>错误!\n\n%s", breakChain.GetString(),
                             tkx_GetLastError().GetString());
        return false;
    }

    // The road's folder must exist before anything goes into it.
    const CString folder = projectFolder + L"\\" + m_SRoadName;
    if (tkxPathDialog::MakeSurePathExists(folder) != 0) return false;
    const CString base = folder + L"\\" + m_SRoadName;

    if (!breakChain.IsEmpty()) {
        const CString dl = base + L".DL";
        if (MayWrite(dl) && !chain.SaveDLFile(dl))
            ShowFormattedMessage(nullptr, MB_ICONINFORMATION, L"%s", tkx_GetLastError().GetString());
    }

    planeFile.Trim();
    if (!planeFile.IsEmpty()) {
        const CString target = base + (kind == 2 ? L".ICD" : L".JD");
        if (!MayWrite(target)) return false;
        if (kind == 0)
            TransformHintCADJDAngleFile(planeFile, target);
        else if (kind == 1)
            TransformHintCADJDCoordFile(planeFile, target);
        else
            TransformHintCADPMFile(planeFile, target);
    }

    // The converters tell their own failures; the files before a failed one
    // stay, and the import goes on.
    zdmFile.Trim();
    dmxFile.Trim();
    hdmFile.Trim();
    if (!zdmFile.IsEmpty() && MayWrite(base + L".SQX")) TransformHintCADZDMFile(zdmFile, base + L".SQX");
    if (!dmxFile.IsEmpty() && MayWrite(base + L".DMX")) TransformHintCADDMXFile(dmxFile, base + L".DMX");
    if (!hdmFile.IsEmpty() && MayWrite(base + L".HDX")) TransformHintCADHDMFile(hdmFile, base + L".HDX");
    return true;
}

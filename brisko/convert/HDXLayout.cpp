#include "brisko/convert/HDXLayout.h"
#include "brisko/convert/ToolDialog.h"
#include "corvane/base/LastError.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/HdxSection.h"
#include "corvane/road/Road.h"

CString HDXLayoutText(int layout)
{
    switch (layout) {
    case Tavix4::HDX_ABS:
        return L"ABS: 相对中桩距离+绝对高程";
    case Tavix4::HDX_ABS1:
        return L"ABS1: 相对中桩距离+与中桩高差";
    default:
        return L"抬杆法: 与相邻前点的距离+高差";
    }
}

int HDXPresetTarget(int layout) { return layout == Tavix4::HDX_ABS1 ? Tavix4::HDX_RELATIVE : Tavix4::HDX_ABS1; }

int ConvertHDXLayout(CDialog* owner, const CString& hdxPath, const CString& dmxPath, const CString& dlPath, int target,
                     const CString& outPath)
{
    HWND ownerWnd = owner && ::IsWindow(owner->GetSafeHwnd()) ? owner->GetSafeHwnd() : nullptr;
    tkxRoadObject road;
    if ((!dlPath.IsEmpty() && !road.LoadDLFile(dlPath)) || !road.LoadDMXFile(dmxPath) || !road.LoadHDXFile(hdxPath, 0)) {
        ClMessageBox(ownerWnd, tkx_GetLastError(), L"转换横地线文件格式", MB_ICONINFORMATION);
        return 0;
    }
    tkxHDMTerrain* terrain = road.GetHDMTerrain();
    // A file without a ground point or a section gives nothing to change
    // (the heights would be taken from a ground at height 0).
    const CString empty = road.GetZDMInfo()->GetDMXCount() == 0 ? dmxPath
                          : terrain->GetHDXSectionCount() == 0   ? hdxPath
                                                                  : CString();
    if (!empty.IsEmpty()) {
        ClMessageBox(ownerWnd, NoToolDataText(empty), L"转换横地线文件格式", MB_ICONINFORMATION);
        return 0;
    }
    terrain->SetFormat(static_cast<Tavix4::enHDXFormat>(target));
    if (!terrain->SaveHDXFile(outPath)) {
        ClMessageBox(ownerWnd, tkx_GetLastError(), L"输出新横地线文件失败", MB_ICONINFORMATION);
        return 0;
    }
    return 1;
}

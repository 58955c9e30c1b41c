// The application's own commands: new and open data files, printer setup,
// the about box, the environment settings, the page lines, the file
// associations, and the tools: the converters of other products' files, the
// data tools, the profile query and the HintCAD road import.  Each tool runs
// its dialog modally; the dialogs take the current road's file names where
// their work concerns the current road.
#include "brisko/shell/BriskoApp.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/Dialog_ConvertJGW.h"
#include "brisko/convert/Dialog_GDElevation.h"
#include "brisko/convert/Dialog_HDXFormat.h"
#include "brisko/convert/Dialog_Import_HintRoad.h"
#include "brisko/convert/Dialog_JGC.h"
#include "brisko/convert/Dialog_MoveData.h"
#include "brisko/convert/Dialog_TransformBidRoadBRF.h"
#include "brisko/convert/Dialog_TransformHongYeZHDX.h"
#include "brisko/convert/Dialog_TransformRICAD.h"
#include "brisko/convert/Dialog_Transform_HintCAD_PM.h"
#include "brisko/convert/Dialog_Transform_RMPM.h"
#include "brisko/convert/Dialog_Transform_SQX.h"
#include "brisko/convert/Dialog_Transform_ZHDX.h"
#include "brisko/editor/BriskoDoc.h"
#include "brisko/manager/Dialog_RoadInfo.h"
#include "brisko/manager/Dialog_ZDMInquire.h"
#include "brisko/manager/RoadInfo.h"
#include "brisko/shell/AboutDlg.h"
#include "brisko/shell/Dialog_Option.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Messages.h"
#include "corvane/platform/FileName.h"
#include "corvane/project/FileInterface.h"

using namespace Tavix4;

namespace {

// The data-file types the open command offers.
const wchar_t kOpenFilter[] =
    L"所有文件(*.*)|*.*|桩号文件(*.st)|*.st|标准横断面文件(*.hdm)|*.hdm|超高文件(*.cg)|*.cg|"
    L"构造物信息文件(*.GZX)|*.GZX|桩号断链文件(*.DL)|*.DL|平面交点线文件(*.jdx)|*.jdx|平面交点设计文件(*.jd)|*.jd|"
    L"平面积木法单元数据文件(*.icd)|*.icd|平面坐标点文件(*.ZBD)|*.ZBD|平面曲线参数文件(*.PAR)|*.PAR|"
    L"平面单元设计要素文件(*.DYD)|*.DYD|平面逐桩坐标文件(*.INF)|*.INF|纵断面地面线文件(*.dmx)|*.dmx|"
    L"纵断面竖曲线文件(*.sqx)|*.sqx|纵断面拉坡控制点文件(*.KZD)|*.KZD|纵断图断面类型文件(*.TYP)|*.TYP|"
    L"纵断图地质概况文件(*.DGK)|*.DGK|纵断图街沟设计文件(*.JGS)|*.JGS|纵断图标注文件(*.BZ)|*.BZ|"
    L"纵断图基点高程文件(*.JGC)|*.JGC|横断面地面线文件(*.hdx)|*.hdx||";

template <class Dialog>
void RunToolDialog(CWnd* parent)
{
    Dialog dialog(parent);
    dialog.DoModal();
}

} // namespace

BEGIN_MESSAGE_MAP(CBriskoApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_APP_OPTIONS, OnAppOptions)
    ON_COMMAND(ID_VIEW_SHOWGRID, OnShowGrid)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SHOWGRID, OnUpdateShowGrid)
    ON_COMMAND(ID_APP_REGISTER_FILES, OnRegisterFileTypes)
    ON_COMMAND_RANGE(ID_TOOL_RM_PM, ID_TOOL_HINT_DMX, OnToolCommand)
    ON_COMMAND_RANGE(ID_TOOL_RICAD, ID_TOOL_RICAD, OnToolCommand)
    ON_COMMAND_RANGE(ID_TOOL_MOVEDATA, ID_TOOL_MOVEDATA, OnToolCommand)
    ON_COMMAND_RANGE(ID_TOOL_GDELEVATION, ID_TOOL_GZW_GZX, OnToolCommand)
    ON_COMMAND_RANGE(ID_TOOL_GZX_QL, ID_TOOL_GZX_QL, OnToolCommand)
    ON_COMMAND_RANGE(ID_TOOL_BIDROAD, ID_TOOL_BIDROAD, OnToolCommand)
    ON_COMMAND_RANGE(ID_TOOL_HONGYE, ID_TOOL_HDX_FORMAT, OnToolCommand)
    ON_COMMAND(ID_TOOL_ZDM_INQUIRE, OnProfileInquire)
    ON_UPDATE_COMMAND_UI(ID_TOOL_ZDM_INQUIRE, OnUpdateProfileInquire)
    ON_COMMAND(ID_TOOL_HINT_ROAD, OnImportHintCADRoad)
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------
// Files

// A new empty data file through the first template that is not the terrain
// meshes'.
void CBriskoApp::OnFileNew()
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documentTemplate = GetNextDocTemplate(pos);
        CString extensions;
        documentTemplate->GetDocString(extensions, CDocTemplate::filterExt);
        extensions.MakeUpper();
        if (extensions.Find(L"MESH") >= 0) continue;
        documentTemplate->OpenDocumentFile(nullptr, TRUE);
        return;
    }
}

void CBriskoApp::OnFileOpen()
{
    CString path;
    if (tkx_FileDialog(1, path, L"", m_pMainWnd, kOpenFilter, L"打开TAVIX数据文件") == 1) OpenDocumentFile(path);
}

// Without a printer on the machine the class library says so and nothing
// else happens.
void CBriskoApp::OnFilePrintSetup()
{
    CPrintDialog dialog(TRUE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                        m_pMainWnd);
    dialog.DoModal();
}

// ---------------------------------------------------------------------------
// Settings and the about box

void CBriskoApp::OnAppAbout()
{
    CAboutDlg dialog;
    dialog.DoModal();
}

void CBriskoApp::OnAppOptions()
{
    CDialog_Option dialog(m_pMainWnd);
    dialog.m_nTabWidth = m_nTabWidth;
    dialog.m_nMarginWidth = m_nMarginWidth;
    dialog.m_nLinePitch = m_nLinePitch;
    dialog.m_bShowGrid = m_bShowGrid;
    dialog.m_bAutoIndent = m_bAutoIndent;
    dialog.m_bShowToolTip = m_bShowToolTip;
    dialog.m_nDurationTime = m_nDurationTime;
    dialog.m_bAutoComment = m_bAutoComment;
    dialog.m_bAutoReload = m_bAutoReload;
    for (int i = 0; i < 12; ++i) dialog.m_Colors[i] = m_Colors[i];
    if (dialog.DoModal() != IDOK) return;

    m_nTabWidth = static_cast<short>(dialog.m_nTabWidth);
    m_nMarginWidth = static_cast<short>(dialog.m_nMarginWidth);
    m_nLinePitch = static_cast<short>(dialog.m_nLinePitch);
    m_bShowGrid = dialog.m_bShowGrid;
    m_bAutoIndent = dialog.m_bAutoIndent;
    m_bShowToolTip = dialog.m_bShowToolTip;
    m_nDurationTime = static_cast<short>(dialog.m_nDurationTime);
    m_bAutoComment = dialog.m_bAutoComment;
    m_bAutoReload = dialog.m_bAutoReload;
    for (int i = 0; i < 12; ++i) m_Colors[i] = dialog.m_Colors[i];
    // Open documents take the new tab width, margin and line pitch; every
    // view is redrawn.
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documentTemplate = GetNextDocTemplate(pos);
        for (POSITION doc = documentTemplate->GetFirstDocPosition(); doc;) {
            CDocument* document = documentTemplate->GetNextDoc(doc);
            if (!document->IsKindOf(RUNTIME_CLASS(CBriskoDoc))) continue;
            auto* data = static_cast<CBriskoDoc*>(document);
            data->SetTabWidth(m_nTabWidth);
            data->SetMarginWidth(m_nMarginWidth);
            data->SetLinePitch(m_nLinePitch);
        }
    }
    UpdateAllDocumentViews();
    LoadSaveSettings(FALSE);
}

void CBriskoApp::UpdateAllDocumentViews()
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documentTemplate = GetNextDocTemplate(pos);
        for (POSITION doc = documentTemplate->GetFirstDocPosition(); doc;)
            documentTemplate->GetNextDoc(doc)->UpdateAllViews(nullptr);
    }
}

void CBriskoApp::OnShowGrid()
{
    m_bShowGrid = m_bShowGrid == 1 ? 0 : 1;
    UpdateAllDocumentViews();
    SetSettingInt(L"Settings", L"ShowGrid", static_cast<DWORD>(m_bShowGrid));
}

void CBriskoApp::OnUpdateShowGrid(CCmdUI* ui) { ui->SetCheck(m_bShowGrid ? 1 : 0); }

void CBriskoApp::OnRegisterFileTypes()
{
    if (RegisterFileTypes()) {
        AfxMessageBox(L"重设文件的图标和打开方式成功!");
        SetSettingInt(L"Settings", L"IconReg", 1);
    } else {
        AfxMessageBox(L"重设文件的图标和打开方式失败!");
    }
}

// ---------------------------------------------------------------------------
// Tools

void CBriskoApp::OnToolCommand(UINT id)
{
    CWnd* main = m_pMainWnd;
    switch (id) {
    case ID_TOOL_RM_PM: RunToolDialog<CDialog_Transform_RMPM>(main); break;
    case ID_TOOL_HINT_PM: RunToolDialog<CDialog_Transform_HintCAD_PM>(main); break;
    case ID_TOOL_HINT_SQX: ShowTransformSQXDialog(0); break;
    case ID_TOOL_RM_SQX: ShowTransformSQXDialog(1); break;
    case ID_TOOL_HINT_HDX: ShowTransformZHDXDialog(0); break;
    case ID_TOOL_RM_HDX: ShowTransformZHDXDialog(1); break;
    case ID_TOOL_HINT_DMX: ShowTransformZHDXDialog(10); break;
    case ID_TOOL_RM_DMX: ShowTransformZHDXDialog(11); break;
    case ID_TOOL_HONGYE: RunToolDialog<CDialog_TransformHongYeZHDX>(main); break;
    case ID_TOOL_RICAD: RunToolDialog<CDialog_TransformRICAD>(nullptr); break;
    case ID_TOOL_MOVEDATA: ShowMoveDataDialog(main); break;
    case ID_TOOL_HDX_FORMAT: ShowHDXFormatDialog(main); break;
    case ID_TOOL_JGC: ShowJGCDialog(main); break;
    case ID_TOOL_GZW_GZX: ShowConvertJGWDialog(0, main); break;
    case ID_TOOL_GZX_QL: ShowConvertJGWDialog(1, main); break;
    case ID_TOOL_GDELEVATION: ShowGDElevationDialog(main); break;
    case ID_TOOL_BIDROAD: ShowTransformBidRoadDialog(main); break;
    default: break;
    }
}

// The query starts at the first grade point of the current road's profile;
// a profile of one grade point or none has nothing to ask.
void CBriskoApp::OnProfileInquire()
{
    if (CurRoadProfile.GetBPDCount() <= 1) return;
    const CString station = CurRoadBreakChain.GetStringBreakZH(CurRoadProfile.GetBPDZH(0), -1, 1);
    ShowZDMInquireDialog(station, &CurRoadProfile, m_pMainWnd);
}

void CBriskoApp::OnUpdateProfileInquire(CCmdUI* ui) { ui->Enable(CurRoadProfile.GetBPDCount() > 1); }

// A road designed in HintCAD becomes a road of the current project: its
// files are written into the road's folder, and only when that run went
// through is the road recorded in the project.
void CBriskoApp::OnImportHintCADRoad()
{
    tkxProject& project = m_CurProject;
    if (project.m_SName.IsEmpty()) {
        AfxMessageBox(L"当前项目未定义, 请首先创建一个项目!", MB_ICONINFORMATION);
        return;
    }
    CDialog_Import_HintRoad files(m_pMainWnd);
    if (files.DoModal() != IDOK) return;

    CDialog_RoadInfo roadDialog(m_pMainWnd);
    roadDialog.m_nMode = 0;
    // The road is named after the plane file.
    CString plane = files.m_SJDFileName;
    plane.Trim();
    if (!plane.IsEmpty()) roadDialog.m_SRoadName = tkxFileName(plane).GetFileTitle();
    roadDialog.m_SBreakChain = files.m_SBreakChain;
    roadDialog.m_SBreakChain.Trim();
    roadDialog.m_bHasBreakChain = roadDialog.m_SBreakChain.IsEmpty() ? 0 : 1;
    if (roadDialog.DoModal() != IDOK) return;

    sRoadInfo road;
    roadDialog.GetRoadInfo(road);
    CRoadInfo record(road);
    // The road's break chain is the one its record keeps.
    bool done = record.ImportHintCADRoad(files.m_iDatFormat, road.m_SBreakChain, files.m_SJDFileName,
                                         files.m_SSQXFileName, files.m_SDMXFileName, files.m_SHDXFileName,
                                         project.m_SPath);
    bool madeCurrent = false;
    if (done) {
        const short previous = project.m_iCurRoad;
        project.m_Roads.Add(road);
        const int added = project.GetRoadCount() - 1;
        if (roadDialog.m_bSetCurrent || added == 0) project.m_iCurRoad = static_cast<short>(added);
        done = tkx_UpdateProject(&project, 1) == 1;
        if (!done) {
            // A project file that could not be written keeps its roads: so
            // do the program's and the library's copies.
            project.m_Roads.RemoveAt(added);
            project.m_iCurRoad = previous;
            tkx_UpdateProject(&project, 0);
        }
        madeCurrent = done && project.m_iCurRoad != previous;
    }
    PrintToMainInfoWindow(done ? L"导入道路：%s" : L"导入道路[%s]失败!", road.m_SRoadName.GetString());
    CMainFrame* frame = MainFrame();
    if (frame) frame->RefreshProjectTree();
    if (madeCurrent) {
        SetWorkingDirectory(m_CurProject.GetWorkingDirectory());
        if (frame) frame->SendMessage(WM_PROJECTCHANGED, 0, 0);
    }
}

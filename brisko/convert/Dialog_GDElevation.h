// The ditch-bottom dialog: the road's 3-D data file (.3DD), optionally its
// break chain, and the text file the ditch-bottom elevations go into.  Its
// action button writes the file and leaves the dialog open.
#pragma once
#include "brisko/convert/ToolDialog.h"

class CDialog_GDElevation : public CToolDialog
{
public:
    explicit CDialog_GDElevation(CWnd* parent = nullptr);

    tkxIconButton m_btnPick3DD;
    tkxIconButton m_btnPickDL;
    tkxIconButton m_btnView3DD;
    tkxIconButton m_btnViewDL;
    tkxIconButton m_btnViewOutput;
    tkxIconButton m_btnExtract;
    CString m_S3DDFileName;
    CString m_SDLFileName;
    CString m_SOutFileName;
    int m_bIncludeDL = 0;
    // The name written into the output's first line.
    CString m_SRoadName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnExtract();
    void OnIncludeDL();
    void OnPick3DD();
    void OnPickDL();
    void OnView3DD();
    void OnViewDL();
    void OnViewOutput();
    // The DL field, picker and viewer follow the check box.
    void EnableDL();
    DECLARE_MESSAGE_MAP()
};

// The menu command's entry: the current road's 3DD and DL files and
// "<road>沟底高程.TXT" in its folder, the break chain used when its file
// exists.
void ShowGDElevationDialog(CWnd* parent);

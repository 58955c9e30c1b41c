// The centre-line shift dialog: the ground-line files in and out, the break
// chain, the layout of the new cross-section file and, in a grid, the table
// of sideways offsets of the centre line by station.
#pragma once
#include "brisko/convert/MoveData.h"
#include "brisko/convert/ToolDialog.h"
#include "corvane/ui/GridCtrl.h"

class CDialog_MoveData : public CToolDialog
{
public:
    explicit CDialog_MoveData(CWnd* parent = nullptr);

    tkxGridCtrl m_Grid;               // 1261
    tkxIconButton m_btnPickDMXIn;     // 1268
    tkxIconButton m_btnPickHDXIn;     // 1059
    tkxIconButton m_btnPickDMXOut;    // 1040
    tkxIconButton m_btnPickHDXOut;    // 1052
    tkxIconButton m_btnPickDL;        // 1068
    tkxIconButton m_btnViewDMX;       // 1269
    tkxIconButton m_btnViewHDX;       // 1063
    tkxIconButton m_btnViewDL;        // 1073
    CString m_SDMXFileName0;          // input DMX
    CString m_SDMXFileName1;          // output DMX
    CString m_SHDXFileName0;          // input HDX
    CString m_SHDXFileName1;          // output HDX
    int m_iDatFormat = 0;             // output HDX: 0 "ABS", 1 "ABS1"
    int m_bIncludeBreakChain = 0;
    CString m_SDLFileName;

    // Section "EnvMoveData": get = 1 reads, 0 writes.
    void SerializeSettings(int get);
    // The table's rows below its heading, as typed.
    std::vector<MoveOffsetRow> TableRows() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // The grid in place of its placeholder, with its columns and the
    // example rows.
    void SetUpGrid();
    void OnIncludeBreakChain();
    void OnPickDMXIn();
    void OnPickHDXIn();
    void OnPickDMXOut();
    void OnPickHDXOut();
    void OnPickDL();
    void OnViewDMX();
    void OnViewHDX();
    void OnViewDL();
    // The DL field, picker and viewer, and the grid's segment column, follow
    // the break-chain box.
    void EnableBreakChain();
    DECLARE_MESSAGE_MAP()
};

// The menu command's entry: the dialog under the parent with the fields of
// its last run.
void ShowMoveDataDialog(CWnd* parent);

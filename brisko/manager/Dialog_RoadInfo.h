// The road dialog: a road of the application's project is created (mode 0)
// or its record edited (mode 1).  The caller sets the mode, the road index
// (edit mode) and the fields it wants to show, runs it modally and reads the
// record (GetRoadInfo) and the make-current and shortcut choices after OK.
//
// OK refuses an empty name, a name that cannot be the road's folder and file
// name, a name the project holds already (create mode; compared without
// regard to case, as the folders are), a grade the project file cannot keep
// and a design speed that is not above 0 and below 1000; it makes sure the
// road's folder exists and, when asked, puts a shortcut to it into the
// project folder.
#pragma once
#include "classlib/ClassLib.h"
#include "corvane/project/Project.h"
#include "corvane/ui/SyntaxEdit.h"

class CDialog_RoadInfo : public CDialog
{
public:
    explicit CDialog_RoadInfo(CWnd* parent = nullptr);

    // The record: name, grade, the speed text as a number, the stations and
    // the break-chain text when "包含断链" is checked (else empty); the user
    // lists empty.
    void GetRoadInfo(Tavix4::sRoadInfo& road) const;

    // The road grades of the grade box, in the order of their numbers.
    static const wchar_t* const kGradeNames[18];

    CString m_SRoadName;     // "M"
    int m_iRoadLevel;        // grade number (index of the grade box), 0
    CString m_SSpeed;        // design speed, "120"
    CString m_SStartZH;      // "0"
    CString m_SEndZH;        // "0"
    int m_bHasBreakChain;    // off
    CString m_SBreakChain;
    int m_bSetCurrent;       // on
    int m_bShortcut;         // off
    CString m_SFolder;       // "<project folder>\<name>"
    short m_nMode;           // 0 create, 1 edit
    short m_nRoadIndex;      // the edited road, -1

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnDestroy();
    void OnCheckClicked();
    void OnNameEdited();
    void OnNameChosen();
    void OnGradeChosen();
    DECLARE_MESSAGE_MAP()

private:
    void FillControls();
    BOOL ReadControls();
    CString FolderOf(const CString& name) const;

    tkxSyntaxEdit m_wndBreakChain;
    CListCtrl m_wndRoads;
    CImageList m_ilMarks;
    HBITMAP m_hBanner = nullptr;
};

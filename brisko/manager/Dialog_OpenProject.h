// The project dialog, in three modes: create a project (0), choose a
// registered project and open it (1), or edit the header of the current one
// (2).  The caller sets the mode and, for open and edit, the current
// project's fields, runs it modally and reads the fields after OK; in open
// mode the dialog has made the chosen project current itself.
//
// Its "项目设置" button runs the drawing-settings sheet.  In edit mode the
// sheet edits the application's project, which is saved (project file and
// "Tavix3.ini") after the sheet's OK.  In create mode the sheet's values stay
// in the dialog until the new project exists (ApplySettings).
#pragma once
#include "classlib/ClassLib.h"
#include "corvane/project/Project.h"
#include "corvane/ui/IconButton.h"

class CDialog_OpenProject : public CDialog
{
public:
    explicit CDialog_OpenProject(CWnd* parent = nullptr);

    // Takes the name, folder, stage, creation time, type, landform and
    // climate of the project; gives them to a project.
    void SetProject(const tkxProject& project);
    void GetProject(tkxProject& project) const;
    // Gives a new project the drawing settings chosen in the settings sheet
    // (create mode); without a choice it gets those the next load of the
    // project would give it.  TRUE when the sheet's values were given.
    BOOL ApplySettings(tkxProject& project) const;

    CString m_SName;
    CString m_SPath;
    CString m_SCreateDate;
    CString m_SStage;        // "初步设计"
    int m_iPrjType;          // 0 highway, 1 interchange, 2 city road
    int m_iLandform;
    int m_iClimate;
    int m_bShortcut;         // on
    short m_nMode;           // 0 create, 1 open, 2 edit

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnDestroy();
    void OnNameChanged();
    void OnBrowse();
    void OnSettings();
    void OnListClick(NMHDR* header, LRESULT* result);
    void OnListDoubleClick(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void FillControls();
    BOOL ReadControls();
    // The registered project of the list row: its index, -1 for none.
    int ProjectOfRow(int row) const;
    // Runs the settings sheet on the project; TRUE after OK.
    BOOL RunSettingsSheet(tkxProject& project);
    void CreateShortcut();

    CStringArray m_SPrjNames;
    CStringArray m_SPrjPaths;
    CListCtrl m_wndProjects;
    CImageList m_ilMarks;
    HBITMAP m_hBanner = nullptr;
    tkxIconButton m_btnBrowse;
    tkxIconButton m_btnSettings;
    bool m_bFilling = false;
    // The settings chosen in create mode.
    bool m_bSettingsChosen = false;
    tkxProject m_Settings;
};

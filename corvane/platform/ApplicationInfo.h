// The suite's installation and environment settings, kept in the registry
// under HKEY_CURRENT_USER "SOFTWARE\TavixSuite\TAVIX 3" and its subkeys:
// folders of the installation and of the CAD host, option flags of the CAD
// modules, entity colours, the default text font, the drawing-frame and
// sheet-set templates and the user's document folder (where the suite's INI
// files live).  The class also finds the CAD host's installations (releases
// R14.0 to R18.2) in the host's own registry entries and tells whether the
// host is running.
#pragma once
#include "corvane/CorvaneDefs.h"

class tkxRegistry;

namespace Tavix4 {

// CAD host releases.
enum enAcadVer {
    ACAD_R14 = 0,
    ACAD_2002 = 1,
    ACAD_2004 = 2,
    ACAD_2005 = 3,
    ACAD_2006 = 4,
    ACAD_2007 = 5,
    ACAD_2008 = 6,
    ACAD_2009 = 7,
    ACAD_2010 = 8,
    ACAD_2011 = 9,
    ACAD_2012 = 10,
    ACAD_2013 = 11,
    ACAD_2014 = 12,
    ACAD_UNKNOWN = 13,
};

// Colours (CAD colour indices) of the alignment entities; subkey
// "ColorSetting".
struct CORVANE_API sTavixEntColor {
    int iLine;
    int iArc;
    int iClothoid1;
    int iClothoid2;
    int iDimZH;
    int iDimKeyPt;
    int iDimParam;
    int iDimBreak;
    int iOffset[10];

    sTavixEntColor();
};

// Menu flags; subkey "MenuSetting".  A flag is set only when its value is 1.
struct CORVANE_API sTavixMenu {
    BOOL bType;
    BOOL bModule[8];

    sTavixMenu();
};

// Default text style; subkey "DefaultFont".  The two doubles are stored as
// DWORDs holding the value times 10,000.
struct CORVANE_API sDefaultFont {
    CString SStyleName;
    CString SFontName;
    CString SBigFontName;
    double dTextSize;
    double dWidthScale;

    sDefaultFont();
};

} // namespace Tavix4

class CORVANE_API tkxApplicationInfo
{
public:
    tkxApplicationInfo();
    // Copy every member but the CAD release.
    tkxApplicationInfo(const tkxApplicationInfo& other);
    int operator=(const tkxApplicationInfo& other);

    // Reads the main key; 0 when it is missing or incomplete (members read
    // before the gap keep their new values).
    int ReadTavixAppInfo();
    // The five alignment options; 1 when the key opened.
    int ReadPMSetting();
    // The reduced read of an installation without the CAD programs.
    int ReadVRSAppInfo();
    // Writes a fresh set of entries for the program folder and CAD release.
    int CreateRegDefault(const wchar_t* programFolder, Tavix4::enAcadVer release);
    // Writes a fresh set of entries for the program folder.
    int CreateTavixReg(const wchar_t* programFolder);

    int WriteRunAssist() const;
    int WriteShowStatusBar() const;
    int WriteShowTips() const;
    int WriteSimCommand() const;
    int WriteNODSnapStep() const;
    int WriteAutoExplode() const;
    int WriteNoClothoid() const;
    int WriteRadiusStep() const;
    int WriteLsStep() const;

    // 1 when any bit of the mask is set in the registration bitmask.
    int HadRegisterARX(unsigned long mask) const;
    // set 1 adds the bits of the mask, any other value clears them.
    void SetRegisterARX(unsigned long mask, int set);

    static int ReadEntColor(Tavix4::sTavixEntColor& colors);
    static int WriteEntColor(const Tavix4::sTavixEntColor& colors);
    static void SetDefaultColor(Tavix4::sTavixEntColor& colors);
    static int ReadMenuSetting(Tavix4::sTavixMenu& menu);
    static int WriteMenuSetting(const Tavix4::sTavixMenu& menu);
    static int ReadDefaultFont(Tavix4::sDefaultFont& font);
    static int WriteDefaultFont(const Tavix4::sDefaultFont& font);

    static CString ReadDefaultPFrame();
    static CString ReadSheetTemplate();
    static CString ReadSheetDate();
    int WriteDefaultPFrame(const wchar_t* file);
    int WriteSheetTemplate(const wchar_t* file);
    int WriteSheetDate(const wchar_t* date);

    // The user document folder (defaulted when not set); empty when the
    // documents folder cannot be found.
    CString GetUserDocumentPath();
    // "<user document folder>\<name>".
    CString GetIniFileName(const wchar_t* name);

    static CString AcadVerName(Tavix4::enAcadVer release);
    // Locates an installed CAD release: its current version key, its folder
    // and its roamable root folder.
    static int GetAcadVerFromReg(short release, CString& curVer, CString& acadFolder, CString& roamableRoot);
    // The folder of the CAD host loaded in this process; empty when none.
    static CString SearchACADPath();
    // 1 when a CAD host process is running.
    static int AcadProcessExist();

    Tavix4::enAcadVer m_AcadVer;
    CString m_SDescribe;
    CString m_SPathName;
    CString m_SDLLPath;
    CString m_SBinPath;
    CString m_SSupportPath;
    CString m_SAcadPathName;
    DWORD m_dwModule;
    BOOL m_bTavixAssist;
    BOOL m_bTvStatus;
    BOOL m_bShowTips;
    BOOL m_bSimCommand;
    DWORD m_dwRegisterArx;
    int m_iNODSnapStep;
    BOOL m_bAutoExplode;
    BOOL m_bNoClothoid;
    int m_iRadiusStep;
    int m_iLsStep;
    Tavix4::sTavixEntColor m_EntColor;
    Tavix4::sTavixMenu m_Menu;
    Tavix4::sDefaultFont m_DefaultFont;
    CString m_SDefaultPFrame;
    CString m_SSheetTemplate;
    CString m_SSheetDate;
    CString m_SUserDocumentPath;

private:
    void CopyFrom(const tkxApplicationInfo& other);
    void SetFolders(const wchar_t* programFolder);
    // Sets the user document folder to its default; false when the
    // documents folder cannot be found.
    bool DefaultUserDocumentPath();
    bool ReadUserDocumentPath(tkxRegistry& reg);
};

// Fills the copy from the library's settings object after reading the
// registry; 1 when the main read succeeded.
CORVANE_API int tkx_GetApplicationInfo(tkxApplicationInfo& info);

// The library's one settings object, for the library's own code (the
// application object reads it at start-up).
tkxApplicationInfo& TavixAppInfo();

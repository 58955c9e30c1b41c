// The project's drawing settings: a property sheet with three pages, the
// coordinate big numbers and label precisions, the main-point labels and
// the station style, and the slope-hatch lines.  Each page is filled from a
// project (FromProject) and puts its values back (ToProject); what it does
// not edit stays as it was.
#pragma once
#include "classlib/ClassLib.h"
#include "corvane/ui/IconButton.h"

class tkxProject;

// The sheet: the program icon, no Apply or Help button, the program's mark
// in its lower-left corner.
class CTavixPropertySheet : public CPropertySheet
{
    DECLARE_DYNAMIC(CTavixPropertySheet)
public:
    CTavixPropertySheet(UINT captionId, CWnd* parent);

    BOOL OnInitDialog() override;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// "坐标大数与标注精度": the big-number flag and offsets (the project's
// reserve integer and reals) and the ten precisions with trailing zeros.
class CProPage_Setting_BZPrecision : public CPropertyPage
{
    DECLARE_DYNAMIC(CProPage_Setting_BZPrecision)
public:
    enum { kPrecisions = 10 };
    // Station, radius, parameter, coordinate, length, width, elevation,
    // slope, area, volume.
    static const int kDefaultPrecisions[kPrecisions];

    CProPage_Setting_BZPrecision();

    void FromProject(const tkxProject& project);
    void ToProject(tkxProject& project) const;

    int m_bSubtractBigNumber;   // 0
    double m_rBigNumberX;       // 0
    double m_rBigNumberY;       // 0
    int m_iPrecisions[kPrecisions];
    int m_bReserveZero;         // 1

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSubtractClicked();
    void OnRestore();
    void OnSpinStep(UINT id, NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void FillControls();

    tkxIconButton m_btnRestore;
};

// "主点字符、桩号样式": the ten main-point labels, their mode (0 pinyin, 1
// English, 2 the user's own) and the station label style.
class CProPage_Setting_ZDString : public CPropertyPage
{
    DECLARE_DYNAMIC(CProPage_Setting_ZDString)
public:
    enum { kLabels = 10 };
    // Start, end, ZY, YZ, ZH, HZ, HY, YH, common tangent, ZZ.
    static const wchar_t* const kPinyinLabels[kLabels];
    static const wchar_t* const kEnglishLabels[kLabels];

    CProPage_Setting_ZDString();

    void FromProject(const tkxProject& project);
    void ToProject(tkxProject& project) const;

    CString m_SLabels[kLabels];
    int m_iMode;                // 0
    int m_iZHDimStyle;          // 0

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnModeClicked();
    DECLARE_MESSAGE_MAP()

private:
    void FillControls();
};

// "示坡线间距、长度": spacing, long-line length (or its share of the slope
// length), the long-to-short ratio and the shortest line drawn.
class CProPage_Setting_SPXLength : public CPropertyPage
{
    DECLARE_DYNAMIC(CProPage_Setting_SPXLength)
public:
    CProPage_Setting_SPXLength();

    void FromProject(const tkxProject& project);
    void ToProject(tkxProject& project) const;

    double m_rDistance;         // 2
    double m_rLength;           // 10
    double m_rScale;            // long to short, 2
    double m_rMinLength;        // 0
    int m_bByLengthRate;        // 0
    double m_rLengthRate;       // share of the slope length, 0.75

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnByRateClicked();
    DECLARE_MESSAGE_MAP()

private:
    void FillControls();
};

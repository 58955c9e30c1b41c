// The program's own form of a cross-section ground-line file (.HDX): the
// sections in memory, read from and written to the file's text, the ground
// height anywhere across a section, and a section moved onto a new centre
// line beside the old one.  The centre-line shift tool works on it.
//
// The file's layouts, as this code numbers them: 0 "ABS" (distance from the
// centre line, absolute elevation), 1 "ABS1" (distance from the centre line,
// height above the centre point), 2 raised rod (distance and height from the
// previous point; a file without a layout line).
#pragma once
#include "brisko/convert/ToolDialog.h"
#include "classlib/ClassLib.h"
#include <vector>

class tkxBreakChain;
class tkxZDMInfo;

// One cross-section.  Index 0 of each side is the centre point (distance 0);
// distances are magnitudes from the centre line.  Heights are absolute
// elevations for a file read as "ABS" and heights above the centre point
// otherwise, until ShiftSection makes them absolute.
struct KeyDMXInfo
{
    double m_rZH = 0.0; // continuous chainage
    std::vector<double> m_LeftDistance;
    std::vector<double> m_LeftHeight;
    std::vector<double> m_RightDistance;
    std::vector<double> m_RightHeight;

    // Points of a side, the centre point included.
    int GetLeftCount() const { return static_cast<int>(m_LeftDistance.size()); }
    int GetRightCount() const { return static_cast<int>(m_RightDistance.size()); }
};

class CDMFace
{
public:
    // The break chain stays the caller's; the layout starts as "ABS1".
    explicit CDMFace(const tkxBreakChain* chain);
    virtual ~CDMFace();

    // The profile whose ground line gives the centre elevations (the
    // caller's; may be null).
    void SetProfile(const tkxZDMInfo* profile) { m_pProfile = profile; }
    const tkxZDMInfo* GetProfile() const { return m_pProfile; }
    short GetFormat() const { return m_nFormat; }
    void SetFormat(short format) { m_nFormat = format; }

    int GetSectionCount() const { return static_cast<int>(m_Sections.size()); }
    const KeyDMXInfo& GetSection(int i) const { return m_Sections.at(static_cast<size_t>(i)); }
    void AddSection(const KeyDMXInfo& section) { m_Sections.push_back(section); }
    void RemoveAll() { m_Sections.clear(); }

    // Reads the sections of a file open for reading in text mode, replacing
    // those held, and takes its layout.  Empty on success, else the message
    // (the sections read before the bad line stay).
    CString ReadHDX(CStdioFile& file);
    // Writes every section in the current layout ("ABS" or "ABS1").  Empty
    // on success, else the message; the file is written only when every
    // section could be, and an earlier file is replaced only by a whole new
    // one, which the check (when given) looked at first.
    CString WriteHDX(const wchar_t* fileName, const ToolOutputsCheck& check = nullptr) const;
    // The whole text WriteHDX writes: empty on success, else the message.
    CString HDXText(CString& text) const;

    // Makes section i the current section: 1, or 0 when there is none.
    int SelectSection(int i);
    // Ground height of the current section at a signed distance from its
    // centre line (negative: left); -999 on a side without ground points.
    double GetHeight(double distance) const;
    // 1 with the centre height of section i; 0 after a message box when
    // there is no such section.
    int GetCentreHeight(int i, double& height) const;
    // Writes into out the section moved onto the centre line at the signed
    // offset (negative: the new centre line lies to the left), with
    // absolute heights.  Needs the profile (a message box otherwise, out
    // then untouched).
    void ShiftSection(const KeyDMXInfo& section, double offset, KeyDMXInfo& out);

private:
    const tkxBreakChain* m_pBreakChain;
    const tkxZDMInfo* m_pProfile = nullptr;
    short m_nFormat = 1;
    std::vector<KeyDMXInfo> m_Sections;
    KeyDMXInfo m_Current;
};

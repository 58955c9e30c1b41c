// A road's cross-section ground lines (the .HDX file) and the terrain set
// that holds them in station order.
//
// The file: an optional first line "ABS" or "ABS1" (any case) naming the
// layout, else the relative layout, whose first line is already the first
// station; then three lines per section: station text (as the break chain
// reads it), left side, right side.  Sections follow in station order (equal
// stations allowed).
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/road/HdxSection.h"

#include <vector>

class tkxBreakChain;
class tkxZDMInfo;

// Reads a whole file into new sections that replace those of the list (the
// sections it held are deleted; its owner deletes the new ones).  format
// receives the file's layout.  1, or 0 with the last-error text naming the
// file, the line and the field; the list and the layout are then left as
// they were.  *failedLine gets the line the message names (0: none, or no
// failure).
CORVANE_API int tkx_LoadHDXFile(const wchar_t* path, CPtrList* sections, Tavix4::enHDXFormat& format,
                                const tkxBreakChain* chain, const tkxZDMInfo* profile, int* failedLine = nullptr);

class CORVANE_API tkxHDMTerrain
{
public:
    tkxHDMTerrain();
    explicit tkxHDMTerrain(const tkxBreakChain* chain);
    tkxHDMTerrain(const tkxHDMTerrain& other);
    tkxHDMTerrain& operator=(const tkxHDMTerrain& other);
    virtual ~tkxHDMTerrain();

    // Deletes every section.
    void ClearHDX();
    // tkx_LoadHDXFile into the set.
    int LoadHDXFile(const wchar_t* path, int* failedLine = nullptr);
    // Writes the file in the set's format.  Refused, with the old file left
    // as it was, when there is no section, no break chain, no valid format or
    // a section that could not be read back; otherwise the old file is
    // replaced only by a whole new one.
    int SaveHDXFile(const wchar_t* path) const;
    // The whole file as text.
    int ExportString(CString& text) const;

    int GetHDXSectionCount() const;
    // Section i (from 0); null when there is none.
    tkxHdxSection* GetHDXSection(int i) const;
    // The section under the set's cursor (first = 1 starts over), the cursor
    // moved on; null at the end.
    tkxHdxSection* GetNextHDXSection(int first);
    tkxHdxSection* GetNextHDXSection(POSITION& pos, int first) const;
    // The next section as its station point and world coordinates; 1 when
    // both sides have points.
    int GetHDXSection(Tavix4::sZHPtInfo& point, std::vector<double>& leftX, std::vector<double>& leftY,
                      std::vector<double>& leftZ, std::vector<double>& rightX, std::vector<double>& rightY,
                      std::vector<double>& rightZ, POSITION& pos, int first) const;

    // Appends without any check; the set takes the section.
    void AddHDXSection(tkxHdxSection* section);
    // Inserts in station order; 0 with "横地线桩号已存在" when the station is
    // taken (the caller keeps the section then).
    int InsertHDX(tkxHdxSection* section);
    // Inserts before section i (at the front for an index naming none).
    int InsertAt(int i, tkxHdxSection* section);
    // Removes and deletes the section when the set holds it.
    void RemoveAt(tkxHdxSection* section);
    // Removes and deletes every section of the list that the set holds, in
    // one pass over the set.
    void RemoveSections(const CPtrList& sections);
    // The section nearest to a station (of two equally near, the later).
    tkxHdxSection* FintClosetHDX(double station) const;
    // The first section within 0.0001 of a station; null when none.
    tkxHdxSection* FintAt(double station) const;
    // Extend (level: mode 0, along the last slope: mode 1) on every section.
    int ExtendHDX(double leftWidth, double rightWidth, int mode);

    // Station of the section under the cursor, the cursor moved on (starting
    // over after the last); 0 for an empty set.
    int GetZH(double& station, int first);
    int GetAllSectionZHs(CArray<double, double>& out) const;
    int GetAllSectionZHInfos(CArray<Tavix4::sZHPtInfo, Tavix4::sZHPtInfo>& out) const;

    void SetBreakChain(const tkxBreakChain* chain) { m_pBreakChain = chain; }
    const tkxBreakChain* GetBreakChain() const { return m_pBreakChain; }
    void SetZDMInfo(const tkxZDMInfo* profile) { m_pZDMInfo = profile; }
    const tkxZDMInfo* GetZDMInfo() const { return m_pZDMInfo; }
    void SetPlaneUnits(CPtrList* units) { m_pPlaneUnits = units; }
    // No layout until one is set or loaded; saving needs one.
    void SetFormat(Tavix4::enHDXFormat format) { m_Format = format; }
    Tavix4::enHDXFormat GetFormat() const { return m_Format; }

private:
    // Checks what SaveHDXFile and ExportString need; the message when not.
    CString CheckBeforeWrite() const;

    const tkxBreakChain* m_pBreakChain = nullptr;
    const tkxZDMInfo* m_pZDMInfo = nullptr;
    CPtrList* m_pPlaneUnits = nullptr;
    Tavix4::enHDXFormat m_Format = static_cast<Tavix4::enHDXFormat>(-1);
    CPtrList m_Sections;     // owned tkxHdxSection*, ascending by station
    POSITION m_Cursor = nullptr;
};

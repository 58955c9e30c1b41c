// A design segment (标段) of a project: a name and the stretches of roads it
// covers.  This is the record the project holds in its segment list; the
// members that read and write the design segment file and convert the
// stretches' station texts (through the break chain) are described and
// implemented with the segment file (DesignSegments.h).
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API tkxProjectSegment
{
public:
    // One road stretch of a segment.
    struct sRoadSeg {
        CString m_SRoadName;
        CString m_SStartZH;     // start station text
        CString m_SEndZH;       // end station text
        CString m_SBreakChain;  // the road's break-chain text
    };

    tkxProjectSegment() = default;
    tkxProjectSegment(const tkxProjectSegment& other);
    tkxProjectSegment& operator=(const tkxProjectSegment& other);

    // Removes all road entries (the name stays).
    void Reset() { m_RoadSegs.RemoveAll(); }
    CString Name() const { return m_SName; }
    void SetName(const wchar_t* name) { m_SName = name ? name : L""; }
    void AddRoadSeg(const sRoadSeg& seg) { m_RoadSegs.Add(seg); }
    int GetRoadSegCount() const { return static_cast<int>(m_RoadSegs.GetSize()); }
    // Road name of entry i; empty for an invalid index.
    CString GetRoadNameAt(int i) const;

    int GetRoadZHRangeAt(int i, CString& start, CString& end) const;
    int GetRoadZHRangeAt(int i, double& start, double& end) const;
    int SetRoadZHRangeAt(int i, const wchar_t* start, const wchar_t* end);
    int GetBreakChainAt(int i, CString& text) const;
    int SetBreakChainAt(int i, const wchar_t* text);
    int LoadFile(CStdioFile* file, int& line);
    int SaveFile(CStdioFile* file) const;

    CString m_SName;
    CArray<sRoadSeg> m_RoadSegs;
};

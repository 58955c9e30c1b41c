// A design segment (标段) of a project: a name and the stretches of roads it
// covers.  This is the record the project holds in its segment list; reading
// and writing the design segment file and converting the stretches' station
// texts (which need the break chain) are added to this class with the
// segment file.
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

    CString m_SName;
    CArray<sRoadSeg> m_RoadSegs;
};

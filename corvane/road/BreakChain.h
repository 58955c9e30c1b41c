// A road's break chain (station equations) and the conversion between the
// three forms of a position along the road:
//
//  - continuous chainage: metres from the road's origin without jumps, the
//    form every station takes inside the road model;
//  - a station within a segment: the nominal station that is printed or
//    typed, with the number (from 1) of the chain segment it lies in;
//  - station text: K12+345.678 or a plain number, optionally followed by
//    "_" and the segment number.
//
// Break i (from 0) joins segment i and segment i+1: its back station is the
// end station of segment i, its ahead station the start station of segment
// i+1.  The first segment starts at -1e10 and the last ends at +1e10; a chain
// without breaks is one segment over everything and maps every station to
// itself.
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API tkxBreakChain : public CObject
{
    DECLARE_SERIAL(tkxBreakChain)
public:
    tkxBreakChain();
    tkxBreakChain(const tkxBreakChain& other);
    ~tkxBreakChain() override;

    int operator=(const tkxBreakChain& other);
    // Same segment count and every start and end station within 0.00001.
    int operator==(const tkxBreakChain& other) const;

    // Back to the chain without breaks.
    void Reset();

    // Number of segments (one more than the number of breaks).
    int GetBreakChainCount() const { return m_iCount; }
    // Start or end station of segment index i (from 0) in its own stationing;
    // an index outside the chain throws CInvalidArgException*.
    double GetBreakStartZH(int i) const;
    double GetBreakEndZH(int i) const;

    // The break-chain file: one break a line, back station and ahead station.
    // A file is refused whole (the chain stays as it was) when it cannot be
    // read, holds no break, a line does not hold two numbers or a segment
    // between two breaks has no positive length; the message names the
    // file, the line and the field.
    int LoadDLFile(const wchar_t* path);
    // Writes the breaks as "%.3f %.3f" lines; the old file is replaced only
    // when the new one was written whole.  A chain the file would not give
    // back (a station that is no number, segments without positive length
    // in the written stations) is refused with the last-error text.
    int SaveDLFile(const wchar_t* path) const;

    // Rebuilds the chain from pair text such as "1200=1180, 2500=2510" (pairs
    // separated by blanks or commas).  An empty text gives the default chain.
    // On failure the chain is the default chain and the last-error text says
    // why.
    int GetDLFromString(const wchar_t* text);
    // The breaks as pair text "1200.000=1180.000, 2500.000=2510.000"; empty
    // for a chain without breaks.
    CString OutputToSText() const;

    // Station text (K12+345.6, 12345.6, 1190_2, "1190 2", "1190,2") to
    // continuous chainage; 0 with the last-error text when the text is no
    // station or no segment holds it.
    int GetGlobalZH(const wchar_t* text, double& out) const;
    // Station of the given segment (from 1) to continuous chainage; when that
    // segment does not hold the station, the first segment that holds it.
    // 1, or 0 when no segment holds it.  Sets no last-error text.
    int GetGlobalZH(double station, double& out, int segment) const;
    // Through the first segment that holds the station: returns that
    // segment's number, 0 when none (out unchanged).
    int GetGlobalZH(double station, double& out) const;

    // Continuous chainage to the station within its segment; a chainage at a
    // break gives the ahead station.
    double GetBreakZH(double chainage) const;
    // Number of the segment holding a chainage (within 1e-8 of a break: the
    // ahead segment).
    short GetBreakChainID(double chainage) const;

    // Chainage as plain number text of its station (negative decimals: the
    // current project's station precision), with "_n" for segments after the
    // first when suffix is non-zero.
    CString GetStringBreakZH(double chainage, short decimals, int suffix) const;
    // The same in kilometre form (K1+230.000_2).
    CString ZHToCString(double chainage, short decimals, int suffix) const;
    CString GetZHString(double chainage, short decimals, int suffix) const;

    // Adds a break.  Returns its index; 0 (and no change) when a break with
    // this back station exists already; -1 (and no change) when it cannot
    // go in, with the reason in the last-error text.
    int InsertBreakZH(double back, double ahead);
    // Removes the break with this back station (within 0.001): 1, or 0.
    int DeleteBreakZH(double back);

    // Segment count, start stations, end stations.
    void Serialize(CArchive& ar) override;
    void AssertValid() const override;
    void Dump(CDumpContext& dc) const override;

private:
    // Rebuilds the offsets and boundaries from the stations.
    void ComputeBreakData();
    // The segment index (from 0) for a chainage as GetBreakZH finds it.
    int SegmentIndexOf(double chainage) const;
    // Replaces the breaks by (back, ahead) pairs, in order.
    void SetBreaks(const CArray<double, double>& backs, const CArray<double, double>& aheads);

    int m_iCount;                          // number of segments
    CArray<double, double> m_ZHStart;      // start station of each segment
    CArray<double, double> m_ZHEnd;        // end station of each segment
    CArray<double, double> m_ZHOffset;     // station + offset = chainage
    CArray<double, double> m_ZHBoundary;   // chainage of the segment ends
};

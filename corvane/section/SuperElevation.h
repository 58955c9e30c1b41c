// A road's superelevation: rows of a station with the carriageway cross fall
// of the left and the right side, and the parameters of the rotation (single
// or multi-lane carriageway, the rotation axis, the earth-shoulder cross fall,
// the transition shape, the rotation mode and the limits of the slope
// difference between shoulder and carriageway), with the superelevation file
// (.CG) and the cross falls at any station.
//
// Cross falls are in percent, positive where the surface rises from left to
// right across the road: a normal crown has a positive left and a negative
// right value.  The earth-shoulder cross fall and the two slope differences
// are held as fractions (0.03 for 3 %); the file carries them in percent.
// Stations are continuous chainage; the file carries stations within their
// break-chain segment, so a break chain must be attached before reading or
// writing.
//
// The CG file: the header line
//   single(1)/multi-lane(2)  DT left  DT right  shoulder %  transition(1/3)
//   axis offset ("+" in front: the axis style adds the divider)  rotation mode
//   [inside difference %  [outside difference %, "+" in front: the outside
//   shoulder rotates]]
// then one row a line: station, cross fall (single lane) or left and right
// cross falls, and the segment number for stations beyond the first segment.
#pragma once
#include "corvane/CorvaneDefs.h"

class tkxBreakChain;

class CORVANE_API tkxSuperElevation
{
public:
    tkxSuperElevation();
    tkxSuperElevation(const tkxSuperElevation& other);
    virtual ~tkxSuperElevation();
    tkxSuperElevation& operator=(const tkxSuperElevation& other);

    void SetBreakChain(const tkxBreakChain* chain) { m_pBreakChain = chain; }
    const tkxBreakChain* GetBreakChain() const { return m_pBreakChain; }
    void SetCGFileName(const wchar_t* path) { m_CGFileName = path ? path : L""; }
    CString GetCGFileName() const { return m_CGFileName; }

    void SetLaneSlope(double value) { m_LaneSlope = value; }
    double GetLaneSlope() const { return m_LaneSlope; }
    void SetTLJSlope(double value) { m_TLJSlope = value; }
    double GetTLJSlope() const { return m_TLJSlope; }
    void SetInsideMaxSlopeDiff(double value) { m_InsideMaxSlopeDiff = value; }
    double GetInsideMaxSlopeDiff() const { return m_InsideMaxSlopeDiff; }
    void SetOutsideMaxSlopeDiff(double value) { m_OutsideMaxSlopeDiff = value; }
    double GetOutsideMaxSlopeDiff() const { return m_OutsideMaxSlopeDiff; }
    int GetOutsideTLJRotate() const { return m_OutsideTLJRotate; }
    void SetSingle(int value) { m_Single = value; }
    int GetSingle() const { return m_Single; }
    void SetTransitionMode(int value) { m_TransitionMode = value; }
    int GetTransitionMode() const { return m_TransitionMode; }
    void SetDTLeft(double value) { m_DTLeft = value; }
    double GetDTLeft() const { return m_DTLeft; }
    void SetDTRight(double value) { m_DTRight = value; }
    double GetDTRight() const { return m_DTRight; }
    void SetAxi(double value) { m_Axi = value; }
    double GetAxi() const { return m_Axi; }
    void SetAxiStyle(int value) { m_AxiStyle = value; }
    int GetAxiStyle() const { return m_AxiStyle; }
    void SetRotateMode(int value) { m_RotateMode = static_cast<unsigned short>(value); }
    int GetRotateMode() const { return m_RotateMode; }

    // Empties the rows; the header values stay.
    void RemoveAll();
    // Appends one row (the radius is carried only, not written to the file).
    void Add(double station, double left, double right, double radius);
    void AddZH(double station) { m_ZHs.Add(station); }
    void AddLeftSlope(double value) { m_LeftSlopes.Add(value); }
    void AddRightSlope(double value) { m_RightSlopes.Add(value); }

    // A list's value; -1.0 for an index outside the list.
    double GetZH(int index) const;
    double GetLeftSlope(int index) const;
    double GetRightSlope(int index) const;
    double GetR(int index) const;
    int GetSize() const { return static_cast<int>(m_ZHs.GetSize()); }
    int GetZHsCount() const { return GetSize(); }
    int GetLeftSlopesCount() const { return static_cast<int>(m_LeftSlopes.GetSize()); }
    int GetRightSlopesCount() const { return static_cast<int>(m_RightSlopes.GetSize()); }
    int GetRsCount() const { return static_cast<int>(m_Rs.GetSize()); }

    // Reads the file at path (blanks trimmed; it becomes the CG file name).
    CString ReadCGFile(CString path);
    // Reads the file named by the CG file name.  Empty text on success, else
    // the message (with the physical line number).  The header values and
    // the rows change only when the whole file was read.
    CString ReadCGFile();
    // Writes the header and every row into a file the caller opened for
    // writing (text mode).  Empty text on success; the message, with nothing
    // written, when there is no break chain, no row, the lists differ in
    // length or a value is no finite number.  A write that fails is
    // reported in the message too.
    CString WriteFile(CStdioFile& file);

    // Carriageway cross fall of the left (left true) or right side at a
    // station.  Within a transition code receives the kind of the transition
    // (0 one-way point inside it, 1 no superelevation, 2 both rows one-way, 3
    // the one-way point at a row) and side the turning side (1 the left side
    // turns over, -1 the right, 0 none); elsewhere both keep what the caller
    // put in them.  0 without rows.
    double GetCG(double station, bool left, int& code, int& side) const;
    // Earth-shoulder cross fall of one side at a station, in percent.
    double GetTLJCG(double station, bool left) const;

protected:
    // The one-way point between rows index-1 and index: where the turning
    // side reaches the crown cross fall of the inside side.  Returns 0 with
    // the point, the inside cross fall and whether the two-way row comes
    // first; 1 when neither side turns over, 2 when both rows are one-way, 3
    // when the point lies at a row.  0 without outputs for an index outside
    // 1 .. rows - 1.
    int CalDXPzh(int index, double& station, double& slope, int& side, bool& twoWayFirst) const;
    // Inverse of the cubic transition 3t^2 - 2t^3 on [0, 1]; values beyond
    // 1 in magnitude come back unchanged.
    double CalK(double fraction) const;

private:
    // Rows whose three lists all hold a value.
    int RowCount() const;
    CString ReadOpenFile(CStdioFile& in);

    const tkxBreakChain* m_pBreakChain;
    CString m_CGFileName;
    double m_LaneSlope;
    double m_TLJSlope;
    double m_InsideMaxSlopeDiff;
    double m_OutsideMaxSlopeDiff;
    int m_OutsideTLJRotate;
    int m_Single;
    int m_TransitionMode;
    double m_DTLeft;
    double m_DTRight;
    double m_Axi;
    int m_AxiStyle;
    unsigned short m_RotateMode;
    CArray<double, double> m_ZHs;
    CArray<double, double> m_LeftSlopes;
    CArray<double, double> m_RightSlopes;
    CArray<double, double> m_Rs;
};

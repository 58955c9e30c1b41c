// Structures on a road: bridges, culverts, passages, tunnels and at-grade
// crossings, located by continuous stations of the road's break chain.
//
// The structure-information file (.GZX) holds one structure a line, fields
// separated by blanks, tabs or commas, the first the kind code:
//
//   bridge    0 (+0 = 4, -0 = 5)  name, start station, skew angle (or start
//             and end angle joined by "_"), start and end abutment lengths,
//             span description, superstructure text, centre position,
//             default beam height                            (10 fields or more)
//   culvert   1  name, centre station, skew angle, span, left and right
//             additional lengths, height, bottom elevation, remark  (10 fields)
//   passage   2  as the culvert, then optionally T (flag set)   (10 or 11)
//   tunnel    3 (+3 = 6, -3 = 7)  name, start station, length, height (5)
//   crossing  8, 9, 10  name, crossing station, angle, front and back
//             lengths                                                (6)
//
// A bridge or tunnel station written with a leading "C" names the centre
// instead of the start.  Angles are degree texts such as 12d30'00.0".  A span
// description lists parts joined by "+", each L, n*L or n*L*H (n spans of
// length L and beam height H; "-" may stand for "*").
//
// The bridge station-range file (.QL) holds one bridge a line: start and end
// station, each optionally followed (as fields three and four) by its chain
// segment number.
#pragma once
#include "corvane/CorvaneDefs.h"

class tkxBreakChain;
class tkxXmlElement;

namespace Tavix4 {

// Structure kinds.
enum enQHKind {
    QH_BRIDGE = 0,
    QH_CULVERT = 1,
    QH_PASSAGE = 2,
    QH_TUNNEL = 3,
    QH_BRIDGE_PLUS = 4,
    QH_BRIDGE_MINUS = 5,
    QH_TUNNEL_PLUS = 6,
    QH_TUNNEL_MINUS = 7,
    QH_CROSSING_8 = 8,
    QH_CROSSING_9 = 9,
    QH_CROSSING_10 = 10,
};

// One structure as a plain record (span lengths and beam heights are derived
// again from the span description).
struct sQHInfo {
    int m_iKind = 0;
    CString m_SName;        // "NULL" when the structure has no name
    CString m_SKJDescribe;  // span description
    CString m_SSBDescribe;  // superstructure text
    double m_rCenterPos = 0.0;
    double m_rStartZH = 0.0;
    double m_rEndZH = 0.0;
    double m_rCenterZH = 0.0;
    double m_rStartAngle = 0.0;
    double m_rEndAngle = 0.0;
    double m_rStartQTLength = 0.0; // start abutment / front length
    double m_rEndQTLength = 0.0;   // end abutment / back length
    double m_rLength = 0.0;
    double m_rLeftOffset = 0.0;
    double m_rRightOffset = 0.0;
    double m_rHeight = 0.0;
    double m_rBottomElevation = 0.0;
    CString m_SRemark;
    BYTE m_bFlag = 0;
};

} // namespace Tavix4

class CORVANE_API tkxQHInfo
{
public:
    explicit tkxQHInfo(const tkxBreakChain* chain);
    tkxQHInfo(const tkxBreakChain* chain, Tavix4::sQHInfo record);
    tkxQHInfo(const tkxQHInfo& other);
    tkxQHInfo& operator=(const tkxQHInfo& other);
    virtual ~tkxQHInfo();

    // One line of the structure file; "" on success, else the message.
    CString ReadInfoFromString(const wchar_t* line);
    // One line of the station-range file (a bridge); "" or the message.
    CString ReadQLRangeFromString(const wchar_t* line);
    // The structure's line of the structure file (tab-separated); empty for
    // an unknown kind.
    CString WriteInfoToString() const;

    // The structure as an XML element "Record" whose attribute str holds the
    // structure line.
    int ImportXML(tkxXmlElement* element);
    int ExportXML(tkxXmlElement* parent) const;

    int GetInfoByStruct(Tavix4::sQHInfo record);
    Tavix4::sQHInfo GetStruct() const;

    // Span lengths and beam heights of a span description; 1, or 0 with the
    // last-error text.  At most 100,000 spans in all.
    static int GetBridgeLengths(const wchar_t* description, CArray<double, double>& spans,
                                CArray<double, double>& heights, double defaultHeight);
    // The same for one part without "+".
    static int GetSegmentLengths(const wchar_t* description, CArray<double, double>& spans,
                                 CArray<double, double>& heights, double defaultHeight);

    // Station of span boundary i (0: the first pier line after the start
    // abutment).
    double GetBrgZH(int i) const;
    // Beam height of the span holding a station; 0 with the last-error text
    // outside the spans.
    double GetBrgHeight(double station) const;
    // Skew angle at a station, linear between the two ends.
    double GetMidAngle(double station) const;
    // Span label: the description with "×" and the superstructure text.
    CString GetDimString() const;
    // The name with "$Z" replaced by prefix + the centre station text, "$__"
    // by two blanks and "$_" by one.
    CString GetDimName(const wchar_t* prefix, int flag) const;
    static CString GetDimName(const Tavix4::sQHInfo& record, const tkxBreakChain& chain, const wchar_t* prefix,
                              int flag);
    int IsQiaoLiang() const;

    // The angle text of the structure's skew angles; the angles of a text.
    CString GetGZWAngleString() const;
    static int GetGZWAngle(const wchar_t* text, double& start, double& end);

    CString GetName() const { return m_SName; }
    double GetStartZH() const { return m_rStartZH; }
    double GetEndZH() const { return m_rEndZH; }
    double GetCenterZH() const { return m_rCenterZH; }
    double GetStartAngle() const { return m_rStartAngle; }
    double GetEndAngle() const { return m_rEndAngle; }
    double GetLength() const { return m_rLength; }
    double GetLeftOffset() const { return m_rLeftOffset; }
    double GetRightOffset() const { return m_rRightOffset; }
    double GetStartQTLength() const { return m_rStartQTLength; }
    double GetEndQTLength() const { return m_rEndQTLength; }
    CString GetKJDescribe() const { return m_SKJDescribe; }
    CString GetSBDescribe() const { return m_SSBDescribe; }
    int GetKJNumber() const { return static_cast<int>(m_KJLengths.GetSize()); }
    const tkxBreakChain* GetBreakChain() const { return m_pBreakChain; }
    void SetBreakChain(const tkxBreakChain* chain) { m_pBreakChain = chain; }

protected:
    // Span lengths and beam heights from the span description.
    int GetLengths();
    // Splits "3*20+2*30 T梁" into span description and superstructure text.
    int DivideString(CString text);

private:
    // The structure file's reader, which reads the fields of the lines it
    // split itself and moves each structure it read into the file's list of
    // records.
    friend class StructureFileReader;

    const tkxBreakChain& Chain() const;
    void ComputeEndZH();
    void ComputeCenterZH();
    // A station text of the chain; false when it is none.
    bool ReadStation(const wchar_t* text, double& station) const;

    const tkxBreakChain* m_pBreakChain;
    CString m_SName;
    int m_iKind;
    double m_rStartZH;
    double m_rEndZH;
    double m_rCenterZH;
    CString m_SKJDescribe;
    CString m_SSBDescribe;
    CArray<double, double> m_KJLengths;
    CArray<double, double> m_BeamHeights;
    double m_rCenterPos;
    double m_rStartQTLength;
    double m_rEndQTLength;
    double m_rStartAngle;
    double m_rEndAngle;
    double m_rLength;
    double m_rLeftOffset;
    double m_rRightOffset;
    double m_rHeight;
    double m_rBottomElevation;
    CString m_SRemark;
    BYTE m_bFlag;
};

// Reads a structure file (.GZX) or, for the extension .QL, a bridge
// station-range file, with the road's break chain.  1 with every structure
// in `out`; 0 with the last-error text naming the file and the line, `out`
// then left as it was.
CORVANE_API int tkx_ReadQHFile(const wchar_t* path, const tkxBreakChain& chain,
                               CArray<Tavix4::sQHInfo, Tavix4::sQHInfo>& out);

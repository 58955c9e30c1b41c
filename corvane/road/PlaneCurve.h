// The horizontal curve at one intersection point (JD) of a road: an optional
// entering clothoid, an optional circular arc and an optional exiting
// clothoid, with the intersection point itself.  A road's alignment in
// intersection-point form is an array of these: the road start, the curves
// and curve-less turn points, the road end (see CurveFunctions.h).
//
// The turn point record holds the intersection point: station, the signed
// deflection angle in its azimuth field (positive for a left turn), X
// (easting), Y (northing), Z and the point's name.
#pragma once
#include "corvane/geometry/Points.h"
#include "corvane/road/ClothoidUnit.h"
#include "corvane/road/LineArcUnits.h"

namespace Tavix4 {

// A curve's design values in the plain form the CAD modules exchange.
struct sJDData {
    int m_iType = 0; // point type (3 for a curve)
    double m_rX = 0.0;
    double m_rY = 0.0;
    double m_rZ = 0.0;
    double m_rStartR = 0.0;
    double m_rA1 = 0.0;
    double m_rLs1 = 0.0;
    double m_rR = 0.0;
    double m_rA2 = 0.0;
    double m_rLs2 = 0.0;
    double m_rReserved[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    double m_rEndR = 0.0;
};

// The key points of a curve; any other value counts as the curve end.
enum enPQXKeyPt {
    PQX_ZH = 0, // curve start
    PQX_HY = 1, // end of the first clothoid
    PQX_QZ = 2, // curve middle
    PQX_YH = 3, // start of the second clothoid
    PQX_HZ = 4, // curve end
};

} // namespace Tavix4

class CORVANE_API tkxPlaneCurve3 : public CObject
{
    DECLARE_SERIAL(tkxPlaneCurve3)
public:
    // The full element set of one intersection point.
    struct CORVANE_API sJDInfo {
        short m_nKind = 0;   // 0 without units, 3 otherwise
        int m_iReserved = 0;
        CString m_SName;
        double m_rZH = 0.0;  // station of the intersection point
        tkxPoint3d m_Point;  // x easting, y northing
        int m_iTurn = 0;     // enDir
        double m_rAngle = 0.0; // signed deflection, radians
        double m_rStartR = 1e10;
        double m_rR = 0.0;
        double m_rEndR = 1e10;
        double m_rT1 = 0.0;
        double m_rT2 = 0.0;
        double m_rL = 0.0;
        double m_rE = 0.0;
        double m_rLs1 = 0.0;
        double m_rA1 = 0.0;
        double m_rLs2 = 0.0;
        double m_rA2 = 0.0;
        double m_rZH_ZH = 0.0; // curve start
        double m_rZH_HY = 0.0; // end of the first clothoid
        double m_rZH_YH = 0.0; // start of the second clothoid
        double m_rZH_HZ = 0.0; // curve end
    };

    tkxPlaneCurve3();
    tkxPlaneCurve3(const tkxPlaneCurve3& other);
    ~tkxPlaneCurve3() override;

    // Station, deflection, X, Y, Z, name, turn, then each unit behind a
    // presence flag.
    void Serialize(CArchive& ar) override;
    void AssertValid() const override;
    void Dump(CDumpContext& dc) const override;

    // Deletes the units; the record and the turn stay.
    virtual void Reset();
    virtual int operator=(const tkxPlaneCurve3& other);

    // -- elements -------------------------------------------------------------

    virtual Tavix4::sZHPtInfo TurnPtInfo() const;
    virtual enDir TurnDir() const;
    // Start of the first unit / end of the last; without units the turn
    // point with radius 1e10.
    virtual Tavix4::sZHPtInfo StartPtInfo() const;
    virtual Tavix4::sZHPtInfo MidPtInfo() const;
    virtual Tavix4::sZHPtInfo EndPtInfo() const;
    virtual double StartAzimuth() const;
    virtual double EndAzimuth() const;
    virtual double StartZH() const;
    virtual double MidZH() const;
    virtual double EndZH() const;
    // Radius at the start of the first clothoid / the end of the second;
    // 1e10 without that clothoid.
    virtual double StartR() const;
    virtual double EndR() const;
    // Tangent lengths: curve start / end to the intersection point.
    virtual double T1() const;
    virtual double T2() const;
    virtual double Length() const;
    // External distance: intersection point to the curve.
    virtual double E() const;
    // T1 + T2 - Length.
    virtual double D() const;
    virtual double A1() const;
    virtual double Ls1() const;
    // The arc's radius (without an arc the radius where the clothoids meet).
    virtual double R() const;
    virtual double A2() const;
    virtual double Ls2() const;
    virtual double ArcLength() const;
    virtual tkxPoint3d ArcCenterPt() const;
    virtual void GetJDInfo(sJDInfo& info) const;
    virtual void GetJDData(Tavix4::sJDData& data) const;
    // 0 when the curve has no such point (HY and YH without clothoids and
    // arc).
    virtual int KeyPtInfo(Tavix4::enPQXKeyPt which, Tavix4::sZHPtInfo& out) const;
    // Appends one record per present unit (the array is not emptied).
    virtual void GetUnitInfos(CArray<Tavix4::sUnitInfo, Tavix4::sUnitInfo>& out) const;
    // The curve's tool tip for the deflection angle (radians); the buffer
    // must hold the whole text.
    virtual void TooltipString(double angle, wchar_t* buffer) const;
    virtual void GetNearestPoint(tkxPoint3d p, Tavix4::sZHPtInfo& out) const;
    virtual enDir GetLeftRight(const tkxPoint3d& p) const;
    // The point at a distance from the curve start (not a station).
    virtual int GetPoint(double distance, Tavix4::sZHPtInfo& out) const;

    // -- building -------------------------------------------------------------

    // Stations of the units from the curve start; the intersection point's
    // station becomes start + T1.
    virtual void SetStartZH(double station);
    virtual void SetJDName(const wchar_t* name);
    // Point, name and turn; units from the radii and clothoid lengths (none
    // for R < 1e-6).  The units are placed later by SetTurnAngle.
    virtual void SetJDInfo(const sJDInfo& info);
    virtual bool SetJDData(const Tavix4::sJDData& data);
    virtual int SetClothoid1(const tkxClothoidUnit& unit);
    virtual int SetArc(const tkxArcUnit& unit);
    virtual int SetClothoid2(const tkxClothoidUnit& unit);
    // Places the units between the neighbouring intersection points.
    virtual int SetTurnAngle(const tkxPoint3d& prev, const tkxPoint3d& next);
    // Joins the units end to start and moves them so that their tangents
    // meet at the intersection point.
    virtual int RelinkUnits(tkxPoint3d prev);
    // The intersection point, deflection, turn and station from the units'
    // end tangents.
    virtual int ComputeTurnPt();
    virtual int GetClothoid1(tkxClothoidUnit& out) const;
    virtual int GetClothoid2(tkxClothoidUnit& out) const;
    virtual int GetArc(tkxArcUnit& out) const;
    // 0 with the last-error text when a tangent is longer than the distance
    // to its neighbour.
    virtual int CheckT(const tkxPoint3d& prev, const tkxPoint3d& next) const;
    // Whether the plan point lies abreast of the curve.
    virtual int InsideRange(const tkxPoint3d& p) const;
    // The unit (1 first clothoid, 2 arc, 3 second clothoid) holding a
    // station, with its ends and turn.
    virtual int HitTest(double station, Tavix4::sZHPtInfo& start, Tavix4::sZHPtInfo& end, enDir& turn,
                        short& which) const;
    virtual void CreateRoadQD(Tavix4::sZHPtInfo point);
    virtual void CreateRoadZD(Tavix4::sZHPtInfo point);
    virtual void CreateNullJD(Tavix4::sZHPtInfo point, enDir turn);

protected:
    virtual tkxRoadPMUnit* StartUnit() const;
    virtual tkxRoadPMUnit* EndUnit() const;
    // Signed deflection at jd between prev and next (positive left).
    virtual double ComputeJDAngle(tkxPoint3d prev, tkxPoint3d jd, tkxPoint3d next) const;
    virtual int SetTurnDir(enDir dir, int update);
    // Tangent length of a symmetric clothoid-arc-clothoid curve of radius R
    // over the curve's deflection.
    virtual int ComputeDefaultTByRadius(double R, double& T) const;

public:
    // One row of the intersection-point file into this curve; 1, or 0 with
    // the message and the curve left as it was.  A road-end row gives 1 with
    // the message "EOF".
    virtual int ReadJDFile(const wchar_t* line, CString& message);
    // The row's text after its type code.
    virtual CString OutputJDFile() const;
    // Whether the curve stands for a road start point (made by CreateRoadQD
    // or read from a start row): the intersection-point file writes it as a
    // start row with its station wherever it stands in the array.
    bool IsRoadStart() const { return m_bRoadStart; }

private:
    void DeleteUnits();
    void CopyFrom(const tkxPlaneCurve3& other);
    // The three units in their order (null where absent).
    tkxRoadPMUnit* UnitAt(int i) const;

    Tavix4::sZHPtInfo m_TurnPt;
    int m_iTurnDir;
    bool m_bRoadStart;
    tkxClothoidUnit* m_pClothoid1;
    tkxArcUnit* m_pArc;
    tkxClothoidUnit* m_pClothoid2;
};

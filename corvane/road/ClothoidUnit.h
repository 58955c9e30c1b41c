// The transition curve of the horizontal alignment: a clothoid, whose
// curvature grows linearly with the length from its origin (the point of
// infinite radius): R * l = A * A.  Four unit types by start radius R1 and
// end radius R2:
//   3  infinite -> R   (origin at the start)
//   4  R -> infinite   (origin at the end)
//   5  R1 > R2 finite  (origin behind the start)
//   6  R1 < R2 finite  (origin beyond the end)
//
// Its line of the alignment unit file:
//   3, A, end radius, turn [, start azimuth]
//   4, A, start radius, turn [, start azimuth]
//   5 or 6, A, start radius, end radius, turn [, start azimuth]
// (turn field 1 a right turn, anything else a left one; the length follows
// from A and the radii; for codes 5 and 6 the radii decide the type).
#pragma once
#include "corvane/road/PlaneUnit.h"

class CORVANE_API tkxClothoidUnit : public tkxRoadPMUnit
{
    DECLARE_SERIAL(tkxClothoidUnit)
public:
    // Type 3, A 0, beta 0, origin at (0, 0, 0) heading north, 14 series
    // terms.
    tkxClothoidUnit();
    tkxClothoidUnit(const tkxClothoidUnit& other);
    ~tkxClothoidUnit() override;

    // The base layout, then A and beta.
    void Serialize(CArchive& ar) override;

    // -- shared clothoid formulas ---------------------------------------------

    // Type from the two radii; 0 (type untouched) when they differ by less
    // than 0.001.  A radius above 99999999.99 counts as infinite.
    static int ComputeType(double R1, double R2, Tavix4::tkxUnitType& type);
    // Parameter of the clothoid of length L between the radii; 0 when there
    // is none.
    static double ComputeA(double R1, double R2, double L);
    // Length of the clothoid with parameter A between the radii; 0 when there
    // is none.
    static double ComputeLength(double R1, double R2, double A);
    // Total change of the tangent angle over the unit (radians).
    static double ComputeBeta(Tavix4::tkxUnitType type, double R1, double R2, double A, double L);
    // Coordinates of the point at length L from the origin in the origin's
    // frame (x along the origin tangent, y to the turning side), by n terms
    // of the series (terms too small to change either coordinate left out);
    // 0 when a coordinate exceeds 1e8.
    static int ComputeXXYY(double L, double A, int n, double* out);
    // The A whose clothoid shifts a circle of radius R by p; 0 when none.
    static double ComputeDefaultA(double p, double R);
    // Distance of the shifted circle's centre from the origin tangent; -1
    // when the series fails.
    static double ComputeCLDistance(double A, double R);

    // -- building and editing -------------------------------------------------

    // From a start record (its radius is R1) to radius R2 over length L with
    // the turn; 0 when the radii give no clothoid.
    int SetUnitInfo(Tavix4::sZHPtInfo start, double R2, double L, enDir turn);
    // Takes every value as given.
    void SetUnitInfo(Tavix4::sZHPtInfo start, Tavix4::sZHPtInfo end, double A, double L, double beta,
                     double* basePoint, double baseAzimuth, int turn);
    int SetA(double A, int update);
    int SetLength(double L, int update) override;
    int SetStartR(double R, int update);
    int SetEndR(double R, int update);
    // New total tangent change; types 3 and 4 keep their radii and change
    // length and A; types 5 and 6 get the A of that change between their
    // radii, and the length follows.
    int SetBeta(double beta, int update);

    double A() const;
    double GetBasePt_X() const;
    double GetBasePt_Y() const;
    double GetBaseAzimuth() const;
    // Types 5 and 6: how far the smaller circle lies inside the larger one;
    // 0 for types 3 and 4.
    double GetCCDistance() const;
    // Radius R and length L at which the tangent has turned by `angle` from
    // the start.
    void GetRL(double angle, double& R, double& L) const;

    // -- the unit interface ---------------------------------------------------

    void Reset() override;
    int GetOtherData() override;
    int UpdateEndPtInfo() override;
    int Inverse() override;
    int Scale(double k) override;
    int Move(const double* d) override;
    int MoveTo(const double* p) override;
    CString List() const override;
    int GetMidPoint(double* out) const override;
    enDir GetLeftRight(const double* p) const override;
    void GetNearestPoint(const double* p, Tavix4::sZHPtInfo& out) const override;
    int GetPoint(double s, Tavix4::sZHPtInfo& out) const override;
    double GetR(double s) const override;
    CString LoadFromString(Tavix4::sZHPtInfo start, const wchar_t* line) override;
    // The same for a line of known length, with the sines and cosines of the
    // azimuths met so far (the unit file's reader keeps them from unit to
    // unit).
    CString LoadFromString(const Tavix4::sZHPtInfo& start, std::wstring_view line, alignment::Headings& headings);
    // The same for the fields of a line already split.
    CString LoadFromFields(const Tavix4::sZHPtInfo& start, const text_lines::LineFields& fields,
                           alignment::Headings& headings);
    CString SaveToString() const override;

    virtual int operator=(const tkxClothoidUnit& other);
    // Golden-section search of the nearest point over the length.
    virtual void GetNearestPoint_BigBeta(const double* p, Tavix4::sZHPtInfo& out) const;

protected:
    // Series points in the origin's frame: type 3 `second` at L, type 4
    // `first` at L, types 5 and 6 `first` at A²/R1 and `second` at A²/R2.
    int GetKeyRelativePoint(double* first, double* second) const;
    // Types 5 and 6: the plan offset between the two key points turned back
    // by the tangent angle at the start (5) or end (6) radius.
    int GetRelativePoint(double* out) const;
    int UpdateLength();
    int UpdateA();
    int UpdateBeta();
    // Origin and origin azimuth from a point P of the clothoid with radius R
    // and tangent azimuth az.
    int UpdateBasePoint(const double* P, double A, double R, double az);
    // The end record from the point at the unit's length.
    bool EndFromPoint();

private:
    // The same, with the sines and cosines of the azimuths met so far.
    int PointAt(double s, Tavix4::sZHPtInfo& out, alignment::Headings& headings) const;
    int UpdateBasePoint(const double* P, double A, double R, double az, alignment::Headings& headings);
    bool EndFromPoint(alignment::Headings& headings);
    int UpdateEndPtInfo(alignment::Headings& headings);
    int GetOtherData(alignment::Headings& headings);

protected:

    short m_nTerms;
    double m_rA;
    double m_BasePt[3];
    double m_rBaseAzimuth;
};

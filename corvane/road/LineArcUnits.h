// The straight (unit type 1) and the circular arc (unit type 2) of the
// horizontal alignment, with their lines of the alignment unit file:
//
//   straight  1, length [, start azimuth]
//   arc       2, radius, length, turn [, start azimuth]
//
// The file's turn field is 1 for a right turn and anything else for a left
// turn (writers put -1); a given start azimuth (radians) replaces the
// previous unit's end azimuth and marks the unit as starting with a break.
#pragma once
#include "corvane/road/PlaneUnit.h"

class CORVANE_API tkxLineUnit : public tkxRoadPMUnit
{
    DECLARE_SERIAL(tkxLineUnit)
public:
    // A reset unit of type 1 with both radii 1e10.
    tkxLineUnit();
    tkxLineUnit(const tkxLineUnit& other);
    ~tkxLineUnit() override;

    int operator=(const tkxLineUnit& other);

    // The straight from start to end: both azimuths point from start to end,
    // radii 1e10, length = plan distance.  Stations are taken as given.
    void SetUnitInfo(Tavix4::sZHPtInfo start, Tavix4::sZHPtInfo end);

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
    CString LoadFromString(Tavix4::sZHPtInfo start, const wchar_t* line) override;
    // The same for a line of known length, with the sines and cosines of the
    // azimuths met so far (the unit file's reader keeps them from unit to
    // unit).
    CString LoadFromString(const Tavix4::sZHPtInfo& start, std::wstring_view line, alignment::Headings& headings);
    // The same for the fields of a line already split.
    CString LoadFromFields(const Tavix4::sZHPtInfo& start, const text_lines::LineFields& fields,
                           alignment::Headings& headings);
    // The straight an arc's line stands for (see tkxArcUnit::IsWrittenStraight):
    // its length and start azimuth, with the arc's messages for its fields.
    CString LoadFromArcFields(const Tavix4::sZHPtInfo& start, const text_lines::LineFields& fields,
                              alignment::Headings& headings);
    CString SaveToString() const override;

private:
    // The same, with the sines and cosines of the azimuths met so far.
    int GetOtherData(alignment::Headings& headings);
    int UpdateEndPtInfo(alignment::Headings& headings);
    // Length, start azimuth (when given) and the end of a line read.
    void TakeLength(double length, const double* azimuth, alignment::Headings& headings);
};

class CORVANE_API tkxArcUnit : public tkxRoadPMUnit
{
    DECLARE_SERIAL(tkxArcUnit)
public:
    // A reset unit of type 2 (radii 0) with the centre at the origin.
    tkxArcUnit();
    tkxArcUnit(const tkxArcUnit& other);
    ~tkxArcUnit() override;

    // The arc from a start record (its radius is the arc's) of length L
    // turning to `turn`; 0 with nothing more set for L < 1e-6 or no turn.
    int SetUnitInfo(const Tavix4::sZHPtInfo& start, double L, enDir turn);
    // Takes both records, the centre and the length as they are (turn 1 for
    // 1, else -1).
    void SetUnitInfo(Tavix4::sZHPtInfo start, Tavix4::sZHPtInfo end, const double* centre, double L, int turn);

    void Reset() override;
    int GetOtherData() override;
    int UpdateEndPtInfo() override;
    int Inverse() override;
    int Scale(double k) override;
    int Move(const double* d) override;
    int MoveTo(const double* p) override;
    // New radius; with update 1 the length follows from the azimuth sweep.
    int SetR(double R, int update);
    // Length = radius * angle.
    int SetCenterAngle(double angle, int update);
    CString List() const override;
    int GetMidPoint(double* out) const override;
    enDir GetLeftRight(const double* p) const override;
    double GetR(double s) const override;
    void GetNearestPoint(const double* p, Tavix4::sZHPtInfo& out) const override;
    int GetPoint(double s, Tavix4::sZHPtInfo& out) const override;
    CString LoadFromString(Tavix4::sZHPtInfo start, const wchar_t* line) override;
    // The same for a line of known length, with the sines and cosines of the
    // azimuths met so far (the unit file's reader keeps them from unit to
    // unit).
    CString LoadFromString(const Tavix4::sZHPtInfo& start, std::wstring_view line, alignment::Headings& headings);
    // The same for the fields of a line already split.  A radius counted
    // infinite (above 99999999.99) is refused with its field's message.
    CString LoadFromFields(const Tavix4::sZHPtInfo& start, const text_lines::LineFields& fields,
                           alignment::Headings& headings);
    // Whether an arc's line is one this library writes for an arc of the
    // radius a straight holds (exactly 1e10, or the 1e8 of a new station
    // record): the unit file's reader reads it as the straight of its length.
    static bool IsWrittenStraight(const text_lines::LineFields& fields);
    CString SaveToString() const override;

    virtual int operator=(const tkxArcUnit& other);
    virtual double R() const;
    // Length / R (0 for a radius below 1e-10).
    virtual double CenterAngle() const;
    virtual void CentrePt(double* out) const;

private:
    // The same, with the sines and cosines of the azimuths met so far.
    int GetOtherData(alignment::Headings& headings);
    int UpdateEndPtInfo(alignment::Headings& headings);

protected:
    double m_Centre[3];
};

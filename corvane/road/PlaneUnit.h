// The horizontal alignment as a chain of building-block units (straights,
// circular arcs, clothoids), each starting where the one before ends: the
// unit types, the record that describes one unit, and the abstract base
// class of every unit.
//
// Plan conventions: X is the easting, Y the northing; an azimuth is in
// radians clockwise from north, so a step d along azimuth a adds d*sin(a) to
// X and d*cos(a) to Y.  A unit's turn is enDir: 1 left (the azimuth decreases
// along the unit), -1 right (it increases), 0 none.  A unit stores an
// infinite radius as 1e10.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/geometry/Vectors.h"
#include "corvane/road/StationPoint.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace text_lines {
class LineFields;
}

namespace Tavix4 {

enum tkxUnitType {
    UNIT_LINE = 1,          // straight
    UNIT_ARC = 2,           // circular arc
    UNIT_CLOTHOID_IN = 3,   // clothoid from an infinite radius to R
    UNIT_CLOTHOID_OUT = 4,  // clothoid from R to an infinite radius
    UNIT_CLOTHOID_DEC = 5,  // clothoid between finite radii, radius decreasing
    UNIT_CLOTHOID_INC = 6,  // clothoid between finite radii, radius increasing
};

// One unit as exchanged with the road object and the intersection-point
// curves.
struct sUnitInfo {
    int m_iUnitType = UNIT_LINE; // tkxUnitType
    int m_iTurn = DIR_NONE;      // enDir
    sZHPtInfo m_StartPt;
    sZHPtInfo m_EndPt;
};

} // namespace Tavix4

namespace alignment {

// A record as a unit keeps it: the numbers in place and the name, which few
// records have, apart (a unit made by the ten thousand carries no empty
// names).  It reads and assigns as a sZHPtInfo, name included.
class UnitRecord
{
public:
    double m_rZH = 0.0;
    double m_rAzimuth = 0.0;
    double m_rRadius = 1e8;
    double m_rX = 0.0;
    double m_rY = 0.0;
    double m_rZ = 0.0;

    UnitRecord() = default;
    UnitRecord(const UnitRecord& other) { *this = other; }
    UnitRecord& operator=(const UnitRecord& other)
    {
        if (this != &other) {
            SetNumbers(other);
            SetName(other.Name());
        }
        return *this;
    }
    UnitRecord& operator=(const Tavix4::sZHPtInfo& record)
    {
        SetNumbers(record);
        SetName(record.m_SName);
        return *this;
    }
    operator Tavix4::sZHPtInfo() const
    {
        Tavix4::sZHPtInfo record;
        record.m_rZH = m_rZH;
        record.m_rAzimuth = m_rAzimuth;
        record.m_rRadius = m_rRadius;
        record.m_rX = m_rX;
        record.m_rY = m_rY;
        record.m_rZ = m_rZ;
        if (m_name) record.m_SName = *m_name;
        return record;
    }

    CString Name() const { return m_name ? *m_name : CString(); }
    void SetName(const CString& name)
    {
        if (name.IsEmpty())
            m_name.reset();
        else if (m_name)
            *m_name = name;
        else
            m_name = std::make_unique<CString>(name);
    }

private:
    template <class Record> void SetNumbers(const Record& record)
    {
        m_rZH = record.m_rZH;
        m_rAzimuth = record.m_rAzimuth;
        m_rRadius = record.m_rRadius;
        m_rX = record.m_rX;
        m_rY = record.m_rY;
        m_rZ = record.m_rZ;
    }

    std::unique_ptr<CString> m_name; // null: no name
};

} // namespace alignment

class CORVANE_API tkxRoadPMUnit : public CObject
{
    DECLARE_DYNAMIC(tkxRoadPMUnit)
public:
    // Type 1, turn 0, both records with radius 1e10 and every other number 0.
    tkxRoadPMUnit();
    tkxRoadPMUnit(const tkxRoadPMUnit& other);
    ~tkxRoadPMUnit() override;

    // Units are made by the ten thousand when an alignment is read: objects
    // of the size of one of the library's unit classes are taken from blocks
    // of many, any other from the heap; `delete` gives each back where it
    // came from.
    static void* operator new(size_t size);
    static void operator delete(void* unit, size_t size);

    // Type, turn, the two records, length: the archive form shared by every
    // unit.  Reference points, beta and whatever a unit derives are not
    // stored: who loads a unit calls GetOtherData to rebuild them.
    void Serialize(CArchive& ar) override;
    void AssertValid() const override;
    void Dump(CDumpContext& dc) const override;

    // Copies type, turn, both records, both reference points, length and the
    // start-azimuth flag (beta is left to the units that have one).
    virtual int operator=(const tkxRoadPMUnit& other);
    // Type 1, flag 0, every number of both records 0 (radius too), names
    // empty, turn 0, length 0; beta unchanged.
    virtual void Reset();
    // Fixed colour index by type: 1 -> 4, 2 -> 2, 3 and 5 -> 1, 4 and 6 -> 6.
    virtual short GetUnitColor() const;
    virtual double StartAzimuth() const;
    virtual double EndAzimuth() const;
    virtual double StartR() const;
    virtual double EndR() const;
    virtual double StartZH() const;
    virtual double EndZH() const;
    virtual double GetLength() const;
    virtual enDir TurnDir() const;
    // The unit's record; the type follows from the radii (above 1e6 both: a
    // straight; equal within 1e-6: an arc; otherwise the clothoid type).
    virtual Tavix4::sUnitInfo GetUnitInfo() const;
    // 1 when the unit's start azimuth was given explicitly (it need not equal
    // the previous unit's end azimuth).
    virtual int StartPTMutation() const;
    virtual void SetStartPtInfo(const Tavix4::sZHPtInfo& point);
    // Start station z, end station z + length.
    virtual void SetStartZH(double z);
    // update 1 recomputes the end and the derived data.
    virtual int SetLength(double L, int update);
    // Recomputes everything derived from the defining data.
    virtual int GetOtherData();
    virtual int UpdateEndPtInfo();
    virtual int Inverse();
    virtual int Scale(double k);
    // Adds d[0], d[1] to X, Y of start and end.
    virtual int Move(const double* d);
    // Start X, Y = p[0], p[1] and start Z = 0; the end follows in plan.
    virtual int MoveTo(const double* p);
    // New start azimuth, then GetOtherData.
    virtual int RotateTo(double a);
    // 0 without any change when a straight would get a turn or a curve none.
    virtual int SetTurn(enDir dir, int update);
    virtual double Length() const;
    virtual double GetBeta() const;
    // Description of the unit for the user.
    virtual CString List() const;
    virtual int GetMidPoint(double* out) const;
    virtual enDir GetLeftRight(const double* p) const;
    // Record of the unit point nearest to the plan point p.
    virtual void GetNearestPoint(const double* p, Tavix4::sZHPtInfo& out) const;
    // Record at distance s from the unit's start.
    virtual int GetPoint(double s, Tavix4::sZHPtInfo& out) const;
    // Radius at distance s from the unit's start.
    virtual double GetR(double s) const;
    virtual Tavix4::sZHPtInfo StartPtInfo() const;
    virtual Tavix4::sZHPtInfo EndPtInfo() const;
    virtual Tavix4::sZHPtInfo MidPtInfo() const;
    virtual void StartRefPt(double* out) const;
    virtual void EndRefPt(double* out) const;
    virtual unsigned short DefaultColor() const;
    // Reads the unit from its line of the alignment unit file, starting at
    // `start`; "" on success, else the message.
    virtual CString LoadFromString(Tavix4::sZHPtInfo start, const wchar_t* line) = 0;
    // The unit's line of the alignment unit file.
    virtual CString SaveToString() const = 0;

    // Colour index of a unit type from the suite's entity-colour settings.
    static unsigned short DefaultColor(Tavix4::tkxUnitType type);

protected:
    // The base part of List: the start and end records.
    CString ListPoints() const;
    void CopyBase(const tkxRoadPMUnit& other);

    int m_iUnitType;
    int m_iTurn;
    alignment::UnitRecord m_StartPt;
    alignment::UnitRecord m_EndPt;
    double m_StartRefPt[3];
    double m_EndRefPt[3];
    double m_rLength;
    double m_rBeta;
    int m_iStartMutation;
};

// A new unit from point a to point b (straight, arc or clothoid as the
// records' radii and the side of b demand); the caller deletes it.  Null when
// a clothoid cannot be built.
CORVANE_API tkxRoadPMUnit* tkx_CreateRoadPMUnit(const Tavix4::sZHPtInfo& a, const Tavix4::sZHPtInfo& b);

// ---------------------------------------------------------------------------
// Plan helpers of the alignment code (library-internal).

namespace alignment {

constexpr double kPi = 3.141592653589793;
// The radius a unit stores for "infinite".
constexpr double kInfiniteRadius = 1e10;

// out = p moved by d along the azimuth (z copied).
void MoveAlong(const double* p, double azimuth, double d, double* out);

// An angle with its sine and cosine, worked out together: several points
// moved along one azimuth cost one evaluation, and a sine taken this way
// costs less than the library's sine alone (the values are the same).
struct Heading {
    explicit Heading(double angle);
    double angle;
    double sine;
    double cosine;
};
// MoveAlong for an azimuth already worked out (inline: units call it for
// every point they work out).
inline void MoveAlong(const double* p, const Heading& azimuth, double d, double* out)
{
    const double x = p[0] + d * azimuth.sine;
    const double y = p[1] + d * azimuth.cosine;
    out[2] = p[2];
    out[0] = x;
    out[1] = y;
}

// The azimuths met while units are computed, with their sines and cosines:
// a unit starts on the azimuth the unit before ended on, and the points of a
// clothoid share its start and end azimuths, so each is worked out once while
// it is among the last few met.  An azimuth is found by its exact bits: its
// values are the very ones a new evaluation gives.
class Headings
{
public:
    Heading Of(double angle)
    {
        uint64_t bits;
        std::memcpy(&bits, &angle, sizeof bits);
        for (int i = 0; i < m_count; ++i)
            if (m_bits[i] == bits) return *m_known[i];
        const int i = m_next;
        m_next = (m_next + 1) % kRoom;
        if (m_count < kRoom) ++m_count;
        m_bits[i] = bits;
        m_known[i].emplace(angle);
        return *m_known[i];
    }

private:
    static constexpr int kRoom = 6;
    int m_count = 0;
    int m_next = 0;
    uint64_t m_bits[kRoom] = {};
    std::optional<Heading> m_known[kRoom];
};

// X, Y, Z of a record.
void PointOf(const Tavix4::sZHPtInfo& record, double* out);
inline void PointOf(const UnitRecord& record, double* out)
{
    out[0] = record.m_rX;
    out[1] = record.m_rY;
    out[2] = record.m_rZ;
}
// The angle wrapped into (-pi, pi].
double WrapAngle(double angle);
// The angle a unit of the given turn sweeps from azimuth `from` to azimuth
// `to`, in [0, 2*pi): the azimuth decreases along a left turn and increases
// along a right one.
double SweptAngle(double from, double to, int turn);
// Radius above 99999999.99 counts as infinite.
inline bool IsInfinite(double radius) { return radius > 99999999.99; }

// The unit classes' pools give their empty and prepared blocks back to the
// system, and keep none from then on (the library's unload).
void CloseUnitPools();

} // namespace alignment

// The ground line of one cross-section: the terrain measured square to the
// centre line at one station, as ground points to the left and to the right
// of the centre point.
//
// A side line of the cross-section ground-line file (.HDX) is a sequence of
// value pairs; the first value of a pair may carry a water mark ("[W" first
// point of a water stretch, "W]" last point, "W" inside).  The pairs mean, by
// layout:
//   ABS      offset from the centre line, absolute elevation
//   ABS1     offset from the centre line, elevation minus the centre elevation
//   relative offset and elevation increments from the previous point
// A side written "0 0" holds no ground point.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/geometry/Point3dArray.h"
#include "corvane/geometry/Points.h"
#include "corvane/road/StationPoint.h"

#include <vector>

class tkxBreakChain;
class tkxZDMInfo;
namespace hdx_read {
struct SectionAccess;
}

namespace Tavix4 {

enum enHDXFormat {
    HDX_ABS = 0,      // "ABS"
    HDX_ABS1 = 1,     // "ABS1"
    HDX_RELATIVE = 2, // no keyword
};

enum enWaterFlag {
    WATER_NONE = 0,
    WATER_START = 1,  // "[W"
    WATER_END = 2,    // "W]"
    WATER_INSIDE = 3, // "W"
};

// One ground point: offset from the centre line (never negative; the side
// says left or right), elevation, water mark.
struct sHdxPoint {
    float m_fOffset = 0.0f;
    float m_fElevation = 0.0f;
    enWaterFlag m_Flag = WATER_NONE;
};

} // namespace Tavix4

class CORVANE_API tkxHdxSection
{
public:
    // Station 0, azimuth 0, radius 1e10, X = Y = Z = 0.
    tkxHdxSection();
    explicit tkxHdxSection(const Tavix4::sZHPtInfo& point);
    tkxHdxSection(const tkxHdxSection& other);
    tkxHdxSection& operator=(const tkxHdxSection& other);
    virtual ~tkxHdxSection();

    // -- file text ------------------------------------------------------------

    // Reads one section (station line, left line, right line) from the file;
    // line is the caller's line counter.  1, or 0 with the last-error text
    // ("文件结束" when no station line is left).  The "ABS" layout needs the
    // profile (its ground line gives the centre elevation); without a
    // profile the centre elevation is 0.  After a read each side starts with
    // the centre point.
    int ReadHDX(CStdioFile& file, int& line, Tavix4::enHDXFormat format, const tkxBreakChain* chain,
                const tkxZDMInfo* profile);
    // Writes ExportString's text into the file.
    int WriteHDX(const tkxBreakChain* chain, CStdioFile& file, Tavix4::enHDXFormat format) const;
    // The section's three lines.  0 with the last-error text without a
    // break chain, or when a value is no number or a side's offsets are
    // negative or not increasing (the file could not be read back).
    int ExportString(const tkxBreakChain* chain, Tavix4::enHDXFormat format, CString& text) const;
    // The layout of a file from its first data line; empty on success, else
    // the message.
    static CString CheckHDXFormat(const wchar_t* path, Tavix4::enHDXFormat& format);

    // -- points and station ---------------------------------------------------

    // side 1 = left, any other value = right.
    void AddPt(double offset, double elevation, Tavix4::enWaterFlag flag, int side);
    // Appends the pairs with flag 0 after optional thinning of the vectors in
    // place: mode 0 none, 1 resampling at step tol, any other the removal of
    // points turning by less than tol radians (when tol > 1e-6).  Returns the
    // number appended.
    int AddLeftPt(std::vector<double>& offsets, std::vector<double>& elevations, double tol, int mode);
    int AddRightPt(std::vector<double>& offsets, std::vector<double>& elevations, double tol, int mode);
    void RemoveAll();
    void RemoveAllLeftPts();
    void RemoveAllRightPts();
    int GetLeftPtCount() const;
    int GetRightPtCount() const;
    // out[0] = offset, out[1] = elevation of point i; 0 when there is none.
    int GetLeftPt(int i, double* out) const;
    int GetRightPt(int i, double* out) const;
    int GetLeftPt(int i, tkxPoint3d& p, Tavix4::enWaterFlag& flag) const;
    int GetRightPt(int i, tkxPoint3d& p, Tavix4::enWaterFlag& flag) const;
    int GetAllLeftPts(CArray<Tavix4::sHdxPoint, Tavix4::sHdxPoint>& out) const;
    int GetAllRightPts(CArray<Tavix4::sHdxPoint, Tavix4::sHdxPoint>& out) const;
    tkxPoint3dArray GetAllLeftPts() const;
    tkxPoint3dArray GetAllRightPts() const;
    int GetAllLeftPts(std::vector<double>& offsets, std::vector<double>& elevations) const;
    int GetAllRightPts(std::vector<double>& offsets, std::vector<double>& elevations) const;
    int GetAllLeftPts(std::vector<double>& offsets, std::vector<double>& elevations, std::vector<short>& flags) const;
    int GetAllRightPts(std::vector<double>& offsets, std::vector<double>& elevations, std::vector<short>& flags) const;

    Tavix4::sZHPtInfo GetZHInfo() const { return m_ZHInfo; }
    void SetZHInfo(Tavix4::sZHPtInfo info) { m_ZHInfo = info; }
    // X, Y and Z of the station point.
    void SetZHPt(double* const xyz);
    void SetZH(double station) { m_ZHInfo.m_rZH = station; }

    // The station point, and plan coordinates and elevations of every point
    // (from the station point's X, Y and azimuth).
    void GetAllData(Tavix4::sZHPtInfo& point, std::vector<double>& leftX, std::vector<double>& leftY,
                    std::vector<double>& leftZ, std::vector<double>& rightX, std::vector<double>& rightY,
                    std::vector<double>& rightZ) const;

    // -- questions asked of the ground line -----------------------------------

    // Ground elevation at a signed offset (negative left, positive right);
    // beyond the last point the last elevation, or with extrapolate non-zero
    // the last piece extended.
    double GetElevation(double offset, int extrapolate) const;
    // Lowest / highest point over both sides; 1e99 / -1e99 without points.
    double GetMinElevation() const;
    double GetMaxElevation() const;
    // Lengthens or shortens both sides to the widths: mode 0 level, mode 1
    // along the last slope; 0 for any other mode.
    int Extend(double leftWidth, double rightWidth, int mode);

    // In the section's own frame (x the signed offset, y the elevation):
    // where a slope line of ratio 1:n from base, covering height h, meets
    // the ground of one side; extend makes it a ray.
    bool polarByHeight(tkxPoint3d base, double n, double h, bool left, bool extend, tkxPoint3d& out) const;
    // The same for a line of gradient g over horizontal distance d.
    bool polarByDistance(tkxPoint3d base, double g, double d, bool left, bool extend, tkxPoint3d& out) const;
    // First crossing of one side's ground line with the line a-b (a ray from
    // a when extend is true).
    bool intersectWith(bool left, tkxPoint3d a, tkxPoint3d b, tkxPoint3d& out, bool extend) const;

    // Number of water stretches ("[W" points) on a side.
    int GetWaterCount(int side) const;
    // The points of the k-th water stretch (from 0); their number.
    int GetWaterAt(int side, int k, tkxPoint3dArray& pts) const;

protected:
    // Reads and strips a water mark from a token.
    void CheckFlag(CString& token, Tavix4::enWaterFlag& flag) const;
    int SetPtWaterFlag(int side, int i, Tavix4::enWaterFlag flag);

private:
    friend struct hdx_read::SectionAccess;
    using Side = std::vector<Tavix4::sHdxPoint>;
    Side& SideOf(int side) { return side == 1 ? m_LeftPts : m_RightPts; }
    const Side& SideOf(int side) const { return side == 1 ? m_LeftPts : m_RightPts; }
    void AppendSide(const Side& side, Tavix4::enHDXFormat format, CString& text) const;
    static int AddPts(Side& side, std::vector<double>& offsets, std::vector<double>& elevations, double tol,
                      int mode);
    static bool GetPt(const Side& side, int i, double* out);
    static int GetAll(const Side& side, std::vector<double>& offsets, std::vector<double>& elevations,
                      std::vector<short>* flags);
    void ExtendSide(Side& side, double width, int mode) const;

    Tavix4::sZHPtInfo m_ZHInfo;
    Side m_LeftPts;
    Side m_RightPts;
};

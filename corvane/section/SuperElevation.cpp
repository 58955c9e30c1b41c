#include "corvane/section/SuperElevation.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"

#include <algorithm>
#include <cmath>

namespace {

// Reading starts from these header values; the outside difference is 10 %.
constexpr double kDefaultOutsideDiff = 0.1;

double ValueAt(const CArray<double, double>& list, int index)
{
    return index >= 0 && index < list.GetSize() ? list[index] : -1.0;
}

// Value of a number field; false when the field is no number.
bool Number(const CString& field, double& value)
{
    return StringToDouble(field, &value);
}

// The field without the "+" characters in front of it.
CString WithoutLeadingPlus(const CString& field)
{
    CString rest = field;
    rest.TrimLeft(L'+');
    return rest;
}

// A percentage held as a fraction, written back in percent.
double Percent(double fraction)
{
    return 100.0 * std::fabs(fraction);
}

} // namespace

tkxSuperElevation::tkxSuperElevation()
    : m_pBreakChain(nullptr), m_LaneSlope(0.0), m_TLJSlope(0.0), m_InsideMaxSlopeDiff(0.0),
      m_OutsideMaxSlopeDiff(kDefaultOutsideDiff), m_OutsideTLJRotate(0), m_Single(0), m_TransitionMode(1),
      m_DTLeft(0.0), m_DTRight(0.0), m_Axi(0.0), m_AxiStyle(0), m_RotateMode(0)
{
}

tkxSuperElevation::tkxSuperElevation(const tkxSuperElevation& other) : tkxSuperElevation()
{
    *this = other;
}

tkxSuperElevation::~tkxSuperElevation()
{
    RemoveAll();
}

tkxSuperElevation& tkxSuperElevation::operator=(const tkxSuperElevation& other)
{
    if (this == &other) return *this;
    m_pBreakChain = other.m_pBreakChain;
    m_CGFileName = other.m_CGFileName;
    m_LaneSlope = other.m_LaneSlope;
    m_TLJSlope = other.m_TLJSlope;
    m_InsideMaxSlopeDiff = other.m_InsideMaxSlopeDiff;
    m_OutsideMaxSlopeDiff = other.m_OutsideMaxSlopeDiff;
    m_OutsideTLJRotate = other.m_OutsideTLJRotate;
    m_Single = other.m_Single;
    m_TransitionMode = other.m_TransitionMode;
    m_DTLeft = other.m_DTLeft;
    m_DTRight = other.m_DTRight;
    m_Axi = other.m_Axi;
    m_AxiStyle = other.m_AxiStyle;
    m_RotateMode = other.m_RotateMode;
    RemoveAll();
    m_ZHs.Copy(other.m_ZHs);
    m_LeftSlopes.Copy(other.m_LeftSlopes);
    m_RightSlopes.Copy(other.m_RightSlopes);
    m_Rs.Copy(other.m_Rs);
    return *this;
}

void tkxSuperElevation::RemoveAll()
{
    m_ZHs.RemoveAll();
    m_LeftSlopes.RemoveAll();
    m_RightSlopes.RemoveAll();
    m_Rs.RemoveAll();
}

void tkxSuperElevation::Add(double station, double left, double right, double radius)
{
    m_ZHs.Add(station);
    m_LeftSlopes.Add(left);
    m_RightSlopes.Add(right);
    m_Rs.Add(radius);
}

double tkxSuperElevation::GetZH(int index) const { return ValueAt(m_ZHs, index); }
double tkxSuperElevation::GetLeftSlope(int index) const { return ValueAt(m_LeftSlopes, index); }
double tkxSuperElevation::GetRightSlope(int index) const { return ValueAt(m_RightSlopes, index); }
double tkxSuperElevation::GetR(int index) const { return ValueAt(m_Rs, index); }

int tkxSuperElevation::RowCount() const
{
    return static_cast<int>(std::min({m_ZHs.GetSize(), m_LeftSlopes.GetSize(), m_RightSlopes.GetSize()}));
}

// ---------------------------------------------------------------------------
// The CG file.

CString tkxSuperElevation::ReadCGFile(CString path)
{
    path.Trim();
    m_CGFileName = path;
    return ReadCGFile();
}

CString tkxSuperElevation::ReadCGFile()
{
    if (m_CGFileName.IsEmpty()) return L"未设置超高文件名.";
    // Every station goes through the break chain, so nothing is read
    // without one.
    if (!m_pBreakChain) return L"未定义道路断链对象错误!";
    CStdioFile in;
    if (!in.Open(m_CGFileName, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite)) return L"打开文件时失败!";
    // Read into a copy, taken over only when the whole file was read: a
    // failed read leaves the header and the rows as they were.
    tkxSuperElevation loaded(*this);
    CString message;
    try {
        message = loaded.ReadOpenFile(in);
    } catch (CFileException* e) {
        e->Delete();
        message = L"打开文件时失败!";
    }
    in.Abort();
    if (message.IsEmpty()) *this = loaded;
    return message;
}

CString tkxSuperElevation::ReadOpenFile(CStdioFile& in)
{
    RemoveAll();
    m_AxiStyle = 0;
    m_InsideMaxSlopeDiff = 0.0;
    m_OutsideTLJRotate = 0;
    m_OutsideMaxSlopeDiff = kDefaultOutsideDiff;

    int lineNo = 0;
    CString line;
    CStringArray fields;
    if (!tkx_ReadNextStringST(&in, line, lineNo) || tkx_DivideString(line, fields) != 0)
        return ClFormat(L"读第%d行时出错", lineNo);
    const int count = static_cast<int>(fields.GetSize());
    if (count < 7) return ClFormat(L"读第%d行数据个数<%d>少于7个", lineNo, count);

    double value = 0.0;
    auto datumError = [&](int datum, const wchar_t* what) {
        return ClFormat(L"第%d行数据, 第%d个数据: \n\n%s(%s)错误!", lineNo, datum, what, fields[datum - 1].GetString());
    };
    if (!Number(fields[0], value)) return datumError(1, L"单车道//多车道标志");
    m_Single = static_cast<int>(value) == 1 ? 1 : 0;
    if (!Number(fields[1], value)) return datumError(2, L"超高旋转轴至左侧行车道外边缘线的距离");
    m_DTLeft = value;
    if (!Number(fields[2], value)) return datumError(3, L"超高旋转轴至右侧行车道外边缘线的距离");
    m_DTRight = value;
    if (!Number(fields[3], value)) return datumError(4, L"土路肩横坡");
    m_TLJSlope = -(std::fabs(value) / 100.0);
    if (!Number(fields[4], value)) return datumError(5, L"超高过渡方式");
    m_TransitionMode = static_cast<int>(value) == 1 ? 1 : 0;
    // A "+" anywhere in the axis offset adds the central divider to the
    // axis distance.
    if (fields[5].Find(L'+') >= 0) m_AxiStyle = 1;
    if (!Number(WithoutLeadingPlus(fields[5]), value)) return datumError(6, L"超高旋转轴线至设计线的距离");
    m_Axi = value;
    if (!Number(fields[6], value)) return datumError(7, L"超高旋转方式");
    const int rotate = static_cast<int>(value);
    if (rotate < 0 || rotate > 3)
        return ClFormat(L"第%d行数据, 第7个数据: \n\n超高旋转方式(%s)应为0~3的数字!", lineNo, fields[6].GetString());
    m_RotateMode = static_cast<unsigned short>(rotate);
    // The axis offset stands for both axis distances.
    m_DTLeft = m_Axi;
    m_DTRight = m_Axi;
    if (count > 7) {
        if (!Number(fields[7], value)) return datumError(8, L"土路肩与行车道坡差1");
        m_InsideMaxSlopeDiff = std::fabs(value) / 100.0;
    }
    if (count > 8) {
        if (!Number(WithoutLeadingPlus(fields[8]), value)) return datumError(9, L"土路肩与行车道坡差2");
        m_OutsideMaxSlopeDiff = std::fabs(value) / 100.0;
        if (fields[8][0] == L'+') m_OutsideTLJRotate = 1;
    }

    const bool single = m_Single == 1;
    const int minFields = single ? 2 : 3;
    while (tkx_ReadNextStringST(&in, line, lineNo)) {
        if (tkx_DivideString(line, fields) != 0) return ClFormat(L"读第%d行时出错", lineNo);
        const int n = static_cast<int>(fields.GetSize());
        if (n < minFields || n > minFields + 1)
            return single ? ClFormat(L"读第%d行数据个数<%d>不符<单车道时2~3个>", lineNo, n)
                          : ClFormat(L"读第%d行数据个数<%d>不符<多车道时3~4个>", lineNo, n);
        double station = 0.0;
        if (!Number(fields[0], station))
            return ClFormat(L"第%d行数据, 第1个数据: \n\n桩号(%s)数据错误!", lineNo, fields[0].GetString());
        double chainage = station;
        if (n == minFields + 1) {
            double segmentValue = 0.0;
            if (!Number(fields[n - 1], segmentValue))
                return ClFormat(L"第%d行数据, 第%d个数据: \n\n断链号(%s)数据错误!", lineNo, n, fields[n - 1].GetString());
            const int segment = static_cast<int>(segmentValue);
            if (m_pBreakChain->GetGlobalZH(station, chainage, segment) == 0)
                return ClFormat(L"第%d行数据内容:%s.\n将断链桩号[%s %d]转换为整链桩号时出错!", lineNo, line.GetString(),
                                fields[0].GetString(), segment);
        } else if (m_pBreakChain->GetGlobalZH(station, chainage) == 0) {
            return ClFormat(L"第%d行数据内容:%s.\n将断链桩号[%s]转换为整链桩号时出错!", lineNo, line.GetString(),
                            fields[0].GetString());
        }
        double left = 0.0;
        double right = 0.0;
        if (single) {
            if (!Number(fields[1], left))
                return ClFormat(L"第%d行数据, 第2个数据: \n\n单向横坡度(%s)数据错误!", lineNo, fields[1].GetString());
            right = left;
        } else {
            if (!Number(fields[1], left))
                return ClFormat(L"第%d行数据, 第2个数据: \n\n左侧横坡度(%s)数据错误!", lineNo, fields[1].GetString());
            if (!Number(fields[2], right))
                return ClFormat(L"第%d行数据, 第3个数据: \n\n右侧横坡度(%s)数据错误!", lineNo, fields[2].GetString());
        }
        // Only whole rows go in, so the three lists always stay alike.
        m_ZHs.Add(chainage);
        m_LeftSlopes.Add(left);
        m_RightSlopes.Add(right);
    }
    return CString();
}

CString tkxSuperElevation::WriteFile(CStdioFile& file)
{
    if (!m_pBreakChain) return L"未定义道路断链对象错误!";
    const INT_PTR n = m_ZHs.GetSize();
    if (n == 0) return L"超高数据为空!";
    if (m_RightSlopes.GetSize() != n || (m_Single != 1 && m_LeftSlopes.GetSize() != n)) return L"超高数据个数不匹配!";
    // A value that is no number would be written as text the reader refuses.
    for (double value : {m_DTLeft, m_DTRight, m_TLJSlope, m_Axi, m_InsideMaxSlopeDiff, m_OutsideMaxSlopeDiff})
        if (!std::isfinite(value)) return ClFormat(L"超高文件头的数据<%g>不是有效的数!", value);
    for (INT_PTR i = 0; i < n; ++i) {
        const double row[3] = {m_ZHs[i], m_RightSlopes[i], m_Single != 1 ? m_LeftSlopes[i] : 0.0};
        for (double value : row)
            if (!std::isfinite(value))
                return ClFormat(L"第%d行超高数据<%g>不是有效的数!", static_cast<int>(i) + 1, value);
    }

    // The shoulder cross fall, the slope differences and the axis style are
    // written as the reader takes them, so a written file reads back alike.
    const double shoulder = Percent(m_TLJSlope);
    CString text = ClFormat(L"%d %.3f %.3f %.3f %d %s%.3f %d", m_Single == 1 ? 1 : 2, m_DTLeft, m_DTRight,
                            shoulder > 0.0 ? -shoulder : 0.0, m_TransitionMode == 1 ? 1 : 3,
                            m_AxiStyle == 1 ? L"+" : L"", m_Axi, static_cast<int>(m_RotateMode));
    text.AppendFormat(m_OutsideTLJRotate ? L" %.3f +%.3f\n" : L" %.3f %.3f\n", Percent(m_InsideMaxSlopeDiff),
                      Percent(m_OutsideMaxSlopeDiff));
    for (INT_PTR i = 0; i < n; ++i) {
        const double station = m_ZHs[i];
        const int segment = m_pBreakChain->GetBreakChainID(station);
        if (segment == 1) {
            if (m_Single == 1)
                text.AppendFormat(L"%f %f\n", station, m_RightSlopes[i]);
            else
                text.AppendFormat(L"%f %f %f\n", station, m_LeftSlopes[i], m_RightSlopes[i]);
        } else {
            const double inSegment = m_pBreakChain->GetBreakZH(station);
            if (m_Single == 1)
                text.AppendFormat(L"%f %f %d\n", inSegment, m_RightSlopes[i], segment);
            else
                text.AppendFormat(L"%f %f %f %d\n", inSegment, m_LeftSlopes[i], m_RightSlopes[i], segment);
        }
    }
    // One write after every check: a refused write leaves the file
    // untouched.  The buffer is flushed here, so that a failing disk is
    // reported by this call and not by the caller's close.
    try {
        file.WriteString(text);
        file.Flush();
    } catch (CFileException* e) {
        const CString message = ClFormat(L"写超高文件%s时出错!\n%s", file.GetFilePath().GetString(),
                                         e->GetErrorMessage().GetString());
        e->Delete();
        return message;
    }
    return CString();
}

// ---------------------------------------------------------------------------
// Cross falls.

double tkxSuperElevation::GetCG(double station, bool left, int& code, int& side) const
{
    const int n = RowCount();
    if (n == 0) return 0.0;
    const CArray<double, double>& z = m_ZHs;
    const CArray<double, double>& v = left ? m_LeftSlopes : m_RightSlopes;
    if (std::fabs(z[0] - station) <= 1e-6) return v[0];
    if (std::fabs(z[n - 1] - station) <= 1e-6) return v[n - 1];

    int i = 1;
    for (; i < n; ++i) {
        if (station > z[i - 1] + 1e-6 && (station < z[i] - 1e-6 || std::fabs(station - z[i]) <= 1e-6)) break;
    }
    if (i >= n) {
        if (station < z[0] || std::fabs(station - z[0]) <= 0.001) return v[0];
        if (station > z[n - 1]) return v[n - 1];
        return 0.0;
    }
    if (std::fabs(z[i] - z[i - 1]) <= 1e-6) return v[i];

    double oneWay = 0.0;
    double slope = 0.0;
    bool twoWayFirst = false;
    code = CalDXPzh(i, oneWay, slope, side, twoWayFirst);

    double e = (station - z[i - 1]) / (z[i] - z[i - 1]);
    const bool inside = (side == 1 && !left) || (side == -1 && left);
    if (code == 0 && m_RotateMode != 0 && m_Single != 1 && inside) {
        // The inside edge keeps its crown up to the one-way point and turns
        // with the outside edge from there (the reverse on the way back).
        if (twoWayFirst)
            e = station <= oneWay ? 0.0 : (station - oneWay) / (z[i] - oneWay);
        else
            e = station > oneWay - 0.0001 ? 1.0 : (station - z[i - 1]) / (oneWay - z[i - 1]);
    }
    if (m_TransitionMode == 1) return v[i - 1] + e * (v[i] - v[i - 1]);
    return v[i - 1] + (3.0 * e * e - 2.0 * e * e * e) * (v[i] - v[i - 1]);
}

int tkxSuperElevation::CalDXPzh(int index, double& station, double& slope, int& side, bool& twoWayFirst) const
{
    if (index < 1 || index >= RowCount()) return 0;
    const double l0 = m_LeftSlopes[index - 1];
    const double r0 = m_RightSlopes[index - 1];
    const double l1 = m_LeftSlopes[index];
    const double r1 = m_RightSlopes[index];
    const bool a = l0 * r0 <= 0.0;
    const bool b = l1 * r1 <= 0.0;

    side = 0;
    if (l0 < 0.0 || l1 < 0.0)
        side = 1;
    else if (r0 > 0.0 || r1 > 0.0)
        side = -1;
    if (side == 0) return 1;
    if (!a && !b) return 2;

    const double d = a ? std::fabs(l0 - r0) : std::fabs(l1 - r1);
    const double x0 = side == 1 ? l0 : r0;
    const double x1 = side == 1 ? l1 : r1;
    double l = d / std::fabs(x1 - x0);
    if (!a) l = 1.0 - l;
    if (l > 0.9999 || l < 0.0001) return 3;
    if (m_TransitionMode != 1) l = CalK(l);

    const double z0 = m_ZHs[index - 1];
    const double z1 = m_ZHs[index];
    station = z0 + l * (z1 - z0);
    if (side == 1)
        slope = a ? r0 : r1;
    else
        slope = a ? l0 : l1;
    twoWayFirst = a;
    return 0;
}

double tkxSuperElevation::CalK(double fraction) const
{
    if (std::fabs(fraction) > 1.0) return fraction;
    // -2t^3 + 3t^2 - |x| = 0, highest coefficient first, solved by Newton's
    // method and deflated by each root found until one lies in [0, 1].
    double poly[4] = {-2.0, 3.0, 0.0, -std::fabs(fraction)};
    int degree = 3;
    constexpr int kMaxSteps = 200;
    while (degree >= 1) {
        double t = fraction;
        bool converged = false;
        for (int step = 0; step < kMaxSteps; ++step) {
            double value = poly[0];
            double derivative = 0.0;
            for (int k = 1; k <= degree; ++k) {
                derivative = derivative * t + value;
                value = value * t + poly[k];
            }
            if (std::fabs(derivative) < 1e-15) {
                t += 0.0001;
                continue;
            }
            const double delta = value / derivative;
            if (std::fabs(delta) < 1e-10) {
                converged = true;
                break;
            }
            t -= delta;
        }
        // A root that does not settle (a pair of complex roots is left)
        // ends the search.
        if (!converged) return 0.0;
        if (t >= -1e-9 && t <= 1.0 + 1e-9) return std::min(1.0, std::max(0.0, t));
        // Synthetic division by (t - root).
        for (int k = 1; k < degree; ++k) poly[k] += poly[k - 1] * t;
        --degree;
    }
    return 0.0;
}

double tkxSuperElevation::GetTLJCG(double station, bool left) const
{
    int code = 0;
    int side = 0;
    const double v = GetCG(station, left, code, side);
    double t = 100.0 * std::fabs(m_TLJSlope);
    if (!left) t = -t;
    const double inside = 100.0 * m_InsideMaxSlopeDiff - 1e-6;
    const double outside = 100.0 * m_OutsideMaxSlopeDiff - 1e-6;
    const double outsideLimit = 100.0 * m_OutsideMaxSlopeDiff;
    if (side == -1) {
        if (left && v - t > inside) return v;
        if (!left && v - t > outside) return m_OutsideTLJRotate ? std::fabs(v) - outsideLimit : v;
    } else if (side == 1) {
        if (!left && t - v > inside) return v;
        if (left && t - v > outside) return m_OutsideTLJRotate ? outsideLimit - std::fabs(v) : v;
    }
    return left ? std::fabs(t) : -std::fabs(t);
}

#include "corvane/road/JDFile.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/NumberText.h"
#include "corvane/base/LineReader.h"
#include "corvane/road/RoadFiles.h"

#include <cmath>
#include <cwchar>
#include <cwctype>
#include <vector>

using namespace Tavix4;

namespace {

constexpr double kPi = 3.141592653589793;

// A spiral field: a length when marked with "L", else A.  Empty on
// success, else the message for field number `field` (1-based).
CString ReadSpiral(const text_lines::Field& text, int field, bool lowerCaseMarks, double& length, double& A,
                   bool& isLength)
{
    const bool marked = text.GetLength() > 0 && (text[0] == L'L' || (lowerCaseMarks ? text[0] == L'l' : text == L"l"));
    isLength = marked;
    if (marked) {
        // The mark, then the length.
        // A spiral of negative length would silently be none.
        if (!text_lines::ReadNumber(text.View().substr(1), length) || length < 0.0)
            return ClFormat(L"第%d个数据, 缓和曲线长度[%s]错误!", field, text.GetString());
        return CString();
    }
    if (!text_lines::ReadNumber(text, A) || A < 0.0)
        return ClFormat(L"第%d个数据, 缓和曲线A值[%s]错误!", field, text.GetString());
    return CString();
}

// The point type: a whole number, optionally signed.
bool ReadRowType(const text_lines::Field& text, int& type)
{
    int i = text.GetLength() > 1 && (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
    if (i >= text.GetLength()) return false;
    for (int k = i; k < text.GetLength(); ++k)
        if (text[k] < L'0' || text[k] > L'9') return false;
    if (text.GetLength() - i > 9) return false;
    type = _wtoi(text.GetString());
    return true;
}

// A spiral whose length (given, or from A and the radii) lies beyond any
// road: the message for its field, as for a field that is no number.
CString CheckSpiralLength(const text_lines::Field& text, int field, bool isLength, double length)
{
    if (road_files::WithinReach(length)) return CString();
    return ClFormat(isLength ? L"第%d个数据, 缓和曲线长度[%s]错误!" : L"第%d个数据, 缓和曲线A值[%s]错误!", field,
                    text.GetString());
}

// Whether a spiral can run from radius R1 to R2: a radius of 0 ("0" or
// "-0") is none (the clothoid takes one below 1e-8 for none), and (almost)
// equal radii leave it nothing to join.
bool SpiralJoins(double R1, double R2)
{
    tkxUnitType type = UNIT_LINE;
    return R1 >= 1e-8 && R2 >= 1e-8 && tkxClothoidUnit::ComputeType(R1, R2, type);
}

// A coordinate or station of a point: a number within reach.
bool ReadPlace(const text_lines::Field& field, double& value)
{
    return text_lines::ReadNumber(field, value) && road_files::WithinReach(value);
}

} // namespace

// Everything is read into locals; the curve changes only when the whole row
// was read, so a bad row leaves it as it was.
int tkxPlaneCurve3::ReadJDFile(const wchar_t* line, CString& message)
{
    text_lines::FieldList fields;
    if (!line || fields.Divide(line, std::wcslen(line)) == -1) {
        message = L"读取交点数据失败!";
        return 0;
    }
    if (fields.GetSize() < 3) {
        message = L"交点数据小于3个!";
        return 0;
    }
    int type = 0;
    if (!ReadRowType(fields[0], type)) {
        message = ClFormat(L"第1个数据, 点类型[%s]错误!", fields[0].GetString());
        return 0;
    }
    double y = 0.0, x = 0.0;
    if (!ReadPlace(fields[1], y)) {
        message = ClFormat(L"第2个数据, 交点XN坐标[%s]错误!", fields[1].GetString());
        return 0;
    }
    if (!ReadPlace(fields[2], x)) {
        message = ClFormat(L"第3个数据, 交点YE坐标[%s]错误!", fields[2].GetString());
        return 0;
    }

    sJDInfo info;
    info.m_Point = tkxPoint3d(x, y, 0.0);
    double startStation = 0.0;
    CString result;
    switch (type) {
    case -1:
        if (fields.GetSize() < 4) {
            message = L"起点信息行数据不足4个!";
            return 0;
        }
        if (!ReadPlace(fields[3], startStation)) {
            message = ClFormat(L"第4个数据, 起点桩号[%s]错误!", fields[3].GetString());
            return 0;
        }
        break;
    case 0: break;
    case 3: {
        if (fields.GetSize() < 8) {
            message = L"交点平曲线信息行数据不足8个!";
            return 0;
        }
        if (!text_lines::ReadNumber(fields[3], info.m_rStartR)) {
            message = ClFormat(L"第4个数据, 起始半径[%s]错误!", fields[3].GetString());
            return 0;
        }
        if (info.m_rStartR < 0.0) info.m_rStartR = 1e10;
        bool firstIsLength = false, secondIsLength = false;
        message = ReadSpiral(fields[4], 5, false, info.m_rLs1, info.m_rA1, firstIsLength);
        if (!message.IsEmpty()) return 0;
        // A negative radius would leave the point without its curve.
        if (!text_lines::ReadNumber(fields[5], info.m_rR) || info.m_rR < 0.0) {
            message = ClFormat(L"第6个数据, 曲线半径[%s]错误!", fields[5].GetString());
            return 0;
        }
        message = ReadSpiral(fields[6], 7, true, info.m_rLs2, info.m_rA2, secondIsLength);
        if (!message.IsEmpty()) return 0;
        if (!text_lines::ReadNumber(fields[7], info.m_rEndR)) {
            message = ClFormat(L"第8个数据, 终止半径[%s]错误!", fields[7].GetString());
            return 0;
        }
        if (info.m_rEndR < 0.0) info.m_rEndR = 1e10;
        // A spiral joins two different radii, neither of them 0 ("0" and
        // "-0" are no radius): otherwise its clothoid shrinks to nothing as
        // the curve is placed, the curve cannot be placed between its
        // neighbours, and its row is written back as another curve.  A curve
        // without the spiral, or a point without a curve, leaves the radius
        // unused.
        if (info.m_rR >= 1e-6) {
            if ((firstIsLength ? info.m_rLs1 : info.m_rA1) > 0.0 && !SpiralJoins(info.m_rStartR, info.m_rR)) {
                message = ClFormat(L"第4个数据, 起始半径[%s]错误!", fields[3].GetString());
                return 0;
            }
            if ((secondIsLength ? info.m_rLs2 : info.m_rA2) > 0.0 && !SpiralJoins(info.m_rR, info.m_rEndR)) {
                message = ClFormat(L"第8个数据, 终止半径[%s]错误!", fields[7].GetString());
                return 0;
            }
        }
        if (firstIsLength)
            info.m_rA1 = tkxClothoidUnit::ComputeA(info.m_rStartR, info.m_rR, info.m_rLs1);
        else
            info.m_rLs1 = tkxClothoidUnit::ComputeLength(info.m_rStartR, info.m_rR, info.m_rA1);
        if (secondIsLength)
            info.m_rA2 = tkxClothoidUnit::ComputeA(info.m_rR, info.m_rEndR, info.m_rLs2);
        else
            info.m_rLs2 = tkxClothoidUnit::ComputeLength(info.m_rR, info.m_rEndR, info.m_rA2);
        message = CheckSpiralLength(fields[4], 5, firstIsLength, info.m_rLs1);
        if (message.IsEmpty()) message = CheckSpiralLength(fields[6], 7, secondIsLength, info.m_rLs2);
        if (!message.IsEmpty()) return 0;
        break;
    }
    case -2: result = L"EOF"; break;
    default: message = ClFormat(L"点类型[%d]未定义!", type); return 0;
    }

    // SetJDInfo replaces the units (Reset would only delete them).
    SetJDInfo(info);
    if (type == -1) SetStartZH(startStation);
    m_bRoadStart = type == -1;
    message = result;
    return 1;
}

CString tkxPlaneCurve3::OutputJDFile() const
{
    CString text = ClFormat(L"%.10f %.10f", m_TurnPt.m_rY, m_TurnPt.m_rX);
    if (R() >= 1e-6)
        text += ClFormat(L" %.10f L%.10f %.10f L%.10f %.10f", StartPtInfo().m_rRadius, Ls1(), R(), Ls2(),
                         EndPtInfo().m_rRadius);
    return text;
}

namespace jd_file {

CString FileText(const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves)
{
    CString text;
    const int count = static_cast<int>(curves.GetSize());
    for (int i = 0; i < count; ++i) {
        const tkxPlaneCurve3& curve = curves[i];
        // A start point within the array (a second start row read from a
        // file) keeps its row and its station.
        if (i == 0 || (i < count - 1 && curve.IsRoadStart() && curve.R() < 1e-6)) {
            text += L"-1 " + curve.OutputJDFile() + ClFormat(L" %f", curve.TurnPtInfo().m_rZH);
        } else if (i == count - 1) {
            text += L"-2 " + curve.OutputJDFile();
        } else {
            text += (curve.R() < 1e-6 ? L"0 " : L"3 ") + curve.OutputJDFile();
        }
        text += L"\n";
    }
    return text;
}

CString CheckWritable(const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves)
{
    const int count = static_cast<int>(curves.GetSize());
    if (count < 2) return ClFormat(L"交点数据只有%d个, 至少应有起点和终点!", count);
    // The first and last rows are written as the road's start and end rows,
    // which hold no curve: a curve there would be lost.
    if (curves[0].R() >= 1e-6) return L"第1个交点带有平曲线, 不能作为路线起点写入!";
    if (curves[count - 1].R() >= 1e-6) return ClFormat(L"第%d个交点带有平曲线, 不能作为路线终点写入!", count);
    // Every value a row stands for must be a finite number: an infinite
    // coordinate or a radius that is no number would be written as text that
    // reads as other data, or not at all.
    for (int i = 0; i < count; ++i) {
        const tkxPlaneCurve3& curve = curves[i];
        const Tavix4::sZHPtInfo turn = curve.TurnPtInfo();
        std::vector<double> values = {turn.m_rX, turn.m_rY, curve.R()};
        if (curve.R() >= 1e-6)
            values.insert(values.end(), {curve.StartPtInfo().m_rRadius, curve.Ls1(), curve.Ls2(),
                                         curve.EndPtInfo().m_rRadius});
        if (i == 0 || (i < count - 1 && curve.IsRoadStart() && curve.R() < 1e-6)) values.push_back(turn.m_rZH);
        for (double value : values)
            if (!std::isfinite(value)) return ClFormat(L"第%d个交点的坐标、桩号或平曲线数据不是有效数值!", i + 1);
    }
    // Every row must read back.
    const CString text = FileText(curves);
    int at = 0;
    for (int i = 0; i < count; ++i) {
        const CString row = text.Tokenize(L"\n", at);
        tkxPlaneCurve3 probe;
        CString message;
        if (!probe.ReadJDFile(row, message))
            return ClFormat(L"第%d个交点数据<%s>写入后无法读回: %s", i + 1, row.GetString(), message.GetString());
    }
    return CString();
}

} // namespace jd_file

// ---------------------------------------------------------------------------
// Angle text

namespace {

// Digits only (at least one)?
bool AllDigits(const std::wstring& s)
{
    if (s.empty()) return false;
    for (wchar_t c : s)
        if (c < L'0' || c > L'9') return false;
    return true;
}

} // namespace

int tkx_AngleS_To_R(const wchar_t* text, double& radians, int& plain)
{
    if (!text || std::wcslen(text) < 2) return 0;
    CString lower(text);
    lower.MakeLower();
    const bool isPlain = lower[0] >= L'0' && lower[0] <= L'9';
    const bool negative = !isPlain && lower[0] == L'l';
    CString body = isPlain ? lower : lower.Mid(1);
    body.Replace(L'd', L'.');
    body.Trim();

    // DDD.MMSSsss: degrees before the point; the first two digits after it
    // are minutes, the rest seconds with SS before their own decimal point.
    // The digits are taken as written, so 30.15 is 30 degrees 15 minutes.
    std::wstring s = body.str();
    bool minus = false;
    if (!s.empty() && (s[0] == L'-' || s[0] == L'+')) {
        minus = s[0] == L'-';
        s.erase(0, 1);
    }
    const size_t point = s.find(L'.');
    const std::wstring whole = s.substr(0, point);
    const std::wstring fraction = point == std::wstring::npos ? std::wstring() : s.substr(point + 1);
    if (!AllDigits(whole) && !(whole.empty() && AllDigits(fraction))) return 0;
    if (!fraction.empty() && !AllDigits(fraction)) return 0;

    double degrees = 0.0;
    if (!whole.empty() && !number_text::ReadNumber(whole.c_str(), whole.size(), degrees)) return 0;
    std::wstring mm = fraction.substr(0, 2);
    while (mm.size() < 2) mm += L'0';
    std::wstring ss = fraction.size() > 2 ? fraction.substr(2) : std::wstring();
    while (ss.size() < 2) ss += L'0';
    const std::wstring secondsText = ss.substr(0, 2) + L"." + ss.substr(2) + L"0";
    double minutes = 0.0, seconds = 0.0;
    number_text::ReadNumber(mm.c_str(), mm.size(), minutes);
    number_text::ReadNumber(secondsText.c_str(), secondsText.size(), seconds);

    double value = (degrees + minutes / 60.0 + seconds / 3600.0) / 180.0 * kPi;
    if (minus) value = -value;
    if (negative) value = -value;
    radians = value;
    plain = isPlain ? 1 : 0;
    return 1;
}

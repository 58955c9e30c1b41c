#include "corvane/road/Structures.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/Xml.h"
#include "corvane/base/ArrayStorage.h"
#include "corvane/base/LastError.h"
#include "corvane/base/LineReader.h"
#include "corvane/base/PagesAhead.h"
#include "corvane/project/StationText.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"

#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

using namespace Tavix4;

namespace {

constexpr double kPi = 3.141592653589793;
// A span description cannot ask for more spans than this, in one part or in
// all its parts together.
constexpr int kMaxSpans = 100000;

bool IsBridgeKind(int kind) { return kind == QH_BRIDGE || kind == QH_BRIDGE_PLUS || kind == QH_BRIDGE_MINUS; }
bool IsTunnelKind(int kind) { return kind == QH_TUNNEL || kind == QH_TUNNEL_PLUS || kind == QH_TUNNEL_MINUS; }
bool IsCrossingKind(int kind) { return kind >= QH_CROSSING_8 && kind <= QH_CROSSING_10; }

// The kind of a record code; -1 for an unknown code.  The codes are 0 to 10
// and the signed forms +0, -0, +3 and -3.
int KindOfCode(const text_lines::Field& code)
{
    const int n = code.GetLength();
    if (n == 1 && code[0] >= L'0' && code[0] <= L'9') return code[0] - L'0';
    if (n == 2 && code[0] == L'1' && code[1] == L'0') return QH_CROSSING_10;
    if (n == 2 && (code[0] == L'+' || code[0] == L'-') && (code[1] == L'0' || code[1] == L'3')) {
        const bool bridge = code[1] == L'0';
        if (code[0] == L'+') return bridge ? QH_BRIDGE_PLUS : QH_TUNNEL_PLUS;
        return bridge ? QH_BRIDGE_MINUS : QH_TUNNEL_MINUS;
    }
    return -1;
}

// A degree text to radians.
bool ReadAngle(const wchar_t* text, double& radians)
{
    double degrees = 0.0;
    if (!tkx_DegreeS_To_D(text, degrees)) return false;
    radians = degrees / 180.0 * kPi;
    return true;
}

double Sum(const CArray<double, double>& values, int count)
{
    double sum = 0.0;
    for (int i = 0; i < count && i < values.GetSize(); ++i) sum += values[i];
    return sum;
}

const tkxBreakChain& DefaultChain()
{
    static const tkxBreakChain chain;
    return chain;
}

} // namespace

tkxQHInfo::tkxQHInfo(const tkxBreakChain* chain)
    : m_pBreakChain(chain), m_iKind(-1), m_rStartZH(0.0), m_rEndZH(0.0), m_rCenterZH(0.0), m_rCenterPos(0.0),
      m_rStartQTLength(0.0), m_rEndQTLength(0.0), m_rStartAngle(0.0), m_rEndAngle(0.0), m_rLength(0.0),
      m_rLeftOffset(0.0), m_rRightOffset(0.0), m_rHeight(0.0), m_rBottomElevation(0.0), m_SRemark(L"NULL"),
      m_bFlag(0)
{
}

tkxQHInfo::tkxQHInfo(const tkxBreakChain* chain, sQHInfo record) : tkxQHInfo(chain)
{
    GetInfoByStruct(record);
}

tkxQHInfo::tkxQHInfo(const tkxQHInfo& other) : tkxQHInfo(other.m_pBreakChain)
{
    *this = other;
}

tkxQHInfo& tkxQHInfo::operator=(const tkxQHInfo& other)
{
    if (this == &other) return *this;
    m_pBreakChain = other.m_pBreakChain;
    m_SName = other.m_SName;
    m_iKind = other.m_iKind;
    m_rStartZH = other.m_rStartZH;
    m_rEndZH = other.m_rEndZH;
    m_rCenterZH = other.m_rCenterZH;
    m_SKJDescribe = other.m_SKJDescribe;
    m_SSBDescribe = other.m_SSBDescribe;
    m_KJLengths.Copy(other.m_KJLengths);
    m_BeamHeights.Copy(other.m_BeamHeights);
    m_rCenterPos = other.m_rCenterPos;
    m_rStartQTLength = other.m_rStartQTLength;
    m_rEndQTLength = other.m_rEndQTLength;
    m_rStartAngle = other.m_rStartAngle;
    m_rEndAngle = other.m_rEndAngle;
    m_rLength = other.m_rLength;
    m_rLeftOffset = other.m_rLeftOffset;
    m_rRightOffset = other.m_rRightOffset;
    m_rHeight = other.m_rHeight;
    m_rBottomElevation = other.m_rBottomElevation;
    m_SRemark = other.m_SRemark;
    m_bFlag = other.m_bFlag;
    return *this;
}

tkxQHInfo::~tkxQHInfo() = default;

const tkxBreakChain& tkxQHInfo::Chain() const { return m_pBreakChain ? *m_pBreakChain : DefaultChain(); }

bool tkxQHInfo::ReadStation(const wchar_t* text, double& station) const
{
    return Chain().GetGlobalZH(text, station) == 1;
}

int tkxQHInfo::IsQiaoLiang() const { return IsBridgeKind(m_iKind) ? 1 : 0; }

// ---------------------------------------------------------------------------
// The structure file's reader: reads the fields of lines it split itself and
// moves each structure it read into the file's list of records.

class StructureFileReader
{
public:
    // The fields of a structure line into the structure (as
    // ReadInfoFromString reads them after its own split of the line); "" on
    // success, else the message.
    static CString ReadFields(tkxQHInfo& s, const text_lines::FieldList& f);

    // The record GetStruct gives, made at the end of the list of records with
    // the structure's texts moved into it: the structure is not used again.
    static void MoveToEnd(tkxQHInfo& s, std::vector<sQHInfo>& records)
    {
        sQHInfo& r = records.emplace_back();
        r.m_iKind = s.m_iKind;
        if (s.m_SName.IsEmpty())
            r.m_SName = L"NULL";
        else
            r.m_SName = std::move(s.m_SName);
        r.m_SKJDescribe = std::move(s.m_SKJDescribe);
        r.m_SSBDescribe = std::move(s.m_SSBDescribe);
        r.m_rCenterPos = s.m_rCenterPos;
        r.m_rStartZH = s.m_rStartZH;
        r.m_rEndZH = s.m_rEndZH;
        r.m_rCenterZH = s.m_rCenterZH;
        r.m_rStartAngle = s.m_rStartAngle;
        r.m_rEndAngle = s.m_rEndAngle;
        r.m_rStartQTLength = s.m_rStartQTLength;
        r.m_rEndQTLength = s.m_rEndQTLength;
        r.m_rLength = s.m_rLength;
        r.m_rLeftOffset = s.m_rLeftOffset;
        r.m_rRightOffset = s.m_rRightOffset;
        r.m_rHeight = s.m_rHeight;
        r.m_rBottomElevation = s.m_rBottomElevation;
        r.m_SRemark = std::move(s.m_SRemark);
        r.m_bFlag = s.m_bFlag;
    }
};

// ---------------------------------------------------------------------------
// The structure line

CString tkxQHInfo::ReadInfoFromString(const wchar_t* line)
{
    m_SName.Empty();
    m_bFlag = 0;
    const wchar_t* const text = line ? line : L"";
    // The fields are views of one copy of the line; texts are made only for
    // what is kept and for the messages.
    text_lines::FieldList f;
    if (f.Divide(text, std::wcslen(text)) == -1) return ClFormat(L"读[%s]错误!", text);
    return StructureFileReader::ReadFields(*this, f);
}

// The fields of a structure line into the structure.
CString StructureFileReader::ReadFields(tkxQHInfo& s, const text_lines::FieldList& f)
{
    const int count = static_cast<int>(f.GetSize());
    if (count < 4) return L"构造物信息中至少需要5个数据!";
    const int kind = KindOfCode(f[0]);
    if (kind < 0) return ClFormat(L"读构造物标识符[%s]错误. 未定义的构造物标识符!", f[0].GetString());
    s.m_iKind = kind;
    s.m_SName = f[1].Text();

    // Field i as a number or an angle; the message names the field's text.
    auto number = [&f](int i, double& value) { return text_lines::ReadNumber(f[i], value); };
    auto angle = [&f](int i, double& value) { return ReadAngle(f[i].GetString(), value); };
    auto bad = [&f](int i, const wchar_t* message) { return ClFormat(message, f[i].GetString()); };

    if (kind == QH_CULVERT || kind == QH_PASSAGE) {
        const bool culvert = kind == QH_CULVERT;
        if (culvert && count != 10) return L"涵洞信息中需要10个数据!";
        if (!culvert && count < 10) return L"通道信息中至少需要10个数据!";
        if (!s.ReadStation(f[2].GetString(), s.m_rCenterZH))
            return ClFormat(culvert ? L"读涵洞中心桩号[%s]失败!" : L"读通道中心桩号[%s]失败!", f[2].GetString());
        double skew = 0.0;
        if (!angle(3, skew)) return bad(3, culvert ? L"读涵洞斜交角[%s]失败!" : L"读通道斜交角[%s]失败!");
        s.m_rStartAngle = s.m_rEndAngle = skew;
        // Lengths are never negative: the structure would end before it
        // starts.
        if (!number(4, s.m_rLength) || s.m_rLength < 0.0)
            return bad(4, culvert ? L"读涵洞跨径[%s]失败!" : L"读通道跨径[%s]失败!");
        if (!number(5, s.m_rLeftOffset)) return bad(5, culvert ? L"读涵洞左侧附加长度[%s]失败!" : L"读通道左侧附加长度[%s]失败!");
        if (!number(6, s.m_rRightOffset)) return bad(6, culvert ? L"读涵洞右侧附加长度[%s]失败!" : L"读通道右侧附加长度[%s]失败!");
        if (!number(7, s.m_rHeight)) return bad(7, culvert ? L"读涵洞高度[%s]失败!" : L"读通道高度[%s]失败!");
        if (!number(8, s.m_rBottomElevation)) return bad(8, culvert ? L"读涵洞底标高[%s]失败!" : L"读通道底标高[%s]失败!");
        s.m_SRemark = f[9].Text();
        if (!culvert && count > 10 && (f[10] == L"T" || f[10] == L"t")) s.m_bFlag = 1;
        s.m_rStartZH = s.m_rCenterZH - s.m_rLength / 2.0;
        s.m_rEndZH = s.m_rStartZH + s.m_rLength;
        return CString();
    }

    // Tunnels and bridges may name their centre with a leading "C".
    auto stationField = [&f](int i, bool& centre) {
        const text_lines::Field field = f[i];
        centre = field.GetLength() > 0 && (field[0] == L'C' || field[0] == L'c');
        return centre ? field.GetString() + 1 : field.GetString();
    };
    auto centreToStart = [&s](bool centre) {
        if (!centre) return;
        const double shift = s.m_rCenterZH - s.m_rStartZH;
        s.m_rStartZH -= shift;
        s.m_rCenterZH -= shift;
        s.m_rEndZH -= shift;
    };

    if (IsTunnelKind(kind)) {
        if (count != 5) return L"隧道信息中需要5个数据!";
        bool centre = false;
        const wchar_t* const station = stationField(2, centre);
        if (!s.ReadStation(station, s.m_rStartZH)) return ClFormat(L"读隧道起点桩号[%s]失败!", f[2].GetString());
        if (!number(3, s.m_rLength) || s.m_rLength < 0.0) return bad(3, L"读隧道长度[%s]失败!");
        if (!number(4, s.m_rHeight)) return bad(4, L"读隧道高度[%s]失败!");
        s.m_rCenterZH = s.m_rStartZH + s.m_rLength / 2.0;
        s.m_rEndZH = s.m_rCenterZH + s.m_rLength / 2.0;
        centreToStart(centre);
        return CString();
    }

    if (IsCrossingKind(kind)) {
        if (count != 6) return L"平交口信息中需要6个数据!";
        if (!s.ReadStation(f[2].GetString(), s.m_rCenterZH))
            return ClFormat(L"读平交口交叉点桩号[%s]失败!", f[2].GetString());
        double skew = 0.0;
        if (!angle(3, skew)) return bad(3, L"读交叉角[%s]失败!");
        s.m_rStartAngle = s.m_rEndAngle = skew;
        if (!number(4, s.m_rStartQTLength) || s.m_rStartQTLength < 0.0) return bad(4, L"读交叉口前段长度[%s]失败!");
        if (!number(5, s.m_rEndQTLength) || s.m_rEndQTLength < 0.0) return bad(5, L"读交叉口后段长度[%s]失败!");
        s.m_rStartZH = s.m_rCenterZH - s.m_rStartQTLength;
        s.m_rEndZH = s.m_rCenterZH + s.m_rEndQTLength;
        s.m_rLength = s.m_rEndZH - s.m_rStartZH;
        return CString();
    }

    // Bridges.
    if (count < 10) return L"桥梁信息中需要10个数据!";
    bool centre = false;
    const wchar_t* const station = stationField(2, centre);
    if (!s.ReadStation(station, s.m_rStartZH))
        return ClFormat(L"换算桥梁的起点桩号失败, 请检查起点桩号(%s)!", f[2].GetString());
    if (!tkxQHInfo::GetGZWAngle(f[3].GetString(), s.m_rStartAngle, s.m_rEndAngle))
        return ClFormat(L"读桥梁斜交角[%s]失败!", f[3].GetString());
    if (!number(4, s.m_rStartQTLength)) return bad(4, L"读桥梁起点桥台长[%s]失败!");
    if (!number(5, s.m_rEndQTLength)) return bad(5, L"读桥梁终点桥台长[%s]失败!");
    s.m_SKJDescribe = f[6].Text();
    s.m_SSBDescribe = f[7].Text();
    if (!number(8, s.m_rCenterPos)) return bad(8, L"读桥梁中心位置[%s]失败!");
    if (!number(9, s.m_rHeight)) return bad(9, L"读桥梁默认梁高[%s]失败!");
    if (!s.GetLengths()) return ClFormat(L"分析桥梁跨径信息出错! 请检查桥梁跨径描述[%s]", s.m_SKJDescribe.GetString());
    s.ComputeEndZH();
    s.ComputeCenterZH();
    centreToStart(centre);
    return CString();
}

CString tkxQHInfo::WriteInfoToString() const
{
    const CString name = m_SName.IsEmpty() ? CString(L"NULL") : m_SName;
    auto station = [this](double z) { return Chain().GetStringBreakZH(z, -1, 1); };
    const CString angle = GetGZWAngleString();
    if (IsBridgeKind(m_iKind)) {
        CString sb = m_SSBDescribe;
        sb.Trim();
        if (sb.IsEmpty()) sb = L"void";
        return ClFormat(L"%d\t%s\t%s\t%s\t%.3f\t%.3f\t%s\t%s\t%.3f\t%.3f", m_iKind, name.GetString(),
                        station(m_rStartZH).GetString(), angle.GetString(), m_rStartQTLength, m_rEndQTLength,
                        m_SKJDescribe.GetString(), sb.GetString(), m_rCenterPos, m_rHeight);
    }
    if (m_iKind == QH_CULVERT || m_iKind == QH_PASSAGE) {
        CString text = ClFormat(L"%d\t%s\t%s\t%s\t%.3f\t%.3f\t%.3f\t%.3f\t%.3f\t%s", m_iKind, name.GetString(),
                                station(m_rCenterZH).GetString(), angle.GetString(), m_rLength, m_rLeftOffset,
                                m_rRightOffset, m_rHeight, m_rBottomElevation, m_SRemark.GetString());
        if (m_iKind == QH_PASSAGE) text += m_bFlag ? L"\tT" : L"\tF";
        return text;
    }
    if (IsCrossingKind(m_iKind))
        return ClFormat(L"%d\t%s\t%s\t%s\t%.3f\t%.3f", m_iKind, name.GetString(), station(m_rCenterZH).GetString(),
                        angle.GetString(), m_rStartQTLength, m_rEndQTLength);
    if (IsTunnelKind(m_iKind))
        return ClFormat(L"%d\t%s\t%s\t%.3f\t%.3f", m_iKind, name.GetString(), station(m_rStartZH).GetString(),
                        m_rLength, m_rHeight);
    return CString();
}

// ---------------------------------------------------------------------------
// The station-range line

CString tkxQHInfo::ReadQLRangeFromString(const wchar_t* line)
{
    m_iKind = QH_BRIDGE;
    const CString text = line ? line : L"";
    CStringArray f;
    if (tkx_DivideString(text, f) == -1) return ClFormat(L"读[%s]错误!", text.GetString());
    const int count = static_cast<int>(f.GetSize());
    if (count < 2) return L"桥梁范围信息中至少需要2个数据!";
    m_rStartAngle = m_rEndAngle = 0.0;
    m_rStartQTLength = m_rEndQTLength = 0.0;
    m_SSBDescribe.Empty();
    m_rCenterPos = 0.5;
    m_rHeight = 1.0;

    // Station field i, with its chain segment in field j when present.
    auto readEnd = [&](int i, int j, double& out, bool start) -> CString {
        double nominal = 0.0;
        if (!StringToDouble(f[i], &nominal))
            return ClFormat(start ? L"读桥梁起点桩号[%s]失败!" : L"读桥梁终点桩号[%s]失败!", f[i].GetString());
        if (count > j) {
            double segment = 0.0;
            if (!StringToDouble(f[j], &segment))
                return ClFormat(start ? L"读桥梁起点桩号的断链号[%s]失败!" : L"读桥梁终点桩号的断链号[%s]失败!",
                                f[j].GetString());
            const int n = static_cast<int>(segment);
            if (!Chain().GetGlobalZH(nominal, out, n))
                return ClFormat(start ? L"换算桥梁的起点桩号失败, 请检查起点桩号(%.3f)或断链号(%d)!"
                                      : L"换算桥梁终点桩号失败, 请检查终点桩号(%.3f)或断链号(%d)!",
                                nominal, n);
            return CString();
        }
        if (!Chain().GetGlobalZH(nominal, out))
            return ClFormat(start ? L"换算桥梁起点桩号失败, 请检查起点桩号(%.3f)!" : L"换算桥梁终点桩号失败, 请检查终点桩号(%.3f)!",
                            nominal);
        return CString();
    };
    CString message = readEnd(0, 2, m_rStartZH, true);
    if (!message.IsEmpty()) return message;
    message = readEnd(1, 3, m_rEndZH, false);
    if (!message.IsEmpty()) return message;
    // A bridge ends after its start: a range of no or negative length would
    // give a span that no structure line takes back.
    if (m_rEndZH <= m_rStartZH)
        return ClFormat(L"桥梁终点桩号[%s]应大于起点桩号[%s]!", f[1].GetString(), f[0].GetString());

    m_rLength = m_rEndZH - m_rStartZH;
    m_SKJDescribe = ClFormat(L"1*%.3f", m_rLength);
    m_KJLengths.RemoveAll();
    m_BeamHeights.RemoveAll();
    m_KJLengths.Add(m_rLength);
    m_BeamHeights.Add(m_rHeight);
    m_rCenterZH = (m_rStartZH + m_rEndZH) / 2.0;
    return CString();
}

// ---------------------------------------------------------------------------
// Angles

CString tkxQHInfo::GetGZWAngleString() const
{
    const CString start = tkx_DegreeD_To_S(m_rStartAngle * 180.0 / kPi);
    if (std::fabs(m_rStartAngle - m_rEndAngle) < 1e-8) return start;
    return ClFormat(L"%s_%s", start.GetString(), tkx_DegreeD_To_S(m_rEndAngle * 180.0 / kPi).GetString());
}

int tkxQHInfo::GetGZWAngle(const wchar_t* text, double& start, double& end)
{
    CStringArray parts;
    if (tkx_SplitString(text ? text : L"", L"_", parts) < 1) return 0;
    double a = 0.0, b = 0.0;
    if (!ReadAngle(parts[0], a)) return 0;
    b = a;
    if (parts.GetSize() > 1 && !ReadAngle(parts[1], b)) return 0;
    start = a;
    end = b;
    return 1;
}

// ---------------------------------------------------------------------------
// Spans

namespace {

// One part of a span description ("n*L*h", "n*L" or "L"; "-" may stand for
// "*"): the span count, length and beam height.  false for a part that
// makes no bridge (no spans, spans of no length) or asks for too many.
bool ReadSpanPart(const wchar_t* description, double defaultHeight, int& count, double& length, double& height)
{
    CString part = description ? description : L"";
    part.Replace(L'-', L'*');
    part.Trim();
    CStringArray pieces;
    if (part.IsEmpty() || part[0] == L'*' || part[part.GetLength() - 1] == L'*' || part.Find(L"**") >= 0)
        return false;
    const int n = tkx_SplitString(part, L"*", pieces);
    if (n < 1 || n > 3) return false;
    double values[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < n; ++i)
        if (!StringToDouble(pieces[i], &values[i])) return false;
    double spans = 1.0;
    length = values[0];
    height = defaultHeight;
    if (n >= 2) {
        spans = std::floor(values[0]);
        length = values[1];
    }
    if (n == 3) height = values[2];
    if (spans < 1.0 || spans > kMaxSpans || length <= 0.0) return false;
    count = static_cast<int>(spans);
    return true;
}

void AddSpans(int count, double length, double height, CArray<double, double>& spans,
              CArray<double, double>& heights)
{
    for (int i = 0; i < count; ++i) {
        spans.Add(length);
        heights.Add(height);
    }
}

} // namespace

int tkxQHInfo::GetSegmentLengths(const wchar_t* description, CArray<double, double>& spans,
                                 CArray<double, double>& heights, double defaultHeight)
{
    spans.RemoveAll();
    heights.RemoveAll();
    int count = 0;
    double length = 0.0, height = 0.0;
    if (!ReadSpanPart(description, defaultHeight, count, length, height)) return 0;
    AddSpans(count, length, height, spans, heights);
    return 1;
}

// Every part is read before any span is made, so that a description whose
// parts together ask for too many spans costs nothing.
int tkxQHInfo::GetBridgeLengths(const wchar_t* description, CArray<double, double>& spans,
                                CArray<double, double>& heights, double defaultHeight)
{
    spans.RemoveAll();
    heights.RemoveAll();
    const CString text = description ? description : L"";
    if (text.Find(L'+') < 0) {
        if (!GetSegmentLengths(text, spans, heights, defaultHeight)) {
            tkx_SetLastError(L"无法解析跨径描述字符, 请检查跨径描述字符.");
            return 0;
        }
        return 1;
    }
    CStringArray parts;
    tkx_SplitString(text, L"+", parts);
    struct Part {
        int count;
        double length, height;
    };
    std::vector<Part> read;
    long long total = 0;
    for (const CString& part : parts) {
        Part p{0, 0.0, 0.0};
        if (!ReadSpanPart(part, defaultHeight, p.count, p.length, p.height)) return 0;
        total += p.count;
        if (total > kMaxSpans) {
            tkx_SetLastError(ClFormat(L"跨径总数超过%d孔, 请检查跨径描述字符.", kMaxSpans));
            return 0;
        }
        read.push_back(p);
    }
    for (const Part& p : read) AddSpans(p.count, p.length, p.height, spans, heights);
    if (spans.GetSize() == 0) {
        tkx_SetLastError(L"跨径与梁高数据个数不相等, 请检查跨径描述字符.");
        return 0;
    }
    return 1;
}

int tkxQHInfo::GetLengths()
{
    if (!IsBridgeKind(m_iKind)) {
        tkx_SetLastError(L"构造物不属于桥梁类型!");
        return 0;
    }
    if (m_SKJDescribe.IsEmpty()) {
        tkx_SetLastError(L"桥梁跨径描述为空!");
        return 0;
    }
    return GetBridgeLengths(m_SKJDescribe, m_KJLengths, m_BeamHeights, m_rHeight);
}

void tkxQHInfo::ComputeEndZH()
{
    if (m_iKind == QH_CULVERT || m_iKind == QH_PASSAGE)
        m_rEndZH = m_rStartZH + m_rLength;
    else if (IsTunnelKind(m_iKind))
        m_rEndZH = m_rCenterZH + m_rLength / 2.0;
    else if (IsBridgeKind(m_iKind))
        m_rEndZH = m_rStartZH + m_rStartQTLength + m_rEndQTLength + Sum(m_KJLengths, GetKJNumber());
}

void tkxQHInfo::ComputeCenterZH()
{
    if (IsTunnelKind(m_iKind)) {
        m_rCenterZH = m_rStartZH + m_rLength / 2.0;
        return;
    }
    if (!IsBridgeKind(m_iKind)) return;
    const double whole = std::floor(m_rCenterPos);
    const double fraction = m_rCenterPos - whole;
    const int k = static_cast<int>(whole);
    const double begin = m_rStartZH + m_rStartQTLength;
    if (k >= 0 && k < GetKJNumber())
        m_rCenterZH = begin + Sum(m_KJLengths, k) + fraction * m_KJLengths[k];
    else
        m_rCenterZH = (m_rStartZH + m_rEndZH) / 2.0;
}

double tkxQHInfo::GetBrgZH(int i) const
{
    if (i <= 0) return m_rStartZH + m_rStartQTLength;
    if (i >= GetKJNumber()) return m_rEndZH - m_rEndQTLength;
    return m_rStartZH + m_rStartQTLength + Sum(m_KJLengths, i);
}

double tkxQHInfo::GetBrgHeight(double x) const
{
    if (m_BeamHeights.GetSize() == 0) return 0.0;
    tkx_SetLastError(nullptr);
    if (x < m_rStartZH + m_rStartQTLength - 1e-6) {
        tkx_SetLastError(ClFormat(L"输入桩号[%.3f]小于桥梁起点桩号[%.3f + %.3f]", x, m_rStartZH, m_rStartQTLength));
        return 0.0;
    }
    if (x > m_rEndZH - m_rEndQTLength + 1e-6) {
        tkx_SetLastError(ClFormat(L"输入桩号[%.3f]大于桥梁终点桩号[%.3f - %.3f]", x, m_rEndZH, m_rEndQTLength));
        return 0.0;
    }
    double c = m_rStartZH + m_rStartQTLength;
    const int n = static_cast<int>(std::min(m_KJLengths.GetSize(), m_BeamHeights.GetSize()));
    for (int i = 0; i < n; ++i) {
        if (c - 1e-6 < x && x < c + m_KJLengths[i] - 1e-6) return m_BeamHeights[i];
        c += m_KJLengths[i];
    }
    return m_BeamHeights[m_BeamHeights.GetSize() - 1];
}

double tkxQHInfo::GetMidAngle(double x) const
{
    const double span = m_rEndZH - m_rStartZH;
    if (std::fabs(span) < 1e-8) return (m_rStartAngle + m_rEndAngle) / 2.0;
    return m_rStartAngle + (x - m_rStartZH) / span * (m_rEndAngle - m_rStartAngle);
}

// ---------------------------------------------------------------------------
// Labels

CString tkxQHInfo::GetDimString() const
{
    CString text = m_SKJDescribe;
    if (text.Find(L'*') >= 0)
        text.Replace(L'*', L'×');
    else if (text.Find(L'x') >= 0)
        text.Replace(L'x', L'×');
    else
        text.Replace(L'X', L'×');
    return text + L" " + m_SSBDescribe;
}

namespace {

CString FillName(CString name, const CString& station, const wchar_t* prefix)
{
    name.Replace(L"$Z", ClFormat(L"%s%s", prefix ? prefix : L"", station.GetString()));
    name.Replace(L"$__", L"  ");
    name.Replace(L"$_", L" ");
    return name;
}

} // namespace

CString tkxQHInfo::GetDimName(const wchar_t* prefix, int flag) const
{
    return FillName(m_SName, Chain().GetZHString(m_rCenterZH, -1, flag), prefix);
}

CString tkxQHInfo::GetDimName(const sQHInfo& record, const tkxBreakChain& chain, const wchar_t* prefix, int flag)
{
    return FillName(record.m_SName, chain.GetZHString(record.m_rCenterZH, -1, flag), prefix);
}

int tkxQHInfo::DivideString(CString text)
{
    text.Trim();
    if (text.IsEmpty()) return 0;
    const CString span = text.SpanIncluding(L"0123456789+xX*.-");
    m_SKJDescribe = span;
    m_SSBDescribe = text.Mid(span.GetLength());
    return span.IsEmpty() ? 0 : 1;
}

// ---------------------------------------------------------------------------
// Records and XML

sQHInfo tkxQHInfo::GetStruct() const
{
    sQHInfo r;
    r.m_iKind = m_iKind;
    r.m_SName = m_SName.IsEmpty() ? CString(L"NULL") : m_SName;
    r.m_SKJDescribe = m_SKJDescribe;
    r.m_SSBDescribe = m_SSBDescribe;
    r.m_rCenterPos = m_rCenterPos;
    r.m_rStartZH = m_rStartZH;
    r.m_rEndZH = m_rEndZH;
    r.m_rCenterZH = m_rCenterZH;
    r.m_rStartAngle = m_rStartAngle;
    r.m_rEndAngle = m_rEndAngle;
    r.m_rStartQTLength = m_rStartQTLength;
    r.m_rEndQTLength = m_rEndQTLength;
    r.m_rLength = m_rLength;
    r.m_rLeftOffset = m_rLeftOffset;
    r.m_rRightOffset = m_rRightOffset;
    r.m_rHeight = m_rHeight;
    r.m_rBottomElevation = m_rBottomElevation;
    r.m_SRemark = m_SRemark;
    r.m_bFlag = m_bFlag;
    return r;
}

int tkxQHInfo::GetInfoByStruct(sQHInfo r)
{
    m_iKind = r.m_iKind;
    m_SName = r.m_SName;
    m_SKJDescribe = r.m_SKJDescribe;
    m_SSBDescribe = r.m_SSBDescribe;
    m_rCenterPos = r.m_rCenterPos;
    m_rStartZH = r.m_rStartZH;
    m_rEndZH = r.m_rEndZH;
    m_rCenterZH = r.m_rCenterZH;
    m_rStartAngle = r.m_rStartAngle;
    m_rEndAngle = r.m_rEndAngle;
    m_rStartQTLength = r.m_rStartQTLength;
    m_rEndQTLength = r.m_rEndQTLength;
    m_rLength = r.m_rLength;
    m_rLeftOffset = r.m_rLeftOffset;
    m_rRightOffset = r.m_rRightOffset;
    m_rHeight = r.m_rHeight;
    m_rBottomElevation = r.m_rBottomElevation;
    m_SRemark = r.m_SRemark;
    m_bFlag = r.m_bFlag;
    m_KJLengths.RemoveAll();
    m_BeamHeights.RemoveAll();
    if (IsBridgeKind(m_iKind)) {
        if (!GetLengths()) return 0;
        ComputeCenterZH();
    } else if (IsCrossingKind(m_iKind)) {
        m_rStartZH = m_rCenterZH - m_rStartQTLength;
        m_rEndZH = m_rCenterZH + m_rEndQTLength;
        m_rLength = m_rEndZH - m_rStartZH;
    } else if (IsTunnelKind(m_iKind)) {
        m_rCenterZH = m_rStartZH + m_rLength / 2.0;
        m_rEndZH = m_rStartZH + m_rLength;
    }
    ComputeEndZH();
    return 1;
}

int tkxQHInfo::ExportXML(tkxXmlElement* parent) const
{
    if (!parent) return 0;
    CString line = WriteInfoToString();
    line.Replace(L'\t', L';');
    line.Replace(L'\'', L'’');
    line.Replace(L'"', L'”');
    auto* element = new tkxXmlElement;
    element->m_STag = L"Record";
    // & < > in the line are written as references: raw, they would make the file unreadable XML.
    element->m_SAttributes = ClFormat(L"str=\"%s\"", tkxXmlElement::EncodeValue(line).GetString());
    element->m_pParent = parent;
    parent->m_Children.AddTail(element);
    return 1;
}

int tkxQHInfo::ImportXML(tkxXmlElement* element)
{
    if (!element) return 0;
    CString line = element->GetValue(L"str");
    line.Replace(L';', L'\t');
    line.Replace(L'’', L'\'');
    line.Replace(L'”', L'"');
    const CString message = ReadInfoFromString(line);
    if (!message.IsEmpty()) {
        tkx_SetLastError(ClFormat(L"导入XML文件构造物信息[%s]出错! \n%s", line.GetString(), message.GetString()));
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Files


// tkx_ReadQHFile's reading, into a new list of records.
static int ReadStructureFile(const wchar_t* path, const tkxBreakChain& chain, std::vector<sQHInfo>& out)
{
    const CString file = path ? path : L"";
    CStdioFile in;
    if (file.IsEmpty() || !in.Open(file, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite)) {
        tkx_SetLastError(ClFormat(L"打开构造物信息文件<%s>失败!", file.GetString()));
        return 0;
    }
    // The station-range reader by the file's extension only.
    const bool ranges = tkxFileName(file).GetExt().CompareNoCase(L".ql") == 0;
    CString line;
    int lineNo = 0;
    try {
        // Room for a structure every 40 bytes, about as long as the shortest
        // structure lines: a usual file fills it without the records being
        // moved to larger room on the way (room not filled is never touched,
        // and costs no memory).
        out.reserve(static_cast<size_t>(in.GetLength() / 40));
        // A large file's room has its fresh pages touched a little way ahead
        // of the records.
        PagesAhead ahead(out.data(), out.capacity() * sizeof(sQHInfo));
        text_lines::DataLineReader lines(in);
        // A structure line of 7-bit text (the usual one) is split from its
        // bytes where they lie, without being widened first.
        std::string_view bytes;
        text_lines::FieldList fields;
        while (ranges ? lines.Next(line, lineNo) : lines.Next(line, bytes, lineNo)) {
            // Each line is a structure of its own: a line reads only some of
            // the fields, and those it leaves are never the line before's.
            tkxQHInfo structure(&chain);
            CString message;
            if (ranges) {
                message = structure.ReadQLRangeFromString(line);
            } else if (bytes.empty()) {
                message = structure.ReadInfoFromString(line);
            } else if (fields.Divide(bytes) == -1) {
                message = structure.ReadInfoFromString(CString(bytes.data(), static_cast<int>(bytes.size())));
            } else {
                message = StructureFileReader::ReadFields(structure, fields);
            }
            if (!message.IsEmpty()) {
                if (!bytes.empty()) line = CString(bytes.data(), static_cast<int>(bytes.size()));
                in.Abort();
                tkx_SetLastError(ClFormat(ranges ? L"读桥梁范围文件%s, \n第%d行数据[%s]出错!\n%s"
                                                 : L"读构造物信息文件%s, \n第%d行数据[%s]出错!\n%s",
                                          file.GetString(), lineNo, line.GetString(), message.GetString()));
                return 0;
            }
            // The room is not moved while the thread touches it.
            if (out.size() == out.capacity())
                ahead.Stop();
            else
                ahead.Reach(out.data() + out.size() + 1);
            StructureFileReader::MoveToEnd(structure, out);
        }
        if (lines.Failed()) {
            in.Abort();
            tkx_SetLastError(lines.FailureText());
            return 0;
        }
    } catch (CFileException* e) {
        e->Delete();
        in.Abort();
        tkx_SetLastError(ClFormat(L"打开构造物信息文件<%s>失败!", file.GetString()));
        return 0;
    }
    in.Abort();
    return 1;
}

// The records are read aside and handed over only when the whole file was
// read: a bad line leaves the caller's array as it was.
int tkx_ReadQHFile(const wchar_t* path, const tkxBreakChain& chain, CArray<sQHInfo, sQHInfo>& out)
{
    std::vector<sQHInfo> read;
    if (!ReadStructureFile(path, chain, read)) return 0;
    array_storage::HandOver(read, out);
    return 1;
}

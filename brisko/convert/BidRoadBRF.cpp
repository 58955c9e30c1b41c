#include "brisko/convert/BidRoadBRF.h"
#include "brisko/convert/DerivedFiles.h"
#include "brisko/convert/ToolDialog.h"
#include "brisko/shell/Helpers.h"
#include "corvane/project/StationText.h"
#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

CString TokenError(const wchar_t* kind, const CString& path, int line, int position, const CString& token)
{
    return ClFormat(L"读取%s文件第%d行第%d个数据<%s>错误!\n\n%s", kind, line, position, token.GetString(),
                    path.GetString());
}

// An azimuth in degrees, minutes and seconds ("%%%%" is dropped): radians.
// A text without any mark would read as 0, so it is refused.
bool ReadAzimuth(CString text, double& radians)
{
    text.Replace(L"%%%%", L"");
    if (text.FindOneOf(L"d°'′m\"″s") < 0) return false;
    double degrees = 0.0;
    if (!tkx_DegreeS_To_D(text, degrees) || !std::isfinite(degrees)) return false;
    radians = degrees * kPi / 180.0;
    return true;
}

// A station such as K12+345.678 as metres.
bool ReadStation(CString text, double& value)
{
    text.Remove(L'K');
    text.Remove(L'k');
    text.Remove(L'+');
    return ReadToolNumber(text, &value) != FALSE;
}

} // namespace

CString ReadDYDUnit(const CStringArray& f, const CString& path, int line, sBidRoad_DYD& unit)
{
    if (f.GetSize() != 26) return ClFormat(L"读取DYD文件第%d行失败!\n\n%s", line, path.GetString());
    // f[position - 1] for the 1-based positions of the table.
    auto token = [&f](int position) -> const CString& { return f[position - 1]; };
    auto bad = [&](int position) { return TokenError(L"DYD", path, line, position, token(position)); };

    sBidRoad_DYD u;
    if (token(2) == L"直线")
        u.nKind = 1;
    else if (token(2) == L"圆曲线")
        u.nKind = 2;
    else if (token(2) == L"回旋线")
        u.nKind = 3;
    else
        return bad(2);
    if (token(3) != L"NULL" && !ReadToolNumber(token(3), &u.dA)) return bad(3);
    if (token(4) != L"无穷大" && !ReadToolNumber(token(4), &u.dStartR)) return bad(4);
    if (token(5) != L"无穷大" && !ReadToolNumber(token(5), &u.dEndR)) return bad(5);
    u.nTurn = token(7) != L"NULL" ? -1 : token(8) != L"NULL" ? 1 : 0;
    double endZH = 0.0;
    if (!ReadStation(token(9), u.dStartZH)) return bad(9);
    if (!ReadStation(token(17), endZH)) return bad(17);
    u.dLength = endZH - u.dStartZH;
    if (!ReadToolNumber(token(10), &u.dStartX)) return bad(10);
    if (!ReadToolNumber(token(11), &u.dStartY)) return bad(11);
    if (!ReadToolNumber(token(18), &u.dEndX)) return bad(18);
    if (!ReadToolNumber(token(19), &u.dEndY)) return bad(19);
    if (!ReadAzimuth(token(12), u.dStartAngle)) return bad(12);
    if (!ReadAzimuth(token(20), u.dEndAngle)) return bad(20);
    unit = u;
    return CString();
}

std::vector<sBidRoadSlopeInfo> MergeSlopeRows(const std::vector<sSlopeInfo>& rows, bool both)
{
    std::vector<sBidRoadSlopeInfo> ranges;
    auto same = [both](const sSlopeInfo& a, const sSlopeInfo& b) {
        return std::fabs(a.dLeft - b.dLeft) <= 0.001 && (!both || std::fabs(a.dRight - b.dRight) <= 0.001);
    };
    const size_t n = rows.size();
    size_t pending = 0;
    size_t i = 1;
    while (i < n) {
        const sSlopeInfo& p = rows[pending];
        if (same(rows[i], p)) {
            ranges.push_back({p.dZH, rows[i].dZH, p.dLeft, p.dRight});
            pending = i + 1;
            i += 2;
        } else {
            ranges.push_back({p.dZH, p.dZH, p.dLeft, p.dRight});
            pending = i;
            i += 1;
        }
    }
    if (pending < n) ranges.push_back({rows[pending].dZH, rows[pending].dZH, rows[pending].dLeft, rows[pending].dRight});
    return ranges;
}

namespace {

// The data lines of an input, or the message why not.
CString ReadInput(const wchar_t* kind, const CString& path, std::vector<ToolDataLine>& lines)
{
    int endLine = 0;
    const ToolRead read = ReadToolDataLines(path, lines, endLine);
    if (read == ToolRead::NotOpened)
        return ClFormat(L"读取%s文件失败!\n\n%s\n\n请确认该文件是否存在!\n\n如果该文件已打开，请将其关闭!", kind,
                        path.GetString());
    if (read == ToolRead::BadLine) return ClFormat(L"读取%s文件第%d行失败!\n\n%s", kind, endLine, path.GetString());
    return CString();
}

// The CG file: the header's values and the rows with their one-side values.
struct CGData
{
    bool single = false;
    double n = 0.0, tp = 0.0, tn = 10.0;
    std::vector<sSlopeInfo> rows;
};

CString ReadCG(const CString& path, CGData& cg)
{
    std::vector<ToolDataLine> lines;
    CString message = ReadInput(L"CG", path, lines);
    if (!message.IsEmpty()) return message;
    if (lines.empty()) return ClFormat(L"读取CG文件首行信息失败!\n\n%s", path.GetString());

    CStringArray f;
    if (ToolLineReader::Split(lines[0].text, f) == -1 || f.GetSize() < 7)
        return ClFormat(L"读取CG文件首行数据个数错误!\n\n%s", path.GetString());
    auto header = [&](int position, double& value) {
        if (ReadToolNumber(f[position - 1], &value)) return CString();
        return ClFormat(L"读取CG文件首行第%d个数据<%s>错误!\n\n%s", position, f[position - 1].GetString(),
                        path.GetString());
    };
    double lanes = 0.0;
    if (!(message = header(1, lanes)).IsEmpty() || !(message = header(4, cg.n)).IsEmpty()) return message;
    if (f.GetSize() > 7 && !(message = header(8, cg.tp)).IsEmpty()) return message;
    if (f.GetSize() > 8 && !(message = header(9, cg.tn)).IsEmpty()) return message;
    // A single carriageway's rows hold one cross fall for the whole width
    // and, as their third field, the segment number.
    cg.single = lanes == 1.0;

    for (size_t i = 1; i < lines.size(); ++i) {
        const ToolDataLine& line = lines[i];
        if (ToolLineReader::Split(line.text, f) == -1 || f.GetSize() < 2)
            return ClFormat(L"读取CG文件第%d行数据错误!\n\n%s", line.line, path.GetString());
        auto bad = [&](int position) { return TokenError(L"CG", path, line.line, position, f[position - 1]); };
        sSlopeInfo row;
        if (!ReadToolNumber(f[0], &row.dZH)) return bad(1);
        if (!ReadToolNumber(f[1], &row.dLeft)) return bad(2);
        if (cg.single) {
            int segment = 0;
            if (f.GetSize() > 2 && !ReadToolSegment(f[2], segment)) return bad(3);
            row.dRight = row.dLeft;
        } else if (f.GetSize() > 2 && !ReadToolNumber(f[2], &row.dRight)) {
            return bad(3);
        }
        cg.rows.push_back(row);
    }
    return CString();
}

} // namespace

int ExportBidRoadBRF(CDialog* owner, const CString& dydPath, const CString& sqxPath, const CString& dmxPath,
                     const CString& cgPath, const CString& brfPath)
{
    auto fail = [owner](const CString& message) {
        ShowToolMessage(owner, message, MB_ICONINFORMATION);
        return 0;
    };

    std::vector<ToolDataLine> dyd, sqx, dmx;
    CString message = ReadInput(L"DYD", dydPath, dyd);
    if (!message.IsEmpty()) return fail(message);
    std::vector<sBidRoad_DYD> units;
    CStringArray f;
    for (const ToolDataLine& line : dyd) {
        ToolLineReader::Split(line.text, f);
        sBidRoad_DYD unit;
        message = ReadDYDUnit(f, dydPath, line.line, unit);
        if (!message.IsEmpty()) return fail(message);
        units.push_back(unit);
    }
    // A road may have no plane unit yet (its range is then 0 to 10000), but
    // the grade points, the cross-slope rows and the ground line are what
    // the bridge program takes from the file.
    if (!(message = ReadInput(L"SQX", sqxPath, sqx)).IsEmpty()) return fail(message);
    if (sqx.empty()) return fail(NoToolDataText(sqxPath));
    CGData cg;
    if (!(message = ReadCG(cgPath, cg)).IsEmpty()) return fail(message);
    if (cg.rows.empty()) return fail(NoToolDataText(cgPath));
    if (!(message = ReadInput(L"DMX", dmxPath, dmx)).IsEmpty()) return fail(message);
    if (dmx.empty()) return fail(NoToolDataText(dmxPath));

    CString text = ClFormat(L"**PLAN**\n%d\n", static_cast<int>(units.size()));
    for (const sBidRoad_DYD& u : units)
        text += ClFormat(L"%.4f %.4f %.8f %.4f %.4f %.4f %.8f %.4f %.4f %.4f %.4f %.4f %.4f\n", u.dStartY, u.dStartX,
                         u.dStartAngle, u.dStartR, u.dEndY, u.dEndX, u.dEndAngle, u.dEndR, u.dLength, u.dA, u.dStartZH,
                         static_cast<double>(u.nTurn), static_cast<double>(u.nKind));
    text += L"**PLAN END**\n";

    // The first and the last grade point carry no curve.
    for (size_t i = 0; i < sqx.size(); ++i) {
        if (i == 0) sqx[i].text += L"       0.0000";
        if (i + 1 == sqx.size()) sqx[i].text += L"       0.0000";
    }
    text += ClFormat(L"**VERT**\n%d\n", static_cast<int>(sqx.size()));
    for (size_t i = 0; i < sqx.size(); ++i) text += ClFormat(L"%10d %s\n", static_cast<int>(i) + 1, sqx[i].text.GetString());
    text += L"**VERT END**\n";

    const std::vector<sBidRoadSlopeInfo> ranges = MergeSlopeRows(cg.rows, true);
    std::vector<sSlopeInfo> leftRows, rightRows;
    for (const sSlopeInfo& row : cg.rows) {
        double left = cg.n, right = cg.n;
        if (row.dLeft * row.dRight > 0.0) {
            const double tLeft = row.dLeft > 0.0 ? std::fabs(cg.tp) : std::fabs(cg.tn);
            const double tRight = row.dLeft > 0.0 ? std::fabs(cg.tn) : std::fabs(cg.tp);
            if (std::fabs(row.dLeft - cg.n) > tLeft) left = row.dLeft;
            if (std::fabs(row.dRight + cg.n) > tRight) right = row.dRight;
        }
        leftRows.push_back({row.dZH, left, 0.0});
        rightRows.push_back({row.dZH, right, 0.0});
    }
    auto oneSide = [&text](const wchar_t* keyword, const std::vector<sBidRoadSlopeInfo>& list, bool right) {
        text += ClFormat(L"**%s**\n%d\n", keyword, static_cast<int>(list.size()));
        for (const sBidRoadSlopeInfo& r : list)
            text += ClFormat(L" %13.4f %13.4f %13.4f\n", r.dStartZH, r.dEndZH, right ? r.dRight : r.dLeft);
        text += ClFormat(L"**%s END**\n", keyword);
    };
    text += ClFormat(L"**SLOPE**\n%d\n", static_cast<int>(ranges.size()));
    for (const sBidRoadSlopeInfo& r : ranges)
        text += ClFormat(L" %13.4f %13.4f %13.4f %13.4f\n", r.dStartZH, r.dEndZH, r.dLeft, r.dRight);
    text += L"**SLOPE END**\n";
    oneSide(L"SLOPE1", MergeSlopeRows(leftRows, false), false);
    oneSide(L"SLOPE2", ranges, false);
    const double roadStart = units.empty() ? 0.0 : units.front().dStartZH;
    const double roadEnd = units.empty() ? 10000.0 : units.back().dStartZH + units.back().dLength;
    for (const wchar_t* keyword : {L"SLOPE3", L"SLOPE4"})
        text += ClFormat(L"**%s**\n1\n%13.4f %13.4f %13.4f\n**%s END**\n", keyword, roadStart, roadEnd, 0.0, keyword);
    oneSide(L"SLOPE5", ranges, true);
    oneSide(L"SLOPE6", MergeSlopeRows(rightRows, false), false);

    text += ClFormat(L"**PROFILE**\n%d\n", static_cast<int>(dmx.size()));
    for (const ToolDataLine& line : dmx) text += line.text + L"\n";
    text += L"**PROFILE END**\n**DECK**\n**DECK END**\n";

    if (!WriteToolOutputs({{brfPath, text}}))
        return fail(tkx_SaveFailureText(brfPath, ClFormat(L"创建BRF文件失败!\n\n%s", brfPath.GetString())));
    return 1;
}

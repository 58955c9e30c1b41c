#include "corvane/road/UnitFile.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/NumberText.h"
#include "corvane/base/LastError.h"
#include "corvane/base/LineReader.h"
#include "corvane/road/ClothoidUnit.h"
#include "corvane/road/LineArcUnits.h"
#include "corvane/road/Road.h"
#include "corvane/road/RoadFiles.h"

#include <cmath>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

using namespace Tavix4;

namespace icd_file {

tkxRoadPMUnit* NewUnitForCode(int code)
{
    if (code == UNIT_LINE) return new tkxLineUnit;
    if (code == UNIT_ARC) return new tkxArcUnit;
    return new tkxClothoidUnit;
}

bool IsUnitFileName(const wchar_t* path)
{
    CString upper = path ? path : L"";
    upper.MakeUpper();
    return upper.Find(L".ICD") >= 0;
}

} // namespace icd_file

namespace {

CString WrongNameMessage(const wchar_t* path)
{
    return ClFormat(L"输入错误的文件名[%s]! 必须输入ICD后缀的文件名。", path ? path : L"");
}

bool Split(const CString& line, text_lines::FieldList& fields)
{
    return fields.Divide(line) == 0 && fields.GetSize() > 0;
}

bool IsEndLine(const text_lines::FieldList& fields)
{
    return fields.GetSize() == 3 && fields[0] == L"0" && fields[1] == L"0" && fields[2] == L"0";
}

bool IsEndLine(const text_lines::ByteFieldList& fields)
{
    return fields.Count() == 3 && fields.View(0) == "0" && fields.View(1) == "0" && fields.View(2) == "0";
}

// A unit code field; -1 (no unit) when it is no number.
int UnitCode(std::wstring_view field)
{
    double code = 0.0;
    return text_lines::ReadNumber(field, code) ? number_text::WholePart(code) : -1;
}

int UnitCode(const text_lines::LineFields& fields)
{
    double code = 0.0;
    return fields.Number(0, code) ? number_text::WholePart(code) : -1;
}

// The unit's line read into the unit icd_file::NewUnitForCode made for the
// code, with the sines and cosines of the azimuths met so far.
CString LoadUnit(tkxRoadPMUnit& unit, int code, const sZHPtInfo& start, std::wstring_view line,
                 alignment::Headings& headings)
{
    if (code == UNIT_LINE) return static_cast<tkxLineUnit&>(unit).LoadFromString(start, line, headings);
    if (code == UNIT_ARC) return static_cast<tkxArcUnit&>(unit).LoadFromString(start, line, headings);
    return static_cast<tkxClothoidUnit&>(unit).LoadFromString(start, line, headings);
}

// The same for the fields of the line.
CString LoadUnit(tkxRoadPMUnit& unit, int code, const sZHPtInfo& start, const text_lines::LineFields& fields,
                 alignment::Headings& headings)
{
    if (code == UNIT_LINE) return static_cast<tkxLineUnit&>(unit).LoadFromFields(start, fields, headings);
    if (code == UNIT_ARC) return static_cast<tkxArcUnit&>(unit).LoadFromFields(start, fields, headings);
    return static_cast<tkxClothoidUnit&>(unit).LoadFromFields(start, fields, headings);
}

// The unit of a line, made for its code and read from its fields; the
// unit's message when the line gives none.  An arc with the radius a
// straight holds, which this library's writers put out for such an arc, is
// read as the straight it is.
std::unique_ptr<tkxRoadPMUnit> ReadUnit(int code, const sZHPtInfo& start, const text_lines::LineFields& fields,
                                        alignment::Headings& headings, CString& message)
{
    if (code == UNIT_ARC && tkxArcUnit::IsWrittenStraight(fields)) {
        auto straight = std::make_unique<tkxLineUnit>();
        message = straight->LoadFromArcFields(start, fields, headings);
        return straight;
    }
    std::unique_ptr<tkxRoadPMUnit> unit(icd_file::NewUnitForCode(code));
    message = LoadUnit(*unit, code, start, fields, headings);
    return unit;
}

// The same for a line the unit splits itself.
std::unique_ptr<tkxRoadPMUnit> ReadUnit(int code, const sZHPtInfo& start, std::wstring_view line,
                                        alignment::Headings& headings, CString& message)
{
    if (code == UNIT_ARC) {
        // Split as the arc splits it; a line that does not split gets the
        // arc's own message below.
        text_lines::FieldList fields;
        if (fields.Divide(line.data(), line.size()) == 0 && fields.GetSize() > 0)
            return ReadUnit(code, start, text_lines::WideLineFields(fields), headings, message);
    }
    std::unique_ptr<tkxRoadPMUnit> unit(icd_file::NewUnitForCode(code));
    message = LoadUnit(*unit, code, start, line, headings);
    return unit;
}

bool IsSeparator(wchar_t c) { return c == L' ' || c == L'\t' || c == L','; }

// The first field of a data line as the splitter finds it (a data line holds
// no line break); empty when the line holds separators only.
std::wstring_view FirstField(const CString& line)
{
    const wchar_t* text = line.GetString();
    while (IsSeparator(*text)) ++text;
    size_t n = 0;
    while (text[n] && !IsSeparator(text[n])) ++n;
    return std::wstring_view(text, n);
}

// A start station or coordinate: a number within reach.
bool ReadPlace(const text_lines::Field& field, double& value)
{
    return text_lines::ReadNumber(field, value) && road_files::WithinReach(value);
}

// Where a unit ends must be a place of a road: stations and coordinates
// within reach (a straight of 1e20 m or a clothoid of A = 1e30 ends nowhere).
bool WithinReach(const sZHPtInfo& end)
{
    return road_files::WithinReach(end.m_rZH) && road_files::WithinReach(end.m_rX) &&
           road_files::WithinReach(end.m_rY) && std::isfinite(end.m_rAzimuth);
}

bool EndsWithinReach(const tkxRoadPMUnit& unit) { return WithinReach(unit.EndPtInfo()); }

} // namespace

namespace {

// Units are kept in a deque while they are read: a long file costs no copies
// of the list as it grows.
using UnitList = std::deque<std::unique_ptr<tkxRoadPMUnit>>;

// A unit read (its message empty) whose end lies within reach is added to
// the list, and the next unit starts where it ends; false with the message
// of a unit that cannot be taken.
bool TakeUnit(std::unique_ptr<tkxRoadPMUnit> unit, CString& unitMessage, sZHPtInfo& current, UnitList& units)
{
    if (!unitMessage.IsEmpty()) return false;
    current = unit->EndPtInfo();
    if (!WithinReach(current)) {
        unitMessage = L"单元终点桩号或坐标超出范围, 请检查单元长度和参数!";
        return false;
    }
    units.push_back(std::move(unit));
    return true;
}

CString UnitMessage(const CString& file, int lineNo, int unitNo, const CString& unitMessage)
{
    return ClFormat(L"%s文件中, 第%d行, 第%d个单元, \n%s", file.GetString(), lineNo, unitNo, unitMessage.GetString());
}

// The units of a unit file, each from the end of the one before; false with
// the last-error text, and the line it names in failedLine, when the file
// cannot be read whole.
bool ReadUnits(const wchar_t* path, UnitList& units, int& failedLine)
{
    const CString file = path ? path : L"";
    failedLine = 0;
    if (!icd_file::IsUnitFileName(file)) {
        tkx_SetLastError(WrongNameMessage(file));
        return false;
    }
    CStdioFile in;
    if (!in.Open(file, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite)) {
        tkx_SetLastError(ClFormat(L"打开积木法线位文件(%s)时出错!", file.GetString()));
        return false;
    }

    CString message;
    // The messages name the line read last, but for the one about the first
    // line, which names line 1 whatever lines came before it.
    int lineNo = 0;
    int namedLine = -1;
    try {
        CString line;
        text_lines::DataLineReader lines(in);
        text_lines::FieldList fields;
        sZHPtInfo current;
        current.m_rRadius = alignment::kInfiniteRadius;

        // Line 1: the start station.
        if (!lines.Next(line, lineNo) || fields.Divide(line) != 0) {
            message = lines.Failed() ? lines.FailureText()
                                     : ClFormat(L"读文件<%s>, 第1行时出错[%s]", file.GetString(), line.GetString());
            if (!lines.Failed()) namedLine = 1;
        } else if (fields.GetSize() < 1) {
            message = ClFormat(L"读文件<%s>, 第%d行数据个数<%d>不符!", file.GetString(), lineNo,
                               static_cast<int>(fields.GetSize()));
        } else if (!ReadPlace(fields[0], current.m_rZH)) {
            message = ClFormat(L"读%s文件, 第%d行数据, 第1个数据: 线位起点桩号(%s)错误!", file.GetString(), lineNo,
                               fields[0].GetString());
        }

        // Line 2: northing, easting, azimuth.
        if (message.IsEmpty()) {
            if (!lines.Next(line, lineNo) || fields.Divide(line) != 0) {
                message = lines.Failed() ? lines.FailureText()
                                         : ClFormat(L"读文件<%s>, 第%d行时出错", file.GetString(), lineNo);
            } else if (fields.GetSize() < 3) {
                message = ClFormat(L"在积木法线位数据文件<%s>第%d行中, 起点数据个数<%d>少于3个", file.GetString(),
                                   lineNo, static_cast<int>(fields.GetSize()));
            } else if (!ReadPlace(fields[0], current.m_rY)) {
                message = ClFormat(L"读%s文件, 第%d行 第1个数据: 线位起点X坐标(%s)错误!", file.GetString(), lineNo,
                                   fields[0].GetString());
            } else if (!ReadPlace(fields[1], current.m_rX)) {
                message = ClFormat(L"读%s文件, 第%d行 第2个数据: 线位起点Y坐标(%s)错误!", file.GetString(), lineNo,
                                   fields[1].GetString());
            } else if (!text_lines::ReadNumber(fields[2], current.m_rAzimuth)) {
                message = ClFormat(L"读%s文件, 第%d行 第3个数据: 起点方位角(%s), 错误!", file.GetString(), lineNo,
                                   fields[2].GetString());
            }
        }

        // The units, each from the end of the one before.
        if (message.IsEmpty()) {
            int unitNo = 0;
            // Each unit starts on the azimuth the one before ended on: its
            // sine and cosine are kept from unit to unit.
            alignment::Headings headings;
            text_lines::ByteFieldList byteFields;
            std::string_view bytes;
            while (lines.Next(line, bytes, lineNo)) {
                // A line of 7-bit text is split where it lies in the file's
                // buffer and its fields are handed to the unit.  Any other
                // line, and one the split refuses (a field too long), is
                // widened and goes the way below.
                if (!bytes.empty()) {
                    if (byteFields.Divide(bytes.data(), bytes.size()) == 0 && byteFields.Count() > 0) {
                        if (IsEndLine(byteFields)) break;
                        ++unitNo;
                        CString unitMessage;
                        std::unique_ptr<tkxRoadPMUnit> unit =
                            ReadUnit(UnitCode(byteFields), current, byteFields, headings, unitMessage);
                        if (!TakeUnit(std::move(unit), unitMessage, current, units)) {
                            message = UnitMessage(file, lineNo, unitNo, unitMessage);
                            break;
                        }
                        continue;
                    }
                    line = ClMultiByteToWide(bytes.data(), static_cast<int>(bytes.size()), CP_ACP);
                }
                // The unit splits its line itself; the line is split here
                // only when it may be the end line (its first field is "0")
                // or give no fields to a splitter: a line of separators only
                // (no first field), or a field too long for the splitter
                // (only a line of one field can hold one).
                const std::wstring_view code = FirstField(line);
                if (code.empty() || code == L"0" || code.size() >= text_lines::kFileLineBytes) {
                    if (!Split(line, fields)) {
                        message = ClFormat(L"读文件<%s>, 第%d行时出错", file.GetString(), lineNo);
                        break;
                    }
                    if (IsEndLine(fields)) break;
                }
                ++unitNo;
                CString unitMessage;
                std::unique_ptr<tkxRoadPMUnit> unit =
                    ReadUnit(UnitCode(code), current,
                             std::wstring_view(line.GetString(), static_cast<size_t>(line.GetLength())), headings,
                             unitMessage);
                if (!TakeUnit(std::move(unit), unitMessage, current, units)) {
                    message = UnitMessage(file, lineNo, unitNo, unitMessage);
                    break;
                }
            }
        }
        if (message.IsEmpty() && lines.Failed()) message = lines.FailureText();
    } catch (CFileException* e) {
        e->Delete();
        message = ClFormat(L"打开积木法线位文件(%s)时出错!", file.GetString());
        namedLine = 0;
    }
    in.Abort();
    if (!message.IsEmpty()) {
        failedLine = namedLine >= 0 ? namedLine : lineNo;
        tkx_SetLastError(message);
        return false;
    }
    return true;
}

} // namespace

// The units are read aside and taken over only when the whole file was read:
// a bad line leaves the road's units as they were.
int tkxRoadObject::LoadICDFile(const wchar_t* path, int* failedLine)
{
    UnitList units;
    int line = 0;
    const bool read = ReadUnits(path, units, line);
    if (failedLine) *failedLine = line;
    if (!read) return 0;
    RemovePlaneUnits();
    for (std::unique_ptr<tkxRoadPMUnit>& unit : units) m_PlaneUnits.AddTail(unit.release());
    return 1;
}


int tkxRoadObject::SaveICDFile(const wchar_t* path) const
{
    const CString file = path ? path : L"";
    if (!icd_file::IsUnitFileName(file)) {
        tkx_SetLastError(WrongNameMessage(file));
        return 0;
    }
    if (m_PlaneUnits.IsEmpty()) {
        tkx_SetLastError(L"查询路线平面单元信息失败! 无法创建ICD文件!");
        return 0;
    }
    const auto* first = static_cast<const tkxRoadPMUnit*>(m_PlaneUnits.GetHead());
    if (!first) {
        tkx_SetLastError(L"查询道路起点信息失败! 无法创建ICD文件!");
        return 0;
    }

    const sZHPtInfo start = first->StartPtInfo();
    if (!std::isfinite(start.m_rZH) || !std::isfinite(start.m_rX) || !std::isfinite(start.m_rY) ||
        !std::isfinite(start.m_rAzimuth)) {
        tkx_SetLastError(L"线位起点的桩号、坐标或方位角不是有效数值! 无法创建ICD文件!");
        return 0;
    }
    // The start station and coordinates as written must be places the reader
    // takes (within reach).
    const auto readsBack = [](const CString& written) {
        double value = 0.0;
        return text_lines::ReadNumber(std::wstring_view(written.GetString()), value) && road_files::WithinReach(value);
    };
    const CString startZH = ClFormat(L"%f", start.m_rZH), startY = ClFormat(L"%f", start.m_rY),
                  startX = ClFormat(L"%f", start.m_rX);
    if (!readsBack(startZH) || !readsBack(startY) || !readsBack(startX)) {
        tkx_SetLastError(ClFormat(L"线位起点的桩号(%s)或坐标(%s, %s)超出范围! 无法创建ICD文件!", startZH.GetString(),
                                  startY.GetString(), startX.GetString()));
        return 0;
    }
    CString text = startZH;
    text += ClFormat(L"\n%s, %s, %.10f", startY.GetString(), startX.GetString(), start.m_rAzimuth);
    double previous = NormalizeAngle(start.m_rAzimuth);
    // Each unit line is read back as the reader reads it, from the end of
    // the unit read before: a unit the file would not give back (a value
    // that is no number, radii that the reader refuses) is not written.
    sZHPtInfo current = start;
    current.m_rRadius = alignment::kInfiniteRadius;
    alignment::Headings headings;
    int unitNo = 0;
    for (POSITION pos = m_PlaneUnits.GetHeadPosition(); pos;) {
        const auto* unit = static_cast<const tkxRoadPMUnit*>(m_PlaneUnits.GetNext(pos));
        if (!unit) {
            tkx_SetLastError(L"查询路线平面单元信息失败! 无法创建ICD文件!");
            return 0;
        }
        ++unitNo;
        const double a = NormalizeAngle(unit->StartAzimuth());
        const double jump = std::fabs(a - previous);
        const bool turned = jump >= 1e-6 && std::fabs(jump - 2.0 * alignment::kPi) >= 1e-6;
        const CString line = turned ? ClFormat(L"%s,%.10f", unit->SaveToString().GetString(), a) : unit->SaveToString();
        CString problem;
        const std::unique_ptr<tkxRoadPMUnit> probe =
            ReadUnit(_wtoi(line), current, std::wstring_view(line.GetString(), static_cast<size_t>(line.GetLength())),
                     headings, problem);
        if (problem.IsEmpty() && !EndsWithinReach(*probe))
            problem = L"单元终点桩号或坐标超出范围, 请检查单元长度和参数!";
        if (!problem.IsEmpty()) {
            tkx_SetLastError(ClFormat(L"第%d个单元<%s>无法写入ICD文件:\n%s", unitNo, line.GetString(), problem.GetString()));
            return 0;
        }
        current = probe->EndPtInfo();
        if (turned)
            text += ClFormat(L"\n//方向突变，前方位角：%.10f 夹角:%.10f\n%s", previous, jump, line.GetString());
        else
            text += L"\n" + line;
        previous = NormalizeAngle(unit->EndAzimuth());
    }
    text += L"\n0, 0, 0";

    if (!road_files::WriteTextFile(file, text)) {
        tkx_SetLastError(tkx_SaveFailureText(file, ClFormat(L"创建积木法线位文件(%s)时出错!", file.GetString())));
        return 0;
    }
    return 1;
}

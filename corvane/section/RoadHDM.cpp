// The standard cross-section's data and its HDM file.
#include "corvane/section/RoadHDM.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/LastError.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/RoadFiles.h"

#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr int kHighwayDepthFields = 4;
constexpr int kCityDepthFields = 13;
constexpr int kHighwayWidthFields = 9;
constexpr int kCityWidthFields = 11;

// One depth field: "a+b" gives a left and a right value, a plain number the
// same value twice.  A "+" in front is the number's sign.
bool DepthField(const CString& field, double& a, double& b)
{
    CString text = field;
    text.Trim();
    const int plus = text.GetLength() > 1 ? text.Find(L'+', 1) : -1;
    if (plus < 0) {
        if (!StringToDouble(text, &a)) return false;
        b = a;
        return true;
    }
    return StringToDouble(text.Left(plus), &a) && StringToDouble(text.Mid(plus + 1), &b);
}

// A thickness pair as the file writes it: one value when both sides agree.
CString PairText(double left, double right)
{
    return std::fabs(left - right) > 0.0001 ? ClFormat(L" %.3f+%.3f", left, right) : ClFormat(L" %.3f", left);
}

// The values of one depth row or width row, appended only when the whole row
// was read.
struct Row {
    double station = 0.0;
    std::vector<double> values;
};

void AppendRow(const std::vector<CArray<double, double>*>& arrays, const Row& row)
{
    for (size_t k = 0; k < arrays.size(); ++k) arrays[k]->Add(row.values[k]);
}

// Continuous chainage of a row's station.  With a segment number (whatever
// its value) the station lies on that segment, which becomes the current
// one; without one, on the first segment that holds it, else on the current
// segment.
bool PlaceStation(const tkxBreakChain& chain, double station, bool hasSegment, int segment, int& currentSegment,
                  double& chainage)
{
    if (hasSegment) {
        currentSegment = segment;
        return chain.GetGlobalZH(station, chainage, segment) != 0;
    }
    return chain.GetGlobalZH(station, chainage) != 0 || chain.GetGlobalZH(station, chainage, currentSegment) != 0;
}

// Every array of the data, the stations included: what a copy copies and
// ResetAll empties.
CArray<double, double> tkxRoadHDM::* const kArrays[] = {
    &tkxRoadHDM::m_WidthZH, &tkxRoadHDM::m_DepthZH, &tkxRoadHDM::m_H0, &tkxRoadHDM::m_LMLeft,
    &tkxRoadHDM::m_YLJLeft, &tkxRoadHDM::m_CFDHeight, &tkxRoadHDM::m_RXDHeight, &tkxRoadHDM::m_RXDThickness,
    &tkxRoadHDM::m_LMRight, &tkxRoadHDM::m_YLJRight, &tkxRoadHDM::m_I0, &tkxRoadHDM::m_I1,
    &tkxRoadHDM::m_I2, &tkxRoadHDM::m_I3, &tkxRoadHDM::m_I4, &tkxRoadHDM::m_I5,
    &tkxRoadHDM::m_Sa, &tkxRoadHDM::m_Sb, &tkxRoadHDM::m_Ha, &tkxRoadHDM::m_Hb,
    &tkxRoadHDM::m_Ca, &tkxRoadHDM::m_Cb, &tkxRoadHDM::m_Cen1, &tkxRoadHDM::m_Cen2,
    &tkxRoadHDM::m_Fa, &tkxRoadHDM::m_Fb,
};

} // namespace

tkxRoadHDM::tkxRoadHDM() : tkxRoadHDM(nullptr) {}

tkxRoadHDM::tkxRoadHDM(const tkxBreakChain* chain)
    : m_RoadStyle(0), m_Mode(1), m_pBreakChain(chain), m_pZDMInfo(nullptr), m_pRoadCG(nullptr)
{
}

tkxRoadHDM::tkxRoadHDM(const tkxRoadHDM& other) : tkxRoadHDM()
{
    *this = other;
}

tkxRoadHDM::~tkxRoadHDM() = default;

tkxRoadHDM& tkxRoadHDM::operator=(const tkxRoadHDM& other)
{
    if (this == &other) return *this;
    ResetAll();
    m_pBreakChain = other.m_pBreakChain;
    m_pZDMInfo = other.m_pZDMInfo;
    m_pRoadCG = other.m_pRoadCG;
    m_HDMFileName = other.m_HDMFileName;
    m_RoadStyle = other.m_RoadStyle;
    m_Mode = other.m_Mode;
    for (auto array : kArrays) (this->*array).Copy(other.*array);
    return *this;
}

void tkxRoadHDM::ResetAll()
{
    for (auto array : kArrays) (this->*array).RemoveAll();
}

int tkxRoadHDM::SetRoadCG(const tkxSuperElevation* cg)
{
    if (!cg) return 0;
    m_pRoadCG = cg;
    return 1;
}

void tkxRoadHDM::SetMode(short mode)
{
    if (mode != 1 && mode != 3 && mode != 4) {
        // The file admits only these modes; an object holding another one
        // could not be read back, so the old mode stays.
        AfxMessageBox(L"变宽方式必须为:1(线性加宽), 3(三次方变宽), 4(四次方非线性加宽);", MB_OK | MB_ICONINFORMATION);
        return;
    }
    m_Mode = mode;
}

void tkxRoadHDM::AddHDMWiden(double station, const RoadHDMInfo& info)
{
    m_WidthZH.Add(station);
    m_Sa.Add(info.Sa);
    m_Sb.Add(info.Sb);
    m_Ha.Add(info.Ha);
    m_Hb.Add(info.Hb);
    m_Fa.Add(info.Fa);
    m_Fb.Add(info.Fb);
    m_Ca.Add(info.Ca);
    m_Cb.Add(info.Cb);
    m_Cen1.Add(info.Cen1);
    m_Cen2.Add(info.Cen2);
}

int tkxRoadHDM::CopyAddHDMWiden(unsigned short index)
{
    if (!IsValid().IsEmpty()) return 0;
    if (index >= m_WidthZH.GetSize()) return 0;
    m_WidthZH.Add(m_WidthZH[index]);
    CArray<double, double>* widths[] = {&m_Sa, &m_Sb, &m_Ha, &m_Hb, &m_Ca, &m_Cb, &m_Cen1, &m_Cen2};
    for (CArray<double, double>* w : widths) w->Add((*w)[index]);
    if (m_RoadStyle == 1) {
        m_Fa.Add(m_Fa[index]);
        m_Fb.Add(m_Fb[index]);
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Reading.

CString tkxRoadHDM::ReadHDMFile(const tkxBreakChain* chain, const wchar_t* path)
{
    const CString file = path ? path : L"";
    // Every station goes through the break chain: without one nothing is
    // read and the object stays as it was.
    if (!chain) return ClFormat(L"读%s文件时出错: 未定义断链对象!", file.GetString());
    // Read into a copy (which keeps the profile and superelevation objects)
    // and taken over only when the whole file was read and passed the
    // check: a failed read leaves everything as it was.
    tkxRoadHDM loaded(*this);
    const CString message = loaded.ReadWholeFile(chain, file);
    if (message.IsEmpty()) *this = loaded;
    return message;
}

CString tkxRoadHDM::ReadWholeFile(const tkxBreakChain* chain, const CString& file)
{
    m_pBreakChain = chain;
    m_HDMFileName = file;
    const wchar_t* f = file.GetString();

    CStdioFile in;
    if (!in.Open(file, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite))
        return ClFormat(L"打开横断面宽度*.HDM文件<%s>时出错！", f);

    CString message;
    try {
        int lineNo = 0;
        CString line;
        CStringArray fields;
        auto lineError = [&] { return ClFormat(L"读%s文件, 第%d行数据错误!", f, lineNo); };
        auto countError = [&](int found, int expected) {
            return ClFormat(L"读%s文件, 第%d行数据错误!\n\n数据个数[%d]应为%d, 带断链号时%d个.", f, lineNo, found, expected,
                            expected + 1);
        };

        if (!tkx_ReadNextStringST(&in, line, lineNo)) {
            in.Abort();
            return ClFormat(L"读%s文件, 第一个数据错误!", f);
        }
        ResetAll();
        m_RoadStyle = line.CompareNoCase(L"city") == 0 ? 1 : 0;
        const bool city = m_RoadStyle == 1;
        if (city && !tkx_ReadNextStringST(&in, line, lineNo)) message = lineError();
        if (message.IsEmpty() && (tkx_DivideString(line, fields) != 0 || fields.GetSize() == 0)) message = lineError();

        int depthRows = 0;
        if (message.IsEmpty()) {
            double value = 0.0;
            m_Mode = 1;
            if (!StringToDouble(fields[0], &value)) {
                message = ClFormat(L"读取文件%s的第%d行第一个数据时错误!", f, lineNo);
            } else {
                depthRows = static_cast<int>(value);
                // With more than two fields the mode is not read, but those
                // fields are numbers all the same.
                const int count = static_cast<int>(fields.GetSize());
                for (int k = 1; count > 2 && k < count && message.IsEmpty(); ++k) {
                    if (StringToDouble(fields[k], &value)) continue;
                    message = k == 1 ? ClFormat(L"读取文件%s的第%d行第二个数据时错误!", f, lineNo)
                                     : ClFormat(L"读取文件%s的第%d行第%d个数据时错误!", f, lineNo, k + 1);
                }
                if (count == 2) {
                    if (!StringToDouble(fields[1], &value)) {
                        message = ClFormat(L"读取文件%s的第%d行第二个数据时错误!", f, lineNo);
                    } else {
                        const int mode = static_cast<int>(value);
                        if (mode != 1 && mode != 3 && mode != 4)
                            message = ClFormat(L"读取文件%s的第%d行第二个数据时错误!\n\n变宽方式:1或不填:线性变宽, "
                                               L"3:三次抛物线变宽, 4:四次抛物线变宽。",
                                               f, lineNo);
                        else
                            m_Mode = static_cast<short>(mode);
                    }
                }
            }
        }

        // Splits the current line as a row of `expected` fields (one more is
        // the segment number of the station), parses every field and places
        // the station on the break chain.  Each table starts on segment 1.
        using FieldParser = std::function<bool(int, const CString&, Row&)>;
        auto readRow = [&](int expected, const FieldParser& parse, const wchar_t* fieldText,
                           const wchar_t* withSegment, const wchar_t* withoutSegment, int& currentSegment, Row& row,
                           double& chainage) {
            if (tkx_DivideString(line, fields) != 0) {
                message = lineError();
                return false;
            }
            const int count = static_cast<int>(fields.GetSize());
            if (count != expected && count != expected + 1) {
                message = countError(count, expected);
                return false;
            }
            for (int k = 0; k < count; ++k) {
                if (!parse(k, fields[k], row)) {
                    message = ClFormat(fieldText, f, lineNo, k + 1);
                    return false;
                }
            }
            const bool hasSegment = count == expected + 1;
            const int segment = hasSegment ? static_cast<int>(row.values.back()) : 0;
            if (PlaceStation(*chain, row.station, hasSegment, segment, currentSegment, chainage)) return true;
            message = hasSegment ? ClFormat(withSegment, f, lineNo, fields[0].GetString(), segment)
                                 : ClFormat(withoutSegment, f, lineNo, fields[0].GetString());
            return false;
        };

        // Depth rows.  Only the thickness fields carry two sides; in the
        // other fields the part before a "+" counts.
        const int q = city ? kCityDepthFields : kHighwayDepthFields;
        std::vector<CArray<double, double>*> depthArrays;
        if (city)
            depthArrays = {&m_H0,  &m_CFDHeight, &m_RXDHeight, &m_LMLeft, &m_LMRight, &m_YLJLeft, &m_YLJRight,
                           &m_RXDThickness, &m_I0, &m_I1, &m_I2, &m_I3, &m_I4, &m_I5};
        else
            depthArrays = {&m_H0, &m_LMLeft, &m_LMRight, &m_YLJLeft, &m_YLJRight};
        auto depthField = [&](int k, const CString& field, Row& row) {
            double a = 0.0;
            double b = 0.0;
            if (!DepthField(field, a, b)) return false;
            if (k == 0) {
                row.station = a;
                return true;
            }
            row.values.push_back(a);
            const bool pair = city ? (k == 4 || k == 5) : (k == 2 || k == 3);
            if (pair) row.values.push_back(b);
            return true;
        };
        int depthSegment = 1;
        for (int i = 0; i < depthRows && message.IsEmpty(); ++i) {
            if (!tkx_ReadNextStringST(&in, line, lineNo)) {
                message = lineError();
                break;
            }
            Row row;
            double chainage = 0.0;
            if (!readRow(q, depthField, L"读文件%s, \n\n第%d行,第%d个数据时出错!",
                         L"读取文件%s的第%d行，\n\n[%s %d]转换整链桩号时错误!", L"读取文件%s的第%d行，\n\n[%s]转换整链桩号时错误!",
                         depthSegment, row, chainage))
                break;
            m_DepthZH.Add(chainage);
            AppendRow(depthArrays, row);
        }

        // Width rows, to the end of the file.
        const int r = city ? kCityWidthFields : kHighwayWidthFields;
        std::vector<CArray<double, double>*> widthArrays;
        if (city)
            widthArrays = {&m_Sa, &m_Ha, &m_Fa, &m_Ca, &m_Cen1, &m_Cen2, &m_Cb, &m_Fb, &m_Hb, &m_Sb};
        else
            widthArrays = {&m_Sa, &m_Ha, &m_Ca, &m_Cen1, &m_Cen2, &m_Cb, &m_Hb, &m_Sb};
        auto widthField = [](int k, const CString& field, Row& row) {
            double value = 0.0;
            if (!StringToDouble(field, &value)) return false;
            if (k == 0)
                row.station = value;
            else
                row.values.push_back(value);
            return true;
        };
        int widthSegment = 1;
        while (message.IsEmpty() && tkx_ReadNextStringST(&in, line, lineNo)) {
            Row row;
            double chainage = 0.0;
            if (!readRow(r, widthField, L"读文件%s, \n\n第%d行、第%d个数据时出错!",
                         L"读文件%s, 第%d行数据\n\n[%s %d]转换整链桩号时出错!", L"读文件%s, 第%d行数据\n\n[%s]转换整链桩号时出错!",
                         widthSegment, row, chainage))
                break;
            m_WidthZH.Add(chainage);
            AppendRow(widthArrays, row);
        }
    } catch (CFileException* e) {
        e->Delete();
        message = ClFormat(L"打开横断面宽度*.HDM文件<%s>时出错！", f);
    }
    in.Abort();
    if (!message.IsEmpty()) return message;

    const CString problem = IsValid();
    if (!problem.IsEmpty()) return ClFormat(L"横断面文件%s中，数据格式错误!\n%s", f, problem.GetString());
    return CString();
}

// ---------------------------------------------------------------------------
// Writing.

CString tkxRoadHDM::NonFiniteProblem() const
{
    const bool city = m_RoadStyle == 1;
    std::vector<const CArray<double, double>*> depth = {&m_DepthZH, &m_H0, &m_LMLeft, &m_LMRight, &m_YLJLeft,
                                                        &m_YLJRight};
    std::vector<const CArray<double, double>*> width = {&m_WidthZH, &m_Sa, &m_Ha, &m_Ca, &m_Cen1,
                                                        &m_Cen2,    &m_Cb, &m_Hb, &m_Sb};
    if (city) {
        depth.insert(depth.end(), {&m_CFDHeight, &m_RXDHeight, &m_RXDThickness, &m_I0, &m_I1, &m_I2, &m_I3, &m_I4,
                                   &m_I5});
        width.insert(width.end(), {&m_Fa, &m_Fb});
    }
    const struct {
        const std::vector<const CArray<double, double>*>& arrays;
        const wchar_t* table;
    } tables[] = {{depth, L"路槽深度"}, {width, L"横断面宽度变化"}};
    for (const auto& t : tables) {
        for (const CArray<double, double>* values : t.arrays) {
            for (INT_PTR i = 0; i < values->GetSize(); ++i) {
                if (std::isfinite((*values)[i])) continue;
                return ClFormat(L"\n错误提示: 第%d个%s断面的数据<%g>不是有效的数!", static_cast<int>(i) + 1, t.table,
                                (*values)[i]);
            }
        }
    }
    return CString();
}

int tkxRoadHDM::OutputToFile(CString path)
{
    if (!m_pBreakChain) {
        tkx_SetLastError(L"未定义断链对象!");
        return 0;
    }
    path.Trim();
    if (path.IsEmpty()) {
        tkx_SetLastError(L"文件名为空!");
        return 0;
    }
    // A value that is no number would be written as text no reader takes.
    const CString notNumber = NonFiniteProblem();
    if (!notNumber.IsEmpty()) {
        tkx_SetLastError(notNumber);
        return 0;
    }
    const CString problem = IsValid();
    if (!problem.IsEmpty()) {
        const CString question = ClFormat(L"%s\n\n横断面数据检查时，发现错误，是否继续?", problem.GetString());
        if (ClMessageBox(nullptr, question, L"TAVIX", MB_YESNO | MB_ICONQUESTION) != IDYES) {
            tkx_SetLastError(problem);
            return 0;
        }
    }
    // Negative values may be written when the user wants them; a table that
    // does not cover its stations cannot be.
    const CString counts = CountProblem();
    if (!counts.IsEmpty()) {
        tkx_SetLastError(counts);
        return 0;
    }

    const bool city = m_RoadStyle == 1;
    auto segmentText = [this](double chainage) {
        const int segment = m_pBreakChain->GetBreakChainID(chainage);
        return segment != 0 && segment != 1 ? ClFormat(L"%d", segment) : CString();
    };
    CString text = city ? L"city\n" : L"";
    text.AppendFormat(L"%d %d\n", static_cast<int>(m_DepthZH.GetSize()), static_cast<int>(m_Mode));
    for (INT_PTR i = 0; i < m_DepthZH.GetSize(); ++i) {
        const double chainage = m_DepthZH[i];
        const double station = m_pBreakChain->GetBreakZH(chainage);
        if (city) {
            text.AppendFormat(L"%.3f %.3f %.3f %.3f", station, m_H0[i], m_CFDHeight[i], m_RXDHeight[i]);
            text += PairText(m_LMLeft[i], m_LMRight[i]);
            text += PairText(m_YLJLeft[i], m_YLJRight[i]);
            text.AppendFormat(L" %.3f %.3f %.3f %.3f %.3f %.3f %.3f ", m_RXDThickness[i], m_I0[i], m_I1[i], m_I2[i],
                              m_I3[i], m_I4[i], m_I5[i]);
        } else {
            text.AppendFormat(L"%.3f %.3f", station, m_H0[i]);
            text += PairText(m_LMLeft[i], m_LMRight[i]);
            text += PairText(m_YLJLeft[i], m_YLJRight[i]);
            text += L" ";
        }
        text += segmentText(chainage);
        text += L"\n";
    }
    for (INT_PTR i = 0; i < m_WidthZH.GetSize(); ++i) {
        const double chainage = m_WidthZH[i];
        const double station = m_pBreakChain->GetBreakZH(chainage);
        if (city)
            text.AppendFormat(L"%.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f ", station, m_Sa[i], m_Ha[i],
                              m_Fa[i], m_Ca[i], m_Cen1[i], m_Cen2[i], m_Cb[i], m_Fb[i], m_Hb[i], m_Sb[i]);
        else
            text.AppendFormat(L"%.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f ", station, m_Sa[i], m_Ha[i], m_Ca[i],
                              m_Cen1[i], m_Cen2[i], m_Cb[i], m_Hb[i], m_Sb[i]);
        text += segmentText(chainage);
        text += L"\n";
    }

    CFileException* writeError = nullptr;
    if (!road_files::WriteTextFile(path, text, &writeError)) {
        const CString message = tkx_SaveFailureText(path, ClFormat(L"打开%s文件时出错!", path.GetString()));
        tkx_SetLastError(message);
        if (writeError) {
            // The file was made but could not be written (a full disk): the
            // exception's own report says why; the old file is untouched.
            writeError->ReportError();
            writeError->Delete();
        } else {
            ShowFormattedMessage(nullptr, MB_OK | MB_ICONERROR, L"%s", message.GetString());
        }
        return 0;
    }
    return 1;
}

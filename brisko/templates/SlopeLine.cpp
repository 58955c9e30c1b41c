#include "brisko/templates/SlopeLine.h"
#include "brisko/shell/MainFrm.h"
#include "corvane/base/TextLines.h"
#include "corvane/platform/FileName.h"
#include "corvane/project/TavixInterface.h"
#include <cmath>

const wchar_t kSketchDone[] = L"计算结束";
const wchar_t kLineWritten[] = L"保存成功";
const wchar_t kLineRead[] = L"读取成功";

namespace {

const double kPi = 3.14159265358979323846;

// The end-rule codes of the template line, by end mode and type.
const int kEndRuleCodes[3][6] = {
    {1, -1, -2, -4, 0, 0},
    {2, 8, 16, 32, 64, 4},
    {128, 256, 512, 2048, 4096, 1024},
};

// Mode and type of a positive code 2^n, n = 0..12.
const struct {
    int mode, type;
} kPowerRules[13] = {
    {0, 0}, {1, 0}, {1, 5}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 0}, {2, 1}, {2, 2}, {2, 5}, {2, 3}, {2, 4},
};

int EndRuleCode(int mode, int type)
{
    if (mode < 0 || mode > 2 || type < 0 || type > 5) return 0;
    return kEndRuleCodes[mode][type];
}

// The whole exponent of a positive value, as the template files have
// always been read (a value that is no power of two gives the one below).
int Log2(double value) { return static_cast<int>(std::log(value) / std::log(2.0) + 0.00001); }

// Checks a file named in a line and appends its token: the name, or "NULL"
// when there is none.  Empty on success, else the reason.
CString AppendFileToken(CString& line, CString file, const wchar_t* nameMessage, const wchar_t* missingMessage)
{
    file.Trim();
    if (file.IsEmpty()) {
        line += L"NULL";
        return CString();
    }
    const CString name = tkxFileName(file).GetFileName();
    if (!IsTypTokenName(name)) return ClFormat(nameMessage, name.GetString());
    line += name;
    const CString path = CurrentLibraryFolder() + L"\\" + name;
    if (!tkxFileName::Exist(path)) return ClFormat(missingMessage, path.GetString());
    return CString();
}

// A file token read back: "NULL" stands for no file.  A named file missing
// from the library folder is reported, and kept.
CString ReadFileToken(const CString& token, const wchar_t* missingMessage)
{
    if (token == L"NULL") return CString();
    const CString path = CurrentLibraryFolder() + L"\\" + token;
    if (!tkxFileName::Exist(path))
        PrintToMainInfoWindow(L"载入模板发现错误:%s", ClFormat(missingMessage, path.GetString()).GetString());
    return token;
}

} // namespace

void OffsetPoint(const sSketchPoint& from, double angle, double distance, sSketchPoint& out)
{
    if (std::fabs(distance) < 0.000001) {
        out = from;
        return;
    }
    out.x = static_cast<float>(from.x + distance * std::cos(angle));
    out.y = static_cast<float>(from.y + distance * std::sin(angle));
}

bool IsTypTokenName(const CString& name)
{
    return !name.IsEmpty() && name.FindOneOf(L" \t,") < 0 && name != L"NULL";
}

CString CurrentLibraryFolder() { return tkx_GetWorkSpace().m_STBPath; }

void SketchSlopeLines(CSlopeLineArray& lines)
{
    for (INT_PTR i = 0; i < lines.GetSize(); ++i) {
        if (i > 0) lines[i].SetStartPoint(lines[i - 1].m_ptEnd);
        lines[i].CalcSketch();
    }
}

CSlopeLine::CSlopeLine()
    : m_bError(0), m_iFixedType(0), m_rFixedValue(1.5), m_iEndMode(1), m_iEndType(0), m_rEndValue(3.0),
      m_bLabelOffsetElev(0), m_iLabelOffsetElevPos(0), m_bLabelSlope(0), m_iSlopeLabelStyle(0), m_bDashed(0),
      m_bSaveEndOffset(0), m_iSaveEndOffsetPoint(0), m_bSavePosType(0), m_iPosType(0), m_bSaveLength(0),
      m_bInsertWall(0), m_iWallPos(0), m_bTopsoil(1), m_bDraw(1), m_bEarthwork(1), m_bThickness(0),
      m_rStartThickness(0.0), m_rEndThickness(0.0), m_bArcWithNext(0), m_bStopControl(0), m_iStopQuantity(0),
      m_bStopBelow(0), m_rStopValue(0.0), m_iStopAction(0)
{
}

CSlopeLine::~CSlopeLine() = default;

// ---------------------------------------------------------------------------
// Geometry of the sketch segment

float CSlopeLine::GetLength() const
{
    const double dx = m_ptEnd.x - m_ptStart.x, dy = m_ptEnd.y - m_ptStart.y;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

float CSlopeLine::GetDirection() const
{
    const double dx = m_ptEnd.x - m_ptStart.x, dy = m_ptEnd.y - m_ptStart.y;
    if (std::fabs(dx) < 0.00001) {
        if (std::fabs(dy) < 0.00001) return 0.0f;
        return static_cast<float>(dy > 0 ? kPi / 2 : 3 * kPi / 2);
    }
    double a = std::atan(dy / dx);
    if (dx < 0) a += kPi;
    if (a < 0) a += 2 * kPi;
    return static_cast<float>(a);
}

int CSlopeLine::GetTextAngle() const
{
    const double dx = m_ptEnd.x - m_ptStart.x, dy = m_ptEnd.y - m_ptStart.y;
    if (std::fabs(dx) < 0.001) return dy > 0 ? 900 : 2700;
    double a = std::atan(dy / dx);
    if (a < 0) a += 2 * kPi;
    return static_cast<int>(a * 10 * 180 / 3.1415926);
}

float CSlopeLine::GetXAtY(float y) const
{
    const double dy = m_ptEnd.y - m_ptStart.y;
    if (std::fabs(dy) < 0.00001) return m_ptEnd.x;
    return static_cast<float>(m_ptStart.x + (y - m_ptStart.y) * (m_ptEnd.x - m_ptStart.x) / dy);
}

// ---------------------------------------------------------------------------
// The sketch

CString CSlopeLine::CalcSketch()
{
    const double P = m_rFixedValue, V = m_rEndValue;
    const double sx = m_ptStart.x, sy = m_ptStart.y;
    const double s = P > 0 ? -1.0 : 1.0;
    // Placeholder extents for what only the ground or a control file gives.
    const double G1 = V <= -0.00001 ? std::fabs(V) + 2 : 2;
    const double G2 = V >= -0.00001 ? std::fabs(V) + 2 : 2;
    const double G3 = V >= 0.00001 ? 2 : std::fabs(V) + 2;
    double ex = sx - 0.55, ey = sy + 0.85; // stays for a kind or rule outside the lists

    m_bError = 0;
    m_sMessage = kSketchDone;
    auto fail = [&](double x, double y, const wchar_t* message) {
        ex = x;
        ey = y;
        m_bError = 1;
        m_sMessage = message;
    };

    if (std::fabs(P) < 0.00001) {
        fail(sx, sy + 0.25, L"边坡固定参数不能为0!");
    } else if (m_iFixedType == 0) {
        const double a = std::atan(1 / P);
        const bool sloped = std::fabs(P) <= 999.99999;
        int mode = m_iEndMode;
        const int type = m_iEndType;
        if (mode == 0) {
            if (type == 0) {
                if (V < 0.00001) {
                    fail(sx - 0.05, sy - 0.05, L"指定边坡坡长应>0!");
                } else {
                    ex = sx + V * std::cos(a);
                    ey = sloped ? sy - V * std::sin(a) : sy;
                }
            } else if (type == 1) {
                const double d = V + G1;
                ex = sx + d * std::cos(a);
                ey = sloped ? sy - d * std::sin(a) : sy;
            } else if (type == 2) {
                if (V >= 0.00001) {
                    ex = sx + V * std::cos(a);
                    ey = sy - V * std::sin(a);
                } else {
                    fail(sx - 0.25, sy - 0.25, L"指定边坡坡长应>0!");
                }
            } else if (type == 3) {
                const double d = V + G1;
                ex = sx + d * std::cos(a);
                ey = sy - d * std::sin(a);
            } else {
                mode = 1; // the other types as by elevation
            }
        }
        if (mode == 1) {
            bool handled = true;
            switch (type) {
            case 0:
                if (V >= 0.00001) {
                    ex = sx + std::fabs(P * V);
                    ey = sy + s * V;
                } else {
                    fail(sx, sy - 0.25, L"指定边坡高度应>0!");
                }
                break;
            case 1:
                ex = sx + std::fabs(P * G3);
                ey = sy + s * G3;
                break;
            case 2:
                ex = sx + (sy + 1 - V) * P; // the subgrade edge lies at height -1
                ey = V - 1;
                break;
            case 3:
            case 4:
                ex = sx + std::fabs(P * G1);
                ey = sy + s * G1;
                break;
            case 5: {
                const double h = P <= 0 ? G2 : G1;
                ex = sx + std::fabs(P) * h;
                ey = sy + s * h;
                break;
            }
            default: handled = false; break;
            }
            if (!handled) mode = 2; // the other types as by width
        }
        if (mode == 2) {
            const bool flatter = P <= 999.99999;
            switch (type) {
            case 0:
                if (V < 0.001) {
                    fail(sx + 0.05, sy, L"指定边坡宽度应>0!");
                } else {
                    ex = sx + V;
                    ey = flatter ? sy + s * std::fabs(V / P) : sy;
                }
                break;
            case 1:
                if (V < 0.00001) {
                    fail(sx + 0.05, sy, L"终点距离路基边缘宽度应>0!");
                } else {
                    ex = V + 1; // the subgrade edge lies at x = 1
                    ey = flatter ? sy + s * std::fabs((V + 1 - sx) / P) : sy;
                }
                break;
            case 2:
                ex = sx + G2;
                ey = sy - G2 / P;
                break;
            case 3:
                ex = sx + V;
                ey = sy - 0.5;
                break;
            case 4:
                ex = V + 1;
                ey = sy - 0.5;
                break;
            case 5: {
                const double d = V + G1;
                ex = sx + std::fabs(d);
                ey = sy + s * std::fabs(d / P);
                break;
            }
            default: break;
            }
        }
    } else if (m_iFixedType == 1) {
        const double H = P;
        if (m_iEndMode != 2) m_sMessage = L"终点控制方式错误!";
        switch (m_iEndType) {
        case 0:
            if (V < 0.001)
                fail(sx + 0.05, sy, L"指定边坡宽度应>0!");
            else
                ex = sx + V, ey = sy - H;
            break;
        case 1:
            if (V < 0.001)
                fail(sx + 0.05, sy, L"终点距离路基边缘宽度应>0!");
            else
                ex = V + 1, ey = sy - H;
            break;
        case 2: ex = sx + G2, ey = sy - H; break;
        case 3: ex = sx + V, ey = sy - 0.5; break;
        case 4: ex = V + 1, ey = sy - 0.5; break;
        case 5: ex = sx + std::fabs(V + 2), ey = sy - H; break;
        default: break;
        }
    } else if (m_iFixedType == 2) {
        const double W = P;
        if (W < 0.00001) {
            fail(sx + 0.05, sy, L"指定边坡宽度应>0!");
        } else {
            ex = sx + W;
            switch (m_iEndType) {
            case 0: ey = sy - V; break;
            case 1:
            case 3:
            case 4: ey = sy - G3; break;
            case 2: ey = V - 1; break;
            case 5: ey = V <= 0 ? sy - (1.5 - V) : sy - (V + 2); break;
            default: break;
            }
        }
    }

    m_ptEnd.x = static_cast<float>(ex);
    m_ptEnd.y = static_cast<float>(ey);
    return m_sMessage;
}

// ---------------------------------------------------------------------------
// The template-file line

CString CSlopeLine::WriteTypLine(CString& line) const
{
    line = ClFormat(L"%.3f %.3f %.3f ", m_rFixedValue, m_rEndValue, m_rStartThickness);
    CString problem = AppendFileToken(line, m_sControlFile, L"控制文件名<%s>不能含有空格、制表符或逗号, 也不能是NULL!",
                                      L"控制文件:%s不存在!");
    if (!problem.IsEmpty()) return problem;

    const int drawing = (m_bDraw ? 1 : 0) + (m_bEarthwork ? 2 : 0) + (m_bThickness ? 4 : 0);
    int labels = (m_bLabelSlope ? 1 : 0) + (m_bDashed ? 2 : 0);
    if (m_bLabelOffsetElev) labels += 4 << m_iLabelOffsetElevPos;
    int information = 0;
    if (m_bSaveEndOffset) information += 1 << m_iSaveEndOffsetPoint;
    if (m_bInsertWall) information += m_iWallPos == 0 ? 8 : 16;
    if (m_bSavePosType) information += 32 << m_iPosType;
    if (m_bSaveLength) information += 1024;
    line += ClFormat(L" %d %d %d %d %d %.3f %.3f ", drawing, labels, information, EndRuleCode(m_iEndMode, m_iEndType),
                     m_bStopControl ? m_iStopAction : -1, m_bStopBelow ? -m_rStopValue : m_rStopValue,
                     static_cast<double>(GetLength()));

    problem = AppendFileToken(line, m_sWallFile, L"插入挡墙文件名<%s>不能含有空格、制表符或逗号, 也不能是NULL!",
                              L"插入挡墙文件:%s不存在!");
    if (!problem.IsEmpty()) return problem;

    line += ClFormat(L" %d %d %.6f %d %.3f %d %d\n", m_iFixedType + 1, m_iStopQuantity,
                     static_cast<double>(GetDirection()), m_bArcWithNext ? 1 : 0, m_rEndThickness,
                     m_iSlopeLabelStyle != 0 ? 1 : 0, m_bTopsoil ? 1 : 0);
    return kLineWritten;
}

CString CSlopeLine::ReadTypLine(CString line)
{
    line.Trim();
    CStringArray tokens;
    if (tkx_DivideString(line, tokens) == -1) return L"读取失败";
    const INT_PTR count = tokens.GetSize();
    if (count < 13) return L"数据个数不足";
    auto number = [&](int i) { return _wtof(tokens[i]); };
    auto whole = [&](int i) { return _wtoi(tokens[i]); };

    // A value that is no finite number, or flags beyond the bits and label
    // positions a line has, would not come back as read when the template
    // is saved again: the line is refused before anything of it is taken.
    for (int i : {0, 1, 2, 9, 16})
        if (i < count && !std::isfinite(number(i)))
            return ClFormat(L"第%d个数据<%s>不是有效数值!", i + 1, tokens[i].GetString());
    const struct {
        int token, highest;
    } kFlags[] = {{4, 7}, {5, 255}, {6, 2047}};
    for (const auto& flags : kFlags) {
        const int value = whole(flags.token);
        if (value < 0 || value > flags.highest)
            return ClFormat(L"第%d个数据<%s>超出了标志的范围(0到%d)!", flags.token + 1,
                            tokens[flags.token].GetString(), flags.highest);
    }

    m_rFixedValue = number(0);
    m_rEndValue = number(1);
    m_rStartThickness = m_rEndThickness = number(2);
    m_sControlFile = ReadFileToken(tokens[3], L"控制文件:%s不存在!");

    const int drawing = whole(4);
    m_bDraw = drawing & 1 ? 1 : 0;
    m_bEarthwork = drawing & 2 ? 1 : 0;
    m_bThickness = drawing & 4 ? 1 : 0;

    const int labels = whole(5);
    m_bLabelSlope = labels & 1 ? 1 : 0;
    m_bDashed = labels & 2 ? 1 : 0;
    const int rest = labels - (labels & 3);
    if (rest <= 0) {
        m_bLabelOffsetElev = 0;
    } else {
        m_bLabelOffsetElev = 1;
        m_iLabelOffsetElevPos = Log2(rest) - 2;
    }

    // The information flags, taken apart from the top down.
    int information = whole(6);
    m_bSaveLength = information >= 1024 ? 1 : 0;
    if (m_bSaveLength) information -= 1024;
    m_bSavePosType = information > 31 ? 1 : 0;
    for (int type = 4; type >= 0; --type) {
        if (information >= (32 << type)) {
            m_iPosType = type;
            information -= 32 << type;
            break;
        }
    }
    if (information >= 16) {
        m_bInsertWall = 1;
        m_iWallPos = 1;
        information -= 16;
    } else if (information >= 8) {
        m_bInsertWall = 1;
        m_iWallPos = 0;
        information -= 8;
    } else {
        m_bInsertWall = 0;
    }
    m_bSaveEndOffset = information > 0 ? 1 : 0;
    for (int point = 2; point >= 0; --point) {
        if (information >= (1 << point)) {
            m_iSaveEndOffsetPoint = point;
            break;
        }
    }

    const int rule = whole(7);
    if (rule == -1 || rule == -2 || rule == -4) {
        m_iEndMode = 0;
        m_iEndType = rule == -1 ? 1 : rule == -2 ? 2 : 3;
    } else if (rule > 0) {
        const int n = Log2(rule);
        if (n >= 0 && n <= 12) {
            m_iEndMode = kPowerRules[n].mode;
            m_iEndType = kPowerRules[n].type;
        }
    }

    const int stop = whole(8);
    if (stop == -1) {
        m_bStopControl = 0;
    } else if (stop == 0 || stop == 1) {
        m_bStopControl = 1;
        m_iStopAction = stop;
    }
    // The writer negates the threshold of a "less than" test; a threshold
    // of 0 keeps its test by the sign written ("-0.000").
    const double threshold = number(9);
    m_bStopBelow = threshold < 0 || tokens[9].Left(1) == L"-" ? 1 : 0;
    m_rStopValue = std::fabs(threshold);

    m_sWallFile = ReadFileToken(tokens[11], L"插入挡土墙文件:%s不存在!");
    m_iFixedType = whole(12) - 1;
    if (count > 13) m_iStopQuantity = whole(13);
    if (count > 15) m_bArcWithNext = whole(15) != 0 ? 1 : 0;
    if (count > 16) m_rEndThickness = number(16);
    if (count > 17) m_iSlopeLabelStyle = whole(17) != 0 ? 1 : 0;
    m_bTopsoil = count > 18 ? (whole(18) != 0 ? 1 : 0) : 1;
    return kLineRead;
}

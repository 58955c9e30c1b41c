#include "brisko/convert/BaseElevations.h"
#include "brisko/convert/DerivedFiles.h"
#include "brisko/convert/ToolDialog.h"
#include "brisko/shell/Helpers.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include <algorithm>
#include <cmath>

bool BaseElevationsWalkable(const tkxZDMInfo& profile)
{
    const int n = profile.GetBPDCount();
    if (n < 2) return true;
    // Also false for a length that is no number.
    return profile.GetBPDZH(n - 1) - profile.GetBPDZH(0) <= kLongestBaseWalk;
}

bool ComputeBaseElevations(const tkxZDMInfo& profile, const JGCParameters& p, std::vector<JGCRow>& rows,
                           const std::function<bool(double station, double fill)>& goOn)
{
    rows.clear();
    const int n = profile.GetBPDCount();
    if (n < 2) return true;
    if (!BaseElevationsWalkable(profile)) return false;
    const double band = p.rowHeight * p.scale / 1000.0;
    const double margin = p.minDistance * p.scale / 1000.0;
    const double usable = band - 2.0 * margin;
    const double first = profile.GetBPDZH(0);
    const double last = profile.GetBPDZH(n - 1);

    double low = 1000000.0, high = -1000000.0;
    auto reset = [&] {
        low = 1000000.0;
        high = -1000000.0;
    };
    auto merge = [&](double z) {
        low = std::min(low, z);
        high = std::max(high, z);
    };
    double segmentStart = first, sheetStart = first;
    bool overBand = false;
    // The stations are counted, not summed, so that the thousandth step
    // still lies on its 0.2 m.
    for (long long k = 0;; ++k) {
        const double s = first + 0.2 * static_cast<double>(k);
        if (!(s < last)) break;
        const double ground = profile.GetDMXElevation(s);
        double design = ground;
        if (profile.GetElevation(s, design)) merge(design);
        const double fill = std::fabs(design - ground);
        if (fill > band) {
            if (!overBand && !goOn(s, fill)) return false;
            overBand = true;
        } else {
            overBand = false;
        }
        merge(ground);

        if (p.pageAuto) {
            if (s - sheetStart > p.pageLength - 0.001) {
                rows.push_back({sheetStart, (high + low) / 2.0 - band / 2.0});
                sheetStart = segmentStart = sheetStart + p.pageLength;
                reset();
            } else if (high - low > usable - 0.000001) {
                rows.push_back({segmentStart, (high + low) / 2.0 - band / 2.0});
                sheetStart = segmentStart = s;
                reset();
            }
        } else if (high - low > usable - 0.000001) {
            rows.push_back({segmentStart, low - margin});
            segmentStart = s;
            reset();
        }
    }
    // The last segment, when a station came after the last break.
    if (low <= high) rows.push_back({segmentStart, (high + low) / 2.0 - band / 2.0});
    return true;
}

double RoundBase(double base, double unit)
{
    // Down to the multiple below (also for negative bases); a quotient a
    // hair below a whole number is that number.
    return std::floor(base / unit + 1e-9) * unit;
}

int WriteBaseElevations(CDialog* owner, const CString& sqxPath, const CString& dmxPath, const CString& dlPath,
                        const CString& jgcPath, const JGCParameters& p)
{
    tkxBreakChain chain;
    if (!dlPath.IsEmpty() && !chain.LoadDLFile(dlPath)) {
        ShowFormattedMessage(owner, MB_ICONHAND, L"读取桩号断链文件<%s>出错!\n\n%s", dlPath.GetString(),
                             tkx_GetLastError().GetString());
        return 0;
    }
    tkxZDMInfo profile(&chain);
    if (!profile.LoadSQXFile(sqxPath)) {
        ShowFormattedMessage(owner, MB_ICONHAND, L"读取纵断面竖曲线文件<%s>出错!\n\n%s", sqxPath.GetString(),
                             tkx_GetLastError().GetString());
        return 0;
    }
    if (!profile.LoadDMXFile(dmxPath)) {
        ShowFormattedMessage(owner, MB_ICONHAND, L"读取纵断面地面线文件<%s>出错!\n\n%s", dmxPath.GetString(),
                             tkx_GetLastError().GetString());
        return 0;
    }
    if (profile.GetBPDCount() < 2) {
        ShowFormattedMessage(owner, MB_ICONHAND, L"纵断面竖曲线文件<%s>中的变坡点少于2个, 无法生成基点高程!",
                             sqxPath.GetString());
        return 0;
    }
    if (!BaseElevationsWalkable(profile)) {
        const int last = profile.GetBPDCount() - 1;
        ShowFormattedMessage(owner, MB_ICONHAND,
                             L"纵断面竖曲线文件<%s>中, 变坡点桩号%s至%s的距离超过%d公里, 无法生成基点高程!\n\n"
                             L"请检查变坡点桩号。",
                             sqxPath.GetString(), chain.GetZHString(profile.GetBPDZH(0), -1, 1).GetString(),
                             chain.GetZHString(profile.GetBPDZH(last), -1, 1).GetString(),
                             static_cast<int>(kLongestBaseWalk / 1000.0));
        return 0;
    }
    // Without a ground point the ground would lie at height 0 everywhere.
    if (profile.GetDMXCount() == 0) {
        ShowFormattedMessage(owner, MB_ICONHAND, L"%s", NoToolDataText(dmxPath).GetString());
        return 0;
    }
    if (!(p.unit > 0.0) || !(p.scale > 0.0) || !std::isfinite(p.unit) || !std::isfinite(p.scale)) {
        ShowFormattedMessage(owner, MB_ICONHAND, L"高程比例和标尺单位必须大于0!");
        return 0;
    }

    const double band = p.rowHeight * p.scale / 1000.0;
    std::vector<JGCRow> rows;
    const bool done = ComputeBaseElevations(profile, p, rows, [&](double station, double fill) {
        return ShowFormattedMessage(owner, MB_YESNO | MB_ICONQUESTION,
                                    L"桩号%s处, 填挖高[%.3f]大于标尺总高度[%.3f]，无法确定基点高程，\n\n"
                                    L"请重新确定垂直比例或标尺高度。\n\n是否继续?",
                                    chain.GetZHString(station, -1, 1).GetString(), fill, band) == IDYES;
    });
    if (!done) return 0;

    CString text;
    double previous = -999.999;
    for (const JGCRow& row : rows) {
        const double base = RoundBase(row.base, p.unit);
        if (std::fabs(base - previous) < 0.00001) continue;
        previous = base;
        text += ClFormat(L"%.3f %.3f ", chain.GetBreakZH(row.station), base);
        const int segment = chain.GetBreakChainID(row.station);
        if (segment > 1) text += ClFormat(L"%d", segment);
        text += L"\n";
    }
    if (!WriteToolOutputs({{CString(jgcPath), text}})) {
        ShowFormattedMessage(
            owner, MB_ICONINFORMATION, L"%s",
            tkx_SaveFailureText(jgcPath, ClFormat(L"创建基点高程文件失败!\n\n%s", jgcPath.GetString())).GetString());
        return 0;
    }
    return 1;
}

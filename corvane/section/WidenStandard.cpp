#include "corvane/section/WidenStandard.h"
#include "corvane/base/LastError.h"
#include "corvane/platform/FileReplace.h"

#include <cmath>
#include <vector>

using namespace Tavix4;

namespace {

// Table 1, highways: from, to, class 0, class 1, class 2.
const double kHighway1[][5] = {
    {15, 20, 2.5, -2.5, -2.5}, {20, 25, 2.2, -2.5, -2.5}, {25, 30, 1.8, -2.5, -2.5},
    {30, 50, 1.4, 2.0, -2.5},  {50, 70, 1.2, 1.5, 2.5},   {70, 100, 1.0, 1.2, 2.0},
    {100, 150, 0.8, 0.9, 1.5}, {150, 200, 0.6, 0.7, 1.0}, {200, 250, 0.4, 0.6, 0.8},
};
// Table 1, city roads.
const double kCivil1[][5] = {
    {15, 20, 1.0, 2.4, 3.5},      {20, 30, 0.8, 1.8, 2.8},     {30, 40, 0.6, 1.3, 1.9},
    {40, 50, 0.5, 1.0, 1.5},      {50, 70, 0.45, 0.9, 1.25},   {70, 100, 0.4, 0.7, 0.95},
    {100, 150, 0.36, 0.6, 0.75},  {150, 200, 0.32, 0.45, 0.55}, {200, 250, 0.3, 0.4, 0.45},
};
// Table 2 (class 3): from, to, widening.
const double kHighway2[][3] = {
    {15, 21, 2.75}, {21, 23, 2.5}, {23, 25, 2.25}, {25, 27, 2.0}, {27, 29, 1.75}, {29, 32, 1.5},
    {32, 36, 1.25}, {36, 42, 1.0}, {42, 48, 0.75}, {48, 58, 0.5}, {58, 72, 0.25},
};
// Table 3 (class 4).
const double kHighway3[][3] = {
    {15, 21, 3.75}, {21, 22, 3.25}, {22, 23, 3.0},  {23, 24, 2.75}, {24, 25, 2.5},
    {25, 26, 2.25}, {26, 27, 2.0},  {27, 29, 1.75}, {29, 31, 1.5},  {31, 33, 1.25},
    {33, 36, 1.0},  {36, 39, 0.75}, {39, 43, 0.5},  {43, 47, 0.25},
};

constexpr double kFileVersion = 3.0;

void Fill1(CArray<double, double>* lists[5], const double (*rows)[5], int count)
{
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < 5; ++k) lists[k]->Add(rows[i][k]);
}

void Fill3(CArray<double, double>* lists[3], const double (*rows)[3], int count)
{
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < 3; ++k) lists[k]->Add(rows[i][k]);
}

// The widening of the first row that holds r, 0 when none does.  shift
// moves both bounds of every row: -1e-6 makes a row [from, to) (highways),
// +1e-6 makes it (from, to] (city roads).
double RowWiden(const CArray<double, double>& from, const CArray<double, double>& to,
                const CArray<double, double>& widen, double r, double shift)
{
    const INT_PTR n = from.GetSize();
    for (INT_PTR i = 0; i < n; ++i)
        if (from[i] + shift < r && r < to[i] + shift) return widen[i];
    return 0.0;
}

} // namespace

tkxWidenStandard::tkxWidenStandard() { SetHighwayDefaultDate(); }

tkxWidenStandard::~tkxWidenStandard() = default;

void tkxWidenStandard::RemoveTable1()
{
    m_arFromR1.RemoveAll();
    m_arToR1.RemoveAll();
    m_arWiden10.RemoveAll();
    m_arWiden11.RemoveAll();
    m_arWiden12.RemoveAll();
}

void tkxWidenStandard::RemoveAll()
{
    RemoveTable1();
    m_arFromR2.RemoveAll();
    m_arToR2.RemoveAll();
    m_arWiden2.RemoveAll();
    m_arFromR3.RemoveAll();
    m_arToR3.RemoveAll();
    m_arWiden3.RemoveAll();
}

void tkxWidenStandard::SetHighwayDefaultDate()
{
    RemoveAll();
    CArray<double, double>* table1[5] = {&m_arFromR1, &m_arToR1, &m_arWiden10, &m_arWiden11, &m_arWiden12};
    CArray<double, double>* table2[3] = {&m_arFromR2, &m_arToR2, &m_arWiden2};
    CArray<double, double>* table3[3] = {&m_arFromR3, &m_arToR3, &m_arWiden3};
    Fill1(table1, kHighway1, static_cast<int>(std::size(kHighway1)));
    Fill3(table2, kHighway2, static_cast<int>(std::size(kHighway2)));
    Fill3(table3, kHighway3, static_cast<int>(std::size(kHighway3)));
}

void tkxWidenStandard::SetCivilRoadDefaultData()
{
    RemoveTable1();
    CArray<double, double>* table1[5] = {&m_arFromR1, &m_arToR1, &m_arWiden10, &m_arWiden11, &m_arWiden12};
    Fill1(table1, kCivil1, static_cast<int>(std::size(kCivil1)));
}

int tkxWidenStandard::ReadFile(const wchar_t* path)
{
    const CString name = path ? path : L"";
    CFile file;
    if (name.IsEmpty() || !file.Open(name, CFile::modeRead | CFile::shareDenyWrite)) {
        tkx_SetLastError(ClFormat(L"\n读取加宽标准文件<%s>失败!", name.GetString()));
        return 0;
    }

    // Everything is read into local rows first: a file that fails half-way
    // leaves the tables as they were.
    std::vector<double> rows[3];
    CString problem;
    try {
        const ULONGLONG length = file.GetLength();
        CArchive ar(&file, CArchive::load);
        double version = 0.0;
        int counts[3] = {};
        ar >> version >> counts[0] >> counts[1] >> counts[2];
        const int widths[3] = {5, 3, 3};
        ULONGLONG needed = sizeof(double) + 3 * sizeof(int);
        for (int t = 0; t < 3 && problem.IsEmpty(); ++t) {
            if (counts[t] < 0)
                problem.Format(L"\n读取加宽标准文件<%s>失败: 第%d表的行数<%d>有错!", name.GetString(), t + 1,
                               counts[t]);
            needed += static_cast<ULONGLONG>(counts[t]) * widths[t] * sizeof(double);
        }
        if (problem.IsEmpty() && needed > length)
            problem.Format(L"\n读取加宽标准文件<%s>失败: 文件数据不完整!", name.GetString());
        for (int t = 0; t < 3 && problem.IsEmpty(); ++t) {
            rows[t].resize(static_cast<size_t>(counts[t]) * widths[t]);
            for (double& v : rows[t]) ar >> v;
            // A radius or a widening that is no number would answer every
            // look-up with one.
            for (size_t i = 0; i < rows[t].size() && problem.IsEmpty(); ++i)
                if (!std::isfinite(rows[t][i]))
                    problem.Format(L"\n读取加宽标准文件<%s>失败: 第%d表第%d行数据有错!", name.GetString(), t + 1,
                                   static_cast<int>(i / widths[t]) + 1);
        }
        // The last row ends the file: more bytes mean counts that do not
        // describe the file.
        BYTE extra = 0;
        if (problem.IsEmpty() && ar.Read(&extra, 1) != 0)
            problem.Format(L"\n读取加宽标准文件<%s>失败: 文件数据多于表中的行数!", name.GetString());
        ar.Close();
    } catch (CArchiveException* e) {
        e->Delete();
        problem.Format(L"\n读取加宽标准文件<%s>失败: 文件数据不完整!", name.GetString());
    } catch (CFileException* e) {
        e->Delete();
        problem.Format(L"\n读取加宽标准文件<%s>失败!", name.GetString());
    }
    file.Abort();
    if (!problem.IsEmpty()) {
        tkx_SetLastError(problem);
        return 0;
    }

    RemoveAll();
    CArray<double, double>* tables[3][5] = {
        {&m_arFromR1, &m_arToR1, &m_arWiden10, &m_arWiden11, &m_arWiden12},
        {&m_arFromR2, &m_arToR2, &m_arWiden2},
        {&m_arFromR3, &m_arToR3, &m_arWiden3},
    };
    const int widths[3] = {5, 3, 3};
    for (int t = 0; t < 3; ++t)
        for (size_t i = 0; i < rows[t].size(); ++i) tables[t][i % widths[t]]->Add(rows[t][i]);
    return 1;
}

int tkxWidenStandard::OutputFile(const wchar_t* path)
{
    const CString name = path ? path : L"";
    const CString temp = tkx_TempFileBeside(name);
    bool written = false;
    CFile file;
    if (!temp.IsEmpty() && file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
        try {
            CArchive ar(&file, CArchive::store);
            const int count1 = static_cast<int>(m_arFromR1.GetSize());
            const int count2 = static_cast<int>(m_arFromR2.GetSize());
            const int count3 = static_cast<int>(m_arFromR3.GetSize());
            ar << kFileVersion << count1 << count2 << count3;
            for (int i = 0; i < count1; ++i)
                ar << m_arFromR1[i] << m_arToR1[i] << m_arWiden10[i] << m_arWiden11[i] << m_arWiden12[i];
            for (int i = 0; i < count2; ++i) ar << m_arFromR2[i] << m_arToR2[i] << m_arWiden2[i];
            for (int i = 0; i < count3; ++i) ar << m_arFromR3[i] << m_arToR3[i] << m_arWiden3[i];
            ar.Close();
            file.Close();
            written = true;
        } catch (CException* e) {
            e->Delete();
            file.Abort();
        }
    }
    if (!written) {
        if (!temp.IsEmpty()) DeleteFileW(temp);
    } else if (tkx_ReplaceByTemporary(temp, name)) {
        return 1;
    }
    tkx_SetLastError(tkx_SaveFailureText(name, ClFormat(L"创建加宽标准数据文件[%s]时失败!", name.GetString())));
    return 0;
}

double tkxWidenStandard::GetWiden(enRoadLevel level, unsigned short widenClass, double radius)
{
    return level < ROAD_URBAN_EXPRESSWAY ? GetHighwayWiden(widenClass, radius) : GetCivilWiden(widenClass, radius);
}

double tkxWidenStandard::GetHighwayWiden(unsigned short widenClass, double radius)
{
    // Table 1 gives the widening of both lanes: one lane takes half of it.
    switch (widenClass) {
    case 0: return std::fabs(0.5 * RowWiden(m_arFromR1, m_arToR1, m_arWiden10, radius, -1e-6));
    case 1: return std::fabs(0.5 * RowWiden(m_arFromR1, m_arToR1, m_arWiden11, radius, -1e-6));
    case 2: return std::fabs(0.5 * RowWiden(m_arFromR1, m_arToR1, m_arWiden12, radius, -1e-6));
    case 3: return std::fabs(RowWiden(m_arFromR2, m_arToR2, m_arWiden2, radius, -1e-6));
    case 4: return std::fabs(RowWiden(m_arFromR3, m_arToR3, m_arWiden3, radius, -1e-6));
    default:
        tkx_SetLastError(ClFormat(L"\n无效的加宽类别<%d>.", static_cast<int>(widenClass)));
        return -1.0;
    }
}

double tkxWidenStandard::GetCivilWiden(unsigned short widenClass, double radius)
{
    switch (widenClass) {
    case 0: return std::fabs(RowWiden(m_arFromR1, m_arToR1, m_arWiden10, radius, 1e-6));
    case 1: return std::fabs(RowWiden(m_arFromR1, m_arToR1, m_arWiden11, radius, 1e-6));
    case 2: return std::fabs(RowWiden(m_arFromR1, m_arToR1, m_arWiden12, radius, 1e-6));
    default:
        tkx_SetLastError(ClFormat(L"\n无效的城市道路车辆类型<%d>.", static_cast<int>(widenClass)));
        return -1.0;
    }
}

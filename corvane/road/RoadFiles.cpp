#include "corvane/road/RoadFiles.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/project/ProjectInterface.h"

#include <cmath>
#include <string>

namespace road_files {

short ProjectStationDecimals()
{
    const short decimals = tkx_GetDimPrecision(Tavix4::PRECISION_ZH);
    return decimals < 0 ? 0 : decimals > 10 ? 10 : decimals;
}

double Rounded3(double value)
{
    return std::floor(value * 1000.0 + 0.5) / 1000.0;
}

bool WriteTextFile(const wchar_t* target, const CString& text, CFileException** writeError)
{
    if (writeError) *writeError = nullptr;
    const CString temp = tkx_TempFileBeside(target);
    if (temp.IsEmpty()) return false;

    std::wstring lines;
    lines.reserve(static_cast<size_t>(text.GetLength()) + static_cast<size_t>(text.GetLength()) / 16);
    for (wchar_t c : text.str()) {
        if (c == L'\n') lines += L'\r';
        lines += c;
    }
    const std::string bytes = ClWideToMultiByte(lines.c_str(), static_cast<int>(lines.size()), CP_ACP);

    bool written = false;
    CFile file;
    if (file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
        try {
            if (!bytes.empty()) file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
            file.Flush();
            file.Close();
            written = true;
        } catch (CFileException* e) {
            file.Abort();
            if (writeError)
                *writeError = e;
            else
                e->Delete();
        }
    }
    if (!written) {
        DeleteFileW(temp);
        return false;
    }
    return tkx_ReplaceByTemporary(temp, target);
}

} // namespace road_files

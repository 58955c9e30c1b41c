#include "corvane/road/RoadFiles.h"
#include "classlib/TempFile.h"
#include "corvane/platform/FileName.h"
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

CString TempFileBeside(const wchar_t* target)
{
    const CString path = target ? target : L"";
    if (path.IsEmpty()) return CString();
    CString folder = tkxFileName(path).GetRoot();
    if (folder.IsEmpty()) folder = L".";
    return ClMakeTempFile(folder, L"tkx");
}

bool ReplaceFileWith(const wchar_t* temp, const wchar_t* target)
{
    if (MoveFileExW(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temp);
    return false;
}

bool WriteTextFile(const wchar_t* target, const CString& text, CFileException** writeError)
{
    if (writeError) *writeError = nullptr;
    const CString temp = TempFileBeside(target);
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
    return ReplaceFileWith(temp, target);
}

} // namespace road_files

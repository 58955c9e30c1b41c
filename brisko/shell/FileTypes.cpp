// The file associations of the suite's 30 data-file extensions under
// HKEY_CLASSES_ROOT: each extension names its type, the type has a
// description, an icon of the program file and (all but .EPM) an open
// command that starts the program with the file.
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/FileTypes.h"
#include "brisko/BriskoResource.h"

const FileAssociation kFileAssociations[kFileAssociationCount] = {
    {L".EPM", L"EPMFile", L"EPM路线文件", IDI_FILE_EPM},
    {L".ICD", L"ICDFile", L"路线单元文件", IDI_FILE_ICD},
    {L".DL", L"DLFile", L"断链文件", IDI_FILE_DL},
    {L".ST", L"STFile", L"桩号文件", IDI_FILE_ST},
    {L".INF", L"ZZZBFile", L"逐桩坐标文件", IDI_FILE_INF},
    {L".DMX", L"DMXFile", L"纵地线文件", IDI_FILE_DMX},
    {L".HDX", L"HDXFile", L"横地线文件", IDI_FILE_HDX},
    {L".ZBD", L"ZBDFile", L"坐标点文件", IDI_FILE_ZBD},
    {L".JD", L"JDFile", L"交点文件", IDI_FILE_JD},
    {L".JDX", L"JDXFile", L"外业定线文件", IDI_FILE_JDX},
    {L".HDM", L"HDMFile", L"标准横断面宽度文件", IDI_FILE_HDM},
    {L".CG", L"CGFile", L"超高文件", IDI_FILE_CG},
    {L".GZX", L"GZXFile", L"构造物信息文件", IDI_FILE_GZX},
    {L".FD", L"FDFile", L"设计分段文件", IDI_FILE_FD},
    {L".BSD", L"BSDFile", L"变速车道参数文件", IDI_FILE_BSD},
    {L".SQX", L"SQXFile", L"竖曲线文件", IDI_FILE_SQX},
    {L".KZD", L"KZDFile", L"控制点文件", IDI_FILE_KZD},
    {L".DLX", L"DLXFile", L"断面类型文件", IDI_FILE_DLX},
    {L".DGK", L"DGKFile", L"地质概况文件", IDI_FILE_DGK},
    {L".JGS", L"JGSFile", L"街沟设计文件", IDI_FILE_JGS},
    {L".ZBZ", L"ZBZFile", L"纵断面图标注文件", IDI_FILE_ZBZ},
    {L".BTG", L"BTGFile", L"表土厚度文件", IDI_FILE_BTG},
    {L".TSB", L"TSBFile", L"土石比例文件", IDI_FILE_TSB},
    {L".WTJ", L"WTJFile", L"挖台阶参数文件", IDI_FILE_WTJ},
    {L".QL", L"QLFile", L"桥梁桩号范围文件", IDI_FILE_QL},
    {L".ARE", L"AREFile", L"横断面图信息文件", IDI_FILE_ARE},
    {L".XML", L"XMLFile", L"XML文件", IDI_FILE_XML},
    {L".DAT", L"DATFile", L"道路模型数据文件", IDI_FILE_DAT},
    {L".EPJ", L"EPJFile", L"TAVIX设计项目文件", IDI_FILE_EPJ},
    {L".MESH", L"MeshFile", L"数字地面模型文件", IDI_FILE_MESH},
};

namespace {

// Creates (or opens) the key and sets its default value; TRUE on success.
// The value is written with its terminating character.
bool SetDefaultValue(HKEY root, const CString& path, const CString& value, DWORD type = REG_SZ)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD bytes = static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t));
    LONG status = ::RegSetValueExW(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.GetString()), bytes);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

CString ProgramPath()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) return CString();
        if (n < buffer.size()) return CString(buffer.c_str(), static_cast<int>(n));
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

CString FileOpenCommand(const CString& program) { return ClFormat(L"\"%s\" \"%%1\"", program.GetString()); }

BOOL CBriskoApp::RegisterFileTypes()
{
    const CString program = ProgramPath();
    // Quoted, so that blanks in the program's or the file's path do not
    // split them.
    const CString command = FileOpenCommand(program);
    int written = 0;
    for (const FileAssociation& entry : kFileAssociations) {
        if (!SetDefaultValue(HKEY_CLASSES_ROOT, entry.extension, entry.typeId)) continue;
        if (!SetDefaultValue(HKEY_CLASSES_ROOT, entry.typeId, entry.description)) continue;
        const CString type(entry.typeId);
        if (!SetDefaultValue(HKEY_CLASSES_ROOT, type + L"\\DefaultIcon",
                             ClFormat(L"%s,-%d", program.GetString(), entry.icon)))
            continue;
        // Model files get an icon and a description, but no open command.
        if (wcscmp(entry.extension, L".EPM") != 0 &&
            !SetDefaultValue(HKEY_CLASSES_ROOT, type + L"\\Shell\\Open\\Command", command, REG_EXPAND_SZ))
            continue;
        ++written;
    }
    return written == kFileAssociationCount;
}

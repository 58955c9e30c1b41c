#include "corvane/project/FileInterface.h"
#include "corvane/base/LastError.h"
#include "corvane/ui/FileDialog.h"
#include <cstring>
#include <shlobj.h>
#include <string>

using namespace Tavix4;

namespace {

// The shell's list form of one path: the path, its zero and a second zero.
std::wstring ShellList(const wchar_t* path)
{
    std::wstring list = path ? path : L"";
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

// Runs a shell file operation; the shell's result, or ERROR_CANCELLED when
// it reported success but left something undone (the user declined).
int RunFileOperation(SHFILEOPSTRUCTW& operation)
{
    const int result = SHFileOperationW(&operation);
    if (result == 0 && operation.fAnyOperationsAborted) return ERROR_CANCELLED;
    return result;
}

// Puts a copy of the bytes on the open clipboard in that format.
bool SetClipboardBytes(UINT format, const void* data, size_t bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes);
    if (!block) return false;
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(target, data, bytes);
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

// The text of a clipboard block, never read past the block's end.
CString ClipboardText(UINT format)
{
    HANDLE block = GetClipboardData(format);
    if (!block) return CString();
    const size_t bytes = GlobalSize(block);
    const void* data = GlobalLock(block);
    if (!data) return CString();
    CString text;
    if (format == CF_UNICODETEXT) {
        const auto* chars = static_cast<const wchar_t*>(data);
        text = CString(chars, static_cast<int>(wcsnlen(chars, bytes / sizeof(wchar_t))));
    } else {
        const auto* chars = static_cast<const char*>(data);
        text = ClMultiByteToWide(chars, static_cast<int>(strnlen(chars, bytes)), CP_ACP);
    }
    GlobalUnlock(block);
    return text;
}

const wchar_t kAllFilesFilter[] = L"所有文件|*.*||";

// The filter text of the last file dialog.
wchar_t g_filter[2048];

// The initial path of the file dialog: doubled backslashes made single
// (a leading pair, the start of a network path, is kept), "/" made "\".
CString NormalisePath(const CString& path)
{
    const bool network = path.Left(2) == L"\\\\";
    CString rest = network ? path.Mid(2) : path;
    rest.Replace(L"\\\\", L"\\");
    rest.Replace(L'/', L'\\');
    return network ? L"\\\\" + rest : rest;
}

} // namespace

// ---------------------------------------------------------------------------
// Shell

int tkx_CreateLink(const wchar_t* description, const wchar_t* target, const wchar_t* workingFolder,
                   const wchar_t* linkFile)
{
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))) ||
        !link)
        return 0;
    link->SetDescription(description ? description : L"");
    link->SetPath(target ? target : L"");
    link->SetWorkingDirectory(workingFolder ? workingFolder : L"");
    IPersistFile* file = nullptr;
    int saved = 0;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) && file) {
        saved = linkFile && *linkFile && SUCCEEDED(file->Save(linkFile, TRUE)) ? 1 : 0;
        file->Release();
    }
    link->Release();
    return saved;
}

CString tkx_GetDeskTopDirectory()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder))) return CString();
    return CString(folder);
}

int tkx_RenameFile(const wchar_t* from, const wchar_t* to)
{
    const std::wstring source = ShellList(from);
    const std::wstring target = ShellList(to);
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_RENAME;
    operation.pFrom = source.c_str();
    operation.pTo = target.c_str();
    operation.fFlags = FOF_NOCONFIRMATION;
    return RunFileOperation(operation) == 0 ? 1 : 0;
}

int tkx_DeleteFile(const wchar_t* path, HWND owner)
{
    const std::wstring list = ShellList(path);
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = FOF_ALLOWUNDO;
    operation.lpszProgressTitle = L"正在删除文件";
    const int result = RunFileOperation(operation);
    if (result == 0) return 1;
    tkx_SetLastError(ClFormat(L"删除文件失败[%d]!", result));
    return 0;
}

// ---------------------------------------------------------------------------
// Clipboard

int tkx_CopyToClipboard(const wchar_t* text)
{
    const CString wide = text ? text : L"";
    const std::string narrow = ClWideToMultiByte(wide, wide.GetLength(), CP_ACP);
    if (!OpenClipboard(nullptr)) return 0;
    EmptyClipboard();
    const bool set = SetClipboardBytes(CF_UNICODETEXT, wide.GetString(), (wide.GetLength() + 1) * sizeof(wchar_t)) &&
                     SetClipboardBytes(CF_TEXT, narrow.c_str(), narrow.size() + 1);
    CloseClipboard();
    return set ? 1 : 0;
}

int tkx_PasteFromClipboard(CString& text)
{
    if (!OpenClipboard(nullptr)) return 0;
    text = IsClipboardFormatAvailable(CF_UNICODETEXT) ? ClipboardText(CF_UNICODETEXT) : ClipboardText(CF_TEXT);
    CloseClipboard();
    return 1;
}

// ---------------------------------------------------------------------------
// File dialog and file types

int tkx_FileDialog(int open, CString& path, const wchar_t* ext, CWnd* parent, const wchar_t* filter,
                   const wchar_t* title)
{
    path = NormalisePath(path);
    const DWORD flags = OFN_ENABLESIZING | OFN_HIDEREADONLY | (open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);

    CString upperExt = ext ? ext : L"";
    upperExt.MakeUpper();
    CString description;
    if (!upperExt.IsEmpty()) {
        for (const sFileStyle& style : TavixDevApp().m_FileStyles) {
            if (style.m_SExt == upperExt) {
                description = style.m_STypeName;
                description.TrimRight(L' ');
                break;
            }
        }
    }

    CString filterText;
    if (filter && *filter)
        filterText = filter;
    else if (!upperExt.IsEmpty())
        filterText = ClFormat(L"%s|*.%s|所有文件|*.*||", description.GetString(), upperExt.GetString());
    else
        filterText = kAllFilesFilter;
    if (filterText.GetLength() >= static_cast<int>(std::size(g_filter))) filterText = kAllFilesFilter;
    wcscpy(g_filter, filterText);

    const CString titleText =
        title && *title ? CString(title) : (open ? L"打开" : L"保存") + description + L"文件";

    tkxFileDialog dialog(open ? TRUE : FALSE, ext, path, flags, g_filter, parent);
    dialog.m_ofn.lpstrTitle = titleText;
    if (dialog.DoModal() != IDOK) return 0;
    path = dialog.GetPathName();
    return 1;
}

void tkx_GetFileStyles(CArray<sFileStyle, sFileStyle>& styles) { styles.Copy(TavixDevApp().m_FileStyles); }

void tkx_GetInternalFileExts(CStringArray& exts) { exts.Copy(TavixDevApp().m_SInternalExts); }

void tkx_GetReferenceDocInfos(CArray<sReferenceDoc, sReferenceDoc>& docs) { docs.Copy(TavixDevApp().m_ReferenceDocs); }

int tkx_IsTavixFileName(const wchar_t* fileName, CString& typeName)
{
    typeName = L"未知类型文件";
    const CString path = fileName ? fileName : L"";
    // The extension of the file-name part; a dot in a folder name is none.
    const int slash = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    const CString name = path.Mid(slash + 1);
    const int dot = name.ReverseFind(L'.');
    if (dot <= 0) return 0;
    CString ext = name.Mid(dot + 1);
    ext.MakeUpper();
    if (ext.IsEmpty()) return 0;
    if (ext == L"TXT") {
        typeName = L"文本文件";
        return 1;
    }
    for (const sFileStyle& style : TavixDevApp().m_FileStyles) {
        if (style.m_SExt.CompareNoCase(ext) != 0) continue;
        const int bracket = style.m_STypeName.Find(L'(');
        typeName = bracket < 0 ? style.m_STypeName : style.m_STypeName.Left(bracket);
        return 1;
    }
    return 0;
}

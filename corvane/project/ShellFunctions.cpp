#include "corvane/project/ShellFunctions.h"

#include <commdlg.h>
#include <vector>

int tkx_CopyToClipboard(const wchar_t* text)
{
    if (!::OpenClipboard(nullptr)) return 0;
    ::EmptyClipboard();
    const CString source = text ? text : L"";
    const SIZE_T size = static_cast<SIZE_T>(source.GetLength()) * 2 + 1;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (block) {
        char* bytes = static_cast<char*>(::GlobalLock(block));
        const int written = ::WideCharToMultiByte(CP_OEMCP, 0, source, -1, bytes, static_cast<int>(size), nullptr,
                                                  nullptr);
        if (written <= 0) bytes[0] = '\0';
        ::GlobalUnlock(block);
        if (!::SetClipboardData(CF_TEXT, block)) ::GlobalFree(block);
    }
    ::CloseClipboard();
    return 1;
}

int tkx_FileDialog(int mode, CString& path, const wchar_t* defaultExt, CWnd* parent, const wchar_t* filter,
                   const wchar_t* title)
{
    const bool open = mode == 1;
    CString filterText = filter ? filter : L"";
    if (filterText.IsEmpty()) filterText = L"所有文件|*.*||";

    // The platform's filter form: pieces ended by a zero, the list by two.
    std::vector<wchar_t> pieces(filterText.str().begin(), filterText.str().end());
    for (wchar_t& c : pieces)
        if (c == L'|') c = L'\0';
    pieces.push_back(L'\0');
    pieces.push_back(L'\0');

    std::vector<wchar_t> file(4096, L'\0');
    wcsncpy(file.data(), path, file.size() - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = parent ? parent->GetSafeHwnd() : nullptr;
    ofn.lpstrFilter = pieces.data();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title && *title ? title : nullptr;
    ofn.lpstrDefExt = defaultExt && *defaultExt ? defaultExt : nullptr;
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY |
                (open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    const BOOL chosen = open ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
    if (!chosen) return 0;
    path = file.data();
    return 1;
}

#include "corvane/platform/ApplicationInfo.h"
#include "corvane/platform/Registry.h"
#include <shlobj.h>
#include <cmath>
#include <vector>

using namespace Tavix4;

namespace {

const wchar_t kMainKey[] = L"SOFTWARE\\TavixSuite\\TAVIX 3";
const wchar_t kColorKey[] = L"SOFTWARE\\TavixSuite\\TAVIX 3\\ColorSetting";
const wchar_t kMenuKey[] = L"SOFTWARE\\TavixSuite\\TAVIX 3\\MenuSetting";
const wchar_t kFontKey[] = L"SOFTWARE\\TavixSuite\\TAVIX 3\\DefaultFont";
const wchar_t kCaption[] = L"TAVIX";

// String values of the main key are read into buffers of this many bytes.
const int kTextBytes = 1024;

const wchar_t* const kMenuValues[9] = {L"TYPE",    L"Module1", L"Module2", L"Module3", L"Module4",
                                       L"Module5", L"Module6", L"Module7", L"Module8"};

bool ReadText(tkxRegistry& reg, const wchar_t* name, CString& value)
{
    wchar_t buffer[kTextBytes / sizeof(wchar_t)];
    if (!reg.ReadString(name, buffer, kTextBytes)) return false;
    value = buffer;
    return true;
}

bool ReadNumber(tkxRegistry& reg, const wchar_t* name, unsigned long& value)
{
    unsigned long read = 0;
    if (!reg.ReadDWORD(name, &read)) return false;
    value = read;
    return true;
}

// A flag read as 1 or 0; a missing value keeps the member.
void ReadFlag(tkxRegistry& reg, const wchar_t* name, BOOL& member)
{
    unsigned long value;
    if (ReadNumber(reg, name, value)) member = value != 0 ? 1 : 0;
}

// The current local year and month, "2008-03" (fourDigits) or "08-03".
CString YearMonth(bool fourDigits)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return fourDigits ? ClFormat(L"%04d-%02d", now.wYear, now.wMonth) : ClFormat(L"%02d-%02d", now.wYear % 100, now.wMonth);
}

void Inform(const wchar_t* text, UINT icon) { ClMessageBox(nullptr, text, kCaption, MB_OK | icon); }

// Opens a subkey of the main key, creating it when it is missing.
bool OpenOrCreate(tkxRegistry& reg, const wchar_t* key)
{
    if (reg.Open(HKEY_CURRENT_USER, key)) return true;
    return tkxRegistry::CreateKey(HKEY_CURRENT_USER, key, L"") && reg.Open(HKEY_CURRENT_USER, key);
}

// Creates a folder and any missing folders above it.  Missing parents are
// created too: a fresh user has no "Qormel" folder, and creating only the
// last level would make every first installation fail.
bool MakeFolder(const CString& folder)
{
    DWORD attributes = GetFileAttributesW(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    int cut = folder.ReverseFind(L'\\');
    if (cut > 0 && folder[cut - 1] != L':' && !MakeFolder(folder.Left(cut))) return false;
    return CreateDirectoryW(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace

// ---------------------------------------------------------------------------
// Records

sTavixEntColor::sTavixEntColor() { tkxApplicationInfo::SetDefaultColor(*this); }

sTavixMenu::sTavixMenu() : bType(0)
{
    for (BOOL& flag : bModule) flag = 0;
}

sDefaultFont::sDefaultFont()
    : SStyleName(L"TAVIX"), SFontName(L"fsdb_e.shx"), SBigFontName(L"tjhzf.shx"), dTextSize(2.0),
      dWidthScale(0.707)
{
}

// ---------------------------------------------------------------------------
// Construction

tkxApplicationInfo::tkxApplicationInfo()
    : m_AcadVer(ACAD_UNKNOWN), m_dwModule(0), m_bTavixAssist(1), m_bTvStatus(1), m_bShowTips(0),
      m_bSimCommand(0), m_dwRegisterArx(0), m_iNODSnapStep(5), m_bAutoExplode(0), m_bNoClothoid(0),
      m_iRadiusStep(0), m_iLsStep(0)
{
}

tkxApplicationInfo::tkxApplicationInfo(const tkxApplicationInfo& other) : tkxApplicationInfo()
{
    CopyFrom(other);
}

int tkxApplicationInfo::operator=(const tkxApplicationInfo& other)
{
    if (this != &other) CopyFrom(other);
    return 1;
}

void tkxApplicationInfo::CopyFrom(const tkxApplicationInfo& other)
{
    m_SDescribe = other.m_SDescribe;
    m_SPathName = other.m_SPathName;
    m_SDLLPath = other.m_SDLLPath;
    m_SBinPath = other.m_SBinPath;
    m_SSupportPath = other.m_SSupportPath;
    m_SAcadPathName = other.m_SAcadPathName;
    m_dwModule = other.m_dwModule;
    m_bTavixAssist = other.m_bTavixAssist;
    m_bTvStatus = other.m_bTvStatus;
    m_bShowTips = other.m_bShowTips;
    m_bSimCommand = other.m_bSimCommand;
    m_dwRegisterArx = other.m_dwRegisterArx;
    m_iNODSnapStep = other.m_iNODSnapStep;
    m_bAutoExplode = other.m_bAutoExplode;
    m_bNoClothoid = other.m_bNoClothoid;
    m_iRadiusStep = other.m_iRadiusStep;
    m_iLsStep = other.m_iLsStep;
    m_EntColor = other.m_EntColor;
    m_Menu = other.m_Menu;
    m_DefaultFont = other.m_DefaultFont;
    m_SDefaultPFrame = other.m_SDefaultPFrame;
    m_SSheetTemplate = other.m_SSheetTemplate;
    m_SSheetDate = other.m_SSheetDate;
    m_SUserDocumentPath = other.m_SUserDocumentPath;
}

// ---------------------------------------------------------------------------
// Reading the main key

int tkxApplicationInfo::ReadTavixAppInfo()
{
    tkxRegistry reg;
    if (!reg.Open(HKEY_CURRENT_USER, kMainKey)) return 0;

    if (!ReadText(reg, L"PathName", m_SPathName) || !ReadText(reg, L"Describe", m_SDescribe) ||
        !ReadText(reg, L"DLLPath", m_SDLLPath) || !ReadText(reg, L"BinPath", m_SBinPath) ||
        !ReadText(reg, L"SupportPath", m_SSupportPath) || !ReadText(reg, L"AcadPathName", m_SAcadPathName))
        return 0;
    unsigned long module;
    if (!ReadNumber(reg, L"Module", module)) return 0;
    m_dwModule = module;

    ReadFlag(reg, L"TavixAssist", m_bTavixAssist);
    ReadFlag(reg, L"TvStatus", m_bTvStatus);
    ReadFlag(reg, L"ShowTips", m_bShowTips);
    ReadFlag(reg, L"SimCommand", m_bSimCommand);
    unsigned long arx;
    m_dwRegisterArx = ReadNumber(reg, L"RegisterArx", arx) ? arx : 0;

    if (!ReadText(reg, L"DefaultPFrame", m_SDefaultPFrame) || m_SDefaultPFrame.IsEmpty()) {
        m_SDefaultPFrame = ClFormat(L"%s\\Support\\默认图框.xml", m_SPathName.GetString());
        reg.WriteString(L"DefaultPFrame", m_SDefaultPFrame);
    }
    if (!ReadText(reg, L"SheetTemplate", m_SSheetTemplate) || m_SSheetTemplate.IsEmpty()) {
        m_SSheetTemplate = ClFormat(L"%s\\Support\\高速公路施工图图纸集模板.xml", m_SPathName.GetString());
        reg.WriteString(L"SheetTemplate", m_SSheetTemplate);
    }
    if (!ReadText(reg, L"SheetDate", m_SSheetDate) || m_SSheetDate.IsEmpty()) {
        m_SSheetDate = YearMonth(true);
        reg.WriteString(L"SheetDate", m_SSheetDate);
    }

    if (!ReadUserDocumentPath(reg)) return 0;
    reg.Close();
    ReadPMSetting();
    return 1;
}

// The user's document folder from the registry; when none is stored, the
// default one is worked out and stored.  False (with the message shown) when
// there is none.
bool tkxApplicationInfo::ReadUserDocumentPath(tkxRegistry& reg)
{
    ReadText(reg, L"UserDocumentPath", m_SUserDocumentPath);
    if (!m_SUserDocumentPath.IsEmpty()) return true;
    if (!DefaultUserDocumentPath()) {
        reg.Close();
        Inform(L"获取我的文档路径失败!", MB_ICONINFORMATION);
        return false;
    }
    reg.WriteString(L"UserDocumentPath", m_SUserDocumentPath);
    return true;
}

int tkxApplicationInfo::ReadPMSetting()
{
    tkxRegistry reg;
    if (!reg.Open(HKEY_CURRENT_USER, kMainKey)) return 0;
    unsigned long value;
    if (ReadNumber(reg, L"NODSnapStep", value)) m_iNODSnapStep = static_cast<int>(value);
    ReadFlag(reg, L"AutoExplode", m_bAutoExplode);
    ReadFlag(reg, L"NoClothoid", m_bNoClothoid);
    if (ReadNumber(reg, L"RadiusStep", value)) m_iRadiusStep = static_cast<int>(value);
    if (ReadNumber(reg, L"LsStep", value)) m_iLsStep = static_cast<int>(value);
    if (m_iNODSnapStep <= 0) m_iNODSnapStep = 5;
    else if (m_iNODSnapStep > 1000) m_iNODSnapStep = 1000;
    return 1;
}

int tkxApplicationInfo::ReadVRSAppInfo()
{
    tkxRegistry reg;
    if (!reg.Open(HKEY_CURRENT_USER, kMainKey)) return 0;
    m_SAcadPathName.Empty();
    CString path;
    if (!ReadText(reg, L"PathName", path)) return 0;
    m_SPathName = m_SDLLPath = m_SBinPath = path;
    m_SSupportPath = ClFormat(L"%s\\data", path.GetString());
    if (!ReadText(reg, L"Describe", m_SDescribe)) return 0;

    if (!ReadUserDocumentPath(reg)) return 0;
    return 1;
}

// ---------------------------------------------------------------------------
// Fresh entries

void tkxApplicationInfo::SetFolders(const wchar_t* programFolder)
{
    CString bin = programFolder ? programFolder : L"";
    bin.TrimRight(L"\\/");
    bin.MakeLower();
    m_SBinPath = bin;
    // Without a "\bin" part the whole folder is the installation, not an empty text.
    int cut = bin.Find(L"\\bin");
    m_SPathName = cut >= 0 ? bin.Left(cut) : bin;
    m_SSupportPath = ClFormat(L"%s\\support", m_SPathName.GetString());
}

int tkxApplicationInfo::CreateTavixReg(const wchar_t* programFolder)
{
    SetFolders(programFolder);
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    m_SDLLPath = system;
    m_SDescribe = L"TAVIX 3 道路设计系统 (AutoCAD 平台)";

    tkxRegistry reg;
    if (!OpenOrCreate(reg, kMainKey)) return 0;

    if (m_SDefaultPFrame.IsEmpty()) m_SDefaultPFrame = ClFormat(L"%s\\Support\\默认图框.dwg", m_SPathName.GetString());
    if (m_SSheetTemplate.IsEmpty())
        m_SSheetTemplate = ClFormat(L"%s\\Support\\高速公路施工图图纸集模板.xml", m_SPathName.GetString());
    if (m_SSheetDate.IsEmpty()) m_SSheetDate = YearMonth(false);
    m_dwRegisterArx = 0;

    if (!reg.WriteString(L"AcadPathName", m_SAcadPathName) || !reg.WriteString(L"PathName", m_SPathName) ||
        !reg.WriteString(L"Describe", m_SDescribe) || !reg.WriteString(L"BinPath", m_SBinPath) ||
        !reg.WriteString(L"DLLPath", m_SDLLPath) || !reg.WriteString(L"SupportPath", m_SSupportPath) ||
        !reg.WriteDWORD(L"Module", m_dwModule) || !reg.WriteDWORD(L"RegisterArx", 0) ||
        !reg.WriteString(L"DefaultPFrame", m_SDefaultPFrame) ||
        !reg.WriteString(L"SheetTemplate", m_SSheetTemplate) || !reg.WriteString(L"SheetDate", m_SSheetDate))
        return 0;

    if (!DefaultUserDocumentPath()) {
        reg.Close();
        Inform(L"获取我的文档路径失败!", MB_ICONINFORMATION);
        return 0;
    }
    if (!MakeFolder(m_SUserDocumentPath)) {
        reg.Close();
        Inform(ClFormat(L"无法创建目录[%s]，\n\n请确定当前用户有目录操作的权限!", m_SUserDocumentPath.GetString()),
               MB_ICONERROR);
        return 0;
    }
    reg.WriteString(L"UserDocumentPath", m_SUserDocumentPath);
    reg.Close();
    return 1;
}

// ---------------------------------------------------------------------------
// Single values of the main key

namespace {

int WriteMainDWORD(const wchar_t* name, unsigned long value)
{
    tkxRegistry reg;
    if (!reg.Open(HKEY_CURRENT_USER, kMainKey)) return 0;
    reg.WriteDWORD(name, value);
    return 1;
}

int WriteMainText(const wchar_t* name, const CString& value)
{
    tkxRegistry reg;
    if (!reg.Open(HKEY_CURRENT_USER, kMainKey)) return 0;
    reg.WriteString(name, value);
    return 1;
}

// The stored text; empty when the key or value is missing.
CString ReadMainText(const wchar_t* name, bool* keyOpened = nullptr, bool* valueFound = nullptr)
{
    tkxRegistry reg;
    bool opened = reg.Open(HKEY_CURRENT_USER, kMainKey) != 0;
    if (keyOpened) *keyOpened = opened;
    CString value;
    bool found = opened && ReadText(reg, name, value);
    if (valueFound) *valueFound = found;
    return value;
}

} // namespace

int tkxApplicationInfo::WriteRunAssist() const { return WriteMainDWORD(L"TavixAssist", m_bTavixAssist); }
int tkxApplicationInfo::WriteShowStatusBar() const { return WriteMainDWORD(L"TvStatus", m_bTvStatus); }
int tkxApplicationInfo::WriteShowTips() const { return WriteMainDWORD(L"ShowTips", m_bShowTips); }
int tkxApplicationInfo::WriteSimCommand() const { return WriteMainDWORD(L"SimCommand", m_bSimCommand); }
int tkxApplicationInfo::WriteNODSnapStep() const { return WriteMainDWORD(L"NODSnapStep", m_iNODSnapStep); }
int tkxApplicationInfo::WriteAutoExplode() const { return WriteMainDWORD(L"AutoExplode", m_bAutoExplode); }
int tkxApplicationInfo::WriteNoClothoid() const { return WriteMainDWORD(L"NoClothoid", m_bNoClothoid); }
int tkxApplicationInfo::WriteRadiusStep() const { return WriteMainDWORD(L"RadiusStep", m_iRadiusStep); }
int tkxApplicationInfo::WriteLsStep() const { return WriteMainDWORD(L"LsStep", m_iLsStep); }

int tkxApplicationInfo::HadRegisterARX(unsigned long mask) const { return (m_dwRegisterArx & mask) != 0 ? 1 : 0; }

void tkxApplicationInfo::SetRegisterARX(unsigned long mask, int set)
{
    tkxRegistry reg;
    if (!reg.Open(HKEY_CURRENT_USER, kMainKey)) return;
    unsigned long stored;
    if (ReadNumber(reg, L"RegisterArx", stored)) m_dwRegisterArx = stored;
    if (set == 1) m_dwRegisterArx |= mask;
    else m_dwRegisterArx &= ~mask;
    reg.WriteDWORD(L"RegisterArx", m_dwRegisterArx);
}

CString tkxApplicationInfo::ReadDefaultPFrame() { return ReadMainText(L"DefaultPFrame"); }

CString tkxApplicationInfo::ReadSheetTemplate() { return ReadMainText(L"SheetTemplate"); }

CString tkxApplicationInfo::ReadSheetDate()
{
    bool opened = false, found = false;
    CString value = ReadMainText(L"SheetDate", &opened, &found);
    if (opened && !found) return YearMonth(true);
    return value;
}

int tkxApplicationInfo::WriteDefaultPFrame(const wchar_t* file)
{
    m_SDefaultPFrame = file ? file : L"";
    return WriteMainText(L"DefaultPFrame", m_SDefaultPFrame);
}

int tkxApplicationInfo::WriteSheetTemplate(const wchar_t* file)
{
    m_SSheetTemplate = file ? file : L"";
    return WriteMainText(L"SheetTemplate", m_SSheetTemplate);
}

int tkxApplicationInfo::WriteSheetDate(const wchar_t* date)
{
    m_SSheetDate = date ? date : L"";
    return WriteMainText(L"SheetDate", m_SSheetDate);
}

// ---------------------------------------------------------------------------
// Subkeys: colours, menu flags, default font

void tkxApplicationInfo::SetDefaultColor(sTavixEntColor& colors)
{
    static const int kOffsets[10] = {42, 32, 92, 22, 12, 52, 62, 102, 72, 82};
    colors.iLine = 4;
    colors.iArc = 2;
    colors.iClothoid1 = 1;
    colors.iClothoid2 = 6;
    colors.iDimZH = 3;
    colors.iDimKeyPt = 3;
    colors.iDimParam = 3;
    colors.iDimBreak = 3;
    for (int i = 0; i < 10; ++i) colors.iOffset[i] = kOffsets[i];
}

namespace {

// The eighteen colour values in their stored order.
struct ColorValue {
    CString name;
    int* member;
};

std::vector<ColorValue> ColorValues(sTavixEntColor& c)
{
    std::vector<ColorValue> values = {{L"Line", &c.iLine},         {L"Arc", &c.iArc},
                                      {L"Clothoid1", &c.iClothoid1}, {L"Clothoid2", &c.iClothoid2},
                                      {L"DimZH", &c.iDimZH},       {L"DimKeyPt", &c.iDimKeyPt},
                                      {L"DimParam", &c.iDimParam}, {L"DimBreak", &c.iDimBreak}};
    for (int i = 0; i < 10; ++i) values.push_back({ClFormat(L"Offset%d", i), &c.iOffset[i]});
    return values;
}

} // namespace

int tkxApplicationInfo::ReadEntColor(sTavixEntColor& colors)
{
    SetDefaultColor(colors);
    tkxRegistry reg;
    if (!reg.Open(HKEY_CURRENT_USER, kColorKey)) return 0;
    for (const ColorValue& v : ColorValues(colors)) {
        unsigned long value;
        if (!ReadNumber(reg, v.name, value)) return 0;
        *v.member = static_cast<int>(value);
    }
    return 1;
}

int tkxApplicationInfo::WriteEntColor(const sTavixEntColor& colors)
{
    tkxRegistry reg;
    if (!OpenOrCreate(reg, kColorKey)) return 0;
    sTavixEntColor copy = colors;
    for (const ColorValue& v : ColorValues(copy))
        if (!reg.WriteDWORD(v.name, static_cast<unsigned long>(*v.member))) return 0;
    return 1;
}

int tkxApplicationInfo::ReadMenuSetting(sTavixMenu& menu)
{
    tkxRegistry reg;
    if (!reg.Open(HKEY_CURRENT_USER, kMenuKey)) return 0;
    for (int i = 0; i < 9; ++i) {
        unsigned long value;
        if (!ReadNumber(reg, kMenuValues[i], value)) return 0;
        BOOL& flag = i == 0 ? menu.bType : menu.bModule[i - 1];
        flag = value == 1 ? 1 : 0;
    }
    return 1;
}

int tkxApplicationInfo::WriteMenuSetting(const sTavixMenu& menu)
{
    tkxRegistry reg;
    if (!OpenOrCreate(reg, kMenuKey)) return 0;
    for (int i = 0; i < 9; ++i) {
        BOOL flag = i == 0 ? menu.bType : menu.bModule[i - 1];
        // Stored as 1 or 0: any other true value would read back as clear.
        if (!reg.WriteDWORD(kMenuValues[i], flag ? 1 : 0)) return 0;
    }
    return 1;
}

int tkxApplicationInfo::ReadDefaultFont(sDefaultFont& font)
{
    tkxRegistry reg;
    if (!reg.Open(HKEY_CURRENT_USER, kFontKey)) return 0;
    if (!ReadText(reg, L"TextStyle", font.SStyleName) || !ReadText(reg, L"FontName", font.SFontName) ||
        !ReadText(reg, L"BigFontName", font.SBigFontName))
        return 0;
    unsigned long value;
    if (!ReadNumber(reg, L"TextSize", value)) return 0;
    font.dTextSize = static_cast<int>(value) / 10000.0;
    if (!ReadNumber(reg, L"WidthScale", value)) return 0;
    font.dWidthScale = static_cast<int>(value) / 10000.0;
    return 1;
}

int tkxApplicationInfo::WriteDefaultFont(const sDefaultFont& font)
{
    tkxRegistry reg;
    if (!OpenOrCreate(reg, kFontKey)) return 0;
    // Rounded rather than cut, so that 0.29 is not stored as 2899.
    auto scaled = [](double value) { return static_cast<unsigned long>(std::lround(value * 10000)); };
    if (!reg.WriteString(L"TextStyle", font.SStyleName) || !reg.WriteString(L"FontName", font.SFontName) ||
        !reg.WriteString(L"BigFontName", font.SBigFontName) ||
        !reg.WriteDWORD(L"TextSize", scaled(font.dTextSize)) ||
        !reg.WriteDWORD(L"WidthScale", scaled(font.dWidthScale)))
        return 0;
    return 1;
}

// ---------------------------------------------------------------------------
// User document folder

bool tkxApplicationInfo::DefaultUserDocumentPath()
{
    wchar_t documents[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)) ||
        documents[0] == 0)
        return false;
    wchar_t shortForm[MAX_PATH] = {};
    DWORD n = GetShortPathNameW(documents, shortForm, MAX_PATH);
    const wchar_t* folder = (n > 0 && n < MAX_PATH) ? shortForm : documents;
    m_SUserDocumentPath = ClFormat(L"%s\\Qormel\\Tavix3", folder);
    return true;
}

CString tkxApplicationInfo::GetUserDocumentPath()
{
    if (m_SUserDocumentPath.IsEmpty()) DefaultUserDocumentPath();
    return m_SUserDocumentPath;
}

CString tkxApplicationInfo::GetIniFileName(const wchar_t* name)
{
    CString folder = GetUserDocumentPath();
    if (folder.IsEmpty()) return CString(name ? name : L"");
    return ClFormat(L"%s\\%s", folder.GetString(), name ? name : L"");
}

// ---------------------------------------------------------------------------
// The library's settings object

tkxApplicationInfo& TavixAppInfo()
{
    static tkxApplicationInfo info;
    return info;
}

int tkx_GetApplicationInfo(tkxApplicationInfo& info)
{
    tkxApplicationInfo& global = TavixAppInfo();
    int ok = global.ReadTavixAppInfo();
    if (ok) {
        tkxApplicationInfo::ReadEntColor(global.m_EntColor);
        tkxApplicationInfo::ReadMenuSetting(global.m_Menu);
        tkxApplicationInfo::ReadDefaultFont(global.m_DefaultFont);
    }
    if (&info != &global) info = global;
    return ok;
}

#include "corvane/platform/Ini.h"
#include "corvane/base/NumberText.h"
#include "corvane/platform/FileName.h"
#include "corvane/base/LastError.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

CString ProgramFile()
{
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return CString(path);
}

// The program's drive and folder, with one trailing backslash.
CString ProgramFolder()
{
    CString root = tkxFileName(ProgramFile()).GetRoot();
    root.TrimRight(L"\\/");
    return root + L"\\";
}

// The current directory, with one trailing backslash.
CString CurrentFolder()
{
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    CString dir;
    if (n > 0) {
        GetCurrentDirectoryW(n, dir.GetBuffer(static_cast<int>(n)));
        dir.ReleaseBuffer();
    }
    dir.TrimRight(L"\\/");
    return dir + L"\\";
}

CString ElementKey(const CString& key, int index) { return ClFormat(L"%s_%d", key.GetString(), index); }

bool HasLineBreak(const CString& text) { return text.FindOneOf(L"\r\n") >= 0; }

// Whether an entry can be written so that it reads back as the same entry;
// when not, the last-error text says why.  A line break in a value would
// start a new line (a new section or key), "=" in a key would move the rest
// of the key into the value, and a key that starts like a section or a
// comment line would not read back as a key.
bool CheckEntry(const CString& file, const CString& section, const CString& key, const CString& value)
{
    CString problem;
    if (HasLineBreak(section) || section.Find(L']') >= 0)
        problem = ClFormat(L"INI文件[%s]的节名<%s>不合法", file.GetString(), section.GetString());
    else if (HasLineBreak(key) || key.Find(L'=') >= 0 || key.Left(1) == L"[" || key.Left(1) == L";")
        problem = ClFormat(L"INI文件[%s]中节[%s]的键名<%s>不合法", file.GetString(), section.GetString(),
                           key.GetString());
    else if (HasLineBreak(value))
        problem = ClFormat(L"INI文件[%s]中节[%s]键<%s>的值包含换行符", file.GetString(), section.GetString(),
                           key.GetString());
    if (problem.IsEmpty()) return true;
    tkx_SetLastError(problem + L", 无法写入!");
    return false;
}

// Infinity and NaN have no text form that reads back as a number.
bool CheckFinite(const CString& file, const CString& section, const CString& key, double value)
{
    if (std::isfinite(value)) return true;
    tkx_SetLastError(ClFormat(L"INI文件[%s]中节[%s]键<%s>的数值%s不是有限数, 无法写入!", file.GetString(),
                              section.GetString(), key.GetString(), std::isnan(value) ? L"NaN" : L"无穷大"));
    return false;
}

} // namespace

// ---------------------------------------------------------------------------
// Construction and file

tkxIni::tkxIni(int choice) : m_iPathChoice(choice)
{
    m_szValue[0] = 0;
    m_SFileName = GetDefaultIniFile(choice);
    m_SSection = GetDefaultSection();
}

tkxIni::tkxIni(const CString& file, int choice) : m_iPathChoice(choice)
{
    m_szValue[0] = 0;
    m_SFileName = file.IsEmpty() ? GetDefaultIniFile(choice) : file;
    AddModulPath(m_SFileName, choice);
    m_SSection = GetDefaultSection();
}

tkxIni::tkxIni(const CString& file, const CString& section, int choice) : tkxIni(file, choice)
{
    if (!section.IsEmpty()) m_SSection = section;
}

tkxIni::tkxIni(const tkxIni& other, int) : m_iPathChoice(other.m_iPathChoice)
{
    m_szValue[0] = 0;
    m_SFileName = other.m_SFileName.IsEmpty() ? GetDefaultIniFile(m_iPathChoice) : other.m_SFileName;
    AddModulPath(m_SFileName, m_iPathChoice);
    m_SSection = other.m_SSection;
}

tkxIni& tkxIni::operator=(const tkxIni& other)
{
    if (this != &other) {
        m_iPathChoice = other.m_iPathChoice;
        std::wmemcpy(m_szValue, other.m_szValue, 256);
        m_SFileName = other.m_SFileName;
        m_SSection = other.m_SSection;
    }
    return *this;
}

tkxIni::~tkxIni() = default;

void tkxIni::SetFileName(const CString& file)
{
    m_SFileName = file;
    AddModulPath(m_SFileName, 1);
}

void tkxIni::SetSection(const CString& section) { m_SSection = section; }

CString tkxIni::GetDefaultIniFile(int choice)
{
    CString name = tkxFileName(ProgramFile()).GetFileTitle() + L".ini";
    return (choice ? ProgramFolder() : CurrentFolder()) + name;
}

CString tkxIni::GetDefaultSection()
{
    const wchar_t* name = AfxGetAppName();
    return CString(name ? name : L"");
}

void tkxIni::AddModulPath(CString& file, int choice)
{
    if (file.GetLength() >= 2 && file[1] == L':') return;
    // A network path is complete as it stands.
    if (file.GetLength() >= 2 && file[0] == L'\\' && file[1] == L'\\') return;
    file = (choice ? ProgramFolder() : CurrentFolder()) + file;
}

// ---------------------------------------------------------------------------
// 8-bit access

CString tkxIni::Read(const CString& file, const CString& section, const CString& key, const CString& def)
{
    const UINT cp = CP_ACP;
    std::string f = ClWideToMultiByte(file, -1, cp);
    std::string s = ClWideToMultiByte(section, -1, cp);
    std::string k = ClWideToMultiByte(key, -1, cp);
    std::string d = ClWideToMultiByte(def, -1, cp);
    // The whole value, however long (a deep folder's path passes 255
    // bytes): the system fills size - 1 bytes when the value does not fit.
    std::vector<char> result(256, '\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), result.data(),
                                                 static_cast<DWORD>(result.size()), f.c_str());
        if (n + 1 < result.size() || result.size() >= (1u << 24)) break;
        result.assign(result.size() * 4, '\0');
    }
    result.back() = 0;
    return ClMultiByteToWide(result.data(), -1, cp);
}

int tkxIni::Write(const CString& file, const CString& section, const CString& key, const CString& value)
{
    if (!CheckEntry(file, section, key, value)) return 0;
    const UINT cp = CP_ACP;
    std::string f = ClWideToMultiByte(file, -1, cp);
    std::string s = ClWideToMultiByte(section, -1, cp);
    std::string k = ClWideToMultiByte(key, -1, cp);
    std::string v = ClWideToMultiByte(value, -1, cp);
    return WritePrivateProfileStringA(s.c_str(), k.c_str(), v.c_str(), f.c_str()) ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Helpers

void tkxIni::UseSection(const wchar_t* section)
{
    if (section) m_SSection = section;
}

const wchar_t* tkxIni::ReadValue(const CString& key, const CString& defText, const wchar_t* section)
{
    UseSection(section);
    CString text = Read(m_SFileName, m_SSection, key, defText);
    wcsncpy(m_szValue, text, 255);
    m_szValue[255] = 0;
    return m_szValue;
}

void tkxIni::WriteWide(const CString& key, const CString& value, const wchar_t* section)
{
    UseSection(section);
    if (!CheckEntry(m_SFileName, m_SSection, key, value)) return;
    WritePrivateProfileStringW(m_SSection, key, value, m_SFileName);
}

void tkxIni::Write8(const CString& key, const CString& value, const wchar_t* section)
{
    UseSection(section);
    Write(m_SFileName, m_SSection, key, value);
}

// ---------------------------------------------------------------------------
// Reading

CString tkxIni::GetString(CString key, const wchar_t* def, const wchar_t* section)
{
    // Whole, whatever its length (the numbers' value buffer is not needed).
    UseSection(section);
    return Read(m_SFileName, m_SSection, key, def ? def : L"");
}

double tkxIni::GetDouble(CString key, double def, const wchar_t* section)
{
    // A stored number beyond the range of double is no value: the default.
    double value = 0.0;
    return number_text::ReadLeadingNumber(ReadValue(key, ClFormat(L"%.15f", def), section), value) ? value : def;
}

float tkxIni::GetFloat(CString key, float def, const wchar_t* section)
{
    // The same for the range of float.
    double value = 0.0;
    if (!number_text::ReadLeadingNumber(ReadValue(key, ClFormat(L"%g", static_cast<double>(def)), section), value))
        return def;
    const float narrowed = static_cast<float>(value);
    return std::isfinite(narrowed) ? narrowed : def;
}

int tkxIni::GetInt(CString key, int def, const wchar_t* section)
{
    return _wtoi(ReadValue(key, ClFormat(L"%d", def), section));
}

unsigned char tkxIni::GetUInt8(CString key, unsigned char def, const wchar_t* section)
{
    return static_cast<unsigned char>(_wtoi(ReadValue(key, ClFormat(L"%d", static_cast<int>(def)), section)));
}

unsigned short tkxIni::GetUInt16(CString key, unsigned short def, const wchar_t* section)
{
    return static_cast<unsigned short>(_wtoi(ReadValue(key, ClFormat(L"%d", static_cast<int>(def)), section)));
}

unsigned long tkxIni::GetDWORD(CString key, unsigned long def, const wchar_t* section)
{
    return static_cast<unsigned long>(_wtoi(ReadValue(key, ClFormat(L"%d", static_cast<int>(def)), section)));
}

int tkxIni::GetBool(CString key, int def, const wchar_t* section)
{
    return _wtoi(ReadValue(key, ClFormat(L"%d", def), section)) != 0 ? 1 : 0;
}

bool tkxIni::GetBool(CString key, bool def, const wchar_t* section)
{
    return _wtoi(ReadValue(key, ClFormat(L"%d", def ? 1 : 0), section)) != 0;
}

CPoint tkxIni::GetPoint(CString key, CPoint def, const wchar_t* section)
{
    const wchar_t* text = ReadValue(key, ClFormat(L"(%d,%d)", static_cast<int>(def.x), static_cast<int>(def.y)),
                                    section);
    int x = def.x, y = def.y;
    swscanf(text, L"(%d,%d)", &x, &y);
    return CPoint(x, y);
}

CRect tkxIni::GetRect(CString key, CRect def, const wchar_t* section)
{
    const wchar_t* text = ReadValue(key,
                                    ClFormat(L"(%d,%d,%d,%d)", static_cast<int>(def.top), static_cast<int>(def.left),
                                        static_cast<int>(def.bottom), static_cast<int>(def.right)),
                                    section);
    int top = def.top, left = def.left, bottom = def.bottom, right = def.right;
    swscanf(text, L"(%d,%d,%d,%d)", &top, &left, &bottom, &right);
    return CRect(left, top, right, bottom);
}

unsigned long tkxIni::GetColRef(CString key, unsigned long def, const wchar_t* section)
{
    int red = GetRValue(def), green = GetGValue(def), blue = GetBValue(def);
    const wchar_t* text = ReadValue(key, ClFormat(L"RGB(%d,%d,%d)", red, green, blue), section);
    swscanf(text, L"RGB(%d,%d,%d)", &red, &green, &blue);
    return static_cast<unsigned long>(red + green * 256 + blue * 65536);
}

// ---------------------------------------------------------------------------
// Writing

void tkxIni::WriteString(CString key, CString value, const wchar_t* section) { WriteWide(key, value, section); }

void tkxIni::WriteDouble(CString key, double value, const wchar_t* section)
{
    UseSection(section);
    if (!CheckFinite(m_SFileName, m_SSection, key, value)) return;
    // Fifteen decimals make a long text of a large value; one longer than a
    // read takes would read back as another number.
    const CString text = ClFormat(L"%.15f", value);
    if (text.GetLength() > 255) {
        tkx_SetLastError(ClFormat(L"INI文件[%s]中节[%s]键<%s>的数值%g过长, 无法写入!", m_SFileName.GetString(),
                                  m_SSection.GetString(), key.GetString(), value));
        return;
    }
    WriteWide(key, text, section);
}

void tkxIni::WriteFloat(CString key, float value, const wchar_t* section)
{
    UseSection(section);
    if (!CheckFinite(m_SFileName, m_SSection, key, value)) return;
    WriteWide(key, ClFormat(L"%g", static_cast<double>(value)), section);
}

void tkxIni::WriteInt(CString key, int value, const wchar_t* section) { WriteWide(key, ClFormat(L"%d", value), section); }

void tkxIni::WriteUInt8(CString key, unsigned char value, const wchar_t* section)
{
    WriteWide(key, ClFormat(L"%d", static_cast<int>(value)), section);
}

void tkxIni::WriteUInt16(CString key, unsigned short value, const wchar_t* section)
{
    WriteWide(key, ClFormat(L"%d", static_cast<int>(value)), section);
}

void tkxIni::WriteDWORD(CString key, unsigned long value, const wchar_t* section)
{
    WriteWide(key, ClFormat(L"%d", static_cast<int>(value)), section);
}

void tkxIni::WriteBool(CString key, int value, const wchar_t* section)
{
    WriteWide(key, ClFormat(L"%d", value), section);
}

void tkxIni::WriteBool(CString key, bool value, const wchar_t* section)
{
    WriteWide(key, ClFormat(L"%d", value ? 1 : 0), section);
}

void tkxIni::WritePoint(CString key, CPoint value, const wchar_t* section)
{
    Write8(key, ClFormat(L"(%d,%d)", static_cast<int>(value.x), static_cast<int>(value.y)), section);
}

void tkxIni::WriteRect(CString key, CRect value, const wchar_t* section)
{
    Write8(key,
           ClFormat(L"(%d,%d,%d,%d)", static_cast<int>(value.top), static_cast<int>(value.left),
               static_cast<int>(value.bottom), static_cast<int>(value.right)),
           section);
}

void tkxIni::WriteColRef(CString key, unsigned long value, const wchar_t* section)
{
    Write8(key, ClFormat(L"RGB(%d,%d,%d)", GetRValue(value), GetGValue(value), GetBValue(value)), section);
}

// ---------------------------------------------------------------------------
// Load or store

void tkxIni::SerGetString(int get, CString& value, CString key, const wchar_t* section, CString def)
{
    if (get) value = GetString(key, def, section);
    else WriteString(key, value, section);
}

void tkxIni::SerGetDouble(int get, double& value, CString key, const wchar_t* section, double def)
{
    if (get) value = GetDouble(key, def, section);
    else WriteDouble(key, value, section);
}

void tkxIni::SerGetFloat(int get, float& value, CString key, const wchar_t* section, float def)
{
    if (get) value = GetFloat(key, def, section);
    else WriteFloat(key, value, section);
}

void tkxIni::SerGetInt(int get, int& value, CString key, const wchar_t* section, int def)
{
    if (get) value = GetInt(key, def, section);
    else WriteInt(key, value, section);
}

void tkxIni::SerGetUInt8(int get, unsigned char& value, CString key, const wchar_t* section, unsigned char def)
{
    if (get) value = GetUInt8(key, def, section);
    else WriteUInt8(key, value, section);
}

void tkxIni::SerGetUInt16(int get, unsigned short& value, CString key, const wchar_t* section,
                          unsigned short def)
{
    if (get) value = GetUInt16(key, def, section);
    else WriteUInt16(key, value, section);
}

void tkxIni::SerGetDWORD(int get, unsigned long& value, CString key, const wchar_t* section, unsigned long def)
{
    if (get) value = GetDWORD(key, def, section);
    else WriteDWORD(key, value, section);
}

void tkxIni::SerGetBool(int get, int& value, CString key, const wchar_t* section, int def)
{
    if (get) value = GetBool(key, def, section);
    else WriteBool(key, value, section);
}

void tkxIni::SerGetBool(int get, bool& value, CString key, const wchar_t* section, bool def)
{
    if (get) value = GetBool(key, def, section);
    else WriteBool(key, value, section);
}

void tkxIni::SerGetPoint(int get, CPoint& value, CString key, const wchar_t* section, CPoint def)
{
    if (get) value = GetPoint(key, def, section);
    else WritePoint(key, value, section);
}

void tkxIni::SerGetRect(int get, CRect& value, CString key, const wchar_t* section, CRect def)
{
    if (get) value = GetRect(key, def, section);
    else WriteRect(key, value, section);
}

void tkxIni::SerGetColRef(int get, unsigned long& value, CString key, const wchar_t* section, unsigned long def)
{
    if (get) value = GetColRef(key, def, section);
    else WriteColRef(key, value, section);
}

void tkxIni::SerGet(int get, CString& value, CString key, const wchar_t* section, CString def)
{
    SerGetString(get, value, key, section, def);
}

void tkxIni::SerGet(int get, double& value, CString key, const wchar_t* section, double def)
{
    SerGetDouble(get, value, key, section, def);
}

void tkxIni::SerGet(int get, float& value, CString key, const wchar_t* section, float def)
{
    SerGetFloat(get, value, key, section, def);
}

void tkxIni::SerGet(int get, int& value, CString key, const wchar_t* section, int def)
{
    SerGetInt(get, value, key, section, def);
}

void tkxIni::SerGet(int get, bool& value, CString key, const wchar_t* section, bool def)
{
    SerGetBool(get, value, key, section, def);
}

void tkxIni::SerGet(int get, unsigned char& value, CString key, const wchar_t* section, unsigned char def)
{
    SerGetUInt8(get, value, key, section, def);
}

void tkxIni::SerGet(int get, unsigned short& value, CString key, const wchar_t* section, unsigned short def)
{
    SerGetUInt16(get, value, key, section, def);
}

void tkxIni::SerGet(int get, unsigned long& value, CString key, const wchar_t* section, unsigned long def)
{
    SerGetDWORD(get, value, key, section, def);
}

void tkxIni::SerGet(int get, CPoint& value, CString key, const wchar_t* section, CPoint def)
{
    SerGetPoint(get, value, key, section, def);
}

void tkxIni::SerGet(int get, CRect& value, CString key, const wchar_t* section, CRect def)
{
    SerGetRect(get, value, key, section, def);
}

void tkxIni::SerGet(int get, short& value, CString key, const wchar_t* section, int def)
{
    int wide = value;
    SerGetInt(get, wide, key, section, def);
    value = static_cast<short>(wide);
}

void tkxIni::SerGet(int get, unsigned short& value, CString key, const wchar_t* section, unsigned long def)
{
    unsigned long wide = value;
    SerGetDWORD(get, wide, key, section, def);
    value = static_cast<unsigned short>(wide);
}

// ---------------------------------------------------------------------------
// Arrays

void tkxIni::SerGet(int get, CString* values, int count, CString key, const wchar_t* section, const wchar_t* def)
{
    for (int i = 0; i < count; ++i) SerGetString(get, values[i], ElementKey(key, i), section, def);
}

void tkxIni::SerGet(int get, double* values, int count, CString key, const wchar_t* section, double def)
{
    for (int i = 0; i < count; ++i) SerGetDouble(get, values[i], ElementKey(key, i), section, def);
}

void tkxIni::SerGet(int get, float* values, int count, CString key, const wchar_t* section, float def)
{
    for (int i = 0; i < count; ++i) SerGetFloat(get, values[i], ElementKey(key, i), section, def);
}

void tkxIni::SerGet(int get, short* values, int count, CString key, const wchar_t* section, int def)
{
    for (int i = 0; i < count; ++i) SerGet(get, values[i], ElementKey(key, i), section, def);
}

void tkxIni::SerGet(int get, unsigned long* values, int count, CString key, const wchar_t* section,
                    unsigned long def)
{
    for (int i = 0; i < count; ++i) SerGetDWORD(get, values[i], ElementKey(key, i), section, def);
}

void tkxIni::SerGet(int get, unsigned short* values, int count, CString key, const wchar_t* section,
                    unsigned long def)
{
    for (int i = 0; i < count; ++i) SerGet(get, values[i], ElementKey(key, i), section, def);
}

void tkxIni::SerGet(int get, CPoint* values, int count, CString key, const wchar_t* section, CPoint def)
{
    for (int i = 0; i < count; ++i) SerGetPoint(get, values[i], ElementKey(key, i), section, def);
}

void tkxIni::SerGet(int get, CRect* values, int count, CString key, const wchar_t* section, CRect def)
{
    for (int i = 0; i < count; ++i) SerGetRect(get, values[i], ElementKey(key, i), section, def);
}

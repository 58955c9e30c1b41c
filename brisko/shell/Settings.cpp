// The program's settings: one registry key per section under
// HKEY_CURRENT_USER "SOFTWARE\TavixSuite\Brisko\<section>".  The value names
// are the ones the suite has always stored (including "LinePicth" and
// "ShowToopTip").
#include "brisko/shell/BriskoApp.h"
#include "corvane/platform/Registry.h"

namespace {

CString SectionKey(const wchar_t* section) { return ClFormat(L"SOFTWARE\\TavixSuite\\Brisko\\%s", section); }

// Opens the section's key, creating it when it is missing; FALSE after the
// message when it cannot be made.
BOOL OpenForWriting(tkxRegistry& registry, const CString& key)
{
    if (registry.Open(HKEY_CURRENT_USER, key)) return TRUE;
    if (!tkxRegistry::CreateKey(HKEY_CURRENT_USER, key, L"")) {
        ClMessageBox(nullptr, L"创建注册表项目失败!", kBriskoCaption, MB_ICONERROR);
        return FALSE;
    }
    return registry.Open(HKEY_CURRENT_USER, key) ? TRUE : FALSE;
}

const wchar_t* const kColorNames[12] = {L"Color0", L"Color1", L"Color2", L"Color3", L"Color4",  L"Color5",
                                        L"Color6", L"Color7", L"Color8", L"Color9", L"Color10", L"Color11"};

} // namespace

DWORD CBriskoApp::GetSettingInt(const wchar_t* section, const wchar_t* key, DWORD defaultValue)
{
    tkxRegistry registry;
    if (!registry.Open(HKEY_CURRENT_USER, SectionKey(section))) return defaultValue;
    unsigned long value = 0;
    if (!registry.ReadDWORD(key, &value)) return defaultValue;
    return static_cast<DWORD>(value);
}

CString CBriskoApp::GetSettingString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue)
{
    tkxRegistry registry;
    if (!registry.Open(HKEY_CURRENT_USER, SectionKey(section))) return defaultValue;
    wchar_t buffer[256] = {};
    if (!registry.ReadString(key, buffer, sizeof(buffer))) return defaultValue;
    return buffer;
}

BOOL CBriskoApp::SetSettingInt(const wchar_t* section, const wchar_t* key, DWORD value)
{
    const CString path = SectionKey(section);
    tkxRegistry registry;
    if (!OpenForWriting(registry, path)) return FALSE;
    if (!registry.WriteDWORD(key, value)) {
        ClMessageBox(nullptr, ClFormat(L"写注册表项目数据失败!\n\n%s, %s", path.GetString(), key), kBriskoCaption,
                     MB_ICONERROR);
        return FALSE;
    }
    return TRUE;
}

BOOL CBriskoApp::SetSettingString(const wchar_t* section, const wchar_t* key, const wchar_t* text)
{
    const CString path = SectionKey(section);
    tkxRegistry registry;
    if (!OpenForWriting(registry, path)) return FALSE;
    if (!registry.WriteString(key, text ? text : L"")) {
        ClMessageBox(nullptr, ClFormat(L"写注册表项目失败!%s", path.GetString()), kBriskoCaption, MB_ICONERROR);
        return FALSE;
    }
    return TRUE;
}

void CBriskoApp::LoadSaveSettings(BOOL read)
{
    const wchar_t* const s = L"Settings";
    if (read) {
        tkx_GetCurProject(m_CurProject);
        tkx_GetCurTemplateBase(m_CurTBase);
        m_SWorkingDirectory = m_CurProject.GetWorkingDirectory();

        auto readShort = [&](const wchar_t* key, short& member) {
            member = static_cast<short>(GetSettingInt(s, key, static_cast<DWORD>(member)));
        };
        auto readInt = [&](const wchar_t* key, int& member) {
            member = static_cast<int>(GetSettingInt(s, key, static_cast<DWORD>(member)));
        };
        readShort(L"TabWidth", m_nTabWidth);
        readShort(L"MarginWidth", m_nMarginWidth);
        readShort(L"LinePicth", m_nLinePitch);
        readInt(L"ShowGrid", m_bShowGrid);
        readInt(L"AutoIndent", m_bAutoIndent);
        readInt(L"ShowToopTip", m_bShowToolTip);
        readShort(L"DurationTime", m_nDurationTime);
        readInt(L"AUTOCOMMENT", m_bAutoComment);
        readInt(L"AUTORELOAD", m_bAutoReload);
        readInt(L"TOPMOST", m_bTopMost);
        for (int i = 0; i < 12; ++i) m_Colors[i] = GetSettingInt(s, kColorNames[i], m_Colors[i]);
        readInt(L"MainWndLEFT", m_iMainWndLeft);
        readInt(L"MainWndTOP", m_iMainWndTop);
        readInt(L"MainWndRIGHT", m_iMainWndRight);
        readInt(L"MainWndBOTTOM", m_iMainWndBottom);
        readInt(L"MainWnd_SHOWPROJECT", m_bShowProjectBar);
        readInt(L"MainWnd_SHOWHDMWND", m_bShowRoadInfoBar);
        return;
    }

    SetSettingString(s, L"VERSION", m_SVersion);
    SetSettingInt(s, L"TabWidth", static_cast<DWORD>(m_nTabWidth));
    SetSettingInt(s, L"MarginWidth", static_cast<DWORD>(m_nMarginWidth));
    SetSettingInt(s, L"LinePicth", static_cast<DWORD>(m_nLinePitch));
    SetSettingInt(s, L"ShowGrid", static_cast<DWORD>(m_bShowGrid));
    SetSettingInt(s, L"AutoIndent", static_cast<DWORD>(m_bAutoIndent));
    SetSettingInt(s, L"ShowToopTip", static_cast<DWORD>(m_bShowToolTip));
    SetSettingInt(s, L"DurationTime", static_cast<DWORD>(m_nDurationTime));
    SetSettingInt(s, L"AUTOCOMMENT", static_cast<DWORD>(m_bAutoComment));
    SetSettingInt(s, L"AUTORELOAD", static_cast<DWORD>(m_bAutoReload));
    SetSettingInt(s, L"TOPMOST", static_cast<DWORD>(m_bTopMost));
    for (int i = 0; i < 12; ++i) SetSettingInt(s, kColorNames[i], m_Colors[i]);
}

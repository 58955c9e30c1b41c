// The program's settings: one registry key per section under
// HKEY_CURRENT_USER "SOFTWARE\TavixSuite\Brisko\<section>".  The value names
// are the ones the suite has always stored (including "LinePicth" and
// "ShowToopTip").
#include "brisko/shell/BriskoApp.h"
#include "corvane/platform/Registry.h"
#include <type_traits>

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
    // Read whole, however long: a path handed over here may run past 255
    // characters.
    CString text;
    if (!registry.ReadString(key, text)) return defaultValue;
    return text;
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

namespace {

// The editor settings and colours, in the order the full save writes them,
// each with its value name.
template <typename Visit>
void ForEachEditorSetting(CBriskoApp& app, Visit visit)
{
    visit(L"TabWidth", app.m_nTabWidth);
    visit(L"MarginWidth", app.m_nMarginWidth);
    visit(L"LinePicth", app.m_nLinePitch);
    visit(L"ShowGrid", app.m_bShowGrid);
    visit(L"AutoIndent", app.m_bAutoIndent);
    visit(L"ShowToopTip", app.m_bShowToolTip);
    visit(L"DurationTime", app.m_nDurationTime);
    visit(L"AUTOCOMMENT", app.m_bAutoComment);
    visit(L"AUTORELOAD", app.m_bAutoReload);
    visit(L"TOPMOST", app.m_bTopMost);
    for (int i = 0; i < 12; ++i) visit(kColorNames[i], app.m_Colors[i]);
}

} // namespace

void CBriskoApp::LoadSaveSettings(BOOL read)
{
    const wchar_t* const s = L"Settings";
    if (read) {
        tkx_GetCurProject(m_CurProject);
        tkx_GetCurTemplateBase(m_CurTBase);
        m_SWorkingDirectory = m_CurProject.GetWorkingDirectory();
        // Each value with the member's current value as its default.
        auto take = [&](const wchar_t* key, auto& member) {
            member = static_cast<std::remove_reference_t<decltype(member)>>(
                GetSettingInt(s, key, static_cast<DWORD>(member)));
        };
        ForEachEditorSetting(*this, take);
        take(L"MainWndLEFT", m_iMainWndLeft);
        take(L"MainWndTOP", m_iMainWndTop);
        take(L"MainWndRIGHT", m_iMainWndRight);
        take(L"MainWndBOTTOM", m_iMainWndBottom);
        take(L"MainWnd_SHOWPROJECT", m_bShowProjectBar);
        take(L"MainWnd_SHOWHDMWND", m_bShowRoadInfoBar);
        return;
    }
    SetSettingString(s, L"VERSION", m_SVersion);
    ForEachEditorSetting(*this, [&](const wchar_t* key, auto& member) {
        SetSettingInt(s, key, static_cast<DWORD>(member));
    });
}

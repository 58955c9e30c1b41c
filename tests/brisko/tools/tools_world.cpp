#include "tools_world.h"

namespace tooltest {

const wchar_t kProjectName[] = L"工具 项目";
const wchar_t kRoadName[] = L"一号路";

namespace {

CString& Folder()
{
    static CString folder;
    return folder;
}

class ToolsWorld : public BriskoWorld
{
public:
    ToolsWorld() : BriskoWorld(L"brisko_tools") {}

protected:
    void Seed() override
    {
        SeedSettings({{L"MainWndLEFT", 0}, {L"MainWndTOP", 0}, {L"MainWndRIGHT", 1000}, {L"MainWndBOTTOM", 700}});
        Folder() = RegisterProject(kProjectName, kRoadName);
    }
    void CleanUp() override
    {
        BriskoWorld::CleanUp();
        RemoveProjects();
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new ToolsWorld);

} // namespace

CString ProjectFolder() { return Folder(); }

CString RoadFolder() { return Folder() + L"\\" + kRoadName; }

std::string Fixture(const char* name)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_RCDATA));
    EXPECT_NE(nullptr, found) << "no fixture " << name;
    if (!found) return std::string();
    HGLOBAL loaded = ::LoadResource(module, found);
    const char* data = static_cast<const char*>(::LockResource(loaded));
    return std::string(data, ::SizeofResource(module, found));
}

CString PutFixture(const ScratchFolder& folder, const char* name, const wchar_t* file)
{
    const CString path = folder / file;
    WriteBytes(path, Fixture(name));
    return path;
}

CString PutText(const ScratchFolder& folder, const wchar_t* file, const wchar_t* text)
{
    const CString path = folder / file;
    WriteText(path, text);
    return path;
}

std::string WithoutLine(const std::string& bytes, const std::string& prefix)
{
    std::string out;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end + 1;
        if (bytes.compare(start, prefix.size(), prefix) != 0) out.append(bytes, start, end - start);
        start = end;
    }
    return out;
}

} // namespace tooltest

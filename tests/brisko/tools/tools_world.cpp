#include "tools_world.h"

namespace tooltest {

const wchar_t kProjectName[] = L"工具 项目";
const wchar_t kRoadName[] = L"一号路";

namespace {

::testing::Environment* const g_world =
    ::testing::AddGlobalTestEnvironment(new OneRoadWorld(L"brisko_tools", kProjectName, kRoadName));

} // namespace

CString ProjectFolder() { return OneRoadWorld::ProjectFolder(); }

CString RoadFolder() { return OneRoadWorld::RoadFolder(); }

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

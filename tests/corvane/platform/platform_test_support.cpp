#include "platform_test_support.h"

namespace platform_test {

namespace {

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new ScratchHive(L"platform"));

} // namespace

CString DocumentsFolder() { return ScratchHive::DocumentsFolder(); }

bool ChineseFileNamesWork()
{
    static const bool works = [] {
        CString probe = ClFormat(L"%s\\中文_%lu.tmp", test_support::ScratchRoot().GetString(), GetCurrentProcessId());
        HANDLE file = CreateFileW(probe, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        CloseHandle(file);
        DeleteFileW(probe);
        return true;
    }();
    return works;
}

} // namespace platform_test

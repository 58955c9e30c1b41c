// Stand-in for a program of the suite that replaces a set of files again and
// again (a converter run over and over), to be ended from outside at any
// moment, as a crash, a power cut or the user ending the program would end
// it.  Each round writes the next version of the targets (see
// replaceloop_versions.h) into temporary files beside them and replaces
// them through the library: every target as one set in odd rounds, the
// first target alone (a set of one) in even rounds.  After each set the
// semaphore named after the record file ("_SETS" added to the ready event's
// name), which the test made, is released once.  Unlike the other stand-ins
// it needs the library, so it runs from the build's bin folder.
//
//   replaceloop [--log FILE] [--seconds N] TARGET...
//
// Records (see standin_common.h):
//   READY <process id>    before the first round
//   FAILED <round> <error> when a set or a temporary file failed (the program
//                         then ends)
#include "standin_common.h"
#include "replaceloop_versions.h"
#include "corvane/platform/FileReplace.h"
#include <vector>

namespace {

bool WriteVersion(const CString& path, unsigned target, unsigned version)
{
    const std::string bytes = replaceloop::VersionBytes(target, version);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

} // namespace

int main()
{
    static standin::Args args;
    standin::ParseCommandLine(args);
    standin::SetLogPath(args);
    std::vector<CString> targets;
    for (int i = 0; i < args.count; ++i) {
        if (wcsncmp(args.items[i], L"--", 2) == 0) {
            ++i;
            continue;
        }
        targets.push_back(args.items[i]);
    }
    if (targets.empty()) return 1;
    wchar_t name[80];
    standin::ReadyEventName(standin::LogPath(), name, 64);
    lstrcatW(name, L"_SETS");
    HANDLE sets = OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, name);
    const ULONGLONG end = GetTickCount64() + 1000ull * standin::LifeSeconds(args, 60);
    standin::AnnounceReady();
    for (unsigned round = 1; GetTickCount64() < end; ++round) {
        const size_t count = round % 2 ? targets.size() : 1;
        std::vector<CString> temps, set(targets.begin(), targets.begin() + count);
        unsigned long failure[2] = {round, 0};
        for (size_t i = 0; i < count && !failure[1]; ++i) {
            temps.push_back(tkx_TempFileBeside(set[i]));
            if (temps.back().IsEmpty() || !WriteVersion(temps.back(), static_cast<unsigned>(i), round))
                failure[1] = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
        }
        if (!failure[1] && !tkx_ReplaceSetByTemporaries(temps, set)) failure[1] = GetLastError();
        if (failure[1]) {
            standin::Record("FAILED", failure, 2, nullptr, 0);
            return 1;
        }
        if (sets) ReleaseSemaphore(sets, 1, nullptr);
    }
    return 0;
}

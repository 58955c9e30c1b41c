// Stand-in for another program that keeps a file open, as the CAD host or a
// viewer keeps the file it shows: the file is opened for reading, sharing
// reading only (no writing, no deleting), and stays open until the program
// is told to end (WM_QUIT posted to its thread) or its time runs out.
//
//   holdfile [--log FILE] [--seconds N] PATH
//
// Records (see standin_common.h):
//   READY <process id>   once the file is open
//   FAILED <error>       when it could not be opened (the program then ends)
#include "standin_common.h"

int main()
{
    static standin::Args args;
    standin::ParseCommandLine(args);
    standin::SetLogPath(args);
    const wchar_t* path = nullptr;
    for (int i = 0; i < args.count; ++i) {
        if (wcsncmp(args.items[i], L"--", 2) == 0) {
            ++i;
            continue;
        }
        path = args.items[i];
    }
    if (!path) return 1;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        unsigned long error = GetLastError();
        standin::Record("FAILED", &error, 1, nullptr, 0);
        return 1;
    }
    // The thread's message queue exists before anyone is told to post to it.
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    standin::AnnounceReady();
    standin::RunLoop(standin::LifeSeconds(args, 120));
    CloseHandle(file);
    return 0;
}
